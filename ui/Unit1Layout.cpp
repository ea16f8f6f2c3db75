// The window's layout: every control with its name, caption or text, place, size, font and
// tab order, and the binding of events to handlers.
#include <QFont>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui/ActivityMemo.h"
#include "ui/CommandGroupBox.h"
#include "ui/Unit1.h"

using tarvelin::ActivityMemo;
using tarvelin::CommandGroupBox;

namespace {

const char* const kFontFamily = "MS Sans Serif";
constexpr int kFontPixels = 11;

template <class W>
W* named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QGroupBox* makeGroup(QWidget* parent, const char* name, const char* caption, QRect place) {
  auto* box = named(new QGroupBox(QString::fromLatin1(caption), parent), name);
  box->setGeometry(place);
  return box;
}

// Labels size themselves to their text.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top) {
  auto* label = named(new QLabel(caption, parent), name);
  label->move(left, top);
  label->adjustSize();
  return label;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const char* text, int left, int top) {
  auto* edit = named(new QLineEdit(QString::fromLatin1(text), parent), name);
  edit->setGeometry(left, top, 65, 21);
  return edit;
}

QRadioButton* makeRadio(QWidget* parent, const char* name, const char* caption, QRect place) {
  auto* radio = named(new QRadioButton(QString::fromLatin1(caption), parent), name);
  radio->setGeometry(place);
  return radio;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, QRect place) {
  auto* button = named(new QPushButton(QString::fromLatin1(caption), parent), name);
  button->setGeometry(place);
  button->setAutoDefault(false);
  return button;
}

// A value label of the results: empty, red and bold until a load fills it.
QLabel* makeValueLabel(QWidget* parent, const char* name, int top) {
  auto* label = named(new QLabel(parent), name);
  label->setGeometry(48, top, 5, 13);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::red);
  label->setPalette(palette);
  return label;
}

