// The window as it opens: its own settings, every control's place and caption, the defaults,
// the fonts, the tab order and the state after start-up.
#include <QFont>
#include <QtTest>

#include "tests/ui/WindowHarness.h"

using namespace tarvelin;
using namespace tarvelin::testing;

class LayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void windowSettings();
  void controls_data();
  void controls();
  void labelPlaces_data();
  void labelPlaces();
  void editDefaultsAreTheCoefficientDefaults();
  void fonts();
  void tabOrder();
  void logIsReadOnly();
  void startUpState();
  void builtSchemaPicturesLoad();
};

void LayoutTest::windowSettings() {
  WindowHarness h;
  TForm1& form = h.open();
  QCOMPARE(form.objectName(), QStringLiteral("Form1"));
  QCOMPARE(form.windowTitle(), QStringLiteral("Tarvelin, v. 08.2013"));
  QCOMPARE(form.size(), QSize(561, 779));
  QCOMPARE(form.minimumSize(), QSize(561, 779));
  QCOMPARE(form.maximumSize(), QSize(561, 779));
  QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
  QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
  QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
  QCOMPARE(form.pos(), QPoint(329, 93));
}

void LayoutTest::controls_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("parent");
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QRect>("place");
  QTest::addColumn<bool>("checked");
  auto row = [](const char* name, const char* parent, const char* kind, const char* caption,
                QRect place, bool checked = false) {
    QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(parent)
                        << QString::fromLatin1(kind) << QString::fromLatin1(caption) << place
                        << checked;
  };
  row("GroupBox1", "Form1", "QGroupBox", "Setting", {16, 16, 249, 257});
  row("GroupBox2", "Form1", "QGroupBox", "Initial solution", {16, 288, 249, 129});
  row("GroupBox3", "Form1", "QGroupBox", "Limits for coefficients", {16, 432, 249, 249});
  row("Memo1", "Form1", "QPlainTextEdit", "", {280, 32, 265, 73});
  row("S", "Form1", "QGroupBox", "Optimization solver setup", {280, 120, 265, 73});
  row("GroupBox5", "Form1", "QGroupBox", "Results", {280, 208, 265, 225});
  row("GroupBox4", "Form1", "QGroupBox", "Command window option", {280, 448, 265, 89});
  row("Button1", "Form1", "QPushButton", "Load data file and build the optimization model",
      {280, 552, 265, 33});
  row("Button3", "Form1", "QPushButton", "Option reset", {280, 600, 97, 33});
  row("Button2", "Form1", "QPushButton", "Run optimization", {392, 600, 153, 33});
  row("Button4", "Form1", "QPushButton", "Load results", {280, 648, 97, 33});
  row("Button5", "Form1", "QPushButton", "Plot graphs with MATLAB", {392, 648, 153, 33});
  row("rb3", "GroupBox1", "QRadioButton", "3 Maxwell elements", {8, 20, 113, 17}, true);
  row("rb4", "GroupBox1", "QRadioButton", "4 Maxwell elements", {8, 38, 113, 17});
  row("rbMax3Spring", "GroupBox1", "QRadioButton", "3 Maxwell elements + spring in parallel order",
      {8, 56, 225, 17});
  row("rb3Kelvin", "GroupBox1", "QRadioButton", "3 Kelvin elements in serial order",
      {8, 74, 193, 17});
  row("Image1", "GroupBox1", "QLabel", "", {8, 98, 233, 147});
  row("c1in", "GroupBox2", "QLineEdit", "1E7", {48, 21, 65, 21});
  row("c2in", "GroupBox2", "QLineEdit", "-1E4", {48, 45, 65, 21});
  row("c3in", "GroupBox2", "QLineEdit", "1E4", {48, 69, 65, 21});
  row("c4in", "GroupBox2", "QLineEdit", "1E2", {48, 93, 65, 21});
  row("k1in", "GroupBox2", "QLineEdit", "1E2", {168, 21, 65, 21});
  row("k2in", "GroupBox2", "QLineEdit", "5E2", {168, 45, 65, 21});
  row("k3in", "GroupBox2", "QLineEdit", "1.5E2", {168, 69, 65, 21});
  row("k4in", "GroupBox2", "QLineEdit", "1E2", {168, 93, 65, 21});
  row("c1d", "GroupBox3", "QLineEdit", "-1E9", {16, 24, 65, 21});
  row("c1u", "GroupBox3", "QLineEdit", "1E19", {168, 24, 65, 21});
  row("c2d", "GroupBox3", "QLineEdit", "-1E9", {16, 48, 65, 21});
  row("c2u", "GroupBox3", "QLineEdit", "1E19", {168, 48, 65, 21});
  row("c3d", "GroupBox3", "QLineEdit", "-1E9", {16, 72, 65, 21});
  row("c3u", "GroupBox3", "QLineEdit", "1E19", {168, 72, 65, 21});
  row("c4d", "GroupBox3", "QLineEdit", "-1E9", {16, 96, 65, 21});
  row("c4u", "GroupBox3", "QLineEdit", "1E19", {168, 96, 65, 21});
  row("k1d", "GroupBox3", "QLineEdit", "-1E6", {16, 136, 65, 21});
  row("k1u", "GroupBox3", "QLineEdit", "1E6", {168, 136, 65, 21});
  row("k2d", "GroupBox3", "QLineEdit", "-1E6", {16, 160, 65, 21});
  row("k2u", "GroupBox3", "QLineEdit", "1E6", {168, 160, 65, 21});
  row("k3d", "GroupBox3", "QLineEdit", "-1E6", {16, 184, 65, 21});
  row("k3u", "GroupBox3", "QLineEdit", "1E6", {168, 184, 65, 21});
  row("k4d", "GroupBox3", "QLineEdit", "-1E6", {16, 208, 65, 21});
  row("k4u", "GroupBox3", "QLineEdit", "1E6", {168, 208, 65, 21});
  row("rbSolverConopt", "S", "QRadioButton", "CONOPT", {16, 16, 113, 17}, true);
  row("rbSolverEmp", "S", "QRadioButton", "EMP", {16, 32, 113, 17});
  row("rbSolverKnitro", "S", "QRadioButton", "KNITRO", {16, 48, 113, 17});
  row("rbSolverMinos", "S", "QRadioButton", "MINOS", {144, 16, 113, 17});
  row("rbSolverSnop", "S", "QRadioButton", "SNOP", {144, 32, 113, 17});
  row("rbCMDclose", "GroupBox4", "QRadioButton", "close", {16, 56, 49, 17}, true);
  row("rbCMDnotclose", "GroupBox4", "QRadioButton", "do not close", {128, 56, 81, 17});
}

