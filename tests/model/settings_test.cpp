#include "model/Settings.h"

#include <gtest/gtest.h>

namespace tarvelin {
namespace {

TEST(TemplateLetters, MapBothWaysAndStopAtX) {
  const struct {
    char letter;
    Coefficient coefficient;
    ValueKind kind;
  } cases[] = {
      {'A', Coefficient::c1, ValueKind::Initial}, {'D', Coefficient::c4, ValueKind::Initial},
      {'H', Coefficient::k4, ValueKind::Initial}, {'I', Coefficient::c1, ValueKind::Lower},
      {'M', Coefficient::k1, ValueKind::Lower},   {'Q', Coefficient::c1, ValueKind::Upper},
      {'X', Coefficient::k4, ValueKind::Upper}};
  for (const auto& c : cases) {
    Coefficient coefficient;
    ValueKind kind;
    ASSERT_TRUE(settingForLetter(c.letter, coefficient, kind)) << c.letter;
    EXPECT_EQ(coefficient, c.coefficient) << c.letter;
    EXPECT_EQ(kind, c.kind) << c.letter;
    EXPECT_EQ(letterFor(c.coefficient, c.kind), c.letter);
  }
  Coefficient coefficient;
  ValueKind kind;
  for (char letter : {'Y', 'Z', 'a', 'x', '@', '0'}) {
    EXPECT_FALSE(settingForLetter(letter, coefficient, kind)) << letter;
  }
}

TEST(Variants, CoefficientsInUse) {
  EXPECT_FALSE(usesCoefficient(VariantId::Maxwell3, Coefficient::c4));
  EXPECT_TRUE(usesCoefficient(VariantId::Maxwell4, Coefficient::k4));
  EXPECT_TRUE(usesCoefficient(VariantId::Maxwell3Spring, Coefficient::c4));
  EXPECT_FALSE(usesCoefficient(VariantId::Maxwell3Spring, Coefficient::k4));
  EXPECT_FALSE(usesCoefficient(VariantId::Kelvin3, Coefficient::k4));
  EXPECT_TRUE(usesCoefficient(VariantId::Kelvin3, Coefficient::k3));
}

TEST(SettingsValues, StartFromTheWindowDefaults) {
  const SettingsValues settings;
  EXPECT_EQ(settings.variant, VariantId::Maxwell3);
  EXPECT_EQ(settings.solver, SolverId::Conopt);
  EXPECT_EQ(settings.coefficientText(Coefficient::c2, ValueKind::Initial), "-1E4");
  EXPECT_EQ(settings.coefficientText(Coefficient::k3, ValueKind::Initial), "1.5E2");
  EXPECT_EQ(settings.coefficientText(Coefficient::c4, ValueKind::Upper), "1E19");
  EXPECT_EQ(settings.coefficientText(Coefficient::k4, ValueKind::Lower), "-1E6");
  EXPECT_EQ(selectedVariant(settings), VariantId::Maxwell3);
}

}  // namespace
}  // namespace tarvelin
