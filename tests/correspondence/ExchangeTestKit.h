#pragma once
// Helpers for the exchange tests.
#include "support/ZVK_Time.h"

namespace exchangetest {

// The runner waits a second after every command and three seconds after a
// failed one. While this object lives, the waits' clock runs ahead a quarter
// second at every reading, so those waits pass at once; the transfers
// themselves still take their real time.
class FastWaits {
 public:
  FastWaits() {
    ZVK_Time::SetClock([now = 1000.0]() mutable { return now += 0.25; });
  }
  ~FastWaits() { ZVK_Time::SetClock({}); }
  FastWaits(const FastWaits&) = delete;
  FastWaits& operator=(const FastWaits&) = delete;
};

}  // namespace exchangetest
