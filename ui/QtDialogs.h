// The real dialogs of the window: the data file dialog, the message box and the error box.
#pragma once

#include "model/Dialogs.h"

namespace tarvelin {

class QtDialogs : public Dialogs {
 public:
  // Filter "Text file (*.txt)", no title of its own, no initial folder, resizable.
  std::optional<std::string> chooseDataFile() override;
  // Caption "Error", error icon, wrapped to at most half the screen's width, OK as default
  // and escape button, centred on the screen.
  void showMessage(const std::string& text) override;
  // Stop icon, the program's title as caption, the text as given, one OK button.
  void showError(const std::string& text) override;
};

}  // namespace tarvelin
