#include "tests/resources/template_run.h"

#include <stdexcept>

namespace tarvelin::testing {

VariantId variantId(const std::string& variant) {
  if (variant == "maxwell3") return VariantId::Maxwell3;
  if (variant == "maxwell4") return VariantId::Maxwell4;
  if (variant == "maxwell3spring") return VariantId::Maxwell3Spring;
  if (variant == "kelvin3") return VariantId::Kelvin3;
  throw std::invalid_argument("unknown variant " + variant);
}

Coefficient coefficientNamed(const std::string& name) {
  for (const auto& info : kCoefficients) {
    if (info.name == name) return info.id;
  }
  throw std::invalid_argument("unknown coefficient " + name);
}

std::filesystem::path resourcesFolder() {
  return environmentFolder("TARVELIN_RESOURCES_DIR");
}

const std::vector<Sample>& shippedSamples() {
  static const std::vector<Sample> samples =
      readSamples(resourcesFolder() / "samples" / "samples.tsv");
  return samples;
}

void TemplateRun::useTemplate(const std::string& name, const std::string& from,
                              const std::string& to) {
  variant = name;
  settings.variant = variantId(name);
  const std::string file(variantInfo(settings.variant).templateFile);
  std::string text = readBytes(resourcesFolder() / file);
  if (!from.empty()) {
    const auto at = text.find(from);
    if (at == std::string::npos) throw std::runtime_error(file + " has no " + from);
    text.replace(at, from.size(), to);
  }
  writeBytes(file, text);
  modelTemplate.assign(file);
}

void TemplateRun::useData(const std::vector<std::vector<std::string>>& blocks) {
  std::string text;
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    if (b > 0) text += "\n";
    for (const auto& value : blocks[b]) text += value + "\n";
  }
  writeBytes("data.txt", text);
  dialogs.dataFile = (folder.path() / "data.txt").string();
}

std::vector<std::vector<std::string>> TemplateRun::dataBlocks(const Sample& sample) {
  std::vector<std::vector<std::string>> blocks(1);
  for (const auto& line : readLines(resourcesFolder() / "samples" / sample.file)) {
    if (line.empty()) {
      blocks.emplace_back();
    } else {
      blocks.back().push_back(line);
    }
  }
  return blocks;
}

void TemplateRun::useSampleData(const Sample& sample) {
  useData(dataBlocks(sample));
}

void TemplateRun::useTypedStart(const Sample& sample) {
  for (const auto& c : sample.coefficients) {
    settings.setText(coefficientNamed(c.name), ValueKind::Initial, c.start);
  }
}

void TemplateRun::useTypedSettings(const Sample& sample) {
  useTypedStart(sample);
  for (const auto& c : sample.coefficients) {
    const Coefficient id = coefficientNamed(c.name);
    settings.setText(id, ValueKind::Lower, c.lower);
    settings.setText(id, ValueKind::Upper, c.upper);
  }
}

ProcessResult TemplateRun::buildAndRun() {
  bool consistent = false;
  ModelFileWriter(modelTemplate, settings, dialogs, log,
                  BuildReports{[&consistent] { consistent = true; }, [] {}});
  EXPECT_TRUE(consistent) << "the data file's three blocks do not agree";
  return runEngine("MaxwellOut.gms");
}

}  // namespace tarvelin::testing
