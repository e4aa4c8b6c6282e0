#pragma once
// Whether the program can open its windows. Without a desktop session Qt
// ends the process with an abort and advice to reinstall; the program says
// instead what it needs and ends with an exit code of its own.
#include <QApplication>
#include <memory>
#include <string>

namespace platform {

inline constexpr int kNoDisplayExitCode = 1;

// What the user is told when no display can be reached: empty when one may
// be (a display named in the environment, or a platform chosen on the
// command line or in QT_QPA_PLATFORM that needs none, such as "offscreen").
std::string NoDisplayAdvice(int argc, char** argv);

// Creates the application object. A platform that still fails to start (a
// named display that does not answer) ends the process with the advice and
// kNoDisplayExitCode instead of an abort. argc must outlive the application.
std::unique_ptr<QApplication> OpenApplication(int& argc, char** argv);

}  // namespace platform
