// A group box with a click of its own: a left click pressed and released on its frame, caption
// or empty background. Clicks on its radios and labels stay with them.
#pragma once

#include <QGroupBox>

namespace tarvelin {

class CommandGroupBox : public QGroupBox {
  Q_OBJECT

 public:
  CommandGroupBox(const QString& title, QWidget* parent);

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

}  // namespace tarvelin
