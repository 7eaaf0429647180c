#include "targets/specify_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/file_setup.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

using namespace TestSupport;
namespace fs = std::filesystem;

namespace {

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

TEST_F(SpecifyFilesTest, ListsEveryEntryButFoldersWithoutFollowingLinks) {
#ifdef _WIN32
  EXPECT_EQ(state.Files(), (std::vector<std::string>{"b.txt"}));
#else
  EXPECT_EQ(state.Files(), (std::vector<std::string>{"*.txt", "b.txt", "link-to-sub"}));
#endif
}

TEST_F(SpecifyFilesTest, AnExtensionIsKeptAsTypedWithoutItsLeadingStarOrDot) {
  EXPECT_EQ(Extension("  *.txt "), "*.txt");
  EXPECT_EQ(Extension(".TXT"), "*.TXT");
  EXPECT_EQ(state.extensionText, "TXT") << "the box shows what was taken";
  EXPECT_EQ(Extension("*.tar.gz"), "refused");
  EXPECT_EQ(dialogs.shown.at(0).text, "Extension must not contain \".\".");
  EXPECT_EQ(Extension(" *. "), "") << "nothing is left";
  EXPECT_FALSE(state.accepted);
}

TEST_F(SpecifyFilesTest, ASingleFileNeedsAChoiceAndANameThatIsNoPattern) {
  EXPECT_TRUE(state.Accept(dialogs));
  EXPECT_FALSE(state.accepted) << "no file was chosen";

#ifdef _WIN32
  const int plainFile = 0;
#else
  const int plainFile = 1;
  state.SelectFile(0);
  EXPECT_FALSE(state.Accept(dialogs));
  EXPECT_EQ(dialogs.shown.at(0).title, "Error");
  EXPECT_EQ(dialogs.shown.at(0).text, NameCannotStandAloneText(folder / "*.txt"));
#endif
  EXPECT_FALSE(NameCanStandAlone("c:d"));
  EXPECT_FALSE(NameCanStandAlone("a?.txt"));
  EXPECT_TRUE(NameCanStandAlone(" Odd [name] .txt"));

  state.SelectOption(SpecifyFilesOption::AllFiles);
  state.SelectFile(plainFile);
  EXPECT_EQ(state.SelectedOption(), SpecifyFilesOption::SingleFile);
  EXPECT_TRUE(state.Accept(dialogs));
  EXPECT_EQ(state.ChosenFilespec(), "b.txt");
  state.Cancel();
  EXPECT_EQ(state.ChosenFilespec(), "");
}
