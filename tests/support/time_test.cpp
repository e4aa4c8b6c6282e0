#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "support/ZVK_Time.h"

namespace {

// Runs `wait` against a clock that moves 0.05 s at every reading and wraps at
// midnight; gives the reading at which the wait ended.
double WaitEnd(double start, const std::function<void()>& wait) {
  double now = start, last = start;
  ZVK_Time::SetClock([&] {
    last = now;
    now = std::fmod(now + 0.05, 86400.0);
    return last;
  });
  wait();
  ZVK_Time::SetClock({});
  return last;
}

TEST(Waits, EndAfterTheirTimeIncludingAcrossMidnight) {
  EXPECT_NEAR(WaitEnd(10.6, [] { ZVK_Time::Wait(2); }), 13.0, 0.051);  // whole seconds from the rounded start
  EXPECT_NEAR(WaitEnd(86399.8, [] { ZVK_Time::WaitMilliseconds(500.0f); }), 0.3, 0.051);
}

}  // namespace
