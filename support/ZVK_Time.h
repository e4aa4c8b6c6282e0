#pragma once
// Waits that keep the window alive: they yield to the message loop until the
// time has passed, so window events run during a wait. Time is read from a
// seconds-since-midnight clock; a wait that spans midnight still ends after
// its time.
// Qt-free header.
#include <cstdint>
#include <functional>
#include <string>

namespace ZVK_Time {

// Waits whole seconds from the clock rounded to the nearest second.
void Wait(int32_t seconds);
// Waits from the clock reading with its fraction.
void WaitMilliseconds(float milliseconds);

// Seconds since midnight, with fractions.
double Timer();

// Tests replace the clock (seconds since midnight); an empty function puts
// the real clock back. With a replaced clock the waits do not sleep.
void SetClock(std::function<double()> clock);

// The current date and time in the system's short formats (error log,
// correspondence files), and the date alone.
std::string NowText();
std::string DateText();

}  // namespace ZVK_Time
