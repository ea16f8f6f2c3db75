#include "model/Settings.h"

namespace tarvelin {

const std::array<ModelVariant, 4> kVariants = {{
    {VariantId::Maxwell3, "rb3", "3 Maxwell elements", "Maxwell3.gms", "schema3.bmp", false, false},
    {VariantId::Maxwell4, "rb4", "4 Maxwell elements", "Maxwell4.gms", "schema4.bmp", true, true},
    {VariantId::Maxwell3Spring, "rbMax3Spring", "3 Maxwell elements + spring in parallel order",
     "Maxwell3Spring.gms", "schema3Spring.bmp", true, false},
    {VariantId::Kelvin3, "rb3Kelvin", "3 Kelvin elements in serial order", "Maxwell3Kelvin.gms",
     "schema3Kelvin.bmp", false, false},
}};

const std::array<SolverChoice, 5> kSolvers = {{
    {SolverId::Conopt, "rbSolverConopt", "CONOPT", "option nlp=conopt;",
     "Optimization solver CONOPT chosen."},
    {SolverId::Emp, "rbSolverEmp", "EMP", "option nlp=emp;", "Optimization solver EMP chosen."},
    {SolverId::Knitro, "rbSolverKnitro", "KNITRO", "option nlp=knitro;",
     "Optimization solver KNITRO chosen."},
    {SolverId::Minos, "rbSolverMinos", "MINOS", "option nlp=minos;",
     "Optimization solver MINOS chosen."},
    {SolverId::Snop, "rbSolverSnop", "SNOP", "option nlp=snop;",
     "Optimization solver SNOP chosen."},
}};

const std::array<CoefficientInfo, 8> kCoefficients = {{
    {Coefficient::c1, "c1", " Nm/rad", {"c1in", "c1d", "c1u"}, {"1E7", "-1E9", "1E19"}},
    {Coefficient::c2, "c2", " Nm/rad", {"c2in", "c2d", "c2u"}, {"-1E4", "-1E9", "1E19"}},
    {Coefficient::c3, "c3", " Nm/rad", {"c3in", "c3d", "c3u"}, {"1E4", "-1E9", "1E19"}},
    {Coefficient::c4, "c4", " Nm/rad", {"c4in", "c4d", "c4u"}, {"1E2", "-1E9", "1E19"}},
    {Coefficient::k1, "k1", " Nms/rad", {"k1in", "k1d", "k1u"}, {"1E2", "-1E6", "1E6"}},
    {Coefficient::k2, "k2", " Nms/rad", {"k2in", "k2d", "k2u"}, {"5E2", "-1E6", "1E6"}},
    {Coefficient::k3, "k3", " Nms/rad", {"k3in", "k3d", "k3u"}, {"1.5E2", "-1E6", "1E6"}},
    {Coefficient::k4, "k4", " Nms/rad", {"k4in", "k4d", "k4u"}, {"1E2", "-1E6", "1E6"}},
}};

const ModelVariant& variantInfo(VariantId id) {
  return kVariants[static_cast<std::size_t>(id)];
}
const SolverChoice& solverInfo(SolverId id) {
  return kSolvers[static_cast<std::size_t>(id)];
}
const CoefficientInfo& coefficientInfo(Coefficient id) {
  return kCoefficients[static_cast<std::size_t>(id)];
}

bool usesCoefficient(VariantId variant, Coefficient c) {
  if (c == Coefficient::c4) return variantInfo(variant).usesC4;
  if (c == Coefficient::k4) return variantInfo(variant).usesK4;
  return true;
}

bool settingForLetter(char letter, Coefficient& coefficient, ValueKind& kind) {
  if (letter < 'A' || letter > 'X') return false;
  const int index = letter - 'A';
  kind = static_cast<ValueKind>(index / 8);
  coefficient = static_cast<Coefficient>(index % 8);
  return true;
}

char letterFor(Coefficient coefficient, ValueKind kind) {
  return static_cast<char>('A' + static_cast<int>(kind) * 8 + static_cast<int>(coefficient));
}

SettingsValues::SettingsValues() {
  for (const auto& info : kCoefficients) {
    for (int k = 0; k < 3; ++k) {
      setText(info.id, static_cast<ValueKind>(k), std::string(info.defaultText[k]));
    }
  }
}

std::string SettingsValues::coefficientText(Coefficient c, ValueKind kind) const {
  return texts_[static_cast<std::size_t>(letterFor(c, kind) - 'A')];
}

void SettingsValues::setText(Coefficient c, ValueKind kind, std::string text) {
  texts_[static_cast<std::size_t>(letterFor(c, kind) - 'A')] = std::move(text);
}

VariantId selectedVariant(const SettingsView& view) {
  for (const auto& variant : kVariants) {
    if (view.isVariantSelected(variant.id)) return variant.id;
  }
  return VariantId::Maxwell3;  // the radios always hold one selection
}

}  // namespace tarvelin
