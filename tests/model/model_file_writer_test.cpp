#include "model/ModelFileWriter.h"

#include <gtest/gtest.h>

#include "model/Errors.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

namespace tarvelin {
namespace {

using testing::EventRecorder;
using testing::readBytes;
using testing::RecordingDialogs;
using testing::TempFolder;
using testing::writeBytes;
using Events = std::vector<std::string>;

const char* const kLoaded = "All data successfully loaded.";
const char* const kInconsistent = "Error! The data file is not consistent!";
const char* const kCheckFile = "Check the file with data!";
const char* const kConopt = "Optimization solver CONOPT chosen.";

std::string line(const std::string& number, const char* value) {
  return number + "   " + value + "\r\n";
}

class ModelFileWriterTest : public ::testing::Test {
 protected:
  void writeInputs(const std::string& templateText, const std::string& dataText) {
    writeBytes("template.gms", templateText);
    writeBytes("data.txt", dataText);
    dialogs.dataFile = (folder.path() / "data.txt").string();
  }
  void build() { ModelFileWriter(modelTemplate, settings, dialogs, log, reports); }
  void build(const std::string& templateText, const std::string& dataText) {
    writeInputs(templateText, dataText);
    build();
  }
  std::string output() const { return readBytes("MaxwellOut.gms"); }
  int fileErrorOfBuild() {
    try {
      build();
    } catch (const FileError& e) {
      return e.code();
    }
    return 0;
  }

