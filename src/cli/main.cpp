// kexwell-cli: Kexwell's command line.

#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/purge_command.h"

namespace {

constexpr int kUsageError = 2;

constexpr const char* kPurgeUsage =
    "kexwell-cli purge FILE [--type 1|2|3] [--passes N] [--keep] [--read-only] [--system]\n"
    "                         [--sensitive]\n";

int UsageError(const std::string& command, const std::string& message) {
  std::cerr << "kexwell-cli: " << message << "\n"
            << "Usage: " << kPurgeUsage << "Run 'kexwell-cli " << command
            << (command.empty() ? "" : " ") << "--help' for more.\n";
  return kUsageError;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Kexwell destroys the contents of files beyond recovery and then deletes them.",
               "kexwell-cli"};
  app.set_version_flag("--version", std::string("kexwell-cli ") + KEXWELL_VERSION);
  app.require_subcommand(0, 1);
  app.footer(
      std::string("Commands:\n  ") + kPurgeUsage +
      "\nRun 'kexwell-cli COMMAND --help' for the options of a command.\n");

  PurgeCommandOptions purgeOptions;
  CLI::App& purge = AddPurgeCommand(app, purgeOptions);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return 0;
  } catch (const CLI::CallForVersion&) {
    std::cout << app.version() << '\n';
    return 0;
  } catch (const CLI::ParseError& error) {
    return UsageError(purge.parsed() ? "purge" : "", error.what());
  }

  if (purge.parsed()) {
    if (const std::string problem = PurgeCommandUsageError(purgeOptions); !problem.empty())
      return UsageError("purge", problem);
    return RunPurgeCommand(purgeOptions, std::cout);
  }
  return UsageError("", "a command is required");
}
