// The commands that leave the window: run and plot requests, loading results, the schema
// pictures that fail, errors inside handlers and the click of the "Command window option" box.
#include <QDir>
#include <QtTest>

#include "tests/ui/WindowHarness.h"

using namespace tarvelin;
using namespace tarvelin::testing;

namespace {

// A window in "Model built": a consistent build after choosing the variant.
TForm1& builtWindow(WindowHarness& h, VariantId variant = VariantId::Maxwell3) {
  TForm1& form = h.open();
  h.click(form.variantRadio(variant));
  h.click(form.Button1);
  return form;
}

std::string missingPictureMessage(const std::string& name) {
  return "Cannot open file \"" +
         QDir::current().filePath(QString::fromStdString(name)).toStdString() +
         "\". No such file or directory.";
}

}  // namespace

class CommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void runRequest_data();
  void runRequest();
  void optionReadAtEachRun();
  void plotRequest();
  void failedStartEndsTheRun();
  void loadResults_data();
  void loadResults();
  void loadWithoutResultsFile();
  void missingPictureAtStartUp();
  void badPictureOnSelection_data();
  void badPictureOnSelection();
  void commandGroupClick_data();
  void commandGroupClick();
};

void CommandsTest::runRequest_data() {
  QTest::addColumn<bool>("close");
  QTest::addColumn<QString>("parameters");
  QTest::newRow("close") << true << "/c gams MaxwellOut.gms";
  QTest::newRow("do not close") << false << "/k gams MaxwellOut.gms";
}

void CommandsTest::runRequest() {
  QFETCH(bool, close);
  QFETCH(QString, parameters);
  WindowHarness h;
  TForm1& form = builtWindow(h);
  h.click(close ? form.rbCMDclose : form.rbCMDnotclose);
  QStringList before = h.log();
  h.click(form.Button2);
  QCOMPARE(h.launcher.calls.size(), std::size_t{1});
  const LaunchCall& call = h.launcher.calls.front();
  QCOMPARE(call.owner, static_cast<WindowHandle>(form.winId()));
  QCOMPARE(call.operation, std::string("open"));
  QCOMPARE(call.file, std::string("cmd.exe"));
  QCOMPARE(QString::fromStdString(call.parameters), parameters);
  QVERIFY(!call.directory.has_value());
  QCOMPARE(call.showCommand, 5);
  const QStringList runLines{"Optimization is starting...", "Optimization finished."};
  QCOMPARE(h.log(), before + runLines);
  QCOMPARE(buttonStates(form), QStringLiteral("01111"));
  QCOMPARE(settingsState(form), QStringLiteral("disabled"));
}

void CommandsTest::optionReadAtEachRun() {
  WindowHarness h;
  TForm1& form = builtWindow(h);
  h.click(form.Button2);
  h.click(form.rbCMDnotclose);
  h.click(form.Button2);
  QCOMPARE(h.launcher.calls.size(), std::size_t{2});
  QCOMPARE(h.launcher.calls[0].parameters, std::string("/c gams MaxwellOut.gms"));
  QCOMPARE(h.launcher.calls[1].parameters, std::string("/k gams MaxwellOut.gms"));
}

void CommandsTest::plotRequest() {
  WindowHarness h;
  TForm1& form = builtWindow(h);
  h.click(form.Button2);
  QStringList before = h.log();
  h.click(form.Button5);
  h.click(form.Button5);
  QCOMPARE(h.launcher.calls.size(), std::size_t{3});
  for (std::size_t i = 1; i < 3; ++i) {
    const LaunchCall& call = h.launcher.calls[i];
    QCOMPARE(call.owner, static_cast<WindowHandle>(form.winId()));
    QCOMPARE(call.operation, std::string("open"));
    QCOMPARE(call.file, std::string("cmd.exe"));
    QCOMPARE(call.parameters, std::string("/c matlab -r kresliVysledky -nodesktop -nosplash"));
    QVERIFY(!call.directory.has_value());
    QCOMPARE(call.showCommand, 5);
  }
  QCOMPARE(h.log(), before);
  QCOMPARE(buttonStates(form), QStringLiteral("01111"));
}

// A command window that cannot be started ends the run with the error box, after the first
// log line; the results and plot commands stay off.
void CommandsTest::failedStartEndsTheRun() {
  WindowHarness h;
  TForm1& form = builtWindow(h);
  h.launcher.failWith = "Cannot start the command window: no terminal program found";
  QStringList before = h.log();
  h.click(form.Button2);
  QCOMPARE(h.dialogs.errors,
           std::vector<std::string>{"Cannot start the command window: no terminal program found."});
  QCOMPARE(h.log(), before + QStringList{"Optimization is starting..."});
  QCOMPARE(buttonStates(form), QStringLiteral("01100"));
}

