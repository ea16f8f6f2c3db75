#include "app/batch/BatchCommand.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <sstream>

#include "tests/support/TempFolder.h"

namespace tarvelin::batch {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

struct Outcome {
  int exitCode;
  std::string out;
  std::string err;
};

Outcome runBatchWith(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = runBatch(args, out, err);
  return {code, out.str(), err.str()};
}

const char* const kTemplate = "Set j\n#\n_A\n_Q\n@\n@\n@\n_Z\n";
const char* const kData = "1.5\n2\n\n10\n20\n\n0.5\n0.25\n";

class BatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    writeBytes("Maxwell3.gms", kTemplate);
    writeBytes("Maxwell4.gms", "four\n_D\n_H\n_Z\n@\n@\n@\n");
    writeBytes("data.txt", kData);
  }
  TempFolder folder;
};

TEST_F(BatchTest, WritesTheModelFileAsTheWindowsBuildDoes) {
  const Outcome outcome = runBatchWith({"data.txt"});
  EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_EQ(readBytes("MaxwellOut.gms"),
            "Set j\r\n/ 1 * 2 /;\r\n1E7\r\n1E19\r\n"
            "1    1.50000000000000E+0000\r\n2    2.00000000000000E+0000\r\n"
            "1    1.00000000000000E+0001\r\n2    2.00000000000000E+0001\r\n"
            "1    5.00000000000000E-0001\r\n2    2.50000000000000E-0001\r\n"
            "option nlp=conopt;\r\n");
  EXPECT_EQ(
      outcome.out,
      "All data successfully loaded.\nNumber of data: 2\nOptimization solver CONOPT chosen.\n");
  EXPECT_EQ(outcome.err, "");
}

TEST_F(BatchTest, VariantSolverAndSettingsComeFromTheOptions) {
  const Outcome outcome = runBatchWith({"--variant", "maxwell4", "--solver=snop", "--set",
                                        "c4in=1.5e2", "--set", "k4in=  7", "data.txt"});
  EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_EQ(readBytes("MaxwellOut.gms").substr(0, 51),
            "four\r\n1.5e2\r\n  7\r\noption nlp=snop;\r\n1    1.50000000");
  EXPECT_NE(outcome.out.find("Optimization solver SNOP chosen."), std::string::npos);
}

struct FailureCase {
  const char* name;
  std::vector<std::string> args;
  int exitCode;
  const char* errStartsWith;
};

std::ostream& operator<<(std::ostream& os, const FailureCase& c) {
  return os << c.name;
}

