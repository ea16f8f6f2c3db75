#pragma once
// Helpers for the engine tests: runs of model text with put files kept in memory, temporary
// folders, and the replacement of a template's directives the way a build does it.
#include <filesystem>
#include <string>
#include <vector>

#include "engine/Driver.h"

namespace tarvelin::engine::test {

// Runs model text without touching the disk; "test.gms" names it in messages.
EngineResult runText(const std::string& text);

// The text a run wrote to a put file ("" when the file was never written).
std::string putText(const EngineResult& result, const std::string& path);

// A fresh folder under the system's temporary folder, removed at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path write(const std::string& name, const std::string& text) const;
  std::string read(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

// Runs a program in a folder and gives its exit code; stdout and stderr go to "out.txt".
int runProgram(const std::filesystem::path& folder, const std::string& commandLine);

// An environment variable that ctest sets; fails the test when it is missing.
std::string requiredEnv(const char* name);

// The numbers in a text, in order (put output, a listing line).
std::vector<double> numbers(const std::string& text);

}  // namespace tarvelin::engine::test
