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
      {"seconds, start rounded up", 10.6, [] { ZVK_Time::Wait(2); }, 13.0},
      {"milliseconds over midnight", 86399.8, [] { ZVK_Time::WaitMilliseconds(500.0f); }, 0.3},
  };
  for (const auto& c : cases) EXPECT_NEAR(WaitEnd(c.start, c.wait), c.end, 0.051) << c.name;
}

}  // namespace
