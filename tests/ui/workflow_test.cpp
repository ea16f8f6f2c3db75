// The workflow through the real window: variant selection, builds from every state, the
// validation and the cancelled dialog, locking and "Option reset".
#include <QtTest>

#include "tests/ui/WindowHarness.h"

using namespace tarvelin;
using namespace tarvelin::testing;

namespace {

// The fourteen controls that follow c4 and k4, each with whether it belongs to the c4 set.
std::vector<std::pair<QWidget*, bool>> variantControls(const TForm1& f) {
  return {{f.c4in, true},     {f.k4in, false},     {f.labc4in, true}, {f.labk4in, false},
          {f.c4d, true},      {f.k4d, false},      {f.c4u, true},     {f.k4u, false},
          {f.labc4lim, true}, {f.labk4lim, false}, {f.lblc4p, true},  {f.lblc4, true},
          {f.lblk4p, false},  {f.lblk4, false}};
}

enum class State { SettingUp, ModelBuilt, DataInconsistent, RunStarted };

// Brings a fresh window into a state along the ordinary path.
void reach(WindowHarness& h, State state) {
  TForm1& form = *h.form;
  if (state == State::SettingUp) return;
  h.useDataFile(state == State::DataInconsistent ? "inconsistent.txt" : "consistent.txt");
  h.click(form.Button1);
  if (state == State::RunStarted) h.click(form.Button2);
}

}  // namespace

Q_DECLARE_METATYPE(State)

class WorkflowTest : public QObject {
  Q_OBJECT

 private slots:
  void variantSelection_data();
  void variantSelection();
  void selectedVariantIsNotSelectedAgain();
  void leftVariantRunsNothing();
  void hiddenEditKeepsItsText();
  void buildFromEachState_data();
  void buildFromEachState();
  void buildWritesTheWindowsSettings();
  void everyEditReachesTheValidation_data();
  void everyEditReachesTheValidation();
  void refusalsLeaveEverythingUnchanged_data();
  void refusalsLeaveEverythingUnchanged();
  void failedBuildLeavesTheButtons_data();
  void failedBuildLeavesTheButtons();
  void failureWhileClosingTheModel();
  void lockedSettings();
  void resetAfterARun();
  void resetWhileSettingUp();
};

void WorkflowTest::variantSelection_data() {
  QTest::addColumn<int>("variant");
  QTest::addColumn<QString>("templateName");
  QTest::addColumn<bool>("c4Shown");
  QTest::addColumn<bool>("k4Shown");
  QTest::newRow("rb3") << int(VariantId::Maxwell3) << "Maxwell3.gms" << false << false;
  QTest::newRow("rb4") << int(VariantId::Maxwell4) << "Maxwell4.gms" << true << true;
  QTest::newRow("rbMax3Spring") << int(VariantId::Maxwell3Spring) << "Maxwell3Spring.gms" << true
                                << false;
  QTest::newRow("rb3Kelvin") << int(VariantId::Kelvin3) << "Maxwell3Kelvin.gms" << false << false;
}

void WorkflowTest::variantSelection() {
  QFETCH(int, variant);
  QFETCH(QString, templateName);
  QFETCH(bool, c4Shown);
  QFETCH(bool, k4Shown);
  auto id = static_cast<VariantId>(variant);
  WindowHarness h;
  TForm1& form = h.open();
  h.click(form.rbSolverMinos);
  h.click(form.rbCMDnotclose);
  // From another variant, so that every row is a real change of selection.
  h.click(id == VariantId::Maxwell4 ? form.rb3Kelvin : form.rb4);
  h.click(form.variantRadio(id));
  QVERIFY(form.variantRadio(id)->isChecked());
  QCOMPARE(QString::fromStdString(ModelTemplate.name()), templateName);
  for (auto [control, inC4Set] : variantControls(form)) {
    QCOMPARE(control->isVisible(), inC4Set ? c4Shown : k4Shown);
  }
  QCOMPARE(h.shownColour(), pictureColour(id));
  QVERIFY(form.rbSolverMinos->isChecked());
  QVERIFY(form.rbCMDnotclose->isChecked());
  QVERIFY(h.log().isEmpty());
  QCOMPARE(buttonStates(form), QStringLiteral("10100"));
  QVERIFY(h.dialogs.errors.empty());
}

// Clicking the radio of the selected variant runs nothing: the picture is not read again.
void WorkflowTest::selectedVariantIsNotSelectedAgain() {
  WindowHarness h;
  TForm1& form = h.open();
  h.writePicture("schema3.bmp", Qt::magenta);
  h.click(form.rb3);
  QCOMPARE(h.shownColour(), pictureColour(VariantId::Maxwell3));
  // A real change of selection reads the file anew.
  h.click(form.rb4);
  h.click(form.rb3);
  QCOMPARE(h.shownColour(), QColor(Qt::magenta));
}

