// Memo1, the window's log: read-only for the user, lines only ever appended at its end.
#pragma once

#include <QPlainTextEdit>

#include "model/ActivityLog.h"

namespace tarvelin {

class ActivityMemo : public QPlainTextEdit, public ActivityLog {
 public:
  explicit ActivityMemo(QWidget* parent);
  void append(const std::string& line) override;
  // The lines as shown, for whoever reads the log back.
  QStringList lines() const;
};

}  // namespace tarvelin
