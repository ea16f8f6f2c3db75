#include "ui/ActivityMemo.h"

#include <QScrollBar>

namespace tarvelin {

ActivityMemo::ActivityMemo(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setTabChangesFocus(true);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void ActivityMemo::append(const std::string& line) {
  appendPlainText(QString::fromLocal8Bit(line.data(), static_cast<qsizetype>(line.size())));
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

QStringList ActivityMemo::lines() const {
  if (document()->isEmpty()) return {};
  return toPlainText().split(QLatin1Char('\n'));
}

}  // namespace tarvelin
