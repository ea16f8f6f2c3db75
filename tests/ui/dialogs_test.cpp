// The window's real dialogs, answered from inside their own event loops.
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "model/Errors.h"
#include "ui/QtDialogs.h"

using namespace tarvelin;

namespace {

// Runs `answer` on the modal dialog once it is open.
void whenOpen(std::function<void(QWidget*)> answer) {
  QTimer::singleShot(0, [answer] {
    QWidget* dialog = QApplication::activeModalWidget();
    QVERIFY(dialog);
    answer(dialog);
  });
}

QString longestLabelText(QWidget* box) {
  QString text;
  for (auto* label : box->findChildren<QLabel*>()) {
    if (label->text().size() > text.size()) text = label->text();
  }
  return text;
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void messageBox_data();
  void messageBox();
  void errorBox();
  void dataFileDialog_data();
  void dataFileDialog();
};

void DialogsTest::messageBox_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("key");
  QTest::newRow("closed with Escape")
      << "Incorrect input for initial value of c1!" << int(Qt::Key_Escape);
  QTest::newRow("closed with Enter")
      << "Incorrect input for upper limit of k4!" << int(Qt::Key_Return);
  QTest::newRow("long text") << QStringLiteral("word ").repeated(400).trimmed()
                             << int(Qt::Key_Escape);
}

// Caption "Error", the text unchanged, at most half the screen wide, centred on the screen,
// and closed by Enter (OK is the default button) as by Escape.
void DialogsTest::messageBox() {
  QFETCH(QString, text);
  QFETCH(int, key);
  QtDialogs dialogs;
  QString title, shown;
  QRect place;
  bool okIsDefault = false;
  whenOpen([&](QWidget* box) {
    title = box->windowTitle();
    shown = longestLabelText(box);
    place = box->geometry();
    auto buttons = box->findChildren<QPushButton*>();
    okIsDefault = buttons.size() == 1 && buttons.front()->text() == QStringLiteral("OK") &&
                  buttons.front()->isDefault();
    QTest::keyClick(box, static_cast<Qt::Key>(key));
  });
  dialogs.showMessage(text.toStdString());
  QCOMPARE(title, QStringLiteral("Error"));
  QCOMPARE(shown, text);
  QVERIFY(okIsDefault);
  QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  QVERIFY2(place.width() <= screen.width() / 2, qPrintable(QString::number(place.width())));
  QVERIFY(qAbs(place.center().x() - screen.center().x()) <= 1);
  QVERIFY(qAbs(place.center().y() - screen.center().y()) <= 1);
}

void DialogsTest::errorBox() {
  QtDialogs dialogs;
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  whenOpen([&](QWidget* widget) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    QVERIFY(box);
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = box->standardButtons();
    box->accept();
  });
  dialogs.showError("File not found.");
  QCOMPARE(title.toStdString(),
           programTitle(QCoreApplication::applicationFilePath().toStdString()));
  QCOMPARE(title, QStringLiteral("dialogs_test"));
  QCOMPARE(text, QStringLiteral("File not found."));
  QCOMPARE(icon, QMessageBox::Critical);
  QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void DialogsTest::dataFileDialog_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<bool>("accept");
  QTest::newRow("an existing file") << "sweep.txt" << true;
  QTest::newRow("a name with no file") << "typo.txt" << true;
  QTest::newRow("cancelled") << "sweep.txt" << false;
}

// The filter is "Text file (*.txt)"; the answer is the chosen file's full name. A typed name
// need not exist: the build reports that itself.
void DialogsTest::dataFileDialog() {
  QFETCH(QString, typed);
  QFETCH(bool, accept);
  QTemporaryDir folder;
  QString previous = QDir::currentPath();
  QDir::setCurrent(folder.path());
  QFile sweep(QStringLiteral("sweep.txt"));
  sweep.open(QIODevice::WriteOnly);
  sweep.close();
  QtDialogs dialogs;
  QStringList filters;
  QString shownFolder;
  whenOpen([&](QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    QVERIFY(dialog);
    filters = dialog->nameFilters();
    dialog->setDirectory(folder.path());
    shownFolder = dialog->directory().absolutePath();
    dialog->selectFile(typed);
    if (accept) {
      QMetaObject::invokeMethod(dialog, "accept");
    } else {
      dialog->reject();
    }
  });
  std::optional<std::string> chosen = dialogs.chooseDataFile();
  QDir::setCurrent(previous);
  QCOMPARE(filters, QStringList{QStringLiteral("Text file (*.txt)")});
  if (accept) {
    QVERIFY(chosen.has_value());
    QCOMPARE(QString::fromStdString(*chosen), QDir(shownFolder).filePath(typed));
  } else {
    QVERIFY(!chosen.has_value());
  }
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
