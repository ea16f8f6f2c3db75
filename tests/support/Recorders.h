// Recording stand-ins for the window's log and dialogs, for tests of the core.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/ActivityLog.h"
#include "model/Dialogs.h"

namespace tarvelin::testing {

// Log lines and reports in the order they happened; reports appear as "<DataConsistent>".
struct EventRecorder : ActivityLog {
  void append(const std::string& line) override { events.push_back(line); }
  std::vector<std::string> events;
};

struct RecordingDialogs : Dialogs {
  std::optional<std::string> chooseDataFile() override {
    ++dataFileAsked;
    return dataFile;
  }
  void showMessage(const std::string& text) override { messages.push_back(text); }
  void showError(const std::string& text) override { errors.push_back(text); }

  std::optional<std::string> dataFile;
  int dataFileAsked = 0;
  std::vector<std::string> messages;
  std::vector<std::string> errors;
};

}  // namespace tarvelin::testing
