// Writes a PNG of each window and dialog of the desktop program into a folder:
//   kexwell_screenshots FOLDER
// Run it through tools/screenshots.sh, which gives it a virtual display.

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "dates/date_input.h"
#include "dates/date_input_dialog.h"
#include "engine/specify_drive_dialog.h"
#include "engine/type_of_purge_dialog.h"
#include "operation/confirm_files_window.h"
#include "operation/program_settings.h"
#include "operation/purge_confirmation.h"
#include "operation/purge_confirmation_dialog.h"
#include "operation/volume_warnings.h"
#include "operation/purge_run.h"
#include "operation/report_window.h"
#include "platform/drives.h"
#include "targets/select_subfolders_dialog.h"
#include "targets/specify_files.h"
#include "targets/specify_files_dialog.h"
#include "ui/main_window.h"
#include "setups/program_start.h"
#include "ui/qt_user_dialogs.h"
#include "ui/twips.h"
#include "ui/view_window.h"

namespace {

QString folder;

void Settle() {
  for (int i = 0; i < 10; ++i) QApplication::processEvents();
}

void Save(QWidget* widget, const char* name) {
  Settle();
  const QString path = QDir(folder).filePath(QString::fromLatin1(name) + ".png");
  if (!widget->grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  std::printf("%s\n", qPrintable(path));
}

// Takes the picture of the next modal dialog once it shows, then closes it.
void SaveNextModal(const char* name) {
  QTimer::singleShot(300, [name] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) return;
    Save(dialog, name);
    if (auto* cancel = dialog->findChild<QPushButton*>("cmdCancel"))
      cancel->click();
    else
      dialog->close();
  });
}

// A small tree to purge and to choose files from.
std::filesystem::path MakeSampleTree() {
  const auto root = std::filesystem::temp_directory_path() / "kexwell-screenshot-tree";
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root / "Old letters");
  for (const char* name : {"budget 2023.ods", "notes.txt", "Old letters/to Anna.odt",
                           "Old letters/to the bank.odt", "passwords.kdbx"}) {
    std::FILE* file = std::fopen((root / name).c_str(), "wb");
    if (file == nullptr) continue;
    for (int i = 0; i < 3000; ++i) std::fputc('x', file);
    std::fclose(file);
  }
  return root;
}

class QuietHost final : public RunHost {};

