#pragma once
// The message-loop yield. Long work on the window's thread (engine search,
// waits, animations, transfers) calls DoEvents() often; it lets pending window
// events run, but at most once every few milliseconds, so that thousands of
// calls per search stay cheap while the window keeps repainting.
// Qt-free header: the engine includes it.

namespace platform {

// Let pending window events run (throttled).
void DoEvents();

// Let pending window events run now, regardless of the throttle.
void DoEventsNow();

// Minimum time between two real event-loop passes (default 4 ms).
void SetYieldIntervalMs(int ms);

// Switch the yield off entirely (benchmarks compare with and without it).
void SetYieldEnabled(bool enabled);

// Number of real event-loop passes made so far (for tests and benchmarks).
long long YieldPasses();

}  // namespace platform
