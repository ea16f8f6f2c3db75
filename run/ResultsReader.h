// Reads the fitted coefficients back from the results file that the model run leaves.
#pragma once

#include <string>
#include <vector>

#include "model/ActivityLog.h"
#include "model/Settings.h"

namespace tarvelin {

inline constexpr const char* kResultsFileName = "output2.dat";

// Where the fitted values are shown: one result label per coefficient.
class ResultLabels {
 public:
  virtual ~ResultLabels() = default;
  virtual void setResultLabel(Coefficient c, const std::string& text) = 0;
};

// The coefficients whose lines a variant reads, in the order of the file's lines.
std::vector<Coefficient> resultCoefficients(VariantId variant);

// Opens the file (FileError if it cannot), logs "= RESULTS =", then for each coefficient of the
// variant reads one line as text, logs "c1 = <line>" and sets the label to "<line> Nm/rad".
// Missing lines read as empty texts. Nothing is converted, trimmed or checked.
void readResults(VariantId variant, ActivityLog& log, ResultLabels& labels,
                 const std::string& fileName = kResultsFileName);

}  // namespace tarvelin
