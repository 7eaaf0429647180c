#include "targets/specify_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/file_setup.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

using namespace TestSupport;
namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr bool kPosix = false;
#else
constexpr bool kPosix = true;
#endif

class SpecifyFilesTest : public ::testing::Test {
 protected:
  SpecifyFilesTest() {
    WriteFile(folder / "b.txt", "b");
    MakeFolder(folder / "sub");
#ifndef _WIN32
    // Windows allows no "*" in a name, and its links need a privilege that Wine and most users
    // lack.
    WriteFile(folder / "*.txt", "a");
    fs::create_symlink(folder / "sub", folder / "link-to-sub");
#endif
    state.Prepare("purge", true, folder.Path());
  }

  // The file specification an extension typed in txbExtension gives, or "refused".
  std::string Extension(const std::string& typed) {
    state.SelectOption(SpecifyFilesOption::Extension);
    state.extensionText = typed;
    return state.Accept(dialogs) ? state.ChosenFilespec() : "refused";
  }

  TempFolder folder;
  SpecifyFiles state;
  ScriptedDialogs dialogs;
};

}  // namespace

TEST_F(SpecifyFilesTest, AnExtensionIsKeptAsTypedWithoutItsLeadingStarOrDot) {
  EXPECT_EQ(Extension("  *.txt "), "*.txt");
  EXPECT_EQ(Extension(".TXT"), "*.TXT");
  EXPECT_EQ(state.extensionText, "TXT") << "the box shows what was taken";
  EXPECT_EQ(Extension("*.tar.gz"), "refused");
  EXPECT_EQ(dialogs.shown.at(0).text, "Extension must not contain \".\".");
  EXPECT_EQ(Extension(" *. "), "") << "nothing is left";
  EXPECT_FALSE(state.accepted);
}

TEST_F(SpecifyFilesTest, ASingleFileNeedsAChoiceAndOnWindowsANameThatIsNoPattern) {
  EXPECT_TRUE(state.Accept(dialogs));
  EXPECT_FALSE(state.accepted) << "no file was chosen";
  // Every entry but folders is listed, without following links. A POSIX name may hold "*": the
  // file is chosen by that name.
#ifdef _WIN32
  EXPECT_EQ(state.Files(), (std::vector<std::string>{"b.txt"}));
#else
  EXPECT_EQ(state.Files(), (std::vector<std::string>{"*.txt", "b.txt", "link-to-sub"}));
  state.SelectFile(0);
  EXPECT_TRUE(state.Accept(dialogs));
  EXPECT_EQ(state.ChosenFilespec(), "*.txt");
#endif
  for (const char* name : {"c:d", "a?.txt", "*", "back\\slash"})
    EXPECT_EQ(NameCanStandAlone(name), kPosix) << name;
  EXPECT_TRUE(NameCanStandAlone(" Odd [name] .txt"));
  EXPECT_FALSE(NameCanStandAlone(""));
  state.SelectOption(SpecifyFilesOption::AllFiles);
  state.SelectFile(kPosix ? 1 : 0);
  EXPECT_TRUE(state.Accept(dialogs));
  EXPECT_EQ(state.ChosenFilespec(), "b.txt");
  state.Cancel();
  EXPECT_EQ(state.ChosenFilespec(), "");
}
