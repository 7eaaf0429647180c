#include "operation/result_texts.h"

#include <gtest/gtest.h>

TEST(ResultCodeReportText, EachCodeHasItsOwnText) {
  EXPECT_EQ(ResultCodeReportText(-54), ": file is a system file, not purged.");
  EXPECT_EQ(ResultCodeReportText(-53),
            ": file is a read-only file, not purged.\r\n(Perhaps file is in use by another "
            "program.)");
  EXPECT_EQ(ResultCodeReportText(-13), ": not a regular file, not purged.");
  EXPECT_EQ(ResultCodeReportText(-11), ": error when restoring filesize.");
  EXPECT_EQ(ResultCodeReportText(-9), ": invalid cluster size.");
  EXPECT_EQ(ResultCodeReportText(-8), ": invalid purge type.");
  EXPECT_EQ(ResultCodeReportText(-7), ": error when flushing file.");
  EXPECT_EQ(ResultCodeReportText(-4), ": file overwritten but not deleted.");
  EXPECT_EQ(ResultCodeReportText(-3), ": error when writing to file.");
  EXPECT_EQ(ResultCodeReportText(-2), ": unable to open file for writing.");
  EXPECT_EQ(ResultCodeReportText(-1), ": empty file name.");
  EXPECT_EQ(ResultCodeReportText(1), ": a file in the current application folder, not purged.");
  EXPECT_EQ(ResultCodeReportText(2), ": the page file (swap file), not purged.");
}

TEST(ResultCodeReportText, SensitiveExtensionsNameTheExtensionWhetherRefusedNowOrEarlier) {
  EXPECT_EQ(ResultCodeReportText(7, "exe"), ": \"exe\" files are not purged.");
  EXPECT_EQ(ResultCodeReportText(8, "sys"), ": \"sys\" files are not purged.");
}

TEST(ResultCodeReportText, AnyOtherCodeIsPlainlyNotPurged) {
  EXPECT_EQ(ResultCodeReportText(-5), " not purged.");
  EXPECT_EQ(ResultCodeReportText(3), " not purged.");
}
