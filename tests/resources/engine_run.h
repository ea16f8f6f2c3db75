// Runs the built-in engine on a model file in the current folder and reads what it leaves.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tarvelin::testing {

struct ProcessResult {
  int exitCode = -1;   // -1 when the program did not exit normally (a signal)
  std::string output;  // stdout and stderr together
};

// Runs `${TARVELIN_STANDINS_DIR}/gams <modelFile>` in the current folder and waits for it.
ProcessResult runEngine(const std::string& modelFile);

// The solve summary lines of a listing: "**** SOLVER STATUS     1 Normal Completion" etc.
struct SolveSummary {
  std::optional<int> solverStatus;
  std::optional<int> modelStatus;
  std::optional<double> objective;
};
SolveSummary readSolveSummary(const std::filesystem::path& listing);

std::vector<std::string> readLines(const std::filesystem::path& file);  // CR LF or LF
std::string environmentFolder(const char* name);                        // throws when unset

}  // namespace tarvelin::testing