void CommandsTest::loadResults_data() {
  QTest::addColumn<int>("variant");
  QTest::addColumn<QString>("file");
  QTest::addColumn<QStringList>("logLines");
  QTest::addColumn<QStringList>("labels");  // lblc1..lblc4, lblk1..lblk4; "-" untouched
  const QString eight = QStringLiteral("11\n22\n33\n44\n55\n66\n77\n88\n");
  QTest::newRow("rb3 reads six of eight")
      << int(VariantId::Maxwell3) << eight
      << QStringList{"c1 = 11", "c2 = 22", "c3 = 33", "k1 = 44", "k2 = 55", "k3 = 66"}
      << QStringList{"11 Nm/rad",  "22 Nm/rad",  "33 Nm/rad",  "-",
                     "44 Nms/rad", "55 Nms/rad", "66 Nms/rad", "-"};
  QTest::newRow("rb4 reads eight")
      << int(VariantId::Maxwell4) << eight
      << QStringList{"c1 = 11", "c2 = 22", "c3 = 33", "c4 = 44",
                     "k1 = 55", "k2 = 66", "k3 = 77", "k4 = 88"}
      << QStringList{"11 Nm/rad",  "22 Nm/rad",  "33 Nm/rad",  "44 Nm/rad",
                     "55 Nms/rad", "66 Nms/rad", "77 Nms/rad", "88 Nms/rad"};
  QTest::newRow("rbMax3Spring reads seven")
      << int(VariantId::Maxwell3Spring) << eight
      << QStringList{"c1 = 11", "c2 = 22", "c3 = 33", "c4 = 44", "k1 = 55", "k2 = 66", "k3 = 77"}
      << QStringList{"11 Nm/rad",  "22 Nm/rad",  "33 Nm/rad",  "44 Nm/rad",
                     "55 Nms/rad", "66 Nms/rad", "77 Nms/rad", "-"};
  QTest::newRow("rb3Kelvin, blanks kept, short file")
      << int(VariantId::Kelvin3) << QStringLiteral("  1.25E+07\r\n2\n")
      << QStringList{"c1 =   1.25E+07", "c2 = 2", "c3 = ", "k1 = ", "k2 = ", "k3 = "}
      << QStringList{"  1.25E+07 Nm/rad", "2 Nm/rad", " Nm/rad",  "-",
                     " Nms/rad",          " Nms/rad", " Nms/rad", "-"};
}

void CommandsTest::loadResults() {
  QFETCH(int, variant);
  QFETCH(QString, file);
  QFETCH(QStringList, logLines);
  QFETCH(QStringList, labels);
  WindowHarness h;
  TForm1& form = builtWindow(h, static_cast<VariantId>(variant));
  h.click(form.Button2);
  h.writeFile("output2.dat", file.toStdString());
  const QString untouched = QStringLiteral("untouched");
  for (int i = 0; i < 8; ++i) form.resultLabel(static_cast<Coefficient>(i))->setText(untouched);
  QStringList before = h.log();
  h.click(form.Button4);
  QVERIFY(h.dialogs.errors.empty());
  QCOMPARE(h.log(), before + QStringList{"= RESULTS ="} + logLines);
  for (int i = 0; i < 8; ++i) {
    QString expected = labels[i] == QStringLiteral("-") ? untouched : labels[i];
    QCOMPARE(form.resultLabel(static_cast<Coefficient>(i))->text(), expected);
  }
  // A second press appends the whole block again.
  h.click(form.Button4);
  QCOMPARE(h.log(),
           before + QStringList{"= RESULTS ="} + logLines + QStringList{"= RESULTS ="} + logLines);
  QCOMPARE(buttonStates(form), QStringLiteral("01111"));
}

void CommandsTest::loadWithoutResultsFile() {
  WindowHarness h;
  TForm1& form = builtWindow(h);
  h.click(form.Button2);
  form.lblc1->setText(QStringLiteral("earlier"));
  QStringList before = h.log();
  h.click(form.Button4);
  QCOMPARE(h.dialogs.errors, std::vector<std::string>{"File not found."});
  QCOMPARE(h.log(), before);
  QCOMPARE(form.lblc1->text(), QStringLiteral("earlier"));
}