// Answers what a picture's dialog asks afterwards without showing anything.
class SilentDialogs final : public UserDialogs {
 public:
  MessageAnswer ShowMessage(const MessageBoxRequest&) override { return MessageAnswer::OK; }
  std::optional<std::string> ChooseFileToOpen(const FileChooserRequest&) override { return {}; }
  std::optional<std::string> ChooseFileToSave(const FileChooserRequest&) override { return {}; }
  std::optional<std::string> ChooseFolder(const FileChooserRequest&) override { return {}; }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: kexwell_screenshots FOLDER\n");
    return 2;
  }
  folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(folder);
  QtUserDialogs dialogs;
  if (!LoadProgramTextsOrTell(dialogs)) return 1;

  ProgramSettings settings;
  frmMain window(settings, dialogs);
  dialogs.SetParent(&window);
  window.Startup((std::filesystem::temp_directory_path() / "kexwell-screenshot-none.usr").string());
  settings.target = {"/home/ann/Documents/Old letters/", "*.doc", true};
  settings.dateRestriction.lngOnlyBeforeThisJDN = 2460676;  // 1 January 2025
  window.RefreshTargetDisplay();
  window.RefreshSubfolderDisplay();
  window.UpdateDateRestrictionLabel();
  window.show();
  Save(&window, "main_window");

  {
    frmTypeOfPurge dialog(settings.purgeType, dialogs, &window);
    dialog.show();
    Save(&dialog, "type_of_purge_dialog");
  }
  {
    DateInput state;
    OnlyBefore::Prepare(state, settings.dateRestriction, "Only files before ...", 0x1F3A93);
    frmCEDateInput dialog(state, dialogs, &window);
    QTimer::singleShot(300, &dialog, [&dialog] {
      Save(&dialog, "date_input_dialog");
      dialog.close();
    });
    dialog.ShowModally();
  }
  {
    window.Button("cmdSetup")->click();
    Save(&window, "main_window_setup_panel");
    window.findChild<QPushButton*>("cmdSaveSetup")->click();
    Save(&window, "main_window_save_setup_panel");
    window.findChild<QPushButton*>("cmdDontSaveSetup")->click();
  }
  {
    frmView viewer(&window);
    ShowHelp(viewer, &window);
    Save(&viewer, "view_window_help");
  }

  const std::filesystem::path tree = MakeSampleTree();
  settings.target = {tree.string() + "/", "*.*", true};
  settings.dateRestriction.Clear();
  {
    SpecifyFiles state;
    state.Prepare("purge", true, settings.target.TargetFolder);
    frmSpecifyFiles dialog(state, dialogs, &window);
    dialog.show();
    Save(&dialog, "specify_files_dialog");
  }
  {
    // The message at its longest: two of the files have other names, and the drive is a
    // compressing copy-on-write file system on a solid-state disk.
    const PurgeConfirmationTexts texts =
        BuildPurgeConfirmationText(settings.target, false, 5, 2, settings.random);
    Platform::StorageFacts drive;
    drive.fileSystem = "btrfs";
    drive.mountPoint = "/home";
    drive.copyOnWrite = drive.compressed = drive.solidState = true;
    frmPurgeConfirmation dialog(settings.confirmation, &window);
    dialog.Open(settings.options, settings.blnConfirmFiles, settings.clusterSizes,
                settings.target.TargetFolder, texts, 3, true, VolumeWarnings(drive));
    dialog.show();
    Save(&dialog, "purge_confirmation_dialog");
  }
  {
    std::vector<Platform::DriveInfo> drives = Platform::ListDrives();
    if (drives.empty())
      drives.push_back({"/", "/dev/sda1", "ext4", "", Platform::DriveType::Fixed});
    Platform::DriveInfo usb{"/media/anna/USB STICK", "/dev/sdb1", "vfat", "USB STICK",
                            Platform::DriveType::Removable};
    drives.push_back(usb);
    frmSpecifyDrive2 dialog(drives, drives.front().root, &window);
    SaveNextModal("specify_drive_dialog");
    dialog.ChooseDrive();
  }
  {
    QuietHost host;
    PurgeRun run(settings, dialogs, host);
    const RunRequest purge{RunKind::Purge, settings.target.TargetFolder, "*.*"};
    frmReport report(&window);
    report.resize(Twips::ToPixels(9000, &report), Twips::ToPixels(6000, &report));
    report.BeginRun(run, purge);
    report.show();
    report.ShowReportText(
        "12/06/2026, 10:30:00\r\nPurging all files in " + settings.target.TargetFolder +
        "\r\n(including all files in subfolders) \r\nusing random bytes plus zeros 6 times.\r\n"
        "\r\n" +
        settings.target.TargetFolder +
        "\r\nbudget 2023.ods (3,000 bytes) purged\r\n"
        "notes.txt (3,000 bytes) purging _____");
    Save(&report, "report_window_running");
    {
      frmConfirmFiles confirm(&report);
      SaveNextModal("confirm_files_window");
      confirm.Ask(settings.target.TargetFolder + "passwords.kdbx     2.93 KB     12/06/2026",
                  &report);
    }
    run.ProcessFiles(purge);
    report.ShowReportText(run.Report());
    report.EndRun();
    Save(&report, "report_window_done");
  }
  {
    // Fourteen subfolders: more than the eleven rows, so the list scrolls.
    const std::filesystem::path parent = tree / "Projects";
    for (int i = 1; i <= 14; ++i) {
      const auto folder = parent / ("Project " + std::to_string(i));
      std::filesystem::create_directories(folder / "drafts");
      std::FILE* file = std::fopen((folder / "report.odt").c_str(), "wb");
      if (file == nullptr) continue;
      for (int k = 0; k < 1000 * i; ++k) std::fputc('x', file);
      std::fclose(file);
    }
    SubfolderSelectionMemory memory;
    SilentDialogs silent;
    SaveNextModal("select_subfolders_dialog");
    RunSubfolderSelection(parent.string() + "/",
                          "Select subfolders of " + parent.string() + "/ to be purged.", memory,
                          silent, &window);
  }
  {
    window.SetCaption("lblPurgeFoldersMessage",
                      "2 files purged (67% of 3). Now purging (pass 2):\r\n" + tree.string() +
                          "/Projects/Project 3/report.odt");
    window.SetRunning(true);
    Save(&window, "main_window_folder_purge");
    window.SetRunning(false);
  }
  std::filesystem::remove_all(tree);
  return 0;
}
