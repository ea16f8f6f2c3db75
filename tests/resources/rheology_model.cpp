#include "tests/resources/rheology_model.h"

#include <complex>
#include <numbers>
#include <stdexcept>

namespace tarvelin::testing {
namespace {

using Complex = std::complex<double>;

// Complex stiffness of one element; a Maxwell element is the series of spring and damper.
Complex maxwellElement(double c, double k, double w) {
  return 1.0 / (1.0 / c + 1.0 / Complex(0.0, w * k));
}
Complex kelvinElement(double c, double k, double w) {
  return Complex(c, w * k);
}

}  // namespace

Response modelResponse(const std::string& variant, const std::vector<double>& x, double f) {
  const double w = 2 * std::numbers::pi * f;
  Complex total;
  if (variant == "maxwell3" || variant == "maxwell4") {
    const std::size_t n = x.size() / 2;
    for (std::size_t i = 0; i < n; ++i) total += maxwellElement(x[i], x[n + i], w);
  } else if (variant == "maxwell3spring") {
    total = x[3];
    for (std::size_t i = 0; i < 3; ++i) total += maxwellElement(x[i], x[4 + i], w);
  } else if (variant == "kelvin3") {
    Complex compliance;
    for (std::size_t i = 0; i < 3; ++i) compliance += 1.0 / kelvinElement(x[i], x[3 + i], w);
    total = 1.0 / compliance;
  } else {
    throw std::invalid_argument("unknown variant " + variant);
  }
  return {total.real(), total.imag() / w};
}

}  // namespace tarvelin::testing