// The picture of start-up fails: the error comes from the creation handler, which ends there,
// so "Load results" and "Plot graphs" stay on as the layout has them.
void CommandsTest::missingPictureAtStartUp() {
  WindowHarness h;
  h.remove("schema3.bmp");
  TForm1& form = h.open();
  QCOMPARE(h.dialogs.errors, std::vector<std::string>{missingPictureMessage("schema3.bmp")});
  QCOMPARE(buttonStates(form), QStringLiteral("10111"));
  QVERIFY(form.Image1->pixmap().isNull());
  QCOMPARE(ModelTemplate.name(), std::string("Maxwell3.gms"));
  QVERIFY(form.c4in->isHidden());
  QVERIFY(form.lblk4->isHidden());
}

void CommandsTest::badPictureOnSelection_data() {
  QTest::addColumn<QString>("picture");  // what stands at "schema4.bmp"
  QTest::addColumn<QString>("error");    // "%1" is the folder of the test, known only inside it
  QTest::newRow("missing") << ""
                           << "Cannot open file \"%1/schema4.bmp\". No such file or directory.";
  QTest::newRow("a folder") << "folder"
                            << "Cannot open file \"%1/schema4.bmp\". Is a directory.";
  QTest::newRow("not a bitmap") << "P6 not a bitmap\n"
                                << "Bitmap image is not valid.";
}

// Steps before the picture stand: the variant is selected, its template named and its
// controls shown; the previous picture stays, and a build uses the new template.
void CommandsTest::badPictureOnSelection() {
  QFETCH(QString, picture);
  QFETCH(QString, error);
  WindowHarness h;
  h.remove("schema4.bmp");
  if (picture == QStringLiteral("folder")) {
    QVERIFY(QDir::current().mkdir(QStringLiteral("schema4.bmp")));
  } else if (!picture.isEmpty()) {
    h.writeFile("schema4.bmp", picture.toStdString());
  }
  TForm1& form = h.open();
  h.click(form.rb4);
  QCOMPARE(h.dialogs.errors,
           std::vector<std::string>{error.arg(QDir::currentPath()).toStdString()});
  QVERIFY(form.rb4->isChecked());
  QVERIFY(form.c4in->isVisible());
  QVERIFY(form.k4in->isVisible());
  QVERIFY(form.lblk4p->isVisible());
  QCOMPARE(h.shownColour(), pictureColour(VariantId::Maxwell3));
  QCOMPARE(buttonStates(form), QStringLiteral("10100"));
  h.click(form.Button1);
  QVERIFY(h.readFile("MaxwellOut.gms").rfind("* Maxwell4.gms\r\n", 0) == 0);
}

void CommandsTest::commandGroupClick_data() {
  QTest::addColumn<QString>("target");  // what is clicked: the box's area or a child
  QTest::addColumn<QPoint>("at");       // in GroupBox4's coordinates, for the box itself
  QTest::addColumn<bool>("locked");
  QTest::addColumn<bool>("builds");
  QTest::newRow("background") << "GroupBox4" << QPoint(250, 80) << false << true;
  QTest::newRow("caption") << "GroupBox4" << QPoint(30, 4) << false << true;
  QTest::newRow("frame") << "GroupBox4" << QPoint(1, 45) << false << true;
  QTest::newRow("background while locked") << "GroupBox4" << QPoint(250, 80) << true << true;
  QTest::newRow("radio") << "rbCMDnotclose" << QPoint() << false << false;
  QTest::newRow("first line of text") << "Label4" << QPoint() << false << false;
  QTest::newRow("second line of text") << "Label8" << QPoint() << false << false;
}

void CommandsTest::commandGroupClick() {
  QFETCH(QString, target);
  QFETCH(QPoint, at);
  QFETCH(bool, locked);
  QFETCH(bool, builds);
  WindowHarness h;
  TForm1& form = h.open();
  if (locked) h.click(form.Button1);
  int asked = h.dialogs.dataFileAsked;
  h.remove("MaxwellOut.gms");
  auto* widget = form.findChild<QWidget*>(target);
  QVERIFY(widget);
  if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
    h.click(radio);
    QVERIFY(radio->isChecked());
  } else if (widget == form.GroupBox4) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
  } else {
    QTest::mouseClick(widget, Qt::LeftButton);
  }
  QCOMPARE(h.dialogs.dataFileAsked - asked, builds ? 1 : 0);
  QCOMPARE(h.exists("MaxwellOut.gms"), builds);
  if (builds) QCOMPARE(buttonStates(form), QStringLiteral("01100"));
}

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
