// The executable: an application object, the start-up, then the window's events.
#include <QApplication>
#include <cstdio>

#include "app/Castellan_Main.h"
#include "platform/Display.h"

int main(int argc, char** argv) {
  // Without a desktop session there is nothing to show: say what is needed
  // before Qt gives up with an abort.
  if (const std::string advice = platform::NoDisplayAdvice(argc, argv); !advice.empty()) {
    std::fputs(advice.c_str(), stderr);
    return platform::kNoDisplayExitCode;
  }
  const auto application = platform::OpenApplication(argc, argv);
  application->setQuitOnLastWindowClosed(false);  // the closing question decides when the program ends
  if (!Castellan_Main::Main()) return 0;
  const int code = application->exec();
  Castellan_Main::DestroyMainForm();
  return code;
}
