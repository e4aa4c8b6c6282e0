#include "platform/Display.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace platform {
namespace {

std::string Advice(const char* program) {
  return std::string("Castellan needs a desktop session to show its window, and none could be reached.\n"
                     "Start it from a desktop session (X11 or Wayland), or without one through a virtual display:\n"
                     "    xvfb-run -a ") +
         (program != nullptr && *program != '\0' ? program : "castellan") + "\n";
}

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// The platform the application object will use: "-platform name" on the
// command line wins over QT_QPA_PLATFORM; only the first of a list counts,
// without its options ("offscreen:size=..." is "offscreen").
std::string ChosenPlatform(int argc, char** argv) {
  std::string chosen;
  for (int i = 1; i + 1 < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "-platform" || arg == "--platform") chosen = argv[i + 1];
  }
  if (chosen.empty() && Set("QT_QPA_PLATFORM")) chosen = std::getenv("QT_QPA_PLATFORM");
  chosen = chosen.substr(0, chosen.find(';'));
  return chosen.substr(0, chosen.find(':'));
}

std::string gOpeningAdvice;  // not empty while the application object is being created
QtMessageHandler gPrevious = nullptr;

void OnOpeningMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (!gOpeningAdvice.empty() && type == QtFatalMsg) {
    // Only the platform's start fails this early; Qt's own text advises
    // reinstalling, which does not help.
    std::fputs(gOpeningAdvice.c_str(), stderr);
    std::fflush(stderr);
    std::_Exit(kNoDisplayExitCode);
  }
  gPrevious(type, context, text);
}

}  // namespace

std::string NoDisplayAdvice(int argc, char** argv) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
  const std::string chosen = ChosenPlatform(argc, argv);
  const std::string advice = Advice(argc > 0 ? argv[0] : nullptr);
  // A Wayland platform asked for by name finds the compositor's default socket itself.
  if (chosen.rfind("wayland", 0) == 0) return {};
  if (chosen == "xcb") return Set("DISPLAY") ? std::string() : advice;
  if (!chosen.empty()) return {};  // offscreen, vnc, eglfs and the like need no desktop
  return Set("DISPLAY") || Set("WAYLAND_DISPLAY") ? std::string() : advice;
#else
  (void)argc;
  (void)argv;
  return {};
#endif
}

std::unique_ptr<QApplication> OpenApplication(int& argc, char** argv) {
  gOpeningAdvice = Advice(argc > 0 ? argv[0] : nullptr);
  gPrevious = qInstallMessageHandler(OnOpeningMessage);
  auto application = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(gPrevious);
  gOpeningAdvice.clear();
  return application;
}

}  // namespace platform
