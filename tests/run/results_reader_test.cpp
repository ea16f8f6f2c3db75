#include "run/ResultsReader.h"

#include <gtest/gtest.h>

#include <map>

#include "model/Errors.h"
#include "run/Standins.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

namespace tarvelin {
namespace {

using testing::EventRecorder;
using testing::TempFolder;
using testing::writeBytes;
using Lines = std::vector<std::string>;

struct RecordingLabels : ResultLabels {
  void setResultLabel(Coefficient c, const std::string& text) override {
    labels[std::string(coefficientInfo(c).name)] = text;
  }
  std::map<std::string, std::string> labels;
};

struct ResultsCase {
  const char* name;
  VariantId variant;
  Lines log;  // after "= RESULTS ="
};

std::ostream& operator<<(std::ostream& os, const ResultsCase& c) {
  return os << c.name;
}

class ReadResultsTest : public ::testing::TestWithParam<ResultsCase> {};

// Eight lines in the file; each variant takes as many as it has coefficients, in its order.
TEST_P(ReadResultsTest, EachVariantReadsItsLinesInOrder) {
  TempFolder folder;
  writeBytes("output2.dat", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
  EventRecorder log;
  RecordingLabels labels;
  readResults(GetParam().variant, log, labels);
  Lines expected{"= RESULTS ="};
  expected.insert(expected.end(), GetParam().log.begin(), GetParam().log.end());
  EXPECT_EQ(log.events, expected);
  EXPECT_EQ(labels.labels.size(), GetParam().log.size());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadResultsTest,
    ::testing::Values(ResultsCase{"Maxwell3",
                                  VariantId::Maxwell3,
                                  {"c1 = 1", "c2 = 2", "c3 = 3", "k1 = 4", "k2 = 5", "k3 = 6"}},
                      ResultsCase{"Maxwell4",
                                  VariantId::Maxwell4,
                                  {"c1 = 1", "c2 = 2", "c3 = 3", "c4 = 4", "k1 = 5", "k2 = 6",
                                   "k3 = 7", "k4 = 8"}},
                      ResultsCase{
                          "Maxwell3Spring",
                          VariantId::Maxwell3Spring,
                          {"c1 = 1", "c2 = 2", "c3 = 3", "c4 = 4", "k1 = 5", "k2 = 6", "k3 = 7"}},
                      ResultsCase{"Kelvin3",
                                  VariantId::Kelvin3,
                                  {"c1 = 1", "c2 = 2", "c3 = 3", "k1 = 4", "k2 = 5", "k3 = 6"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadResults, TextIsTakenWholeWithItsUnit) {
  TempFolder folder;
  writeBytes("output2.dat", "  152.5  \n1.0E+07\n\n0.75\n");
  EventRecorder log;
  RecordingLabels labels;
  readResults(VariantId::Maxwell3, log, labels);
  EXPECT_EQ(log.events, (Lines{"= RESULTS =", "c1 =   152.5  ", "c2 = 1.0E+07",
                               "c3 = ", "k1 = 0.75", "k2 = ", "k3 = "}));
  EXPECT_EQ(labels.labels["c1"], "  152.5   Nm/rad");
  EXPECT_EQ(labels.labels["c3"], " Nm/rad");
  EXPECT_EQ(labels.labels["k1"], "0.75 Nms/rad");
  EXPECT_EQ(labels.labels["k3"], " Nms/rad");
}

TEST(ReadResults, AMissingFileLogsNothing) {
  TempFolder folder;
  EventRecorder log;
  RecordingLabels labels;
  try {
    readResults(VariantId::Maxwell4, log, labels);
    ADD_FAILURE() << "no error";
  } catch (const FileError& e) {
    EXPECT_EQ(e.code(), 2);
  }
  EXPECT_TRUE(log.events.empty());
  EXPECT_TRUE(labels.labels.empty());
}

TEST(Standins, AppendedAtTheEndOfPath) {
  EXPECT_EQ(pathWithStandins("/usr/bin:/bin", "/opt/t/standins"), "/usr/bin:/bin:/opt/t/standins");
  EXPECT_EQ(pathWithStandins("", "/opt/t/standins"), "/opt/t/standins");
  const std::string folder = standinsFolder();
  EXPECT_EQ(std::filesystem::path(folder).filename(), "standins");
  EXPECT_EQ(std::filesystem::path(folder).parent_path(),
            std::filesystem::read_symlink("/proc/self/exe").parent_path());
}

}  // namespace
}  // namespace tarvelin
