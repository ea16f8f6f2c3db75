// Each template, built with the sample sweep of its variant and run by the built-in engine,
// must recover the coefficients that generated the sweep, and write what the program and the
// plotting script read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "tests/resources/rheology_model.h"
#include "tests/resources/template_run.h"

namespace tarvelin::testing {
namespace {

// How far a fitted coefficient may lie from the generating one, in standard errors.
constexpr double kStandardErrors = 5.0;

double parseWhole(const std::string& text) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  EXPECT_TRUE(end != text.c_str() && *end == '\0') << "not one number: '" << text << "'";
  return value;
}

int significantDigits(const std::string& text) {
  const std::string mantissa = text.substr(0, text.find_first_of("eE"));
  const auto first = mantissa.find_first_of("123456789");
  if (first == std::string::npos) return 0;
  return static_cast<int>(std::count_if(mantissa.begin() + static_cast<long>(first), mantissa.end(),
                                        [](unsigned char ch) { return std::isdigit(ch) != 0; }));
}

struct Element {
  double c, k, cError, kError;
};

// Spring-damper pairs (c_i, k_i) ordered by relaxation time k/c: a fit may find the
// elements in any order. The parallel spring (c4 without k4) is no element.
std::vector<Element> elements(const Sample& sample, const std::vector<double>& values) {
  std::vector<Element> result;
  for (std::size_t i = 0; i < sample.coefficients.size(); ++i) {
    const auto& ci = sample.coefficients[i];
    if (ci.name[0] != 'c') continue;
    for (std::size_t j = 0; j < sample.coefficients.size(); ++j) {
      const auto& kj = sample.coefficients[j];
      if (kj.name == "k" + ci.name.substr(1)) {
        result.push_back({values[i], values[j], ci.relativeError, kj.relativeError});
      }
    }
  }
  std::sort(result.begin(), result.end(),
            [](const Element& a, const Element& b) { return a.k / a.c < b.k / b.c; });
  return result;
}

std::vector<double> generatingValues(const Sample& sample) {
  std::vector<double> values;
  for (const auto& c : sample.coefficients) values.push_back(c.generating);
  return values;
}

class SampleFit : public TemplateRun, public ::testing::WithParamInterface<std::string> {
 protected:
  void SetUp() override {
    sample = &sampleOf(shippedSamples(), GetParam());
    useTemplate(GetParam());
    useSampleData(*sample);
  }
  // output2.dat: exactly one number a line, in the variant's order.
  std::vector<double> fittedCoefficients() {
    const auto lines = readLines("output2.dat");
    EXPECT_EQ(lines.size(), sample->coefficients.size());
    std::vector<double> values;
    for (const auto& line : lines) values.push_back(parseWhole(line));
    return values;
  }
  // The run ended normally at or below the objective of the generating coefficients, and
  // every coefficient lies within a few standard errors of its generating value.
  void expectRecovered(const ProcessResult& run) {
    ASSERT_EQ(run.exitCode, 0) << run.output;

    const auto summary = readSolveSummary("MaxwellOut.lst");
    ASSERT_TRUE(summary.solverStatus && summary.modelStatus && summary.objective) << run.output;
    EXPECT_EQ(*summary.solverStatus, 1);
    EXPECT_TRUE(*summary.modelStatus == 1 || *summary.modelStatus == 2) << *summary.modelStatus;
    // The generating coefficients are one candidate: the fit must do at least as well.
    EXPECT_LE(*summary.objective, sample->objective * (1 + 1e-6));

    for (const auto& line : readLines("output2.dat")) {
      EXPECT_GE(significantDigits(line), 10) << line;
    }
    const auto fitted = fittedCoefficients();
    ASSERT_EQ(fitted.size(), sample->coefficients.size());
    const auto found = elements(*sample, fitted);
    const auto truth = elements(*sample, generatingValues(*sample));
    ASSERT_EQ(found.size(), truth.size());
    for (std::size_t i = 0; i < truth.size(); ++i) {
      SCOPED_TRACE("element with relaxation time " + std::to_string(truth[i].k / truth[i].c));
      EXPECT_NEAR(found[i].c / truth[i].c, 1.0, kStandardErrors * truth[i].cError);
      EXPECT_NEAR(found[i].k / truth[i].k, 1.0, kStandardErrors * truth[i].kError);
    }
    if (GetParam() == "maxwell3spring") {
      EXPECT_NEAR(fitted[3] / sample->coefficients[3].generating, 1.0,
                  kStandardErrors * sample->coefficients[3].relativeError);
    }
  }
  const Sample* sample = nullptr;
};

TEST_P(SampleFit, RecoversGeneratingCoefficientsFromTypedStart) {
  useTypedSettings(*sample);
  expectRecovered(buildAndRun());
}

// The window's limits (-1E9 for springs, -1E6 for dampers) allow unphysical local minima; a
// typed start must still lead to the generating coefficients.
TEST_P(SampleFit, RecoversFromTypedStartWithinTheWindowsDefaultLimits) {
  useTypedStart(*sample);
  expectRecovered(buildAndRun());
}

TEST_P(SampleFit, FittedCurvesMatchTheModelAndTheObjective) {
  useTypedSettings(*sample);
  const auto run = buildAndRun();
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const auto coefficients = fittedCoefficients();
  const auto blocks = dataBlocks(*sample);
  const auto lines = readLines("fitted.dat");
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(sample->points));

