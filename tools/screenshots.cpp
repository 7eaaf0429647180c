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
#include "engine/type_of_purge_dialog.h"
#include "operation/program_settings.h"
#include "ui/main_window.h"
#include "ui/program_start.h"
#include "ui/qt_user_dialogs.h"
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
  return 0;
}