QString captionOf(QWidget* widget) {
  if (auto* box = qobject_cast<QGroupBox*>(widget)) return box->title();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) return memo->toPlainText();
  return QStringLiteral("<unknown kind>");
}

void LayoutTest::controls() {
  QFETCH(QString, name);
  QFETCH(QString, parent);
  QFETCH(QString, kind);
  QFETCH(QString, caption);
  QFETCH(QRect, place);
  QFETCH(bool, checked);
  WindowHarness h;
  TForm1& form = h.open();
  auto* widget = form.findChild<QWidget*>(name);
  QVERIFY(widget);
  QCOMPARE(widget->parentWidget()->objectName(), parent);
  QVERIFY(widget->inherits(kind.toLatin1().constData()));
  QCOMPARE(captionOf(widget), caption);
  QCOMPARE(widget->geometry(), place);
  if (auto* radio = qobject_cast<QRadioButton*>(widget)) QCOMPARE(radio->isChecked(), checked);
}

void LayoutTest::labelPlaces_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("parent");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QPoint>("place");
  auto row = [](const char* name, const char* parent, const char* caption, QPoint place) {
    QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(parent)
                        << QString::fromLatin1(caption) << place;
  };
  row("Label17", "Form1", "Log output", {280, 16});
  row("Label1", "GroupBox2", "c1 =", {16, 24});
  row("Label2", "GroupBox2", "c2 =", {16, 48});
  row("Label3", "GroupBox2", "c3 =", {16, 72});
  row("labc4in", "GroupBox2", "c4 =", {16, 96});
  row("Label5", "GroupBox2", "k1 =", {136, 24});
  row("Label6", "GroupBox2", "k2 =", {136, 48});
  row("Label7", "GroupBox2", "k3 =", {136, 72});
  row("labk4in", "GroupBox2", "k4 =", {136, 96});
  row("Label9", "GroupBox3", "<= c1 <=", {103, 28});
  row("Label10", "GroupBox3", "<= c2 <=", {103, 53});
  row("Label11", "GroupBox3", "<= c3 <=", {103, 77});
  row("labc4lim", "GroupBox3", "<= c4 <=", {103, 100});
  row("Label13", "GroupBox3", "<= k1 <=", {103, 140});
  row("Label14", "GroupBox3", "<= k2 <=", {103, 165});
  row("Label15", "GroupBox3", "<= k3 <=", {103, 189});
  row("labk4lim", "GroupBox3", "<= k4 <=", {103, 211});
  row("Label12", "GroupBox5", "c1 =", {16, 24});
  row("Label16", "GroupBox5", "c2 =", {16, 48});
  row("Label18", "GroupBox5", "c3 =", {16, 72});
  row("lblc4p", "GroupBox5", "c4 =", {16, 96});
  row("lblk1p", "GroupBox5", "k1 =", {16, 120});
  row("Label25", "GroupBox5", "k2 =", {16, 144});
  row("Label26", "GroupBox5", "k3 =", {16, 168});
  row("lblk4p", "GroupBox5", "k4 =", {16, 192});
  row("lblc1", "GroupBox5", "", {48, 24});
  row("lblc2", "GroupBox5", "", {48, 48});
  row("lblc3", "GroupBox5", "", {48, 72});
  row("lblc4", "GroupBox5", "", {48, 96});
  row("lblk1", "GroupBox5", "", {48, 120});
  row("lblk2", "GroupBox5", "", {48, 144});
  row("lblk3", "GroupBox5", "", {48, 168});
  row("lblk4", "GroupBox5", "", {48, 192});
  row("Label4", "GroupBox4", "What do you want to do with the command ", {16, 20});
  row("Label8", "GroupBox4", "window when the optimization finishes?", {16, 36});
}

