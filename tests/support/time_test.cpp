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
  const struct { const char* name; double start; std::function<void()> wait; double end; } cases[] = {
      {"start rounded up", 10.6, [] { ZVK_Time::Wait(2); }, 13.0},
      {"start rounded down", 10.4, [] { ZVK_Time::Wait(2); }, 12.0},
      {"zero seconds", 10.2, [] { ZVK_Time::Wait(0); }, 10.2},
      {"seconds over midnight", 86399.6, [] { ZVK_Time::Wait(2); }, 2.0},
      {"milliseconds", 100.0, [] { ZVK_Time::WaitMilliseconds(500.0f); }, 100.5},
      {"milliseconds over midnight", 86399.8, [] { ZVK_Time::WaitMilliseconds(500.0f); }, 0.3},
  };
  for (const auto& c : cases) EXPECT_NEAR(WaitEnd(c.start, c.wait), c.end, 0.051) << c.name;
}

}  // namespace
