// The fixed tables of the three kinds of setting: model variants, solvers and coefficients.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tarvelin {

enum class VariantId { Maxwell3, Maxwell4, Maxwell3Spring, Kelvin3 };
enum class SolverId { Conopt, Emp, Knitro, Minos, Snop };
// In template-letter order: c1 c2 c3 c4 k1 k2 k3 k4.
enum class Coefficient { c1, c2, c3, c4, k1, k2, k3, k4 };
// Initial value, lower limit, upper limit: the three runs of template letters.
enum class ValueKind { Initial, Lower, Upper };

struct ModelVariant {
  VariantId id;
  std::string_view radio;  // control name
  std::string_view caption;
  std::string_view templateFile;
  std::string_view schemaPicture;
  bool usesC4;
  bool usesK4;
};

struct SolverChoice {
  SolverId id;
  std::string_view radio;
  std::string_view caption;
  std::string_view optionLine;  // what the solver directive writes
  std::string_view logLine;     // logged at the end of a build
};

struct CoefficientInfo {
  Coefficient id;
  std::string_view name;                        // "c1"
  std::string_view unit;                        // " Nm/rad" or " Nms/rad", with its leading blank
  std::array<std::string_view, 3> control;      // by ValueKind: "c1in", "c1d", "c1u"
  std::array<std::string_view, 3> defaultText;  // by ValueKind
};

// Rows in the order of their radio buttons; tests of the radios go in this order.
extern const std::array<ModelVariant, 4> kVariants;
extern const std::array<SolverChoice, 5> kSolvers;
extern const std::array<CoefficientInfo, 8> kCoefficients;

const ModelVariant& variantInfo(VariantId id);
const SolverChoice& solverInfo(SolverId id);
const CoefficientInfo& coefficientInfo(Coefficient id);

// Whether the variant uses a coefficient: shown, checked and read back.
bool usesCoefficient(VariantId variant, Coefficient c);

// Template letters A..X: initial values A..H, lower limits I..P, upper limits Q..X,
// each run in coefficient order. Gives false for any other character.
bool settingForLetter(char letter, Coefficient& coefficient, ValueKind& kind);
char letterFor(Coefficient coefficient, ValueKind kind);

// The current state of the settings as the window's controls hold it. The build and the
// validation read through this at the moment they need a value, never a copy made earlier.
class SettingsView {
 public:
  virtual ~SettingsView() = default;
  virtual std::string coefficientText(Coefficient c, ValueKind kind) const = 0;
  virtual bool isVariantSelected(VariantId id) const = 0;
  virtual bool isSolverSelected(SolverId id) const = 0;
};

// Settings held as plain values, starting from the window's defaults: for the batch program
// and for tests.
class SettingsValues : public SettingsView {
 public:
  SettingsValues();
  std::string coefficientText(Coefficient c, ValueKind kind) const override;
  bool isVariantSelected(VariantId id) const override { return id == variant; }
  bool isSolverSelected(SolverId id) const override { return id == solver; }
  void setText(Coefficient c, ValueKind kind, std::string text);

  VariantId variant = VariantId::Maxwell3;
  SolverId solver = SolverId::Conopt;

 private:
  std::array<std::string, 24> texts_;  // by template letter
};

// The selected variant of a view: the first of the radios, in their order, that is selected.
VariantId selectedVariant(const SettingsView& view);

}  // namespace tarvelin