  TempFolder folder;
  SettingsValues settings;
  RecordingDialogs dialogs;
  EventRecorder log;
  TextFile modelTemplate{"template.gms"};
  BuildReports reports{[this] { log.events.push_back("<DataConsistent>"); },
                       [this] { log.events.push_back("<BuildCompleted>"); }};
};

const std::string kThreeDirectives = "Set j\n#\nf\n@\nS\n@\nD\n@\n";

TEST_F(ModelFileWriterTest, ExpandsCountAndThreeBlocksAndReportsInOrder) {
  build(kThreeDirectives, "1.5\n2\n\n10\n-0\n\n0.001\n2.5E-3\n");
  EXPECT_EQ(output(), "Set j\r\n/ 1 * 2 /;\r\nf\r\n" + line("1", " 1.50000000000000E+0000") +
                          line("2", " 2.00000000000000E+0000") + "S\r\n" +
                          line("1", " 1.00000000000000E+0001") +
                          line("2", "-0.00000000000000E+0000") + "D\r\n" +
                          line("1", " 1.00000000000000E-0003") +
                          line("2", " 2.50000000000000E-0003"));
  EXPECT_EQ(log.events, (Events{kLoaded, "Number of data: 2", "<DataConsistent>", kConopt,
                                "<BuildCompleted>"}));
  EXPECT_FALSE(modelTemplate.isOpen());
}

// Data files that differ only after the third block or in line ends give the same model.
TEST_F(ModelFileWriterTest, TrailingEmptyLinesAndLineEndsDoNotMatter) {
  build(kThreeDirectives, "1\n2\n\n3\n4\n\n5\n6\n");
  const std::string expected = output();
  for (const char* data : {"1\n2\n\n3\n4\n\n5\n6", "1\r\n2\r\n\r\n3\r\n4\r\n\r\n5\r\n6\r\n",
                           "1\n2\n\n3\n4\n\n5\n6\n\n\n\n"}) {
    SCOPED_TRACE(data);
    log.events.clear();
    build(kThreeDirectives, data);
    EXPECT_EQ(output(), expected);
    EXPECT_EQ(log.events[1], "Number of data: 2");
  }
}

struct CountCase {
  const char* name;
  const char* data;
  const char* countLine;
  std::array<int, 3> blockLines;  // value lines written per block
  bool consistent;
};

std::ostream& operator<<(std::ostream& os, const CountCase& c) {
  return os << c.name;
}

class DataLayoutTest : public ModelFileWriterTest,
                       public ::testing::WithParamInterface<CountCase> {};

TEST_P(DataLayoutTest, CountAndBlocksFollowTheEmptyLines) {
  const CountCase& c = GetParam();
  build("#\n@\n|\n@\n|\n@\n", c.data);
  const std::string out = output();
  EXPECT_EQ(out.substr(0, out.find("\r\n")), c.countLine);
  std::array<int, 3> blockLines{};
  int block = 0;
  for (std::size_t at = out.find("\r\n") + 2; at < out.size(); at = out.find("\r\n", at) + 2) {
    if (out[at] == '|') {
      ++block;
    } else {
      ++blockLines[static_cast<std::size_t>(block)];
    }
  }
  EXPECT_EQ(blockLines, c.blockLines);
  const Events consistentEnd{"<DataConsistent>", kConopt, "<BuildCompleted>"};
  const Events inconsistent{kInconsistent, kCheckFile, kConopt, "<BuildCompleted>"};
  if (c.consistent) {
    ASSERT_EQ(log.events.size(), 5u);
    EXPECT_EQ(log.events[0], kLoaded);
    EXPECT_EQ(Events(log.events.begin() + 2, log.events.end()), consistentEnd);
  } else {
    EXPECT_EQ(log.events, inconsistent);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, DataLayoutTest,
    ::testing::Values(
        CountCase{"TwoEmptyLinesMakeAnEmptyBlock",
                  "1\n2\n\n\n3\n4\n\n5\n6\n",
                  "/ 1 * 2 /;",
                  {2, 0, 2},
                  false},
        CountCase{"NoEmptyLineCountsOneLess", "1\n2\n3\n4\n", "/ 1 * 3 /;", {4, 0, 0}, false},
        CountCase{"EmptyFile", "", "/ 1 * 0 /;", {0, 0, 0}, true},
        CountCase{"FirstLineEmpty", "\n1\n2\n\n3\n4\n", "/ 1 * 0 /;", {0, 2, 2}, false},
        CountCase{"OneLineOnly", "7\n", "/ 1 * 0 /;", {1, 0, 0}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModelFileWriterTest, EmptyDataFileIsConsistentWithZeroPoints) {
  build(kThreeDirectives, "");
  EXPECT_EQ(log.events, (Events{kLoaded, "Number of data: 0", "<DataConsistent>", kConopt,
                                "<BuildCompleted>"}));
}

TEST_F(ModelFileWriterTest, TemplateWithoutDataDirectivesParsesNothingButOpensTheFile) {
  build("x = 1;\n", "not a number\n\nnor this\n");
  EXPECT_EQ(output(), "x = 1;\r\n");
  EXPECT_EQ(log.events[1], "Number of data: 0");
  std::filesystem::remove("data.txt");
  EXPECT_EQ(fileErrorOfBuild(), 2);
}

TEST_F(ModelFileWriterTest, AFourthBlockIsReadAndDroppedUnparsed) {
  build("@\n@\n@\n@\nend\n", "1\n\n2\n\n3\n\nnot a number\n   \n");
  EXPECT_EQ(output(), line("1", " 1.00000000000000E+0000") + line("1", " 2.00000000000000E+0000") +
                          line("1", " 3.00000000000000E+0000") + "end\r\n");
  EXPECT_EQ(log.events[1], "Number of data: 1");
}

TEST_F(ModelFileWriterTest, TwoDataDirectivesLeaveTheThirdBlockEmpty) {
  build("@\n@\n", "1\n\n2\n\n3\n");
  EXPECT_EQ(log.events[0], kInconsistent);
}

TEST_F(ModelFileWriterTest, EachTemplateLineKindWritesWhatItShould) {
  settings.setText(Coefficient::c1, ValueKind::Initial, "1.5e2");
  settings.setText(Coefficient::c4, ValueKind::Initial, "not checked");  // hidden in rb3
  build(std::string("_\n_a\n_Y\n_0\n_ \n_[\n") +                         // write nothing
            "_Z and text\n_A and text\n_D\n_X\n#any text\n" +            // directives
            " #copied\n\n  trailing  \n*comment\n" +                     // copied, empty dropped
            "last line without end",
        "");
  EXPECT_EQ(output(),
            "option nlp=conopt;\r\n1.5e2\r\nnot checked\r\n1E6\r\n/ 1 * 0 /;\r\n"
            " #copied\r\n  trailing  \r\n*comment\r\nlast line without end\r\n");
}

TEST_F(ModelFileWriterTest, SettingLettersFollowThreeRunsOfEight) {
  std::string templateText;
  for (char letter = 'A'; letter <= 'X'; ++letter) templateText += std::string("_") + letter + "\n";
  build(templateText, "");
  EXPECT_EQ(output(),
            "1E7\r\n-1E4\r\n1E4\r\n1E2\r\n1E2\r\n5E2\r\n1.5E2\r\n1E2\r\n"
            "-1E9\r\n-1E9\r\n-1E9\r\n-1E9\r\n-1E6\r\n-1E6\r\n-1E6\r\n-1E6\r\n"
            "1E19\r\n1E19\r\n1E19\r\n1E19\r\n1E6\r\n1E6\r\n1E6\r\n1E6\r\n");
}

TEST_F(ModelFileWriterTest, TheSelectedSolverWritesItsOptionLineAndLogLine) {
  const std::pair<SolverId, const char*> solvers[] = {{SolverId::Conopt, "option nlp=conopt;"},
                                                      {SolverId::Emp, "option nlp=emp;"},
                                                      {SolverId::Knitro, "option nlp=knitro;"},
                                                      {SolverId::Minos, "option nlp=minos;"},
                                                      {SolverId::Snop, "option nlp=snop;"}};
  for (const auto& [solver, optionLine] : solvers) {
    settings.solver = solver;
    log.events.clear();
    build("_Z\n", "");
    EXPECT_EQ(output(), std::string(optionLine) + "\r\n");
    EXPECT_EQ(log.events[3], solverInfo(solver).logLine);
  }
}

TEST_F(ModelFileWriterTest, AValueThatIsNoNumberEndsTheBuildWithItsText) {
  for (const char* bad : {"1,5", "   ", "abc"}) {
    SCOPED_TRACE(bad);
    log.events.clear();
    writeInputs(kThreeDirectives, std::string("1\n2\n\n3\n") + bad + "\n\n5\n6\n");
    try {
      build();
      ADD_FAILURE() << "no error";
    } catch (const ConversionError& e) {
      EXPECT_EQ(e.text(), bad);
    }
    EXPECT_TRUE(log.events.empty());
    // What was written before the bad line stays written.
    EXPECT_NE(output().find(line("1", " 3.00000000000000E+0000")), std::string::npos);
  }
}

TEST_F(ModelFileWriterTest, CancellingTheDialogChangesNothing) {
  writeBytes("MaxwellOut.gms", "previous model");
  dialogs.dataFile.reset();
  writeBytes("template.gms", kThreeDirectives);
  build();
  EXPECT_EQ(dialogs.dataFileAsked, 1);
  EXPECT_EQ(output(), "previous model");
  EXPECT_TRUE(log.events.empty());
  EXPECT_FALSE(modelTemplate.isOpen());
}

TEST_F(ModelFileWriterTest, ASecondBuildReplacesTheModelFileWhole) {
  build(kThreeDirectives, "1\n2\n3\n\n4\n5\n6\n\n7\n8\n9\n");
  build(kThreeDirectives, "1\n\n2\n\n3\n");
  EXPECT_EQ(output(), "Set j\r\n/ 1 * 1 /;\r\nf\r\n" + line("1", " 1.00000000000000E+0000") +
                          "S\r\n" + line("1", " 2.00000000000000E+0000") + "D\r\n" +
                          line("1", " 3.00000000000000E+0000"));
}

TEST_F(ModelFileWriterTest, FileFailuresStopBeforeAnyLogLineAndKeepTheOldModel) {
  writeInputs(kThreeDirectives, "1\n\n2\n\n3\n");
  writeBytes("MaxwellOut.gms", "previous model");

  modelTemplate.assign("missing.gms");
  EXPECT_EQ(fileErrorOfBuild(), 2);
  modelTemplate.assign("template.gms");

  dialogs.dataFile = "/no/such/folder/data.txt";
  EXPECT_EQ(fileErrorOfBuild(), 3);

  // The data file is the model file itself: refused, not emptied while it is read.
  dialogs.dataFile = (folder.path() / "MaxwellOut.gms").string();
  EXPECT_EQ(fileErrorOfBuild(), 32);
  EXPECT_EQ(output(), "previous model");

  std::filesystem::remove("MaxwellOut.gms");
  std::filesystem::create_directory("MaxwellOut.gms");
  dialogs.dataFile = (folder.path() / "data.txt").string();
  EXPECT_EQ(fileErrorOfBuild(), 5);

  EXPECT_TRUE(log.events.empty());
}

TEST_F(ModelFileWriterTest, TheTemplateIsReadFromItsFirstLineAfterAFailedBuild) {
  writeInputs("first\n@\n", "oops\n");
  EXPECT_THROW(build(), ConversionError);
  EXPECT_TRUE(modelTemplate.isOpen());
  writeBytes("data.txt", "1\n");
  build();
  EXPECT_EQ(output(), "first\r\n" + line("1", " 1.00000000000000E+0000"));
}

TEST_F(ModelFileWriterTest, TheTemplateIsOpenedUnderTheNameItHasAtTheBuild) {
  writeInputs("one\n", "");
  writeBytes("other.gms", "other\n");
  modelTemplate.assign("other.gms");
  build();
  EXPECT_EQ(output(), "other\r\n");
}

}  // namespace
}  // namespace tarvelin
