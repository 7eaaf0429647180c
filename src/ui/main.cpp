// kexwell: the desktop program.

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "operation/program_settings.h"
#include "platform/drives.h"
#include "setups/program_start.h"
#include "setups/setup_file.h"
#include "text/program_text.h"
#include "ui/main_window.h"
#include "ui/qt_user_dialogs.h"

namespace {

// Without a display Qt would fail with a message about platform plugins; say what to do instead.
bool DisplayAvailable() {
  const auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
  };
  return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char** argv) {
  if (!DisplayAvailable()) {
    std::fprintf(stderr,
                 "kexwell: there is no display to open the window on (neither DISPLAY nor "
                 "WAYLAND_DISPLAY is set).\n"
                 "Start it on a desktop, or without one under a virtual display:\n"
                 "  xvfb-run -a %s\n"
                 "The command line works everywhere: kexwell-cli --help\n",
                 argv[0]);
    return 1;
  }
  QApplication application(argc, argv);
  QtUserDialogs dialogs;

  if (!LoadProgramTextsOrTell(dialogs)) return 1;
  RemoveFillFoldersLeftBehind(dialogs);

  ProgramSettings settings;
  // Estimates use the speeds measured in earlier runs from the start.
  LoadStoredPurgeSpeeds(settings.purgeSpeeds, Platform::ListDrives());
  frmMain window(settings, dialogs);
  dialogs.SetParent(&window);
  window.Startup(NextRunSetupPath(Language2::GetText(2), Language2::GetText(310)));
  window.show();
  // "kexwell PATH...": Qt has taken its own options out of the arguments by now.
  std::vector<std::string> paths;
  for (const QString& argument : QCoreApplication::arguments().mid(1))
    paths.push_back(argument.toStdString());
  window.StartWithTargets(paths);
  return application.exec();
}