// Only the newly selected variant's handler runs, not the one of the radio that is left.
void WorkflowTest::leftVariantRunsNothing() {
  WindowHarness h;
  TForm1& form = h.open();
  h.remove("schema3.bmp");
  h.click(form.rb4);
  QVERIFY(h.dialogs.errors.empty());
  QCOMPARE(h.shownColour(), pictureColour(VariantId::Maxwell4));
  QCOMPARE(ModelTemplate.name(), std::string("Maxwell4.gms"));
}

void WorkflowTest::hiddenEditKeepsItsText() {
  WindowHarness h;
  TForm1& form = h.open();
  h.click(form.rb4);
  form.c4in->clear();
  QTest::keyClicks(form.c4in, "2.5e3");
  h.click(form.rb3);
  QVERIFY(form.c4in->isHidden());
  h.click(form.rb4);
  QVERIFY(form.c4in->isVisible());
  QCOMPARE(form.c4in->text(), QStringLiteral("2.5e3"));
  QVERIFY(form.c4in->isEnabled());
}

void WorkflowTest::buildFromEachState_data() {
  QTest::addColumn<State>("from");
  QTest::addColumn<bool>("consistent");
  QTest::addColumn<QString>("buttons");
  QTest::newRow("setting up, consistent") << State::SettingUp << true << "01100";
  QTest::newRow("setting up, inconsistent") << State::SettingUp << false << "00100";
  QTest::newRow("model built, consistent") << State::ModelBuilt << true << "01100";
  QTest::newRow("model built, inconsistent") << State::ModelBuilt << false << "01100";
  QTest::newRow("data inconsistent, consistent") << State::DataInconsistent << true << "01100";
  QTest::newRow("data inconsistent, inconsistent") << State::DataInconsistent << false << "00100";
  QTest::newRow("run started, consistent") << State::RunStarted << true << "01111";
  QTest::newRow("run started, inconsistent") << State::RunStarted << false << "01111";
}

// A build from Setting up goes through Button1; from the other states, where Button1 is off,
// through the group box, which builds in every state.
void WorkflowTest::buildFromEachState() {
  QFETCH(State, from);
  QFETCH(bool, consistent);
  QFETCH(QString, buttons);
  WindowHarness h;
  TForm1& form = h.open();
  reach(h, from);
  h.remove("MaxwellOut.gms");
  qsizetype before = h.log().size();
  h.useDataFile(consistent ? "consistent.txt" : "inconsistent.txt");
  if (from == State::SettingUp) {
    h.click(form.Button1);
  } else {
    QVERIFY(!form.Button1->isEnabled());
    h.build();
  }
  QVERIFY(h.dialogs.errors.empty());
  QCOMPARE(buttonStates(form), buttons);
  QCOMPARE(settingsState(form), QStringLiteral("disabled"));
  QStringList added = h.log().mid(before);
  QStringList expected =
      consistent
          ? QStringList{"All data successfully loaded.", "Number of data: 3"}
          : QStringList{"Error! The data file is not consistent!", "Check the file with data!"};
  expected << "Optimization solver CONOPT chosen.";
  QCOMPARE(added, expected);
  QVERIFY(h.readFile("MaxwellOut.gms").rfind("* Maxwell3.gms\r\n", 0) == 0);
}

// The build reads the variant, the texts and the solver from the controls at the moment of
// the build, and names the template of the variant selected last.
void WorkflowTest::buildWritesTheWindowsSettings() {
  WindowHarness h;
  TForm1& form = h.open();
  h.click(form.rbMax3Spring);
  h.click(form.rbSolverSnop);
  form.c1in->setText(QStringLiteral("1.5e2"));
  form.c4in->setText(QStringLiteral(".5"));
  h.click(form.Button1);
  QCOMPARE(
      QString::fromStdString(h.readFile("MaxwellOut.gms")),
      QStringLiteral("* Maxwell3Spring.gms\r\n/ 1 * 3 /;\r\n1.5e2\r\n.5\r\noption nlp=snop;\r\n"
                     "1    1.50000000000000E+0000\r\n2    2.50000000000000E+0000\r\n"
                     "3    3.50000000000000E+0000\r\n1    1.00000000000000E+0001\r\n"
                     "2    2.00000000000000E+0001\r\n3    3.00000000000000E+0001\r\n"
                     "1   -1.00000000000000E+0000\r\n2   -2.00000000000000E+0000\r\n"
                     "3   -3.00000000000000E+0000\r\n"));
  QCOMPARE(h.log().last(), QStringLiteral("Optimization solver SNOP chosen."));
}

