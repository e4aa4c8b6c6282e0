#pragma once
// What the window benchmarks share: a private program tree and settings, and
// the measure of the window's responsiveness (the longest gap between two
// handled ticks of a 1 ms timer while some work runs).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/fMainForm.h"
#include "platform/AppPath.h"
#include "platform/MessageBox.h"

namespace benchsupport {

// Points the program folder and the settings stores into the temporary
// folder, so a measurement writes nothing of the user's.
inline void UsePrivateProgramTree(const QTemporaryDir& tree) {
  const std::string root = tree.path().toStdString();
  setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
  setenv("CASTELLAN_MACHINE_DIR", (root + "/machine").c_str(), 1);
  QDir().mkpath(tree.path() + "/Castellan");
  QDir().mkpath(tree.path() + "/Common");
  platform::SetAppPath(root + "/Castellan");
}

// Runs the work while a 1 ms timer ticks; the longest gap between handled
// ticks in nanoseconds (the gap that ends with the work counts too). `ticks`
// counts the handled ticks.
inline qint64 LongestEventGap(const std::function<void()>& work, long long* ticks = nullptr) {
  QElapsedTimer clock;
  qint64 last = 0;
  qint64 longest = 0;
  QTimer tick;
  tick.setTimerType(Qt::PreciseTimer);
  tick.setInterval(1);
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    longest = std::max(longest, now - last);
    last = now;
    if (ticks != nullptr) ++*ticks;
  });
  tick.start();
  clock.start();
  work();
  longest = std::max(longest, clock.nsecsElapsed() - last);
  tick.stop();
  return longest;
}

inline const char* Offscreen() {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  return "";
}

// The application of a window benchmark on a private program tree, with
// every message box answered by its first button.
class WindowBench {
 public:
  WindowBench(int& argc, char** argv) : application_((Offscreen(), argc), argv) { UsePrivateProgramTree(tree_); }

  // Makes the main window, lets `adjust` set it up, runs the registered
  // benchmarks against it (window points to it meanwhile) and closes it.
  int Run(int& argc, char** argv, app::fMainForm*& window,
          const std::function<void(app::fMainForm&)>& adjust = {}) {
    auto form = std::make_unique<app::fMainForm>();
    form->Form_Initialize();
    if (adjust) adjust(*form);
    window = form.get();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    window = nullptr;
    return 0;
  }

 private:
  QApplication application_;
  QTemporaryDir tree_;
  platform::ScriptedAnswerer answers_;
};

}  // namespace benchsupport