void LayoutTest::labelPlaces() {
  QFETCH(QString, name);
  QFETCH(QString, parent);
  QFETCH(QString, caption);
  QFETCH(QPoint, place);
  WindowHarness h;
  TForm1& form = h.open();
  auto* label = form.findChild<QLabel*>(name);
  QVERIFY(label);
  QCOMPARE(label->parentWidget()->objectName(), parent);
  QCOMPARE(label->text(), caption);
  QCOMPARE(label->pos(), place);
}

// The edits start with the coefficient defaults that the core's tables give.
void LayoutTest::editDefaultsAreTheCoefficientDefaults() {
  WindowHarness h;
  TForm1& form = h.open();
  for (const auto& coefficient : kCoefficients) {
    for (std::size_t kind = 0; kind < 3; ++kind) {
      QString name = QString::fromLatin1(coefficient.control[kind].data(),
                                         static_cast<qsizetype>(coefficient.control[kind].size()));
      auto* edit = form.findChild<QLineEdit*>(name);
      QVERIFY2(edit, qPrintable(name));
      QCOMPARE(edit->text().toStdString(), std::string(coefficient.defaultText[kind]));
      QCOMPARE(edit, form.coefficientEdit(coefficient.id, static_cast<ValueKind>(kind)));
    }
  }
}

void LayoutTest::fonts() {
  WindowHarness h;
  TForm1& form = h.open();
  QCOMPARE(form.font().family(), QStringLiteral("MS Sans Serif"));
  QCOMPARE(form.font().pixelSize(), 11);
  QVERIFY(form.Button2->font().bold());
  QVERIFY(!form.Button1->font().bold());
  QVERIFY(!form.c1in->font().bold());
  QCOMPARE(form.c1in->font().pixelSize(), 11);
  for (auto c : {Coefficient::c1, Coefficient::c2, Coefficient::c3, Coefficient::c4,
                 Coefficient::k1, Coefficient::k2, Coefficient::k3, Coefficient::k4}) {
    QLabel* value = form.resultLabel(c);
    QVERIFY(value->font().bold());
    QCOMPARE(value->font().pixelSize(), 11);
    QCOMPARE(value->palette().color(QPalette::WindowText), QColor(Qt::red));
  }
  QVERIFY(!form.Label12->font().bold());
  // The substitute keeps the text readable where the family itself is missing.
  QVERIFY(!QFont::substitutes(QStringLiteral("MS Sans Serif")).isEmpty());
}

