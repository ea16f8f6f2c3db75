#include "model/Errors.h"

#include <gtest/gtest.h>

namespace tarvelin {
namespace {

TEST(FileErrorMessage, NamedCodesAndTheGenericOne) {
  EXPECT_EQ(fileErrorMessage(2), "File not found");
  EXPECT_EQ(fileErrorMessage(3), "Invalid filename");
  EXPECT_EQ(fileErrorMessage(4), "Too many open files");
  EXPECT_EQ(fileErrorMessage(5), "File access denied");
  EXPECT_EQ(fileErrorMessage(32), "I/O error 32");
  EXPECT_EQ(fileErrorMessage(28), "I/O error 28");
  EXPECT_EQ(FileError(2).code(), 2);
}

TEST(ErrorBoxText, AppendsAPointOnlyAfterCharactersAboveIt) {
  EXPECT_EQ(errorBoxText("File not found"), "File not found.");
  EXPECT_EQ(errorBoxText("I/O error 32"), "I/O error 32.");
  EXPECT_EQ(errorBoxText("Floating point overflow"), "Floating point overflow.");
  EXPECT_EQ(errorBoxText("'1,5' is not a valid floating point value"),
            "'1,5' is not a valid floating point value.");
  EXPECT_EQ(errorBoxText("done."), "done.");
  EXPECT_EQ(errorBoxText("stop!"), "stop!");
  EXPECT_EQ(errorBoxText("(x)"), "(x)");
  EXPECT_EQ(errorBoxText("ends in blank "), "ends in blank ");
  EXPECT_EQ(errorBoxText("a-"), "a-");  // '-' is below '.'
  EXPECT_EQ(errorBoxText("a/"), "a/.");
  EXPECT_EQ(errorBoxText(""), "");
  EXPECT_EQ(errorBoxText("ä"), "ä.");  // 8-bit characters count as above '.'
}

TEST(ProgramTitle, FileNameUpToFirstPointWithTheRestLowerCase) {
  EXPECT_EQ(programTitle("/opt/Tarvelin/TARVELIN"), "Tarvelin");
  EXPECT_EQ(programTitle("/usr/bin/tarvelin"), "tarvelin");
  EXPECT_EQ(programTitle("C:\\Tools\\FitTool.v2.exe"), "Fittool");
  EXPECT_EQ(programTitle("relative/My.Program"), "My");
}

}  // namespace
}  // namespace tarvelin
