// kexwell-cli: Kexwell's command line.

#include <CLI/CLI.hpp>
#include <iostream>
#include <string>
#include <vector>

#include "cli/console.h"
#include "cli/free_space_command.h"
#include "cli/run_command.h"
#include "cli/speed_test_command.h"

namespace {

constexpr const char* kUsage =
    "  kexwell-cli purge PATH... [options]  PATH: a file (purged on its own) or a folder\n"
    "  kexwell-cli list PATH... [options]   list and estimate; purges nothing\n"
    "  kexwell-cli speed-test [PATH] [-y]   measure the purge speed of PATH's drive\n"
    "  kexwell-cli purge-free-space PATH    overwrite the free space of PATH's drive\n";

int UsageError(const std::string& command, const std::string& message) {
  std::cerr << "kexwell-cli: " << message << "\nUsage:\n"
            << kUsage << "Run 'kexwell-cli " << command << (command.empty() ? "" : " ")
            << "--help' for more.\n";
  return kExitRefused;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Kexwell destroys the contents of files beyond recovery and then deletes them.",
               "kexwell-cli"};
  app.set_version_flag("--version", std::string("kexwell-cli ") + KEXWELL_VERSION);
  app.require_subcommand(0, 1);
  app.footer(std::string("Commands:\n") + kUsage +
             "\nRun 'kexwell-cli COMMAND --help' for the options of a command.\n");

  RunCommandOptions purgeOptions;
  RunCommandOptions listOptions;
  CLI::App& purge = AddPurgeCommand(app, purgeOptions);
  CLI::App& list = AddListCommand(app, listOptions);
  SpeedTestOptions speedOptions;
  CLI::App& speedTest = AddSpeedTestCommand(app, speedOptions);
  FreeSpaceOptions freeSpaceOptions;
  CLI::App& freeSpace = AddFreeSpaceCommand(app, freeSpaceOptions);

  UseUtf8Console();
  std::vector<std::string> arguments = Utf8Arguments(argc, argv);
  std::vector<char*> utf8Argv;
  for (std::string& argument : arguments) utf8Argv.push_back(argument.data());
  try {
    app.parse(static_cast<int>(utf8Argv.size()), utf8Argv.data());
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return 0;
  } catch (const CLI::CallForVersion&) {
    std::cout << app.version() << '\n';
    return 0;
  } catch (const CLI::ParseError& error) {
    const std::string command = purge.parsed()       ? "purge"
                                : list.parsed()      ? "list"
                                : speedTest.parsed() ? "speed-test"
                                : freeSpace.parsed() ? "purge-free-space"
                                                     : "";
    return UsageError(command, error.what());
  }

  RemoveLeftoverFillFoldersAtStart();
  for (auto [command, options, name] :
       {std::tuple{&purge, &purgeOptions, "purge"}, std::tuple{&list, &listOptions, "list"}}) {
    if (!command->parsed()) continue;
    if (const std::string problem = RunCommandUsageError(*options); !problem.empty())
      return UsageError(name, problem);
    return command == &purge ? RunPurgeCommand(*options) : RunListCommand(*options);
  }
  if (speedTest.parsed()) return RunSpeedTestCommand(speedOptions);
  if (freeSpace.parsed()) return RunFreeSpaceCommand(freeSpaceOptions);
  return UsageError("", "a command is required");
}