  double objective = 0;
  for (std::size_t j = 0; j < lines.size(); ++j) {
    SCOPED_TRACE("fitted.dat line " + std::to_string(j + 1) + ": " + lines[j]);
    std::istringstream fields(lines[j]);
    double f, s, sModel, d, dModel;
    std::string extra;
    ASSERT_TRUE(fields >> f >> s >> sModel >> d >> dModel);
    EXPECT_FALSE(fields >> extra);
    EXPECT_NEAR(f / std::stod(blocks[0][j]), 1.0, 1e-9);
    EXPECT_NEAR(s / std::stod(blocks[1][j]), 1.0, 1e-9);
    EXPECT_NEAR(d / std::stod(blocks[2][j]), 1.0, 1e-9);
    const Response expected = modelResponse(GetParam(), coefficients, f);
    EXPECT_NEAR(sModel / expected.stiffness, 1.0, 1e-8);
    EXPECT_NEAR(dModel / expected.damping, 1.0, 1e-8);
    objective += std::pow(sModel / s - 1, 2) + std::pow(dModel / d - 1, 2);
  }
  // The solver's objective (scaled unknowns) is the user's sum of squared relative errors.
  const auto summary = readSolveSummary("MaxwellOut.lst");
  ASSERT_TRUE(summary.objective) << run.output;
  EXPECT_NEAR(*summary.objective, objective, 1e-6 * objective);
}

// The window's defaults put c2 at -1E4 and allow negative springs: a start far from the
// sweep. The run may end anywhere, but it ends normally, says how, and leaves results.
TEST_P(SampleFit, FarStartEndsWithAModelStatus) {
  const auto run = buildAndRun();
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const auto summary = readSolveSummary("MaxwellOut.lst");
  ASSERT_TRUE(summary.solverStatus && summary.modelStatus) << run.output;
  EXPECT_GE(*summary.modelStatus, 1);
  EXPECT_LE(*summary.modelStatus, 19);
  std::string shown = run.output;
  std::transform(shown.begin(), shown.end(), shown.begin(),
                 [](unsigned char ch) { return std::tolower(ch); });
  EXPECT_NE(shown.find("model status"), std::string::npos) << run.output;
  const auto coefficients = fittedCoefficients();
  for (double c : coefficients) EXPECT_TRUE(std::isfinite(c));
}

INSTANTIATE_TEST_SUITE_P(Variants, SampleFit, ::testing::ValuesIn(kVariantNames));

}  // namespace
}  // namespace tarvelin::testing
