#include "tests/run/plot_fixtures.h"

#include <cmath>
#include <cstdio>
#include <numbers>
#include <stdexcept>

#include "tests/run/plot_process.h"

namespace tarvelin::plottest {

const std::vector<VariantCase>& variantCases() {
  static const std::vector<VariantCase> cases = {
      {"Maxwell3", PlotVariant::kMaxwell3, {2e5, 5e4, 1e4, 5e2, 2e3, 8e3}},
      {"Maxwell4", PlotVariant::kMaxwell4, {2e5, 5e4, 1e4, 3e3, 5e2, 2e3, 8e3, 2e4}},
      {"Maxwell3Spring", PlotVariant::kMaxwell3Spring, {2e5, 5e4, 1e4, 4e4, 5e2, 2e3, 8e3}},
      {"Maxwell3Kelvin", PlotVariant::kKelvin3, {3e5, 1e5, 5e4, 1e3, 5e3, 2e4}},
  };
  return cases;
}

namespace {

// Maxwell element: K' = c w^2 k^2 / E, K''/w = c^2 k / E with E = c^2 + w^2 k^2.
ModelPoint maxwellElements(const double* c, const double* k, int count, double w) {
  ModelPoint sum{0.0, 0.0};
  for (int i = 0; i < count; ++i) {
    const double e = c[i] * c[i] + w * w * k[i] * k[i];
    sum.stiffness += c[i] * w * w * k[i] * k[i] / e;
    sum.damping += c[i] * c[i] * k[i] / e;
  }
  return sum;
}

// Kelvin elements in series: 1/K* = sum 1/(c_i + i w k_i).
ModelPoint kelvinChain(const double* c, const double* k, int count, double w) {
  double a = 0.0;
  double b = 0.0;
  for (int i = 0; i < count; ++i) {
    const double e = c[i] * c[i] + w * w * k[i] * k[i];
    a += c[i] / e;
    b += w * k[i] / e;
  }
  const double m = a * a + b * b;
  return {a / m, (b / w) / m};
}

}  // namespace

ModelPoint modelAt(PlotVariant variant, const std::vector<double>& coefficients,
                   double frequencyHz) {
  const double w = 2.0 * std::numbers::pi * frequencyHz;
  const double* p = coefficients.data();
  switch (variant) {
    case PlotVariant::kMaxwell3:
      return maxwellElements(p, p + 3, 3, w);
    case PlotVariant::kMaxwell4:
      return maxwellElements(p, p + 4, 4, w);
    case PlotVariant::kMaxwell3Spring: {
      ModelPoint point = maxwellElements(p, p + 4, 3, w);
      point.stiffness += p[3];
      return point;
    }
    case PlotVariant::kKelvin3:
      return kelvinChain(p, p + 3, 3, w);
  }
  throw std::logic_error("unknown variant");
}

void writeFitFiles(const std::filesystem::path& folder, const VariantCase& fit) {
  constexpr int kPoints = 30;
  std::string fitted;
  char line[200];
  for (int j = 0; j < kPoints; ++j) {
    const double f = 0.5 * std::pow(100.0, static_cast<double>(j) / (kPoints - 1));
    const ModelPoint model = modelAt(fit.variant, fit.coefficients, f);
    const double ripple = 0.03 * std::sin(1.7 * j);
    std::snprintf(line, sizeof line, "%.10g %.10g %.10g %.10g %.10g\n", f,
                  model.stiffness * (1.0 + ripple), model.stiffness, model.damping * (1.0 - ripple),
                  model.damping);
    fitted += line;
  }
  writeWholeFile(folder / "fitted.dat", fitted);

  std::string output2;
  for (double value : fit.coefficients) {
    std::snprintf(line, sizeof line, "%24.15E\n", value);
    output2 += line;
  }
  writeWholeFile(folder / "output2.dat", output2);
}

}  // namespace tarvelin::plottest
