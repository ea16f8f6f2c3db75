// What a finished fit leaves for the plotting script, made from known coefficients with the
// model formulas of the four variants.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace tarvelin::plottest {

enum class PlotVariant { kMaxwell3, kMaxwell4, kMaxwell3Spring, kKelvin3 };

struct VariantCase {
  const char* name;
  PlotVariant variant;
  // In the order of output2.dat: c1.. then k1..
  std::vector<double> coefficients;
};

// Test names show the variant, not the bytes of the case.
inline void PrintTo(const VariantCase& fit, std::ostream* os) {
  *os << fit.name;
}

// One coefficient set per variant, with time constants spread over the measured range.
const std::vector<VariantCase>& variantCases();

struct ModelPoint {
  double stiffness;  // K'(w) [Nm/rad]
  double damping;    // K''(w)/w [Nms/rad]
};

ModelPoint modelAt(PlotVariant variant, const std::vector<double>& coefficients,
                   double frequencyHz);

// fitted.dat (30 points, 0.5 Hz to 50 Hz; "measured" = model with a fixed ripple of a few
// percent) and output2.dat (one coefficient a line, right-justified as put statements write).
void writeFitFiles(const std::filesystem::path& folder, const VariantCase& fit);

}  // namespace tarvelin::plottest
