#include "tests/run/plot_process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

extern char** environ;

namespace tarvelin::plottest {

std::vector<std::string> environmentWith(
    const std::map<std::string, std::optional<std::string>>& changes) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const std::string name = text.substr(0, text.find('='));
    if (changes.count(name) == 0) result.push_back(text);
  }
  for (const auto& [name, value] : changes) {
    if (value) result.push_back(name + "=" + *value);
  }
  return result;
}

namespace {

int waitForExit(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) throw std::system_error(errno, std::generic_category());
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Appends what the terminal gives; false at its end (EIO once the program has gone).
bool readSome(int fd, std::string& output) {
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got > 0) {
      output.append(buffer, static_cast<size_t>(got));
      return true;
    }
    if (got < 0 && errno == EINTR) continue;
    return false;
  }
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string>& argv, const std::filesystem::path& folder,
                         const std::vector<std::string>& environment) {
  std::vector<std::string> args = argv;
  std::vector<std::string> env = environment;
  std::vector<char*> argPointers = pointersTo(args);
  std::vector<char*> envPointers = pointersTo(env);
  const std::string folderText = folder.string();

  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::system_error(errno, std::generic_category());
  const pid_t pid = fork();
  if (pid < 0) throw std::system_error(errno, std::generic_category());
  if (pid == 0) {
    // Only async-signal-safe calls between fork and exec.
    const int devNull = open("/dev/null", O_RDONLY);
    if (devNull < 0 || dup2(devNull, 0) < 0 || dup2(pipeEnds[1], 1) < 0 ||
        dup2(pipeEnds[1], 2) < 0 || chdir(folderText.c_str()) != 0) {
      _exit(126);
    }
    execve(argPointers[0], argPointers.data(), envPointers.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  ProcessResult result;
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
    if (got > 0) {
      result.output.append(buffer, static_cast<size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      break;
    }
  }
  close(pipeEnds[0]);
  result.exitCode = waitForExit(pid);
  return result;
}

TerminalResult runInTerminal(const std::vector<std::string>& argv,
                             const std::filesystem::path& folder,
                             const std::vector<std::string>& environment, const std::string& prompt,
                             const std::string& input) {
  std::vector<std::string> args = argv;
  std::vector<std::string> env = environment;
  std::vector<char*> argPointers = pointersTo(args);
  std::vector<char*> envPointers = pointersTo(env);
  const std::string folderText = folder.string();

  int terminal = -1;
  const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (pid < 0) throw std::system_error(errno, std::generic_category());
  if (pid == 0) {
    if (chdir(folderText.c_str()) != 0) _exit(126);
    execve(argPointers[0], argPointers.data(), envPointers.data());
    _exit(127);
  }
  TerminalResult result;
  while (result.process.output.find(prompt) == std::string::npos) {
    if (!readSome(terminal, result.process.output)) break;
  }
  result.sawPrompt = result.process.output.find(prompt) != std::string::npos;
  if (result.sawPrompt) {
    int status = 0;
    result.runningAtPrompt = waitpid(pid, &status, WNOHANG) == 0;
    if (write(terminal, input.data(), input.size()) < 0) {
      throw std::system_error(errno, std::generic_category());
    }
    while (readSome(terminal, result.process.output)) {
    }
  }
  close(terminal);
  result.process.exitCode = waitForExit(pid);
  return result;
}

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tarvelin-plot-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::system_error(errno, std::generic_category());
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path requiredEnvPath(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') {
    ADD_FAILURE() << name << " is not set; run the test through ctest";
    return {};
  }
  return value;
}

std::string readWholeFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeWholeFile(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace tarvelin::plottest
