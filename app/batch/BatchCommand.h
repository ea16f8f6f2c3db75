// tarvelin-batch: the build (and optionally the fit) from the command line, for engineers who
// build many model files from scripts. It runs exactly what the window's build runs.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "model/Settings.h"

namespace tarvelin::batch {

// Exit codes, one per outcome a script may want to tell apart.
enum ExitCode : int {
  kConsistent = 0,
  kSettingRefused = 1,
  kError = 2,         // file, conversion or overflow error
  kInconsistent = 3,  // the three data blocks disagree
  kRunFailed = 4,     // the modelling system failed or could not be started
  kUsage = 64,
};

struct BatchOptions {
  SettingsValues settings;
  std::string dataFile;
  bool run = false;
  bool help = false;
};

// Parses the arguments (without the program name); on a bad option gives nothing and writes
// the reason to `err`.
std::optional<BatchOptions> parseBatchOptions(const std::vector<std::string>& args,
                                              std::ostream& err);

std::string batchUsage();
std::string batchHelp();

// Runs the build in the current folder, then with `run` the modelling system and the results.
int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tarvelin::batch
