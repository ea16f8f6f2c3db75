// The program `tarvelin`: the one window and its event loop.
#include <QApplication>

#include "run/TerminalLauncher.h"
#include "ui/QtDialogs.h"
#include "ui/Unit1.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  tarvelin::QtDialogs dialogs;
  tarvelin::TerminalLauncher launcher;
  // The creation handler runs inside the constructor; its error box comes before the window.
  TForm1 window(dialogs, launcher);
  Form1 = &window;
  window.show();
  int result = application.exec();
  Form1 = nullptr;
  return result;
}
