// The plotting script on what a real fit leaves: each sample is built into a model file by
// tarvelin-batch, fitted by `gams` (Tarvelin's built-in engine), then plotted headless by the
// matlab stand-in, all in one temporary folder as in the working folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/run/plot_picture.h"
#include "tests/run/plot_process.h"

namespace tarvelin::plottest {
namespace {

namespace fs = std::filesystem;

struct SampleFit {
  const char* variant;  // as tarvelin-batch names it, and as samples.tsv does
  const char* templateFile;
  const char* sampleFile;
  std::vector<const char*> coefficients;  // in the order of output2.dat
};

void PrintTo(const SampleFit& fit, std::ostream* os) {
  *os << fit.variant;
}

const std::vector<SampleFit>& sampleFits() {
  static const std::vector<SampleFit> fits = {
      {"maxwell3", "Maxwell3.gms", "maxwell3.txt", {"c1", "c2", "c3", "k1", "k2", "k3"}},
      {"maxwell4",
       "Maxwell4.gms",
       "maxwell4.txt",
       {"c1", "c2", "c3", "c4", "k1", "k2", "k3", "k4"}},
      {"maxwell3spring",
       "Maxwell3Spring.gms",
       "maxwell3spring.txt",
       {"c1", "c2", "c3", "c4", "k1", "k2", "k3"}},
      {"kelvin3", "Maxwell3Kelvin.gms", "kelvin3.txt", {"c1", "c2", "c3", "k1", "k2", "k3"}},
  };
  return fits;
}

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

// The initial values and limits recorded beside the samples, as --set options.
std::vector<std::string> settingsFor(const fs::path& table, const std::string& variant) {
  std::ifstream in(table);
  std::string line;
  std::getline(in, line);
  const std::vector<std::string> header = splitTabs(line);
  const auto column = [&](const std::string& name) {
    for (size_t i = 0; i < header.size(); ++i) {
      if (header[i] == name) return i;
    }
    ADD_FAILURE() << "no column " << name << " in " << table;
    return size_t{0};
  };
  const size_t variantAt = column("variant"), coefficientAt = column("coefficient"),
               startAt = column("start"), lowerAt = column("lower"), upperAt = column("upper");
  std::vector<std::string> options;
  while (std::getline(in, line)) {
    const std::vector<std::string> row = splitTabs(line);
    if (row.size() != header.size() || row[variantAt] != variant) continue;
    const std::string& name = row[coefficientAt];
    for (const auto& [suffix, value] :
         {std::pair{"in", row[startAt]}, {"d", row[lowerAt]}, {"u", row[upperAt]}}) {
      options.push_back("--set");
      options.push_back(name + suffix + "=" + value);
    }
  }
  return options;
}

std::vector<double> numbersIn(const fs::path& file) {
  std::vector<double> numbers;
  std::ifstream in(file);
  for (double value; in >> value;) numbers.push_back(value);
  return numbers;
}

class PlotAfterFit : public testing::TestWithParam<SampleFit> {};

TEST_P(PlotAfterFit, PlotsTheFittedCurvesAndCoefficients) {
  const SampleFit& fit = GetParam();
  const fs::path resources = requiredEnvPath("TARVELIN_RESOURCES_DIR");
  const fs::path standins = requiredEnvPath("TARVELIN_STANDINS_DIR");
  TempFolder work;
  for (const fs::path& file : {resources / fit.templateFile, resources / "samples" / fit.sampleFile,
                               resources / "kresliVysledky.m"}) {
    fs::copy_file(file, work.path() / file.filename());
  }
  const std::vector<std::string> environment =
      environmentWith({{"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}});

  std::vector<std::string> build = {
      (requiredEnvPath("TARVELIN_BIN_DIR") / "tarvelin-batch").string(), "--variant", fit.variant};
  const std::vector<std::string> settings =
      settingsFor(resources / "samples" / "samples.tsv", fit.variant);
  ASSERT_EQ(settings.size(), 6 * fit.coefficients.size()) << "settings of " << fit.variant;
  build.insert(build.end(), settings.begin(), settings.end());
  build.push_back(fit.sampleFile);
  const ProcessResult built = runProcess(build, work.path(), environment);
  ASSERT_EQ(built.exitCode, 0) << built.output;

  const ProcessResult solved =
      runProcess({(standins / "gams").string(), "MaxwellOut.gms"}, work.path(), environment);
  ASSERT_EQ(solved.exitCode, 0) << solved.output;

  const ProcessResult plotted = runProcess(
      {(standins / "matlab").string(), "-r", "kresliVysledky", "-nodesktop", "-nosplash"},
      work.path(), environment);
  ASSERT_EQ(plotted.exitCode, 0) << plotted.output;

  expectPlotPicture(work.path() / "fitted.png");

  // The script read the engine's output2.dat under the variant's names.
  const std::vector<double> coefficients = numbersIn(work.path() / "output2.dat");
  ASSERT_EQ(coefficients.size(), fit.coefficients.size());
  for (size_t i = 0; i < coefficients.size(); ++i) {
    char line[100];
    std::snprintf(line, sizeof line, "%s = %.10g\n", fit.coefficients[i], coefficients[i]);
    EXPECT_NE(plotted.output.find(line), std::string::npos) << line << "in:\n" << plotted.output;
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, PlotAfterFit, testing::ValuesIn(sampleFits()),
                         [](const auto& info) { return std::string(info.param.variant); });

}  // namespace
}  // namespace tarvelin::plottest
