#include "cli/console.h"

#ifdef _WIN32
// windows.h comes first: shellapi.h needs its definitions.
#include <windows.h>

#include <shellapi.h>

#include "platform/win32/wide_text.h"
#endif

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
  int count = 0;
  if (LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
    std::vector<std::string> arguments;
    arguments.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) arguments.push_back(Platform::Win32::Narrow(wide[i]));
    ::LocalFree(wide);
    if (count == argc) return arguments;
  }
#endif
  return std::vector<std::string>(argv, argv + argc);
}

void UseUtf8Console() {
#ifdef _WIN32
  ::SetConsoleOutputCP(CP_UTF8);
  ::SetConsoleCP(CP_UTF8);
#endif
}
