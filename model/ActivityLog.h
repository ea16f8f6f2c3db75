// The window's log: lines are only ever appended at its end.
#pragma once

#include <string>

namespace tarvelin {

class ActivityLog {
 public:
  virtual ~ActivityLog() = default;
  virtual void append(const std::string& line) = 0;
};

}  // namespace tarvelin
