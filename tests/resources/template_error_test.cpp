// A template or a run that cannot work stops before the solve with a message that tells the
// user what to fix, the exit code of a compilation (2) or execution (3) error, and no results.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <regex>
#include <tuple>

#include "tests/resources/template_run.h"

namespace tarvelin::testing {
namespace {

struct BrokenCase {
  std::string name;
  std::string templateFrom, templateTo;   // a typo put into the template
  int zeroBlock = 0, zeroPoint = 0;       // a measured value set to 0 (blocks 1..3)
  std::string coefficient, lower, upper;  // limits typed the wrong way round
  int exitCode;
  std::vector<std::string> messageParts;  // "@LINE": the model file line of templateTo
};

const std::vector<BrokenCase> kCases = {
    {"MisspeltKeyword",
     "Equation fitError",
     "Equaton fitError",
     0,
     0,
     "",
     "",
     "",
     2,
     {"@LINE", "Equaton"}},
    {"UnknownSymbol", "/Sn(j) - 1)", "/Sm(j) - 1)", 0, 0, "", "", "", 2, {"@LINE", "Sm"}},
    {"ZeroStiffness", "", "", 2, 7, "", "", "", 3, {"second block", "j = 7"}},
    {"ZeroDamping", "", "", 3, 1, "", "", "", 3, {"third block", "j = 1"}},
    {"LimitsReversed",
     "",
     "",
     0,
     0,
     "k2",
     "5E3",
     "1E3",
     3,
     {"k2: the lower limit is above the upper limit"}},
};

// Test names and failure lines show the case by its name.
void PrintTo(const BrokenCase& broken, std::ostream* out) {
  *out << broken.name;
}

class BrokenRun : public TemplateRun,
                  public ::testing::WithParamInterface<std::tuple<std::string, BrokenCase>> {};

TEST_P(BrokenRun, StopsWithAnActionableMessage) {
  const auto& [variantName, broken] = GetParam();
  const Sample& sample = sampleOf(shippedSamples(), variantName);
  useTemplate(variantName, broken.templateFrom, broken.templateTo);
  auto blocks = dataBlocks(sample);
  if (broken.zeroBlock > 0) blocks[broken.zeroBlock - 1][broken.zeroPoint - 1] = "0";
  useData(blocks);
  useTypedSettings(sample);
  if (!broken.coefficient.empty()) {
    settings.setText(coefficientNamed(broken.coefficient), ValueKind::Lower, broken.lower);
    settings.setText(coefficientNamed(broken.coefficient), ValueKind::Upper, broken.upper);
  }
  const auto run = buildAndRun();

  EXPECT_EQ(run.exitCode, broken.exitCode) << run.output;
  for (const auto& part : broken.messageParts) {
    if (part == "@LINE") {
      const auto lines = modelFileLines();
      const auto at = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.find(broken.templateTo) != std::string::npos;
      });
      ASSERT_NE(at, lines.end());
      const std::string number = std::to_string(at - lines.begin() + 1);
      EXPECT_TRUE(std::regex_search(run.output, std::regex("\\b" + number + "\\b")))
          << "the message should name line " << number << ":\n"
          << run.output;
    } else {
      EXPECT_NE(run.output.find(part), std::string::npos)
          << "the message should hold '" << part << "':\n"
          << run.output;
    }
  }
  EXPECT_FALSE(std::filesystem::exists("output2.dat")) << "a stopped run leaves no results";
}

INSTANTIATE_TEST_SUITE_P(Templates, BrokenRun,
                         ::testing::Combine(::testing::ValuesIn(kVariantNames),
                                            ::testing::ValuesIn(kCases)),
                         [](const ::testing::TestParamInfo<BrokenRun::ParamType>& info) {
                           return std::get<0>(info.param) + "_" + std::get<1>(info.param).name;
                         });

}  // namespace
}  // namespace tarvelin::testing
