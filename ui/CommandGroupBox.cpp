#include "ui/CommandGroupBox.h"

#include <QMouseEvent>

namespace tarvelin {

CommandGroupBox::CommandGroupBox(const QString& title, QWidget* parent)
    : QGroupBox(title, parent) {}

void CommandGroupBox::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  event->accept();
}

void CommandGroupBox::mouseReleaseEvent(QMouseEvent* event) {
  bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  event->accept();
  if (click) emit clicked();
}

}  // namespace tarvelin
