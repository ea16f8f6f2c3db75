// Unit1: the one main window, TForm1, with its controls and the workflow's handlers.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "model/Dialogs.h"
#include "model/Settings.h"
#include "model/TextFile.h"
#include "run/Launcher.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tarvelin {
class ActivityMemo;
class CommandGroupBox;
class FormSettings;
class FormResultLabels;
}  // namespace tarvelin

// The program-wide handle of the selected variant's template: named by the variant handlers,
// opened and closed by each build.
extern tarvelin::TextFile ModelTemplate;

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  // The creation handler FormCreate runs at the end of construction, once every control
  // exists; a failure there is shown in the error box before the window is shown.
  TForm1(tarvelin::Dialogs& dialogs, tarvelin::Launcher& launcher, QWidget* parent = nullptr);
  ~TForm1() override;

  // Controls placed directly on the window.
  QGroupBox* GroupBox1;
  QGroupBox* GroupBox2;
  QGroupBox* GroupBox3;
  QLabel* Label17;
  tarvelin::ActivityMemo* Memo1;
  QGroupBox* S;
  QGroupBox* GroupBox5;
  tarvelin::CommandGroupBox* GroupBox4;
  QPushButton* Button1;
  QPushButton* Button3;
  QPushButton* Button2;
  QPushButton* Button4;
  QPushButton* Button5;
  QLabel* Label19;
  QLabel* Label20;
  QLabel* Label21;
  QLabel* Label22;

  // GroupBox1: the model variants and the schema picture.
  QRadioButton* rb3;
  QRadioButton* rb4;
  QRadioButton* rbMax3Spring;
  QRadioButton* rb3Kelvin;
  QLabel* Image1;

  // GroupBox2: the initial values.
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* labc4in;
  QLabel* Label5;
  QLabel* Label6;
  QLabel* Label7;
  QLabel* labk4in;
  QLineEdit* c1in;
  QLineEdit* c2in;
  QLineEdit* c3in;
  QLineEdit* c4in;
  QLineEdit* k1in;
  QLineEdit* k2in;
  QLineEdit* k3in;
  QLineEdit* k4in;

  // GroupBox3: the lower and upper limits.
  QLineEdit* c1d;
  QLineEdit* c1u;
  QLineEdit* c2d;
  QLineEdit* c2u;
  QLineEdit* c3d;
  QLineEdit* c3u;
  QLineEdit* c4d;
  QLineEdit* c4u;
  QLineEdit* k1d;
  QLineEdit* k1u;
  QLineEdit* k2d;
  QLineEdit* k2u;
  QLineEdit* k3d;
  QLineEdit* k3u;
  QLineEdit* k4d;
  QLineEdit* k4u;
  QLabel* Label9;
  QLabel* Label10;
  QLabel* Label11;
  QLabel* labc4lim;
  QLabel* Label13;
  QLabel* Label14;
  QLabel* Label15;
  QLabel* labk4lim;

  // S: the solvers.
  QRadioButton* rbSolverConopt;
  QRadioButton* rbSolverEmp;
  QRadioButton* rbSolverKnitro;
  QRadioButton* rbSolverMinos;
  QRadioButton* rbSolverSnop;

  // GroupBox5: the results, a caption and a value label per coefficient.
  QLabel* Label12;
  QLabel* lblc1;
  QLabel* Label16;
  QLabel* lblc2;
  QLabel* Label18;
  QLabel* lblc3;
  QLabel* lblc4p;
  QLabel* lblc4;
  QLabel* lblk1p;
  QLabel* lblk1;
  QLabel* Label25;
  QLabel* lblk2;
  QLabel* Label26;
  QLabel* lblk3;
  QLabel* lblk4p;
  QLabel* lblk4;

  // GroupBox4: the command window option.
  QLabel* Label4;
  QLabel* Label8;
  QRadioButton* rbCMDclose;
  QRadioButton* rbCMDnotclose;

  // The handlers. Each runs inside the one error wrapper when an event calls it.
  void Button1Click(QObject* Sender);
  void rb3Click(QObject* Sender);
  void FormCreate(QObject* Sender);
  void rb4Click(QObject* Sender);
  void Button2Click(QObject* Sender);
  void Button3Click(QObject* Sender);
  void Button4Click(QObject* Sender);
  void Button5Click(QObject* Sender);
  void rbMax3SpringClick(QObject* Sender);
  void rb3KelvinClick(QObject* Sender);

  void LockSettings();
  void UnlockSettings();

  // The 33 settings controls in the order in which they are locked and unlocked.
  std::array<QWidget*, 33> settingsControls() const;
  // The controls behind the settings and the results, by what they stand for.
  QLineEdit* coefficientEdit(tarvelin::Coefficient c, tarvelin::ValueKind kind) const;
  QRadioButton* variantRadio(tarvelin::VariantId id) const;
  QRadioButton* solverRadio(tarvelin::SolverId id) const;
  QLabel* resultLabel(tarvelin::Coefficient c) const;

 private:
  using Handler = void (TForm1::*)(QObject*);

  void createControls();
  void createSettingGroup();
  void createInitialGroup();
  void createLimitsGroup();
  void createSolverGroup();
  void createResultsGroup();
  void createCommandGroup();
  void chainTabOrder();
  void bindEvents();
  void bindVariant(QRadioButton* radio, Handler handler);

  // The one error boundary: a handler that throws ends there and its error is shown.
  void runGuarded(Handler handler, QObject* sender);
  void selectVariant(tarvelin::VariantId id);

  tarvelin::Dialogs& dialogs_;
  tarvelin::Launcher& launcher_;
  std::unique_ptr<tarvelin::FormSettings> settings_;
  std::unique_ptr<tarvelin::FormResultLabels> resultLabels_;
};

// The one main window, reachable program-wide.
extern TForm1* Form1;
