// The workflow: start-up, the variant handlers, the build, run, load, plot and reset commands.
#include "ui/Unit1.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <exception>

#include "model/Errors.h"
#include "model/ModelFileWriter.h"
#include "model/ValidateSettings.h"
#include "run/CommandLines.h"
#include "run/ResultsReader.h"
#include "ui/ActivityMemo.h"
#include "ui/CommandGroupBox.h"
#include "ui/FormAdapters.h"
#include "ui/SchemaPicture.h"

using namespace tarvelin;

tarvelin::TextFile ModelTemplate;
TForm1* Form1 = nullptr;

TForm1::TForm1(Dialogs& dialogs, Launcher& launcher, QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      launcher_(launcher),
      settings_(std::make_unique<FormSettings>(*this)),
      resultLabels_(std::make_unique<FormResultLabels>(*this)) {
  createControls();
  bindEvents();
  runGuarded(&TForm1::FormCreate, this);
}

TForm1::~TForm1() = default;

void TForm1::bindEvents() {
  auto bind = [this](QPushButton* button, Handler handler) {
    connect(button, &QPushButton::clicked, this, [=, this] { runGuarded(handler, button); });
  };
  bind(Button1, &TForm1::Button1Click);
  bind(Button2, &TForm1::Button2Click);
  bind(Button3, &TForm1::Button3Click);
  bind(Button4, &TForm1::Button4Click);
  bind(Button5, &TForm1::Button5Click);
  connect(GroupBox4, &CommandGroupBox::clicked, this,
          [this] { runGuarded(&TForm1::Button1Click, GroupBox4); });
  bindVariant(rb3, &TForm1::rb3Click);
  bindVariant(rb4, &TForm1::rb4Click);
  bindVariant(rbMax3Spring, &TForm1::rbMax3SpringClick);
  bindVariant(rb3Kelvin, &TForm1::rb3KelvinClick);
}

// A variant's handler runs when its radio becomes the selected one, not when it is clicked
// again while selected.
void TForm1::bindVariant(QRadioButton* radio, Handler handler) {
  connect(radio, &QRadioButton::toggled, this, [=, this](bool checked) {
    if (checked) runGuarded(handler, radio);
  });
}

void TForm1::runGuarded(Handler handler, QObject* sender) {
  try {
    (this->*handler)(sender);
  } catch (const std::exception& error) {
    dialogs_.showError(errorBoxText(error.what()));
  } catch (...) {
    dialogs_.showError(errorBoxText("Unexpected failure"));
  }
}

void TForm1::Button1Click(QObject* /*Sender*/) {
  if (!ValidateSettings(*settings_, dialogs_)) return;
  BuildReports reports;
  reports.DataConsistent = [this] { Button2->setEnabled(true); };
  reports.BuildCompleted = [this] {
    LockSettings();
    Button1->setEnabled(false);
  };
  ModelFileWriter(ModelTemplate, *settings_, dialogs_, *Memo1, reports);
}

void TForm1::rb3Click(QObject* /*Sender*/) {
  selectVariant(VariantId::Maxwell3);
}

void TForm1::FormCreate(QObject* Sender) {
  rb3Click(Sender);
  Button5->setEnabled(false);
  Button4->setEnabled(false);
}

void TForm1::rb4Click(QObject* /*Sender*/) {
  selectVariant(VariantId::Maxwell4);
}

void TForm1::Button2Click(QObject* /*Sender*/) {
  Memo1->append("Optimization is starting...");
  launcher_.shellExecute(winId(), kOpenOperation, kCommandInterpreter,
                         gamsParameters(rbCMDclose->isChecked()), std::nullopt, kShowCommand);
  Memo1->append("Optimization finished.");
  Button5->setEnabled(true);
  Button4->setEnabled(true);
}

void TForm1::Button3Click(QObject* /*Sender*/) {
  UnlockSettings();
  Button1->setEnabled(true);
  Button2->setEnabled(false);
  Memo1->append("Setting reseted.");
  for (QLabel* label : {lblc1, lblc2, lblc3, lblc4, lblk1, lblk2, lblk3, lblk4}) {
    label->clear();
  }
  Button5->setEnabled(false);
  Button4->setEnabled(false);
}

void TForm1::Button4Click(QObject* /*Sender*/) {
  readResults(selectedVariant(*settings_), *Memo1, *resultLabels_);
}

void TForm1::Button5Click(QObject* /*Sender*/) {
  launcher_.shellExecute(winId(), kOpenOperation, kCommandInterpreter, plotParameters(),
                         std::nullopt, kShowCommand);
}

void TForm1::rbMax3SpringClick(QObject* /*Sender*/) {
  selectVariant(VariantId::Maxwell3Spring);
}

void TForm1::rb3KelvinClick(QObject* /*Sender*/) {
  selectVariant(VariantId::Kelvin3);
}

// Names the template, shows or hides the c4 and k4 sets, then loads the picture; a picture
// that fails leaves the first two steps done and the previous picture shown.
void TForm1::selectVariant(VariantId id) {
  const ModelVariant& variant = variantInfo(id);
  ModelTemplate.assign(std::string(variant.templateFile));
  const std::array<std::pair<QWidget*, bool>, 14> sets{{
      {c4in, variant.usesC4},
      {k4in, variant.usesK4},
      {labc4in, variant.usesC4},
      {labk4in, variant.usesK4},
      {c4d, variant.usesC4},
      {k4d, variant.usesK4},
      {c4u, variant.usesC4},
      {k4u, variant.usesK4},
      {labc4lim, variant.usesC4},
      {labk4lim, variant.usesK4},
      {lblc4p, variant.usesC4},
      {lblc4, variant.usesC4},
      {lblk4p, variant.usesK4},
      {lblk4, variant.usesK4},
  }};
  for (auto [control, shown] : sets) control->setVisible(shown);
  Image1->setPixmap(QPixmap::fromImage(loadSchemaPicture(std::string(variant.schemaPicture))));
}

std::array<QWidget*, 33> TForm1::settingsControls() const {
  return {rbSolverConopt,
          rbSolverEmp,
          rbSolverKnitro,
          rbSolverMinos,
          rbSolverSnop,
          rb3,
          rb4,
          rbMax3Spring,
          rb3Kelvin,
          c1in,
          k1in,
          c2in,
          k2in,
          c3in,
          k3in,
          c4in,
          k4in,
          c1d,
          c1u,
          c2d,
          c2u,
          c3d,
          c3u,
          c4d,
          c4u,
          k1d,
          k1u,
          k2d,
          k2u,
          k3d,
          k3u,
          k4d,
          k4u};
}

void TForm1::LockSettings() {
  for (QWidget* control : settingsControls()) control->setEnabled(false);
}

void TForm1::UnlockSettings() {
  for (QWidget* control : settingsControls()) control->setEnabled(true);
}

QLineEdit* TForm1::coefficientEdit(Coefficient c, ValueKind kind) const {
  const std::array<std::array<QLineEdit*, 3>, 8> edits{{
      {c1in, c1d, c1u},
      {c2in, c2d, c2u},
      {c3in, c3d, c3u},
      {c4in, c4d, c4u},
      {k1in, k1d, k1u},
      {k2in, k2d, k2u},
      {k3in, k3d, k3u},
      {k4in, k4d, k4u},
  }};
  return edits[static_cast<std::size_t>(c)][static_cast<std::size_t>(kind)];
}

QRadioButton* TForm1::variantRadio(VariantId id) const {
  const std::array<QRadioButton*, 4> radios{rb3, rb4, rbMax3Spring, rb3Kelvin};
  return radios[static_cast<std::size_t>(id)];
}

QRadioButton* TForm1::solverRadio(SolverId id) const {
  const std::array<QRadioButton*, 5> radios{rbSolverConopt, rbSolverEmp, rbSolverKnitro,
                                            rbSolverMinos, rbSolverSnop};
  return radios[static_cast<std::size_t>(id)];
}

QLabel* TForm1::resultLabel(Coefficient c) const {
  const std::array<QLabel*, 8> labels{lblc1, lblc2, lblc3, lblc4, lblk1, lblk2, lblk3, lblk4};
  return labels[static_cast<std::size_t>(c)];
}
