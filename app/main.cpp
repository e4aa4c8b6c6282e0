// The executable: an application object, the start-up, then the window's events.
#include <QApplication>

#include "app/Castellan_Main.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  application.setQuitOnLastWindowClosed(false);  // the closing question decides when the program ends
  if (!Castellan_Main::Main()) return 0;
  const int code = application.exec();
  Castellan_Main::DestroyMainForm();
  return code;
}
