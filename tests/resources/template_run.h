// A temporary working folder with a template, a data file and the settings: builds
// MaxwellOut.gms with ModelFileWriter and runs the built-in engine on it, as a user's run does.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/ModelFileWriter.h"
#include "model/Settings.h"
#include "model/TextFile.h"
#include "tests/resources/engine_run.h"
#include "tests/resources/samples_table.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

namespace tarvelin::testing {

const std::vector<std::string> kVariantNames{"maxwell3", "maxwell4", "maxwell3spring", "kelvin3"};

VariantId variantId(const std::string& variant);
Coefficient coefficientNamed(const std::string& name);
std::filesystem::path resourcesFolder();
const std::vector<Sample>& shippedSamples();

class TemplateRun : public ::testing::Test {
 protected:
  // The variant's shipped template, optionally with one piece of its text replaced.
  void useTemplate(const std::string& variant, const std::string& from = {},
                   const std::string& to = {});
  // The data blocks f, S, D, one value a line, written as a data file.
  void useData(const std::vector<std::vector<std::string>>& blocks);
  void useSampleData(const Sample& sample);
  void useTypedStart(const Sample& sample);     // its initial values
  void useTypedSettings(const Sample& sample);  // its initial values and limits
  // ModelFileWriter, then the engine; the build must report consistent data.
  ProcessResult buildAndRun();

  std::vector<std::string> modelFileLines() const { return readLines("MaxwellOut.gms"); }
  static std::vector<std::vector<std::string>> dataBlocks(const Sample& sample);

  TempFolder folder;
  SettingsValues settings;
  RecordingDialogs dialogs;
  EventRecorder log;
  TextFile modelTemplate;
  std::string variant;
};

}  // namespace tarvelin::testing
