// Runs the modelling system on a model file and waits for it: the batch program's run, where
// the window only starts a command window and goes on.
#pragma once

#include <string>

namespace tarvelin {

struct ModelRunOutcome {
  bool started = false;
  int exitCode = -1;    // the program's exit status when it exited normally
  std::string problem;  // why it did not start or did not end well; empty on success
  bool succeeded() const { return started && exitCode == 0 && problem.empty(); }
};

// Starts `gams MODELFILE` in the current folder, with the stand-ins folder at the end of PATH,
// sharing this process's standard output and error, and waits for it to end.
ModelRunOutcome runModelAndWait(const std::string& modelFile);

}  // namespace tarvelin