void WorkflowTest::everyEditReachesTheValidation_data() {
  QTest::addColumn<int>("coefficient");
  QTest::addColumn<int>("kind");
  QTest::addColumn<QString>("message");
  const char* const kinds[] = {"initial value", "lower limit", "upper limit"};
  for (const auto& c : kCoefficients) {
    for (int kind = 0; kind < 3; ++kind) {
      std::string name(c.control[kind]);
      QTest::newRow(name.c_str()) << int(c.id) << kind
                                  << QStringLiteral("Incorrect input for %1 of %2!")
                                         .arg(QLatin1String(kinds[kind]),
                                              QLatin1String(c.name.data(), c.name.size()));
    }
  }
}

// With "4 Maxwell elements" every edit is checked: a bad text in any one of them is named by
// its own message, so each edit is wired to its own coefficient and kind.
void WorkflowTest::everyEditReachesTheValidation() {
  QFETCH(int, coefficient);
  QFETCH(int, kind);
  QFETCH(QString, message);
  WindowHarness h;
  TForm1& form = h.open();
  h.click(form.rb4);
  form.coefficientEdit(static_cast<Coefficient>(coefficient), static_cast<ValueKind>(kind))
      ->setText(QStringLiteral("1,5"));
  h.click(form.Button1);
  QCOMPARE(h.dialogs.messages, std::vector<std::string>{message.toStdString()});
  QCOMPARE(h.dialogs.dataFileAsked, 0);
}

void WorkflowTest::refusalsLeaveEverythingUnchanged_data() {
  QTest::addColumn<QString>("edit");
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("cancel");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("error");
  QTest::newRow("not a number") << "k1in"
                                << "abc" << false << "Incorrect input for initial value of k1!"
                                << "";
  QTest::newRow("trailing blank") << "c2u"
                                  << "1E6 " << false << "Incorrect input for upper limit of c2!"
                                  << "";
  QTest::newRow("beyond the number format") << "c1in"
                                            << "1E5000" << false << ""
                                            << "Floating point overflow.";
  QTest::newRow("cancelled dialog") << ""
                                    << "" << true << ""
                                    << "";
}

// A refused or cancelled build opens no file, writes no log line and changes no control.
void WorkflowTest::refusalsLeaveEverythingUnchanged() {
  QFETCH(QString, edit);
  QFETCH(QString, text);
  QFETCH(bool, cancel);
  QFETCH(QString, message);
  QFETCH(QString, error);
  WindowHarness h;
  TForm1& form = h.open();
  h.writeFile("MaxwellOut.gms", "earlier model\r\n");
  if (!edit.isEmpty()) form.findChild<QLineEdit*>(edit)->setText(text);
  if (cancel) h.dialogs.dataFile.reset();
  h.click(form.Button1);
  QCOMPARE(h.dialogs.messages.empty(), message.isEmpty());
  if (!message.isEmpty()) QCOMPARE(h.dialogs.messages.front(), message.toStdString());
  QCOMPARE(h.dialogs.errors.empty(), error.isEmpty());
  if (!error.isEmpty()) QCOMPARE(h.dialogs.errors.front(), error.toStdString());
  QCOMPARE(h.dialogs.dataFileAsked, cancel ? 1 : 0);
  QCOMPARE(buttonStates(form), QStringLiteral("10100"));
  QCOMPARE(settingsState(form), QStringLiteral("enabled"));
  QVERIFY(h.log().isEmpty());
  QCOMPARE(h.readFile("MaxwellOut.gms"), std::string("earlier model\r\n"));
}

void WorkflowTest::failedBuildLeavesTheButtons_data() {
  QTest::addColumn<QString>("data");
  QTest::addColumn<bool>("removeTemplate");
  QTest::addColumn<QString>("error");
  QTest::newRow("missing template") << kConsistentData << true << "File not found.";
  QTest::newRow("decimal comma") << "1\n1,5\n\n1\n2\n\n1\n2\n"
                                 << false << "'1,5' is not a valid floating point value.";
}

