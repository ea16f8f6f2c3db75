// Starting an outside program in a shown command window, in the shape of the shell's start
// call: owner window, operation, file, parameter line, directory, show command.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarvelin {

// The native handle of the window that owns what the shell shows; 0 for none.
using WindowHandle = std::uintptr_t;

inline constexpr const char* kOpenOperation = "open";
inline constexpr const char* kCommandInterpreter = "cmd.exe";
// Activate the window and show it at its current size and position.
inline constexpr int kShowCommand = 5;

class Launcher {
 public:
  virtual ~Launcher() = default;
  // Starts the program and returns at once; never waits for it. Throws tarvelin::Error when
  // the request cannot be carried out at all.
  virtual void shellExecute(WindowHandle owner, const std::string& operation,
                            const std::string& file, const std::string& parameters,
                            const std::optional<std::string>& directory, int showCommand) = 0;
};

}  // namespace tarvelin
