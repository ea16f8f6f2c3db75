#include "tests/resources/engine_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace tarvelin::testing {
namespace {

constexpr const char* kOutputFile = "engine-output.txt";

std::optional<std::string> afterPrefix(const std::string& line, const std::string& prefix) {
  if (line.rfind(prefix, 0) != 0) return std::nullopt;
  return line.substr(prefix.size());
}

}  // namespace

std::string environmentFolder(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') {
    throw std::runtime_error(std::string(name) + " is not set: run the test through ctest");
  }
  return value;
}

ProcessResult runEngine(const std::string& modelFile) {
  const std::string program = environmentFolder("TARVELIN_STANDINS_DIR") + "/gams";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, kOutputFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  std::vector<char*> argv{const_cast<char*>(program.c_str()), const_cast<char*>(modelFile.c_str()),
                          nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + program);
  int status = 0;
  waitpid(pid, &status, 0);
  ProcessResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(kOutputFile, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  result.output = text.str();
  return result;
}

SolveSummary readSolveSummary(const std::filesystem::path& listing) {
  SolveSummary summary;
  for (const auto& line : readLines(listing)) {
    if (auto rest = afterPrefix(line, "**** SOLVER STATUS")) {
      summary.solverStatus = std::stoi(*rest);
    } else if (auto rest = afterPrefix(line, "**** MODEL STATUS")) {
      summary.modelStatus = std::stoi(*rest);
    } else if (auto rest = afterPrefix(line, "**** OBJECTIVE VALUE")) {
      summary.objective = std::stod(*rest);
    }
  }
  return summary;
}

std::vector<std::string> readLines(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace tarvelin::testing