void LayoutTest::tabOrder() {
  WindowHarness h;
  TForm1& form = h.open();
  const QStringList expected{"Button1",
                             "rb3",
                             "rb4",
                             "rbMax3Spring",
                             "rb3Kelvin",
                             "c1in",
                             "c2in",
                             "c3in",
                             "c4in",
                             "k1in",
                             "k2in",
                             "k3in",
                             "k4in",
                             "c1d",
                             "c1u",
                             "c2d",
                             "c2u",
                             "c3d",
                             "c3u",
                             "c4d",
                             "c4u",
                             "k1d",
                             "k1u",
                             "k2d",
                             "k2u",
                             "k3d",
                             "k3u",
                             "k4d",
                             "k4u",
                             "Button2",
                             "Memo1",
                             "rbCMDclose",
                             "rbCMDnotclose",
                             "Button3",
                             "Button4",
                             "Button5",
                             "rbSolverConopt",
                             "rbSolverEmp",
                             "rbSolverKnitro",
                             "rbSolverMinos",
                             "rbSolverSnop"};
  QStringList chain;
  QWidget* widget = form.Button1;
  do {
    if (widget->focusPolicy() & Qt::TabFocus) chain << widget->objectName();
    widget = widget->nextInFocusChain();
  } while (widget != form.Button1 && chain.size() <= expected.size());
  QCOMPARE(chain, expected);
}

void LayoutTest::logIsReadOnly() {
  WindowHarness h;
  TForm1& form = h.open();
  form.Memo1->append("kept");
  form.Memo1->setFocus();
  QTest::keyClicks(form.Memo1, "typed");
  QTest::keyClick(form.Memo1, Qt::Key_Backspace);
  QCOMPARE(h.log(), QStringList{"kept"});
  QVERIFY(form.Memo1->isReadOnly());
}

void LayoutTest::startUpState() {
  WindowHarness h;
  TForm1& form = h.open();
  QCOMPARE(buttonStates(form), QStringLiteral("10100"));
  QCOMPARE(settingsState(form), QStringLiteral("enabled"));
  QVERIFY(form.rb3->isChecked());
  QVERIFY(form.rbSolverConopt->isChecked());
  QVERIFY(form.rbCMDclose->isChecked());
  for (QWidget* control :
       {static_cast<QWidget*>(form.c4in), static_cast<QWidget*>(form.k4in),
        static_cast<QWidget*>(form.labc4in), static_cast<QWidget*>(form.labk4in),
        static_cast<QWidget*>(form.c4d), static_cast<QWidget*>(form.k4d),
        static_cast<QWidget*>(form.c4u), static_cast<QWidget*>(form.k4u),
        static_cast<QWidget*>(form.labc4lim), static_cast<QWidget*>(form.labk4lim),
        static_cast<QWidget*>(form.lblc4p), static_cast<QWidget*>(form.lblc4),
        static_cast<QWidget*>(form.lblk4p), static_cast<QWidget*>(form.lblk4)}) {
    QVERIFY2(control->isHidden(), qPrintable(control->objectName()));
  }
  QVERIFY(form.c3in->isVisible());
  QCOMPARE(h.shownColour(), pictureColour(VariantId::Maxwell3));
  QCOMPARE(ModelTemplate.name(), std::string("Maxwell3.gms"));
  QVERIFY(h.log().isEmpty());
  for (QLabel* value : {form.lblc1, form.lblc2, form.lblc3, form.lblk1}) {
    QVERIFY(value->text().isEmpty());
  }
  QVERIFY(h.dialogs.errors.empty());
  QCOMPARE(h.dialogs.dataFileAsked, 0);
}

// The pictures that the build draws are valid bitmaps of the picture box's size.
void LayoutTest::builtSchemaPicturesLoad() {
  WindowHarness h;
  QDir built(qEnvironmentVariable("TARVELIN_SCHEMAS_DIR"));
  for (const auto& variant : kVariants) {
    QString name = QString::fromLatin1(variant.schemaPicture.data(),
                                       static_cast<qsizetype>(variant.schemaPicture.size()));
    QFile::remove(name);
    QVERIFY2(QFile::copy(built.filePath(name), name), qPrintable(built.filePath(name)));
  }
  TForm1& form = h.open();
  for (const auto& variant : kVariants) {
    h.click(form.variantRadio(variant.id));
    QVERIFY(form.variantRadio(variant.id)->isChecked());
    QCOMPARE(form.Image1->pixmap().size(), QSize(233, 147));
  }
  QCOMPARE(h.dialogs.errors, std::vector<std::string>{});
}

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