QFont windowFont() {
  // Where the family is missing, these stand in for it, nearest in look first.
  QFont::insertSubstitutions(QString::fromLatin1(kFontFamily),
                             {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                              QStringLiteral("Liberation Sans"), QStringLiteral("FreeSans"),
                              QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
  QFont font(QString::fromLatin1(kFontFamily));
  font.setPixelSize(kFontPixels);
  font.setStyleHint(QFont::SansSerif);
  // The stand-ins run a little wider than the family itself; closer spacing keeps the longest
  // captions inside the widths that the layout gives them.
  if (QFontInfo(font).family() != QString::fromLatin1(kFontFamily)) {
    font.setLetterSpacing(QFont::PercentageSpacing, 96);
  }
  return font;
}

}  // namespace

void TForm1::createControls() {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Tarvelin, v. 08.2013"));
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(windowFont());
  setFixedSize(561, 779);
  move(329, 93);

  GroupBox1 = makeGroup(this, "GroupBox1", "Setting", {16, 16, 249, 257});
  GroupBox2 = makeGroup(this, "GroupBox2", "Initial solution", {16, 288, 249, 129});
  GroupBox3 = makeGroup(this, "GroupBox3", "Limits for coefficients", {16, 432, 249, 249});
  Label17 = makeLabel(this, "Label17", QStringLiteral("Log output"), 280, 16);
  Memo1 = named(new ActivityMemo(this), "Memo1");
  Memo1->setGeometry(280, 32, 265, 73);
  S = makeGroup(this, "S", "Optimization solver setup", {280, 120, 265, 73});
  GroupBox5 = makeGroup(this, "GroupBox5", "Results", {280, 208, 265, 225});
  GroupBox4 =
      named(new CommandGroupBox(QStringLiteral("Command window option"), this), "GroupBox4");
  GroupBox4->setGeometry(280, 448, 265, 89);
  Button1 = makeButton(this, "Button1", "Load data file and build the optimization model",
                       {280, 552, 265, 33});
  Button3 = makeButton(this, "Button3", "Option reset", {280, 600, 97, 33});
  Button2 = makeButton(this, "Button2", "Run optimization", {392, 600, 153, 33});
  QFont bold = Button2->font();
  bold.setBold(true);
  Button2->setFont(bold);
  Button2->setEnabled(false);
  Button4 = makeButton(this, "Button4", "Load results", {280, 648, 97, 33});
  Button5 = makeButton(this, "Button5", "Plot graphs with MATLAB", {392, 648, 153, 33});
  Label19 =
      makeLabel(this, "Label19",
                QStringLiteral("Tarvelin fits rheological models to measured data."), 16, 696);
  Label20 = makeLabel(this, "Label20", QStringLiteral("Made by the Tarvelin team."), 16, 712);
  Label21 = makeLabel(this, "Label21",
                      QStringLiteral("How to use it: see README.md, the documentation."), 16, 728);
  Label22 = makeLabel(this, "Label22", QStringLiteral("Help: README.md"), 296, 752);

  createSettingGroup();
  createInitialGroup();
  createLimitsGroup();
  createSolverGroup();
  createResultsGroup();
  createCommandGroup();
  chainTabOrder();
}

void TForm1::createSettingGroup() {
  QWidget* p = GroupBox1;
  rb3 = makeRadio(p, "rb3", "3 Maxwell elements", {8, 20, 113, 17});
  rb4 = makeRadio(p, "rb4", "4 Maxwell elements", {8, 38, 113, 17});
  rbMax3Spring = makeRadio(p, "rbMax3Spring", "3 Maxwell elements + spring in parallel order",
                           {8, 56, 225, 17});
  rb3Kelvin = makeRadio(p, "rb3Kelvin", "3 Kelvin elements in serial order", {8, 74, 193, 17});
  rb3->setChecked(true);
  // Drawn at its own size from the top-left corner, clipped to the box.
  Image1 = named(new QLabel(p), "Image1");
  Image1->setGeometry(8, 98, 233, 147);
  Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Image1->setScaledContents(false);
}

void TForm1::createInitialGroup() {
  QWidget* p = GroupBox2;
  Label1 = makeLabel(p, "Label1", QStringLiteral("c1 ="), 16, 24);
  Label2 = makeLabel(p, "Label2", QStringLiteral("c2 ="), 16, 48);
  Label3 = makeLabel(p, "Label3", QStringLiteral("c3 ="), 16, 72);
  labc4in = makeLabel(p, "labc4in", QStringLiteral("c4 ="), 16, 96);
  Label5 = makeLabel(p, "Label5", QStringLiteral("k1 ="), 136, 24);
  Label6 = makeLabel(p, "Label6", QStringLiteral("k2 ="), 136, 48);
  Label7 = makeLabel(p, "Label7", QStringLiteral("k3 ="), 136, 72);
  labk4in = makeLabel(p, "labk4in", QStringLiteral("k4 ="), 136, 96);
  c1in = makeEdit(p, "c1in", "1E7", 48, 21);
  c2in = makeEdit(p, "c2in", "-1E4", 48, 45);
  c3in = makeEdit(p, "c3in", "1E4", 48, 69);
  c4in = makeEdit(p, "c4in", "1E2", 48, 93);
  k1in = makeEdit(p, "k1in", "1E2", 168, 21);
  k2in = makeEdit(p, "k2in", "5E2", 168, 45);
  k3in = makeEdit(p, "k3in", "1.5E2", 168, 69);
  k4in = makeEdit(p, "k4in", "1E2", 168, 93);
}

void TForm1::createLimitsGroup() {
  QWidget* p = GroupBox3;
  c1d = makeEdit(p, "c1d", "-1E9", 16, 24);
  c1u = makeEdit(p, "c1u", "1E19", 168, 24);
  c2d = makeEdit(p, "c2d", "-1E9", 16, 48);
  c2u = makeEdit(p, "c2u", "1E19", 168, 48);
  c3d = makeEdit(p, "c3d", "-1E9", 16, 72);
  c3u = makeEdit(p, "c3u", "1E19", 168, 72);
  c4d = makeEdit(p, "c4d", "-1E9", 16, 96);
  c4u = makeEdit(p, "c4u", "1E19", 168, 96);
  k1d = makeEdit(p, "k1d", "-1E6", 16, 136);
  k1u = makeEdit(p, "k1u", "1E6", 168, 136);
  k2d = makeEdit(p, "k2d", "-1E6", 16, 160);
  k2u = makeEdit(p, "k2u", "1E6", 168, 160);
  k3d = makeEdit(p, "k3d", "-1E6", 16, 184);
  k3u = makeEdit(p, "k3u", "1E6", 168, 184);
  k4d = makeEdit(p, "k4d", "-1E6", 16, 208);
  k4u = makeEdit(p, "k4u", "1E6", 168, 208);
  Label9 = makeLabel(p, "Label9", QStringLiteral("<= c1 <="), 103, 28);
  Label10 = makeLabel(p, "Label10", QStringLiteral("<= c2 <="), 103, 53);
  Label11 = makeLabel(p, "Label11", QStringLiteral("<= c3 <="), 103, 77);
  labc4lim = makeLabel(p, "labc4lim", QStringLiteral("<= c4 <="), 103, 100);
  Label13 = makeLabel(p, "Label13", QStringLiteral("<= k1 <="), 103, 140);
  Label14 = makeLabel(p, "Label14", QStringLiteral("<= k2 <="), 103, 165);
  Label15 = makeLabel(p, "Label15", QStringLiteral("<= k3 <="), 103, 189);
  labk4lim = makeLabel(p, "labk4lim", QStringLiteral("<= k4 <="), 103, 211);
}

void TForm1::createSolverGroup() {
  QWidget* p = S;
  rbSolverConopt = makeRadio(p, "rbSolverConopt", "CONOPT", {16, 16, 113, 17});
  rbSolverEmp = makeRadio(p, "rbSolverEmp", "EMP", {16, 32, 113, 17});
  rbSolverKnitro = makeRadio(p, "rbSolverKnitro", "KNITRO", {16, 48, 113, 17});
  rbSolverMinos = makeRadio(p, "rbSolverMinos", "MINOS", {144, 16, 113, 17});
  rbSolverSnop = makeRadio(p, "rbSolverSnop", "SNOP", {144, 32, 113, 17});
  rbSolverConopt->setChecked(true);
}

void TForm1::createResultsGroup() {
  QWidget* p = GroupBox5;
  Label12 = makeLabel(p, "Label12", QStringLiteral("c1 ="), 16, 24);
  lblc1 = makeValueLabel(p, "lblc1", 24);
  Label16 = makeLabel(p, "Label16", QStringLiteral("c2 ="), 16, 48);
  lblc2 = makeValueLabel(p, "lblc2", 48);
  Label18 = makeLabel(p, "Label18", QStringLiteral("c3 ="), 16, 72);
  lblc3 = makeValueLabel(p, "lblc3", 72);
  lblc4p = makeLabel(p, "lblc4p", QStringLiteral("c4 ="), 16, 96);
  lblc4 = makeValueLabel(p, "lblc4", 96);
  lblk1p = makeLabel(p, "lblk1p", QStringLiteral("k1 ="), 16, 120);
  lblk1 = makeValueLabel(p, "lblk1", 120);
  Label25 = makeLabel(p, "Label25", QStringLiteral("k2 ="), 16, 144);
  lblk2 = makeValueLabel(p, "lblk2", 144);
  Label26 = makeLabel(p, "Label26", QStringLiteral("k3 ="), 16, 168);
  lblk3 = makeValueLabel(p, "lblk3", 168);
  lblk4p = makeLabel(p, "lblk4p", QStringLiteral("k4 ="), 16, 192);
  lblk4 = makeValueLabel(p, "lblk4", 192);
}

void TForm1::createCommandGroup() {
  QWidget* p = GroupBox4;
  Label4 =
      makeLabel(p, "Label4", QStringLiteral("What do you want to do with the command "), 16, 20);
  Label8 = makeLabel(p, "Label8", QStringLiteral("window when the optimization finishes?"), 16, 36);
  // The two lines of text take their own clicks, so that they do not reach the group box.
  Label4->setAttribute(Qt::WA_NoMousePropagation);
  Label8->setAttribute(Qt::WA_NoMousePropagation);
  rbCMDclose = makeRadio(p, "rbCMDclose", "close", {16, 56, 49, 17});
  rbCMDnotclose = makeRadio(p, "rbCMDnotclose", "do not close", {128, 56, 81, 17});
  rbCMDclose->setChecked(true);
}

// The focus moves through the window's controls by their tab order, into each group box's
// own controls by theirs.
void TForm1::chainTabOrder() {
  const std::vector<QWidget*> chain{
      Button1,  // 0
      rb3,
      rb4,
      rbMax3Spring,
      rb3Kelvin,  // 1: GroupBox1
      c1in,
      c2in,
      c3in,
      c4in,  // 2: GroupBox2
      k1in,
      k2in,
      k3in,
      k4in,  //
      c1d,
      c1u,
      c2d,
      c2u,  // 3: GroupBox3
      c3d,
      c3u,
      c4d,
      c4u,  //
      k1d,
      k1u,
      k2d,
      k2u,  //
      k3d,
      k3u,
      k4d,
      k4u,      //
      Button2,  // 4
      Memo1,    // 5
      rbCMDclose,
      rbCMDnotclose,  // 6: GroupBox4
      Button3,
      Button4,
      Button5,  // 7, 8, 9
      rbSolverConopt,
      rbSolverEmp,
      rbSolverKnitro,
      rbSolverMinos,
      rbSolverSnop,  // 11: S
  };
  for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}
