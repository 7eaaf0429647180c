// Purges meeting a symbolic link. The report gives a link's own length, which on POSIX is the
// length of the path it holds; Windows links need a privilege that Wine and most users lack.

#include <filesystem>

#include "operation/run_fixture.h"

using namespace TestSupport;
namespace fs = std::filesystem;

TEST_F(RunTest, ALinkIsReportedAndNeitherItNorItsTargetIsTouched) {
  TempFolder outside;
  const std::string target = WriteFile(outside / "precious", "precious");
  fs::create_symlink(target, folder / "link.txt");
  Target("*.*");
  Purge();
  EXPECT_TRUE(Contains(run.Report(), "link.txt (" + std::to_string(target.size()) +
                                         " bytes): not a regular file, not purged.\r\n"));
  EXPECT_EQ(ReadFile(target), "precious");
  EXPECT_TRUE(fs::is_symlink(folder / "link.txt"));
}
