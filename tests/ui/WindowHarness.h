// A real TForm1 in a temporary folder made the current folder, with recording dialogs and a
// recording launcher, and the files a build needs written into that folder.
#pragma once

#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "model/Errors.h"
#include "model/Settings.h"
#include "run/Launcher.h"
#include "tests/support/Recorders.h"
#include "ui/ActivityMemo.h"
#include "ui/CommandGroupBox.h"
#include "ui/Unit1.h"

namespace tarvelin::testing {

struct LaunchCall {
  WindowHandle owner;
  std::string operation, file, parameters;
  std::optional<std::string> directory;
  int showCommand;
};

struct RecordingLauncher : Launcher {
  void shellExecute(WindowHandle owner, const std::string& operation, const std::string& file,
                    const std::string& parameters, const std::optional<std::string>& directory,
                    int showCommand) override {
    calls.push_back({owner, operation, file, parameters, directory, showCommand});
    if (!failWith.empty()) throw Error(failWith);
  }
  std::vector<LaunchCall> calls;
  std::string failWith;  // when set, every start fails with this message
};

// Each variant's picture gets a colour of its own, so that a test sees which one is shown.
inline QColor pictureColour(VariantId id) {
  switch (id) {
    case VariantId::Maxwell3:
      return Qt::red;
    case VariantId::Maxwell4:
      return Qt::green;
    case VariantId::Maxwell3Spring:
      return Qt::blue;
    case VariantId::Kelvin3:
      return Qt::yellow;
  }
  return Qt::black;
}

// Three blocks of three values: the data agree.
inline const char* const kConsistentData = "1.5\n2.5\n3.5\n\n10\n20\n30\n\n-1\n-2\n-3\n";
// Blocks of two, one and two values.
inline const char* const kInconsistentData = "1\n2\n\n3\n\n4\n5\n";

class WindowHarness {
 public:
  WindowHarness() : previous_(QDir::currentPath()) {
    QDir::setCurrent(folder_.path());
    for (const auto& variant : kVariants) {
      writePicture(std::string(variant.schemaPicture), pictureColour(variant.id));
      // The first line names the template, so that the model file tells which one was used.
      writeFile(std::string(variant.templateFile),
                "* " + std::string(variant.templateFile) + "\n#\n_A\n_D\n_Z\n@\n@\n@\n");
    }
    writeFile("consistent.txt", kConsistentData);
    writeFile("inconsistent.txt", kInconsistentData);
    useDataFile("consistent.txt");
  }
  ~WindowHarness() {
    form.reset();
    QDir::setCurrent(previous_);
  }

  // Creates the window (FormCreate runs) and shows it.
  TForm1& open() {
    form = std::make_unique<TForm1>(dialogs, launcher);
    form->show();
    return *form;
  }

  std::string path(const std::string& name) const {
    return QDir(folder_.path()).filePath(QString::fromStdString(name)).toStdString();
  }
  void writeFile(const std::string& name, const std::string& bytes) const {
    QFile file(QString::fromStdString(path(name)));
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }
  std::string readFile(const std::string& name) const {
    QFile file(QString::fromStdString(path(name)));
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll().toStdString();
  }
  bool exists(const std::string& name) const {
    return QFile::exists(QString::fromStdString(path(name)));
  }
  void remove(const std::string& name) const { QFile::remove(QString::fromStdString(path(name))); }
  void writePicture(const std::string& name, const QColor& colour) const {
    QImage image(233, 147, QImage::Format_RGB32);
    image.fill(colour);
    image.save(QString::fromStdString(path(name)), "BMP");
  }
  void useDataFile(const std::string& name) { dialogs.dataFile = path(name); }

  // The colour that Image1 shows, or an invalid colour when it shows nothing.
  QColor shownColour() const {
    QPixmap pixmap = form->Image1->pixmap();
    if (pixmap.isNull()) return {};
    return pixmap.toImage().pixelColor(5, 5);
  }
  QStringList log() const { return form->Memo1->lines(); }

  // A radio is clicked on its indicator, which takes clicks whatever the caption's length.
  void click(QAbstractButton* button) {
    QPoint at = qobject_cast<QRadioButton*>(button) ? QPoint(6, button->height() / 2)
                                                    : button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, {}, at);
  }
  // A click on the empty background of "Command window option".
  void clickCommandGroup() {
    QTest::mouseClick(form->GroupBox4, Qt::LeftButton, {}, QPoint(250, 80));
  }
  void build() { clickCommandGroup(); }

  RecordingDialogs dialogs;
  RecordingLauncher launcher;
  std::unique_ptr<TForm1> form;

 private:
  QString previous_;
  QTemporaryDir folder_;
};

// The enabled flags of Button1..Button5 as a text such as "10100", for short comparisons.
inline QString buttonStates(const TForm1& form) {
  QString states;
  for (QPushButton* button :
       {form.Button1, form.Button2, form.Button3, form.Button4, form.Button5}) {
    states += button->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
  }
  return states;
}

// "enabled", "disabled" or "mixed" for the 33 settings controls.
inline QString settingsState(const TForm1& form) {
  int enabled = 0;
  for (QWidget* control : form.settingsControls()) enabled += control->isEnabled() ? 1 : 0;
  if (enabled == 33) return QStringLiteral("enabled");
  if (enabled == 0) return QStringLiteral("disabled");
  return QStringLiteral("mixed");
}

}  // namespace tarvelin::testing
