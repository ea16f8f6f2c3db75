#include "model/ValidateSettings.h"

#include "model/Numbers.h"

namespace tarvelin {

namespace {

using C = Coefficient;
using K = ValueKind;

// Rows 1 to 18: by kind of value, each time c1 c2 c3 k1 k2 k3.
const ValidationRow kCommonRows[] = {
    {C::c1, K::Initial, "Incorrect input for initial value of c1!"},
    {C::c2, K::Initial, "Incorrect input for initial value of c2!"},
    {C::c3, K::Initial, "Incorrect input for initial value of c3!"},
    {C::k1, K::Initial, "Incorrect input for initial value of k1!"},
    {C::k2, K::Initial, "Incorrect input for initial value of k2!"},
    {C::k3, K::Initial, "Incorrect input for initial value of k3!"},
    {C::c1, K::Lower, "Incorrect input for lower limit of c1!"},
    {C::c2, K::Lower, "Incorrect input for lower limit of c2!"},
    {C::c3, K::Lower, "Incorrect input for lower limit of c3!"},
    {C::k1, K::Lower, "Incorrect input for lower limit of k1!"},
    {C::k2, K::Lower, "Incorrect input for lower limit of k2!"},
    {C::k3, K::Lower, "Incorrect input for lower limit of k3!"},
    {C::c1, K::Upper, "Incorrect input for upper limit of c1!"},
    {C::c2, K::Upper, "Incorrect input for upper limit of c2!"},
    {C::c3, K::Upper, "Incorrect input for upper limit of c3!"},
    {C::k1, K::Upper, "Incorrect input for upper limit of k1!"},
    {C::k2, K::Upper, "Incorrect input for upper limit of k2!"},
    {C::k3, K::Upper, "Incorrect input for upper limit of k3!"},
};

// Rows 19 to 24, for four Maxwell elements: after the initial values, by coefficient.
const ValidationRow kMaxwell4Rows[] = {
    {C::c4, K::Initial, "Incorrect input for initial value of c4!"},
    {C::k4, K::Initial, "Incorrect input for initial value of k4!"},
    {C::c4, K::Lower, "Incorrect input for lower limit of c4!"},
    {C::c4, K::Upper, "Incorrect input for upper limit of c4!"},
    {C::k4, K::Lower, "Incorrect input for lower limit of k4!"},
    {C::k4, K::Upper, "Incorrect input for upper limit of k4!"},
};

// The parallel spring c4 only; k4 is not part of that model.
const ValidationRow kMaxwell3SpringRows[] = {
    {C::c4, K::Initial, "Incorrect input for initial value of c4!"},
    {C::c4, K::Lower, "Incorrect input for lower limit of c4!"},
    {C::c4, K::Upper, "Incorrect input for upper limit of c4!"},
};

std::vector<ValidationRow> rowsFor(bool maxwell4, bool maxwell3Spring) {
  std::vector<ValidationRow> rows(std::begin(kCommonRows), std::end(kCommonRows));
  if (maxwell4) rows.insert(rows.end(), std::begin(kMaxwell4Rows), std::end(kMaxwell4Rows));
  if (maxwell3Spring) {
    rows.insert(rows.end(), std::begin(kMaxwell3SpringRows), std::end(kMaxwell3SpringRows));
  }
  return rows;
}

}  // namespace

std::vector<ValidationRow> validationRowsFor(VariantId variant) {
  return rowsFor(variant == VariantId::Maxwell4, variant == VariantId::Maxwell3Spring);
}

bool ValidateSettings(const SettingsView& settings, Dialogs& dialogs) {
  const auto rows = rowsFor(settings.isVariantSelected(VariantId::Maxwell4),
                            settings.isVariantSelected(VariantId::Maxwell3Spring));
  for (const auto& row : rows) {
    if (!IsValidNumber(settings.coefficientText(row.coefficient, row.kind))) {
      dialogs.showMessage(std::string(row.message));
      return false;
    }
  }
  return true;
}

}  // namespace tarvelin
