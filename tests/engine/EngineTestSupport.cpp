#include "tests/engine/EngineTestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace tarvelin::engine::test {

EngineResult runText(const std::string& text) {
  EngineOptions options;
  options.writeFiles = false;
  options.printSolverLog = false;
  std::ostringstream log;
  return runModelText("test.gms", text, options, log);
}

std::string putText(const EngineResult& result, const std::string& path) {
  for (const auto& [name, text] : result.putFiles) {
    if (name == path) return text;
  }
  return "";
}

TempDir::TempDir() {
  std::random_device random;
  path_ = std::filesystem::temp_directory_path() /
          ("tarvelin-engine-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempDir::write(const std::string& name, const std::string& text) const {
  std::filesystem::path file = path_ / name;
  std::ofstream(file, std::ios::binary) << text;
  return file;
}

std::string TempDir::read(const std::string& name) const {
  std::ifstream in(path_ / name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int runProgram(const std::filesystem::path& folder, const std::string& commandLine) {
  std::string command = "cd '" + folder.string() + "' && " + commandLine + " > out.txt 2>&1";
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string requiredEnv(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) {
    ADD_FAILURE() << name << " is not set: run the tests through ctest";
    return "";
  }
  return value;
}

std::vector<double> numbers(const std::string& text) {
  std::istringstream in(text);
  std::vector<double> out;
  double v;
  while (in >> v) out.push_back(v);
  return out;
}

}  // namespace tarvelin::engine::test
