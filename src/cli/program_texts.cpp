#include "cli/program_texts.h"

#include <iostream>

#include "cli/terminal.h"
#include "setups/program_paths.h"
#include "text/program_text.h"

bool LoadProgramTexts() {
  const std::string path = Language2::ProgramTextPath();
  const int result = Language2::LoadProgramText(path);
  if (result <= 0) {
    std::cerr << "kexwell-cli: "
              << WithSystemLineEnds(Language2::ProgramTextErrorMessage(result, path)) << '\n';
    return false;
  }
  UseProgramRegistryStore();
  return true;
}
