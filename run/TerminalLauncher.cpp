#include "run/TerminalLauncher.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "model/Errors.h"
#include "run/Standins.h"

extern char** environ;

namespace tarvelin {
namespace {

// What the started side reports through the pipe when it fails before the terminal runs.
struct SpawnFailure {
  int step;  // one of the enumerators below
  int error;
};
enum SpawnStep { kFork = 1, kChangeFolder = 2, kExec = 3 };

bool isExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

std::string lookUpOnPath(const std::string& name) {
  if (name.find('/') != std::string::npos) return name;
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "";
  std::size_t start = 0;
  while (start <= folders.size()) {
    std::size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string folder = folders.substr(start, end - start);
    std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
    if (isExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return {};
}

std::vector<std::string> environmentWithPath(const std::string& standins) {
  const char* path = std::getenv("PATH");
  std::vector<std::string> result;
  for (char** entry = environ; *entry; ++entry) {
    if (std::strncmp(*entry, "PATH=", 5) != 0) result.emplace_back(*entry);
  }
  result.push_back("PATH=" + pathWithStandins(path ? path : "", standins));
  return result;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> result;
  for (auto& s : strings) result.push_back(s.data());
  result.push_back(nullptr);
  return result;
}

[[noreturn]] void reportAndExit(int fd, SpawnStep step) {
  SpawnFailure failure{step, errno};
  ssize_t ignored = ::write(fd, &failure, sizeof failure);
  (void)ignored;
  ::_exit(127);
}

// Starts the program in its own session through a double fork, so that it is neither our
// child nor a zombie later. The pipe closes on a successful exec; anything else is a failure.
void spawnDetached(const std::string& program, std::vector<std::string> args,
                   std::vector<std::string> env, const std::string& folder) {
  std::vector<char*> argv = pointers(args);
  std::vector<char*> envp = pointers(env);
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    throw Error("Cannot start the command window: " + std::string(std::strerror(errno)));
  }
  pid_t child = ::fork();
  if (child < 0) {
    int error = errno;
    ::close(fds[0]);
    ::close(fds[1]);
    throw Error("Cannot start the command window: " + std::string(std::strerror(error)));
  }
  if (child == 0) {
    ::close(fds[0]);
    ::setsid();
    pid_t grandchild = ::fork();
    if (grandchild < 0) reportAndExit(fds[1], kFork);
    if (grandchild > 0) ::_exit(0);
    if (!folder.empty() && ::chdir(folder.c_str()) != 0) reportAndExit(fds[1], kChangeFolder);
    ::execve(program.c_str(), argv.data(), envp.data());
    reportAndExit(fds[1], kExec);
  }
  ::close(fds[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  SpawnFailure failure{};
  ssize_t got;
  do {
    got = ::read(fds[0], &failure, sizeof failure);
  } while (got < 0 && errno == EINTR);
  ::close(fds[0]);
  if (got == 0) return;
  std::string reason = got == static_cast<ssize_t>(sizeof failure)
                           ? std::strerror(failure.error)
                           : std::string("no report from the started process");
  if (got == static_cast<ssize_t>(sizeof failure) && failure.step == kChangeFolder) {
    throw Error("Cannot start the command window in \"" + folder + "\": " + reason);
  }
  throw Error("Cannot start the command window \"" + program + "\": " + reason);
}

}  // namespace

ShellCommand parseInterpreterParameters(const std::string& parameters) {
  auto startsWith = [&](const char* prefix) {
    return parameters.size() > 3 && parameters.compare(0, 3, prefix) == 0;
  };
  if (startsWith("/c ")) return {parameters.substr(3), false};
  if (startsWith("/k ")) return {parameters.substr(3), true};
  throw Error("The command window takes \"/c COMMAND\" or \"/k COMMAND\", not \"" + parameters +
              "\"");
}

std::vector<std::string> shellArguments(const ShellCommand& command) {
  if (!command.keepOpen) return {"/bin/sh", "-c", command.command};
  // The command is passed as an argument, never pasted into the script, so its text cannot
  // change what runs after it.
  return {"/bin/sh", "-c", "eval \"$1\"; exec \"${SHELL:-/bin/sh}\" -i", "sh", command.command};
}

TerminalLauncher::TerminalLauncher(std::vector<std::string> terminals, std::string standinsFolder)
    : terminals_(std::move(terminals)), standinsFolder_(std::move(standinsFolder)) {}

TerminalLauncher::TerminalLauncher()
    : TerminalLauncher({"x-terminal-emulator", "xterm"}, standinsFolder()) {}

std::string TerminalLauncher::findTerminal() const {
  std::string tried;
  for (const auto& name : terminals_) {
    std::string path = lookUpOnPath(name);
    if (!path.empty()) return path;
    tried += (tried.empty() ? "" : ", ") + name;
  }
  throw Error("Cannot start the command window: no terminal program found (tried " + tried + ")");
}

void TerminalLauncher::shellExecute(WindowHandle /*owner*/, const std::string& operation,
                                    const std::string& file, const std::string& parameters,
                                    const std::optional<std::string>& directory,
                                    int /*showCommand*/) {
  if (operation != kOpenOperation || file != kCommandInterpreter) {
    throw Error("Only \"" + std::string(kOpenOperation) + "\" of \"" + kCommandInterpreter +
                "\" can be started here, not \"" + operation + "\" of \"" + file + "\"");
  }
  ShellCommand command = parseInterpreterParameters(parameters);
  std::string terminal = findTerminal();
  std::vector<std::string> args{terminal, "-e"};
  for (auto& arg : shellArguments(command)) args.push_back(std::move(arg));
  spawnDetached(terminal, std::move(args), environmentWithPath(standinsFolder_),
                directory.value_or(""));
}

}  // namespace tarvelin
