#include "ui/QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "model/Errors.h"

namespace tarvelin {
namespace {

QString fromText(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

QRect screenArea() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

std::optional<std::string> QtDialogs::chooseDataFile() {
  QFileDialog dialog(QApplication::activeWindow());
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // The typed name need not exist: the build reports a missing file itself.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QStringLiteral("Text file (*.txt)"));
  dialog.setSizeGripEnabled(true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QFileInfo(dialog.selectedFiles().first()).absoluteFilePath().toLocal8Bit().toStdString();
}

void QtDialogs::showMessage(const std::string& text) {
  QDialog box(QApplication::activeWindow());
  box.setWindowTitle(QStringLiteral("Error"));
  box.setWindowModality(Qt::ApplicationModal);

  auto* icon = new QLabel(&box);
  int side = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
  icon->setPixmap(box.style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(side, side));
  auto* message = new QLabel(fromText(text), &box);
  message->setWordWrap(true);
  // The whole box stays within half the screen's width.
  int widest = screenArea().width() / 2 - side - 48;
  message->setMaximumWidth(widest);
  // A short text stays on one line; only what does not fit is wrapped.
  message->setMinimumWidth(
      std::min(widest, message->fontMetrics().horizontalAdvance(message->text())));
  message->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* ok = new QPushButton(QStringLiteral("OK"), &box);
  ok->setDefault(true);  // Enter closes the box; Escape closes any dialog
  QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);

  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addWidget(message, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(&box);
  layout->addLayout(row);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  box.adjustSize();
  box.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, box.size(), screenArea()));
  box.exec();
}

void QtDialogs::showError(const std::string& text) {
  std::string title =
      programTitle(QCoreApplication::applicationFilePath().toLocal8Bit().toStdString());
  QMessageBox box(QMessageBox::Critical, fromText(title), fromText(text), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

}  // namespace tarvelin
