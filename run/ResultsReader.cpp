#include "run/ResultsReader.h"

#include "model/TextFile.h"

namespace tarvelin {

std::vector<Coefficient> resultCoefficients(VariantId variant) {
  using C = Coefficient;
  switch (variant) {
    case VariantId::Maxwell4:
      return {C::c1, C::c2, C::c3, C::c4, C::k1, C::k2, C::k3, C::k4};
    case VariantId::Maxwell3Spring:
      return {C::c1, C::c2, C::c3, C::c4, C::k1, C::k2, C::k3};
    case VariantId::Maxwell3:
    case VariantId::Kelvin3:
      break;
  }
  return {C::c1, C::c2, C::c3, C::k1, C::k2, C::k3};
}

void readResults(VariantId variant, ActivityLog& log, ResultLabels& labels,
                 const std::string& fileName) {
  TextFile results(fileName);
  results.openRead();
  log.append("= RESULTS =");
  for (const Coefficient c : resultCoefficients(variant)) {
    const std::string text = results.readLine();
    const CoefficientInfo& info = coefficientInfo(c);
    log.append(std::string(info.name) + " = " + text);
    labels.setResultLabel(c, text + std::string(info.unit));
  }
  results.close();
}

}  // namespace tarvelin