class BatchFailureTest : public BatchTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(BatchFailureTest, ExitCodeAndMessage) {
  writeBytes("MaxwellOut.gms", "previous");
  writeBytes("comma.txt", "1,5\n");
  writeBytes("uneven.txt", "1\n2\n\n3\n\n4\n");
  const FailureCase& c = GetParam();
  const Outcome outcome = runBatchWith(c.args);
  EXPECT_EQ(outcome.exitCode, c.exitCode);
  EXPECT_EQ(outcome.err.substr(0, std::string(c.errStartsWith).size()), c.errStartsWith);
  if (c.exitCode != 3) {
    EXPECT_EQ(outcome.out, "");
  }
  if (c.exitCode == 1 || c.exitCode == 64 || std::string(c.name) == "MissingDataFile") {
    EXPECT_EQ(readBytes("MaxwellOut.gms"), "previous");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, BatchFailureTest,
    ::testing::Values(
        FailureCase{"RefusedSetting",
                    {"--set", "k2d=1,5", "data.txt"},
                    1,
                    "Incorrect input for lower limit of k2!\n"},
        FailureCase{"UncheckedForVariant", {"--set", "c4in=abc", "uneven.txt"}, 3, ""},
        FailureCase{"MissingDataFile", {"missing.txt"}, 2, "File not found.\n"},
        FailureCase{
            "MissingTemplate", {"--variant", "kelvin3", "data.txt"}, 2, "File not found.\n"},
        FailureCase{
            "ConversionError", {"comma.txt"}, 2, "'1,5' is not a valid floating point value.\n"},
        FailureCase{
            "Overflow", {"--set", "c1u=1E5000", "data.txt"}, 2, "Floating point overflow.\n"},
        FailureCase{"Inconsistent", {"uneven.txt"}, 3, ""},
        FailureCase{"UnknownOption",
                    {"--frobnicate", "data.txt"},
                    64,
                    "tarvelin-batch: unknown option '--frobnicate'\nusage:"},
        FailureCase{"UnknownVariant",
                    {"--variant", "maxwell5", "data.txt"},
                    64,
                    "tarvelin-batch: unknown variant 'maxwell5'\nusage:"},
        FailureCase{"UnknownEdit", {"--set", "c5in=1", "data.txt"}, 64, "tarvelin-batch: --set"},
        FailureCase{"MissingValue",
                    {"data.txt", "--solver"},
                    64,
                    "tarvelin-batch: --solver needs a value\n"},
        FailureCase{"NoDataFile", {}, 64, "tarvelin-batch: no data file given\n"},
        FailureCase{"TwoDataFiles", {"a.txt", "b.txt"}, 64, "tarvelin-batch: one data file"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BatchHelp, ExplainsEveryOptionAndExitCode) {
  const Outcome outcome = runBatchWith({"--help"});
  EXPECT_EQ(outcome.exitCode, 0);
  for (const char* word : {"--variant", "--solver", "--set", "--run", "c1in", "k4u",
                           "maxwell3spring", "snop", "  3 ", "  64 "}) {
    EXPECT_NE(outcome.out.find(word), std::string::npos) << word;
  }
}

// --run starts whatever `gams` comes first on PATH: here a stand-in script that plays a
// successful or a failing modelling system.
class BatchRunTest : public BatchTest {
 protected:
  void SetUp() override {
    BatchTest::SetUp();
    std::filesystem::create_directory("bin");
    savedPath_ = std::getenv("PATH");
    ::setenv("PATH", ((folder.path() / "bin").string() + ":" + savedPath_).c_str(), 1);
  }
  void TearDown() override { ::setenv("PATH", savedPath_.c_str(), 1); }
  void fakeGams(const std::string& body) {
    writeBytes("bin/gams", "#!/bin/sh\n" + body);
    ::chmod("bin/gams", 0755);
  }
  std::string savedPath_;
};

TEST_F(BatchRunTest, PrintsTheResultsAfterASuccessfulRun) {
  fakeGams(
      "[ \"$1\" = MaxwellOut.gms ] || exit 9\nprintf '1.5E+07\\n2\\n3\\n4\\n5\\n6\\n' > "
      "output2.dat\n");
  const Outcome outcome = runBatchWith({"--run", "data.txt"});
  EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_NE(outcome.out.find("= RESULTS =\nc1 = 1.5E+07\nc2 = 2\nc3 = 3\nk1 = 4\nk2 = 5\nk3 = 6\n"),
            std::string::npos)
      << outcome.out;
}

TEST_F(BatchRunTest, AFailedRunIsReportedAndOldResultsAreNotShown) {
  writeBytes("output2.dat", "stale\n");
  fakeGams("exit 3\n");
  const Outcome outcome = runBatchWith({"--run", "data.txt"});
  EXPECT_EQ(outcome.exitCode, 4);
  EXPECT_EQ(outcome.err,
            "tarvelin-batch: gams MaxwellOut.gms ended with exit code 3 (execution error)\n");
  EXPECT_EQ(outcome.out.find("RESULTS"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists("output2.dat"));
}

TEST_F(BatchRunTest, ARunThatLeavesNoResultsIsTheFileError) {
  fakeGams("exit 0\n");
  const Outcome outcome = runBatchWith({"--run", "data.txt"});
  EXPECT_EQ(outcome.exitCode, 2);
  EXPECT_EQ(outcome.err, "File not found.\n");
}

TEST_F(BatchRunTest, NoRunAfterAnInconsistentBuild) {
  fakeGams("touch ran\n");
  writeBytes("uneven.txt", "1\n\n2\n3\n");
  EXPECT_EQ(runBatchWith({"--run", "uneven.txt"}).exitCode, 3);
  EXPECT_FALSE(std::filesystem::exists("ran"));
}

}  // namespace
}  // namespace tarvelin::batch
