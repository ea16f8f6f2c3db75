// The check of the coefficient texts in use, before a build touches anything.
#pragma once

#include <string_view>
#include <vector>

#include "model/Dialogs.h"
#include "model/Settings.h"

namespace tarvelin {

struct ValidationRow {
  Coefficient coefficient;
  ValueKind kind;
  std::string_view message;
};

// The rows that run for a variant, in the order they are checked.
std::vector<ValidationRow> validationRowsFor(VariantId variant);

// Checks row by row; on the first text that is no number shows its message in the message
// box and returns false. Throws OverflowError for a text beyond the number format.
bool ValidateSettings(const SettingsView& settings, Dialogs& dialogs);

}  // namespace tarvelin
