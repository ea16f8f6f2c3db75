// The command line of the `gams` program: `gams FILE [key=value ...]`.
#include <cctype>
#include <iostream>

#include "engine/Driver.h"

namespace tarvelin::engine {
namespace {

const char* kUsage =
    "Usage: gams FILE [key=value ...]\n"
    "\n"
    "Tarvelin's built-in modelling engine. It runs a model file written in the subset of the\n"
    "GAMS language that Tarvelin's model templates use, solves the nonlinear program with\n"
    "Ipopt, and writes the put files and the listing FILE.lst. It is not GAMS: where GAMS is\n"
    "installed, that one comes first on the PATH and runs instead.\n"
    "\n"
    "FILE      the model file; \".gms\" may be left off\n"
    "Options (key=value, case-insensitive):\n"
    "  o=PATH    write the listing to PATH instead of FILE.lst (also: output=PATH)\n"
    "  lo=N      log option: 0 no console log, 3 the console log (the default; also 1, 2, 4)\n"
    "\n"
    "Exit codes: 0 normal completion, 2 compilation error, 3 execution error,\n"
    "            6 command-line error.\n";

const char* kVersion =
    "Tarvelin built-in modelling engine 0.1 (GAMS language subset; NLP solver: Ipopt 3.11)\n";

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
};

}  // namespace

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string file;
  EngineOptions options;
  bool quiet = false;
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h" || arg == "-?" || arg == "/?") {
      out << kUsage;
      return kExitNormal;
    }
    if (arg == "--version" || arg == "-v") {
      out << kVersion;
      return kExitNormal;
    }
    std::size_t eq = arg.find('=');
    if (eq == std::string::npos) {
      if (!file.empty() || (!arg.empty() && arg[0] == '-')) {
        err << "gams: unexpected argument '" << arg << "' (see gams --help)\n";
        return kExitParameterError;
      }
      file = arg;
      continue;
    }
    std::string key = lower(arg.substr(0, eq));
    while (!key.empty() && key[0] == '-') key.erase(0, 1);
    std::string value = arg.substr(eq + 1);
    if (key == "o" || key == "output") {
      options.listingPath = value;
    } else if (key == "lo" || key == "logoption") {
      if (value != "0" && value != "1" && value != "2" && value != "3" && value != "4") {
        err << "gams: option lo takes 0 to 4, not '" << value << "'\n";
        return kExitParameterError;
      }
      quiet = value == "0";
    } else {
      err << "gams: option '" << arg.substr(0, eq)
          << "' is not supported by Tarvelin's built-in engine (it accepts o= and lo=)\n";
      return kExitParameterError;
    }
  }
  if (file.empty()) {
    err << "gams: no model file given\n" << kUsage;
    return kExitParameterError;
  }
  NullBuffer nothing;
  std::ostream silent(&nothing);
  options.printSolverLog = !quiet;
  EngineResult result = runModelFile(file, options, quiet ? silent : out);
  if (quiet && !result.error.empty()) err << result.error << "\n";
  return result.exitCode;
}

}  // namespace tarvelin::engine
