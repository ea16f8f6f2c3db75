// The window's controls seen through the core's interfaces: the settings as the edits and
// radios hold them at the moment of asking, and the result labels.
#pragma once

#include "model/Settings.h"
#include "run/ResultsReader.h"

class TForm1;

namespace tarvelin {

class FormSettings : public SettingsView {
 public:
  explicit FormSettings(const TForm1& form) : form_(form) {}
  std::string coefficientText(Coefficient c, ValueKind kind) const override;
  bool isVariantSelected(VariantId id) const override;
  bool isSolverSelected(SolverId id) const override;

 private:
  const TForm1& form_;
};

class FormResultLabels : public ResultLabels {
 public:
  explicit FormResultLabels(const TForm1& form) : form_(form) {}
  void setResultLabel(Coefficient c, const std::string& text) override;

 private:
  const TForm1& form_;
};

}  // namespace tarvelin
