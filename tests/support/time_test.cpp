#include <gtest/gtest.h>

#include <vector>

#include "support/ZVK_Time.h"

namespace {

// A clock that moves a fixed step at every reading and wraps at midnight.
struct SteppingClock {
  double now;
  double step;
  int readings = 0;
  double operator()() {
    const double t = now;
    now += step;
    if (now >= 86400.0) now -= 86400.0;
    ++readings;
    return t;
  }
};

class Waits : public ::testing::Test {
 protected:
  void TearDown() override { ZVK_Time::SetClock({}); }
  // Installs the clock and returns the reading at which the wait ended.
  double Run(double start, double step, const std::function<void()>& wait) {
    auto clock = std::make_shared<SteppingClock>(SteppingClock{start, step});
    ZVK_Time::SetClock([clock] { return (*clock)(); });
    wait();
    // The wait read the clock one last time; that reading is one step back.
    double end = clock->now - step;
    if (end < 0) end += 86400.0;
    return end;
  }
};

TEST_F(Waits, EndAfterTheirTimeIncludingAcrossMidnight) {
  struct Case {
    const char* name;
    double start;
    std::function<void()> wait;
    double end;
  };
  const Case cases[] = {
      {"start rounded up", 10.6, [] { ZVK_Time::Wait(2); }, 13.0},
      {"start rounded down", 10.4, [] { ZVK_Time::Wait(2); }, 12.0},
      {"zero seconds", 10.2, [] { ZVK_Time::Wait(0); }, 10.2},
      {"seconds over midnight", 86399.6, [] { ZVK_Time::Wait(2); }, 2.0},
      {"milliseconds", 100.0, [] { ZVK_Time::WaitMilliseconds(500.0f); }, 100.5},
      {"milliseconds over midnight", 86399.8, [] { ZVK_Time::WaitMilliseconds(500.0f); }, 0.3},
  };
  for (const auto& c : cases) EXPECT_NEAR(Run(c.start, 0.05, c.wait), c.end, 0.051) << c.name;
}

}  // namespace
