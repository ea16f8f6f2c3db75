// The modal dialogs that the core asks for: the window plugs in the real ones, tests a
// recording fake, the batch program its own answers.
#pragma once

#include <optional>
#include <string>

namespace tarvelin {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // The data file dialog: the full name of the chosen file, or nothing when cancelled.
  virtual std::optional<std::string> chooseDataFile() = 0;
  // The message box: caption "Error", error icon, the text as given. Returns when closed.
  virtual void showMessage(const std::string& text) = 0;
  // The error box: stop icon, the program's title as caption, text after errorBoxText.
  virtual void showError(const std::string& text) = 0;
};

}  // namespace tarvelin
