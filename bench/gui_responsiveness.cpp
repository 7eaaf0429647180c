// How long the desktop program's window goes without attending to its events while a purge of
// one large file runs: a 10 ms timer on the window's thread records the longest gap between its
// ticks from the click on "Purge files" to the end of the run.
//
//   gui_responsiveness [FOLDER] [SIZE_MIB]     (default: the temporary folder, 1024 MiB)

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "operation/program_settings.h"
#include "ui/main_window.h"
#include "setups/program_start.h"
#include "text/user_dialogs.h"

namespace {

// Answers every question with its first choice but "Delete folder ...?", which it declines.
class AnsweringDialogs final : public UserDialogs {
 public:
  MessageAnswer ShowMessage(const MessageBoxRequest& request) override {
    if (request.title == "Delete folder?") return MessageAnswer::No;
    return request.buttons == MessageButtons::OK || request.buttons == MessageButtons::OKCancel
               ? MessageAnswer::OK
               : MessageAnswer::Yes;
  }
  std::optional<std::string> ChooseFileToOpen(const FileChooserRequest&) override { return {}; }
  std::optional<std::string> ChooseFileToSave(const FileChooserRequest&) override { return {}; }
  std::optional<std::string> ChooseFolder(const FileChooserRequest&) override { return {}; }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const std::filesystem::path base =
      argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
  const long sizeMiB = argc > 2 ? std::atol(argv[2]) : 1024;
  const std::filesystem::path folder = base / "kexwell-responsiveness";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  {
    std::ofstream file(folder / "large.dat", std::ios::binary);
    const std::vector<char> block(1 << 20, 'x');
    for (long i = 0; i < sizeMiB; ++i)
      file.write(block.data(), static_cast<std::streamsize>(block.size()));
  }

  AnsweringDialogs dialogs;
  if (!LoadProgramTextsOrTell(dialogs)) return 1;
  ProgramSettings settings;
  frmMain window(settings, dialogs);
  window.Startup((folder / "none.usr").string());
  settings.purgeType.SetPurgeType(1);
  settings.purgeType.SelectIndex(1, 0);  // one pass: 0xAA, 0x55, 0x00, each flushed
  settings.target = {folder.string() + "/", "*.*", false};
  window.show();

  QElapsedTimer clock;
  qint64 last = 0;
  qint64 longestGap = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    const qint64 now = clock.elapsed();
    longestGap = std::max(longestGap, now - last);
    last = now;
  });
  QTimer::singleShot(0, [] {
    if (QWidget* dialog = QApplication::activeModalWidget())
      dialog->findChild<QPushButton*>("cmdDoPurge")->click();
  });
  clock.start();
  ticker.start(10);
  window.Button("cmdProcessFiles_1")->click();
  while (window.Running()) application.processEvents(QEventLoop::WaitForMoreEvents, 50);
  const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
  ticker.stop();

  const bool purged = !std::filesystem::exists(folder / "large.dat");
  std::filesystem::remove_all(folder);
  std::printf("purge of one %ld MiB file, three overwrites: %.2f s, %s\n", sizeMiB, seconds,
              purged ? "purged" : "NOT purged");
  std::printf(
      "longest time the window went without its 10 ms timer: %lld ms (target: under 100 ms)\n",
      static_cast<long long>(longestGap));
  return purged ? 0 : 1;
}
