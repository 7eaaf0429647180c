#include "cli/speed_test_command.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/program_texts.h"
#include "cli/run_command.h"
#include "cli/terminal.h"
#include "engine/speed_test.h"
#include "operation/program_settings.h"
#include "platform/drives.h"
#include "platform/program.h"
#include "setups/program_paths.h"

namespace {

// The main window's speed label, on the terminal: the progress on standard error, the measured
// speed on standard output.
class TerminalSpeedTestHost final : public SpeedTestHost {
 public:
  void ShowSpeedLabel(const std::string& caption, bool bold) override {
    if (caption.empty()) return;
    (bold ? std::cerr : std::cout) << caption << '\n';
  }
};

}  // namespace

CLI::App& AddSpeedTestCommand(CLI::App& app, SpeedTestOptions& options) {
  CLI::App* command = app.add_subcommand(
      "speed-test", "Measure how fast the drive that holds PATH is purged, and keep the speed");
  command->add_option("PATH", options.path, "A file or folder on the drive (default: .)");
  command->add_flag("-y,--yes", options.yes,
                    "Do not ask: write the test files and measure again even when a speed is "
                    "stored");
  command->footer(
      "Dummy files (_kx_dummy...) are written in a folder of their own in the drive's root, or\n"
      "in your home folder when the root may not be written, purged with type 1 and its\n"
      "default passes three times over, and removed. The average speed is stored and used by\n"
      "'kexwell-cli list' for its estimates. Without --yes the questions are asked on the\n"
      "terminal (without a terminal the answer is No).\n"
      "Exit status: 0 measured and stored (or the stored speed accepted), 1 not measured or\n"
      "the speed not stored, 2 a usage error.\n");
  return *command;
}

int RunSpeedTestCommand(const SpeedTestOptions& options) {
  if (!LoadProgramTexts()) return kExitRefused;
  Platform::DriveInfo drive;
  if (Platform::DriveOfPath(Platform::AbsolutePath(options.path), drive)) {
    std::cerr << "kexwell-cli: no drive holds " << options.path << '\n';
    return kExitRefused;
  }

  ProgramSettings settings;
  TerminalDialogs dialogs;
  TerminalSpeedTestHost host;
  SpeedTest test(settings.purgeType, settings.clusterSizes, settings.purgeSpeeds, settings.random,
                 dialogs, host);
  test.loadStoredSpeed = [](const Platform::DriveInfo& tested) { return StoredPurgeSpeed(tested); };
  // A speed that cannot be stored is told on standard error (by the test, through the dialogs).
  bool stored = true;
  test.storeSpeed = [&stored](const Platform::DriveInfo& tested, float speed) {
    std::string problem = StorePurgeSpeed(tested, speed);
    stored = problem.empty();
    return problem;
  };
  SpeedTest::Choices choices;
  choices.proceed = options.yes;
  choices.measureAgain = options.yes;
  test.Run({drive}, nullptr, choices);
  return settings.purgeSpeeds.Speed(drive.root) > 0 && stored ? kExitDone : kExitNotAll;
}