// A file or number error before the blocks are compared ends the build with the error box
// and changes no button, no lock and no log line.
void WorkflowTest::failedBuildLeavesTheButtons() {
  QFETCH(QString, data);
  QFETCH(bool, removeTemplate);
  QFETCH(QString, error);
  WindowHarness h;
  TForm1& form = h.open();
  h.writeFile("data.txt", data.toStdString());
  h.useDataFile("data.txt");
  if (removeTemplate) h.remove("Maxwell3.gms");
  h.click(form.Button1);
  QCOMPARE(h.dialogs.errors, std::vector<std::string>{error.toStdString()});
  QCOMPARE(buttonStates(form), QStringLiteral("10100"));
  QCOMPARE(settingsState(form), QStringLiteral("enabled"));
  QVERIFY(h.log().isEmpty());
  // The cause removed, the same button builds.
  h.useDataFile("consistent.txt");
  h.writeFile("Maxwell3.gms", "* again\n@\n@\n@\n");
  h.click(form.Button1);
  QCOMPARE(buttonStates(form), QStringLiteral("01100"));
}

// The model file on a full device: its few bytes stay in the buffer until the build closes
// it, after the blocks were compared. "Run optimization" is on, as the comparison set it; the
// settings and Button1 stay as they were, since the build never completed.
void WorkflowTest::failureWhileClosingTheModel() {
  WindowHarness h;
  TForm1& form = h.open();
  h.writeFile("Maxwell3.gms", "* short\n@\n@\n@\n");
  h.writeFile("empty.txt", "");
  h.useDataFile("empty.txt");
  QVERIFY(QFile::link(QStringLiteral("/dev/full"), QStringLiteral("MaxwellOut.gms")));
  h.click(form.Button1);
  QCOMPARE(h.dialogs.errors, std::vector<std::string>{"I/O error 28."});
  QCOMPARE(buttonStates(form), QStringLiteral("11100"));
  QCOMPARE(settingsState(form), QStringLiteral("enabled"));
  QCOMPARE(h.log(), (QStringList{"All data successfully loaded.", "Number of data: 0",
                                 "Optimization solver CONOPT chosen."}));
}

// Locked settings cannot change; the command-window option still can, and the group box
// still builds with the locked texts.
void WorkflowTest::lockedSettings() {
  WindowHarness h;
  TForm1& form = h.open();
  h.click(form.Button1);
  QCOMPARE(settingsState(form), QStringLiteral("disabled"));
  h.click(form.rb4);
  h.click(form.rbSolverEmp);
  form.c1in->setFocus();
  QTest::keyClicks(form.c1in, "9");
  QVERIFY(form.rb3->isChecked());
  QVERIFY(form.rbSolverConopt->isChecked());
  QCOMPARE(form.c1in->text(), QStringLiteral("1E7"));
  QVERIFY(form.rbCMDnotclose->isEnabled());
  h.click(form.rbCMDnotclose);
  QVERIFY(form.rbCMDnotclose->isChecked());
  QVERIFY(form.Button3->isEnabled());
  h.remove("MaxwellOut.gms");
  h.build();
  QCOMPARE(h.dialogs.dataFileAsked, 2);
  QVERIFY(h.readFile("MaxwellOut.gms").find("\r\n1E7\r\n") != std::string::npos);
}

void WorkflowTest::resetAfterARun() {
  WindowHarness h;
  TForm1& form = h.open();
  h.click(form.rb4);
  form.k4u->setText(QStringLiteral("7E7"));
  h.click(form.Button1);
  h.click(form.Button2);
  h.writeFile("output2.dat", "1\n2\n3\n4\n5\n6\n7\n8\n");
  h.click(form.Button4);
  QVERIFY(!form.lblk4->text().isEmpty());
  QStringList before = h.log();
  h.click(form.Button3);
  QCOMPARE(buttonStates(form), QStringLiteral("10100"));
  QCOMPARE(settingsState(form), QStringLiteral("enabled"));
  QCOMPARE(h.log(), before + QStringList{"Setting reseted."});
  for (auto c : {Coefficient::c1, Coefficient::c2, Coefficient::c3, Coefficient::c4,
                 Coefficient::k1, Coefficient::k2, Coefficient::k3, Coefficient::k4}) {
    QVERIFY(form.resultLabel(c)->text().isEmpty());
  }
  QCOMPARE(form.k4u->text(), QStringLiteral("7E7"));
  QVERIFY(form.rb4->isChecked());
  QVERIFY(form.k4u->isVisible());
  QCOMPARE(ModelTemplate.name(), std::string("Maxwell4.gms"));
  QVERIFY(h.exists("output2.dat"));
  QVERIFY(h.exists("MaxwellOut.gms"));
}

void WorkflowTest::resetWhileSettingUp() {
  WindowHarness h;
  TForm1& form = h.open();
  h.click(form.Button3);
  QCOMPARE(buttonStates(form), QStringLiteral("10100"));
  QCOMPARE(settingsState(form), QStringLiteral("enabled"));
  QCOMPARE(h.log(), QStringList{"Setting reseted."});
}

QTEST_MAIN(WorkflowTest)
#include "workflow_test.moc"
