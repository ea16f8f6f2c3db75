// Test support for the plotting tests: starting a program the way a command window does
// (own folder, own environment) and collecting what it prints, plus temporary folders.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tarvelin::plottest {

struct ProcessResult {
  int exitCode = -1;   // the exit status, or 128 + signal number
  std::string output;  // stdout and stderr together, in the order written
};

// The environment of this process with `changes` applied: a value sets the variable,
// std::nullopt removes it.
std::vector<std::string> environmentWith(
    const std::map<std::string, std::optional<std::string>>& changes);

// Runs `argv` (argv[0] is a path) in `folder` with `environment`, stdin from /dev/null,
// and waits for it.
ProcessResult runProcess(const std::vector<std::string>& argv, const std::filesystem::path& folder,
                         const std::vector<std::string>& environment);

// As runProcess, but on a pseudo-terminal, as in a command window: once the output holds
// `prompt`, notes whether the program still runs, types `input`, and reads to the end.
struct TerminalResult {
  ProcessResult process;
  bool sawPrompt = false;
  bool runningAtPrompt = false;
};
TerminalResult runInTerminal(const std::vector<std::string>& argv,
                             const std::filesystem::path& folder,
                             const std::vector<std::string>& environment, const std::string& prompt,
                             const std::string& input);

// A fresh empty folder, removed with everything in it when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// An environment variable that ctest sets for every test; fails the test when missing.
std::filesystem::path requiredEnvPath(const char* name);

std::string readWholeFile(const std::filesystem::path& file);
void writeWholeFile(const std::filesystem::path& file, const std::string& text);

}  // namespace tarvelin::plottest
