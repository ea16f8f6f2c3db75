#include "model/ValidateSettings.h"

#include <gtest/gtest.h>

#include "model/Errors.h"
#include "tests/support/Recorders.h"

namespace tarvelin {
namespace {

using testing::RecordingDialogs;
using C = Coefficient;
using K = ValueKind;

struct Bad {
  C coefficient;
  K kind;
};

struct ValidationCase {
  const char* name;
  VariantId variant;
  std::vector<Bad> bad;  // texts set to something that is no number
  const char* message;   // nullptr: the settings pass
};

std::ostream& operator<<(std::ostream& os, const ValidationCase& c) {
  return os << c.name;
}

class ValidateSettingsTest : public ::testing::TestWithParam<ValidationCase> {};

TEST_P(ValidateSettingsTest, FirstFailingRowGivesItsMessage) {
  const ValidationCase& c = GetParam();
  SettingsValues settings;
  settings.variant = c.variant;
  for (const Bad& bad : c.bad) settings.setText(bad.coefficient, bad.kind, "abc");
  RecordingDialogs dialogs;
  const bool passed = ValidateSettings(settings, dialogs);
  if (c.message == nullptr) {
    EXPECT_TRUE(passed);
    EXPECT_TRUE(dialogs.messages.empty());
  } else {
    EXPECT_FALSE(passed);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{c.message});
  }
  EXPECT_EQ(dialogs.dataFileAsked, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ValidateSettingsTest,
    ::testing::Values(ValidationCase{"DefaultsPassMaxwell3", VariantId::Maxwell3, {}, nullptr},
                      ValidationCase{"DefaultsPassMaxwell4", VariantId::Maxwell4, {}, nullptr},
                      ValidationCase{"DefaultsPassSpring", VariantId::Maxwell3Spring, {}, nullptr},
                      ValidationCase{"DefaultsPassKelvin", VariantId::Kelvin3, {}, nullptr},
                      ValidationCase{"C4UncheckedForMaxwell3",
                                     VariantId::Maxwell3,
                                     {{C::c4, K::Initial}, {C::k4, K::Upper}},
                                     nullptr},
                      ValidationCase{
                          "C4UncheckedForKelvin", VariantId::Kelvin3, {{C::c4, K::Lower}}, nullptr},
                      ValidationCase{"C4CheckedForMaxwell4",
                                     VariantId::Maxwell4,
                                     {{C::c4, K::Initial}},
                                     "Incorrect input for initial value of c4!"},
                      ValidationCase{"K4UncheckedForSpring",
                                     VariantId::Maxwell3Spring,
                                     {{C::k4, K::Initial}, {C::k4, K::Lower}, {C::k4, K::Upper}},
                                     nullptr},
                      ValidationCase{"SpringC4UpperHasItsOwnMessage",
                                     VariantId::Maxwell3Spring,
                                     {{C::c4, K::Upper}},
                                     "Incorrect input for upper limit of c4!"},
                      ValidationCase{"SpringC4Lower",
                                     VariantId::Maxwell3Spring,
                                     {{C::c4, K::Lower}},
                                     "Incorrect input for lower limit of c4!"},
                      ValidationCase{"Maxwell4GoesByCoefficientAfterInitials",
                                     VariantId::Maxwell4,
                                     {{C::c4, K::Upper}, {C::k4, K::Lower}},
                                     "Incorrect input for upper limit of c4!"},
                      ValidationCase{"Maxwell4InitialK4BeforeLowerC4",
                                     VariantId::Maxwell4,
                                     {{C::k4, K::Initial}, {C::c4, K::Lower}},
                                     "Incorrect input for initial value of k4!"},
                      ValidationCase{"InitialK1BeforeUpperC3",
                                     VariantId::Maxwell3,
                                     {{C::c3, K::Upper}, {C::k1, K::Initial}},
                                     "Incorrect input for initial value of k1!"},
                      ValidationCase{"CommonRowsBeforeVariantRows",
                                     VariantId::Maxwell4,
                                     {{C::c4, K::Initial}, {C::k3, K::Upper}},
                                     "Incorrect input for upper limit of k3!"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValidationRows, EachVariantChecksItsTextsInOrder) {
  EXPECT_EQ(validationRowsFor(VariantId::Maxwell3).size(), 18u);
  EXPECT_EQ(validationRowsFor(VariantId::Kelvin3).size(), 18u);
  EXPECT_EQ(validationRowsFor(VariantId::Maxwell4).size(), 24u);
  EXPECT_EQ(validationRowsFor(VariantId::Maxwell3Spring).size(), 21u);
  // Every row's message names its own coefficient and kind.
  const char* kindWords[] = {"initial value of ", "lower limit of ", "upper limit of "};
  for (const auto& row : validationRowsFor(VariantId::Maxwell4)) {
    const std::string expected = std::string("Incorrect input for ") +
                                 kindWords[static_cast<int>(row.kind)] +
                                 std::string(coefficientInfo(row.coefficient).name) + "!";
    EXPECT_EQ(row.message, expected);
  }
}

TEST(ValidateSettings, EachRowFailsForTheTextsTheCheckRefuses) {
  for (const char* text : {"", "   ", "1 ", "1,5", "1E"}) {
    SettingsValues settings;
    settings.setText(C::k2, K::Lower, text);
    RecordingDialogs dialogs;
    EXPECT_FALSE(ValidateSettings(settings, dialogs)) << '"' << text << '"';
    EXPECT_EQ(dialogs.messages.at(0), "Incorrect input for lower limit of k2!");
  }
  SettingsValues settings;
  settings.setText(C::k2, K::Lower, "  -5");
  settings.setText(C::c1, K::Lower, "1E9");  // above the upper limit and the initial value
  RecordingDialogs dialogs;
  EXPECT_TRUE(ValidateSettings(settings, dialogs));
}

TEST(ValidateSettings, ATextBeyondTheNumberFormatIsTheOverflowError) {
  SettingsValues settings;
  settings.setText(C::c2, K::Upper, "1E5000");
  settings.setText(C::k3, K::Upper, "abc");
  RecordingDialogs dialogs;
  EXPECT_THROW(ValidateSettings(settings, dialogs), OverflowError);
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace tarvelin
