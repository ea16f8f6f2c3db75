// The plotting script, run headless by GNU Octave through the matlab stand-in as the
// command window runs it, on real files in a temporary folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/run/plot_fixtures.h"
#include "tests/run/plot_picture.h"
#include "tests/run/plot_process.h"

namespace tarvelin::plottest {
namespace {

namespace fs = std::filesystem;

class PlotScriptRun {
 public:
  PlotScriptRun() {
    fs::copy_file(requiredEnvPath("TARVELIN_RESOURCES_DIR") / "kresliVysledky.m",
                  folder_.path() / "kresliVysledky.m");
  }
  const fs::path& folder() const { return folder_.path(); }

  // The command window's line, without a screen.
  ProcessResult run() const {
    return runProcess(
        {(requiredEnvPath("TARVELIN_STANDINS_DIR") / "matlab").string(), "-r", "kresliVysledky",
         "-nodesktop", "-nosplash"},
        folder(), environmentWith({{"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}}));
  }

 private:
  TempFolder folder_;
};

std::vector<std::string> coefficientNames(size_t count) {
  if (count == 6) return {"c1", "c2", "c3", "k1", "k2", "k3"};
  if (count == 7) return {"c1", "c2", "c3", "c4", "k1", "k2", "k3"};
  return {"c1", "c2", "c3", "c4", "k1", "k2", "k3", "k4"};
}

class PlotScriptVariant : public testing::TestWithParam<VariantCase> {};

TEST_P(PlotScriptVariant, SavesThePictureAndNamesTheCoefficientsInTheirOrder) {
  PlotScriptRun script;
  writeFitFiles(script.folder(), GetParam());

  const ProcessResult result = script.run();

  ASSERT_EQ(result.exitCode, 0) << result.output;
  expectPlotPicture(script.folder() / "fitted.png");
  const std::vector<double>& values = GetParam().coefficients;
  const std::vector<std::string> names = coefficientNames(values.size());
  for (size_t i = 0; i < values.size(); ++i) {
    char line[100];
    std::snprintf(line, sizeof line, "%s = %.10g\n", names[i].c_str(), values[i]);
    EXPECT_NE(result.output.find(line), std::string::npos) << line << "in:\n" << result.output;
  }
}

INSTANTIATE_TEST_SUITE_P(AllVariants, PlotScriptVariant, testing::ValuesIn(variantCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PlotScript, AcceptsCarriageReturnLineEndsAndBlankLines) {
  PlotScriptRun script;
  writeWholeFile(script.folder() / "fitted.dat",
                 "\r\n  0.5 1000 1010 50 49\r\n5 2000 1990 30 31\r\n\r\n50 3000 3000 10 10.5\r\n");
  writeWholeFile(script.folder() / "output2.dat",
                 "  1.000000000000E+03\r\n2\r\n3\r\n4\r\n5\r\n6\r\n\r\n");

  const ProcessResult result = script.run();

  ASSERT_EQ(result.exitCode, 0) << result.output;
  expectPlotPicture(script.folder() / "fitted.png");
  EXPECT_NE(result.output.find("c1 = 1000\n"), std::string::npos) << result.output;
}

struct BadInputCase {
  const char* name;
  std::function<void(const fs::path&)> prepare;
  std::vector<std::string> expectedTexts;
};

void PrintTo(const BadInputCase& bad, std::ostream* os) {
  *os << bad.name;
}

void writeGoodFiles(const fs::path& folder) {
  writeFitFiles(folder, variantCases().front());
}

const std::string kMissingHint = "Run the optimization first";
const std::string kBadHint = "run it again";

const std::vector<BadInputCase>& badInputCases() {
  static const std::vector<BadInputCase> cases = {
      {"MissingFitted",
       [](const fs::path& folder) {
         writeGoodFiles(folder);
         fs::remove(folder / "fitted.dat");
       },
       {"Cannot open \"fitted.dat\"", kMissingHint}},
      {"MissingOutput2",
       [](const fs::path& folder) {
         writeGoodFiles(folder);
         fs::remove(folder / "output2.dat");
       },
       {"Cannot open \"output2.dat\"", kMissingHint}},
      {"FittedWithText",
       [](const fs::path& folder) {
         writeGoodFiles(folder);
         writeWholeFile(folder / "fitted.dat", "1 2 3 4 5\n2 3 x 5 6\n");
       },
       {"\"fitted.dat\"", "line 2 is \"2 3 x 5 6\"", kBadHint}},
      {"FittedShortLine",
       [](const fs::path& folder) {
         writeGoodFiles(folder);
         writeWholeFile(folder / "fitted.dat", "1 2 3 4 5\n2 3 4 5 6\n3 4 5 6\n");
       },
       {"\"fitted.dat\"", "line 3", "expected five numbers", kBadHint}},
      {"FittedNumberRunsIntoText",
       [](const fs::path& folder) {
         writeGoodFiles(folder);
         writeWholeFile(folder / "fitted.dat", "1 2 3 4 5abc\n");
       },
       {"\"fitted.dat\"", "line 1", kBadHint}},
      {"FittedEmpty",
       [](const fs::path& folder) {
         writeGoodFiles(folder);
         writeWholeFile(folder / "fitted.dat", "\n\n");
       },
       {"\"fitted.dat\"", "holds no measured points", kBadHint}},
      {"FittedZeroFrequency",
       [](const fs::path& folder) {
         writeGoodFiles(folder);
         writeWholeFile(folder / "fitted.dat", "0 2 3 4 5\n");
       },
       {"\"fitted.dat\"", "positive frequency", kBadHint}},
      {"Output2FiveLines",
       [](const fs::path& folder) {
         writeGoodFiles(folder);
         writeWholeFile(folder / "output2.dat", "1\n2\n3\n4\n5\n");
       },
       {"\"output2.dat\"", "holds 5 coefficients, expected 6, 7 or 8", kBadHint}},
      {"Output2NineLines",
       [](const fs::path& folder) {
         writeGoodFiles(folder);
         writeWholeFile(folder / "output2.dat", "1\n2\n3\n4\n5\n6\n7\n8\n9\n");
       },
       {"\"output2.dat\"", "holds 9 coefficients", kBadHint}},
      {"Output2TwoNumbersOnALine",
       [](const fs::path& folder) {
         writeGoodFiles(folder);
         writeWholeFile(folder / "output2.dat", "1\n2\n3\n4 5\n6\n7\n");
       },
       {"\"output2.dat\"", "line 4 is \"4 5\"", kBadHint}},
  };
  return cases;
}

class PlotScriptBadInput : public testing::TestWithParam<BadInputCase> {};

TEST_P(PlotScriptBadInput, FailsNamingTheFileAndLeavesNoPicture) {
  PlotScriptRun script;
  GetParam().prepare(script.folder());
  // A picture of an earlier fit must not survive a failed run.
  writeWholeFile(script.folder() / "fitted.png", "earlier picture");

  const ProcessResult result = script.run();

  EXPECT_NE(result.exitCode, 0) << result.output;
  for (const std::string& text : GetParam().expectedTexts) {
    EXPECT_NE(result.output.find(text), std::string::npos) << "expected \"" << text << "\" in:\n"
                                                           << result.output;
  }
  EXPECT_FALSE(fs::exists(script.folder() / "fitted.png"));
}

INSTANTIATE_TEST_SUITE_P(Files, PlotScriptBadInput, testing::ValuesIn(badInputCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvelin::plottest
