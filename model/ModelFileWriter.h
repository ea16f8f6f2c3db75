// Writes "MaxwellOut.gms" from the selected variant's template, the settings and a data file.
#pragma once

#include <functional>

#include "model/ActivityLog.h"
#include "model/Dialogs.h"
#include "model/Settings.h"
#include "model/TextFile.h"

namespace tarvelin {

inline constexpr const char* kModelFileName = "MaxwellOut.gms";

// The two reports of a build; each runs at once, at its fixed point of the build.
struct BuildReports {
  std::function<void()> DataConsistent;  // the three blocks agree (after their log lines)
  std::function<void()> BuildCompleted;  // every file closed
};

// Runs one build: asks for the data file, counts, copies the template with its directives
// expanded, checks the three blocks and logs the outcome. A cancelled dialog does nothing.
// Failures are thrown as FileError or ConversionError and end the build at that step; what
// was written stays written.
void ModelFileWriter(TextFile& modelTemplate, const SettingsView& settings, Dialogs& dialogs,
                     ActivityLog& log, const BuildReports& reports);

}  // namespace tarvelin
