// The command interpreter on Linux: "cmd.exe" with "/c CMD" or "/k CMD" becomes a terminal
// window running `/bin/sh -c CMD` in the current folder, with Tarvelin's stand-ins at the end
// of its PATH. The terminal is started detached and never waited for.
#pragma once

#include <string>
#include <vector>

#include "run/Launcher.h"

namespace tarvelin {

// What a "/c CMD" or "/k CMD" parameter line asks for.
struct ShellCommand {
  std::string command;
  bool keepOpen = false;  // "/k": the window stays with a shell once the command ends
};

// Splits the parameter line; throws Error for anything but "/c CMD" or "/k CMD".
ShellCommand parseInterpreterParameters(const std::string& parameters);

// The shell part of the terminal's command line: /bin/sh -c ... (after the terminal's -e).
std::vector<std::string> shellArguments(const ShellCommand& command);

class TerminalLauncher : public Launcher {
 public:
  // Terminal programs, tried in order: a bare name is looked up on PATH, a name with a "/"
  // is taken as it is. The stand-ins folder is appended to the started window's PATH.
  TerminalLauncher(std::vector<std::string> terminals, std::string standinsFolder);
  // x-terminal-emulator, else xterm; the stand-ins beside the running program.
  TerminalLauncher();

  // Only "open" of "cmd.exe" is carried out; the owner and the show command have no meaning
  // here (a terminal window is always shown). Throws Error when no terminal can be started.
  void shellExecute(WindowHandle owner, const std::string& operation, const std::string& file,
                    const std::string& parameters, const std::optional<std::string>& directory,
                    int showCommand) override;

 private:
  std::string findTerminal() const;

  std::vector<std::string> terminals_;
  std::string standinsFolder_;
};

}  // namespace tarvelin
