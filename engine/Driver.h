#pragma once
// One run of the engine: read the model file, compile, execute, write the listing, and give the
// exit code of the modelling language (0 normal, 2 compilation error, 3 execution error).
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/SolveSummary.h"

namespace tarvelin::engine {

enum ExitCode {
  kExitNormal = 0,
  kExitCompilationError = 2,
  kExitExecutionError = 3,
  kExitParameterError = 6,
};

struct EngineOptions {
  std::string listingPath;     // empty: "<base>.lst" in the current folder
  bool writeFiles = true;      // listing and put files on disk
  bool printSolverLog = true;  // Ipopt's iteration log
  double maxIterations = 3000;
};

struct EngineResult {
  int exitCode = kExitNormal;
  std::string error;    // the first compilation or execution error, formatted
  std::string listing;  // the listing text
  std::vector<SolveSummary> solves;
  std::vector<std::pair<std::string, std::string>> putFiles;  // path, text (in-memory runs)
};

// Runs model text that carries the given file name (for messages and the listing name).
EngineResult runModelText(const std::string& fileName, std::string_view text,
                          const EngineOptions& options, std::ostream& log);

// Reads the model file (".gms" may be left off) and runs it.
EngineResult runModelFile(const std::string& path, const EngineOptions& options, std::ostream& log);

// "<base>.lst" for a model file path: folder and extension dropped.
std::string listingNameFor(const std::string& modelPath);

// The command line of the `gams` program. Returns the exit code.
int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tarvelin::engine
