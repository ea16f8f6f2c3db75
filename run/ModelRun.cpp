#include "run/ModelRun.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "run/Standins.h"

extern char** environ;

namespace tarvelin {

ModelRunOutcome runModelAndWait(const std::string& modelFile) {
  ModelRunOutcome outcome;
  // posix_spawnp searches this process's own PATH, so extend it here; the child inherits it.
  const char* path = std::getenv("PATH");
  const std::string extended = pathWithStandins(path ? path : "", standinsFolder());
  ::setenv("PATH", extended.c_str(), 1);

  std::string program = "gams";
  std::string argument = modelFile;
  std::vector<char*> argv{program.data(), argument.data(), nullptr};
  pid_t pid = 0;
  const int error = ::posix_spawnp(&pid, "gams", nullptr, nullptr, argv.data(), environ);
  if (error != 0) {
    outcome.problem = "cannot start gams: " + std::string(std::strerror(error));
    return outcome;
  }
  outcome.started = true;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      outcome.problem = "lost track of gams: " + std::string(std::strerror(errno));
      return outcome;
    }
  }
  if (WIFEXITED(status)) {
    outcome.exitCode = WEXITSTATUS(status);
    if (outcome.exitCode != 0) {
      outcome.problem = "gams " + modelFile + " ended with exit code " +
                        std::to_string(outcome.exitCode) + " (" +
                        (outcome.exitCode == 2   ? "compilation error"
                         : outcome.exitCode == 3 ? "execution error"
                                                 : "see its output") +
                        ")";
    }
  } else if (WIFSIGNALED(status)) {
    outcome.problem =
        "gams " + modelFile + " was ended by signal " + std::to_string(WTERMSIG(status));
  }
  return outcome;
}

}  // namespace tarvelin
