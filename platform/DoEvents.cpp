#include "platform/DoEvents.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <chrono>

namespace platform {
namespace {
using Clock = std::chrono::steady_clock;
Clock::duration gInterval = std::chrono::milliseconds(4);
Clock::time_point gLastPass{};
bool gEnabled = true;
long long gPasses = 0;
}  // namespace

void DoEventsNow() {
  if (!gEnabled || QCoreApplication::instance() == nullptr) return;
  gLastPass = Clock::now();
  ++gPasses;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void DoEvents() {
  if (!gEnabled) return;
  if (Clock::now() - gLastPass < gInterval) return;
  DoEventsNow();
}

void SetYieldIntervalMs(int ms) { gInterval = std::chrono::milliseconds(ms < 0 ? 0 : ms); }
void SetYieldEnabled(bool enabled) { gEnabled = enabled; }
long long YieldPasses() { return gPasses; }

}  // namespace platform
