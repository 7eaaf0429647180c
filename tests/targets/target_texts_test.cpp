#include "targets/target_texts.h"

#include <gtest/gtest.h>


#include "support/native_path.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_random.h"
#include "support/temp_folder.h"

using namespace TestSupport;

// A pattern of up to twenty characters is explained. Then the captions, explanation and hint, and
// which displays are cleared: E(stimated time), S(ubfolder labels), D(ate restriction).
TEST(DescribeTarget, ExplainsPatternsAndShowsThePlaceholderAndTheHintUntilBothAreChosen) {
  EXPECT_EQ(FilespecExplanation("*.txt"), "(All files with extension \"txt\".)");
  EXPECT_EQ(FilespecExplanation("rep?rt*.doc"), "(All files of the form \"rep?rt*.doc\".)");
  EXPECT_EQ(FilespecExplanation("report.doc") + FilespecExplanation("a_rather_long_name*.d"), "");
  ScriptedRandom random;
  const auto described = [&random](const TargetRecord& target) {
    const TargetDescription d = DescribeTarget(target, "-", random);
    return d.folderCaption + "|" + d.filesCaption + "|" + d.filesExplanation + "|" + d.singleFileHint + "|" +
           (d.clearEstimatedTime ? "E" : "") + (d.clearSubfolderLabels ? "S" : "") +
           (d.clearDateRestriction ? "D" : "");
  };
  const std::string hint = "To purge multiple files, specify folder and files.";
  EXPECT_EQ(described({}), "-|-||" + hint + "|ESD");
  EXPECT_EQ(described({"/home/ann/", "", false}), "/home/ann/|-||" + hint + "|ED");
  EXPECT_EQ(described({"", "*.*", false}), "-|*.*|(All files.)|" + hint + "|ES");
  EXPECT_EQ(described({"/home/ann/", "*.*", false}), "/home/ann/|*.*|(All files.)||");
  // A file whose name holds wildcards is shown by its name and explained as no pattern.
  EXPECT_EQ(described({"/home/ann/", "*.*", false, true}), "/home/ann/|*.*|||");
}

TEST(ShowSubfolderSetting, AFolderWithoutSubfoldersTurnsTheSettingOff) {
  TargetRecord target{"/data/", "*.*", true};
  const auto shown = [&target](int subfolders) {
    const SubfolderSetting setting = ShowSubfolderSetting(target, subfolders);
    return setting.answer + " " + setting.explanation;
  };
  EXPECT_EQ(shown(0), "No (The folder has no subfolders.)");
  EXPECT_EQ(shown(3), "No (Do not operate on files in lower subfolders.)") << "the setting was turned off";
  target.blnSubdirectories = true;
  EXPECT_EQ(shown(3), "Yes (Operate on all specified files in lower subfolders.)");
  target.TargetFolder.clear();
  EXPECT_EQ(shown(0), " ") << "no folder, nothing to tell";
  EXPECT_TRUE(target.blnSubdirectories);
}

// Characters are counted, not bytes.
TEST(ShortenPath, NeverExceedsItsMaximumInCharactersAndKeepsTheEnds) {
  ScriptedRandom random;
  random.Seed();
  const std::string path = NativePath(
      "/home/somebody/projects/kexwell-archive/2024/quarterly-reports/final/versions/report.pdf");
  const std::string accented = NativePath("/données/été/année/répertoire/fichier-très-long-nommé.txt");
  for (int max = 5; max <= 100; ++max)
    EXPECT_LE(ShortenPath(path, max, random).size(), static_cast<std::size_t>(max)) << max;
  const std::string seventy = ShortenPath(path, 70, random);
  EXPECT_EQ(seventy.substr(0, 6) + seventy.substr(seventy.size() - 11), NativePath("/home//report.pdf"));
  EXPECT_NE(seventy.find("..."), std::string::npos);
  EXPECT_EQ(ShortenPath(path, 4, random), path) << "below 5 it is left alone";
  EXPECT_EQ(ShortenPath(std::string(100, 'n'), 20, random), std::string(17, 'n') + "...")
      << "a path without separators is cut at its end";
  EXPECT_EQ(ShortenPath(accented, 57, random), accented) << "57 characters, 64 bytes";
}

TEST(CheckFolderHasFiles, TellsOfAnUnreadableOrEmptyFolder) {
  TempFolder folder;
  ScriptedDialogs dialogs;
  TargetRecord target{folder / "gone", "*.*", false};
  EXPECT_FALSE(CheckFolderHasFiles(target, "*.*", dialogs));
  target.TargetFolder = folder.Path();
  EXPECT_FALSE(CheckFolderHasFiles(target, "*.*", dialogs) || CheckFolderHasFiles(target, "*.txt", dialogs));
  WriteFile(folder / "a.doc", "");
  EXPECT_TRUE(CheckFolderHasFiles(target, "*.doc", dialogs));
  std::string shown;
  for (const auto& box : dialogs.shown)
    shown += box.title + ": " + box.text + (box.icon == MessageIcon::Critical ? " (!)\n" : "\n");
  EXPECT_EQ(shown,
            "Error: Cannot access the folder. (!)\n"
            "Empty folder: The folder contains no files and no subfolders.\n"
            "Empty folder: The folder contains no matching files and no subfolders.\n");
}
