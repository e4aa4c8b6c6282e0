#include "support/ZVK_Time.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <chrono>
#include <cmath>
#include <thread>

#include "platform/DoEvents.h"
#include "support/ErrorGuard.h"

namespace ZVK_Time {
namespace {

std::function<double()> gClock;

// Reads the clock and carries it over midnight: a reading below the previous
// one means the day has turned.
class DayClock {
 public:
  DayClock() : last_(Timer()) {}
  double Start() const { return last_; }
  double Now() {
    const double t = Timer();
    if (!std::isfinite(t)) throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrOverflow, "Overflow");
    if (t < last_ - 1.0) offset_ += 86400.0;
    last_ = t;
    return t + offset_;
  }

 private:
  double last_;
  double offset_ = 0.0;
};

void Round() {
  platform::DoEvents();
  // The real clock moves by itself; sleeping a little keeps the loop from
  // burning a whole core without making the window any less responsive.
  if (!gClock) std::this_thread::sleep_for(std::chrono::microseconds(500));
}

void WaitUntil(DayClock& clock, double end) {
  while (clock.Now() < end) Round();
  platform::DoEventsNow();
}

QString ShortDateFormat() { return QLocale::system().dateFormat(QLocale::ShortFormat); }

QString TimeFormat() {
  // The long time format without its time-zone part.
  QString format = QLocale::system().timeFormat(QLocale::LongFormat);
  format.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
  return format.trimmed();
}

}  // namespace

double Timer() {
  if (gClock) return gClock();
  return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void SetClock(std::function<double()> clock) { gClock = std::move(clock); }

void Wait(int32_t seconds) {
  Guarded("Wait of Modul ZVK_Time", [&] {
    DayClock clock;
    const double start = std::nearbyint(clock.Start());
    WaitUntil(clock, start + seconds);
  });
}

void WaitMilliseconds(float milliseconds) {
  Guarded("Wait of Modul ZVK_Time", [&] {
    if (!std::isfinite(milliseconds))
      throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrOverflow, "Overflow");
    DayClock clock;
    WaitUntil(clock, clock.Start() + static_cast<double>(milliseconds) / 1000.0);
  });
}

std::string NowText() {
  const QDateTime now = QDateTime::currentDateTime();
  const QLocale locale = QLocale::system();
  return (locale.toString(now.date(), ShortDateFormat()) + " " + locale.toString(now.time(), TimeFormat()))
      .toStdString();
}

std::string DateText() {
  return QLocale::system().toString(QDate::currentDate(), ShortDateFormat()).toStdString();
}

}  // namespace ZVK_Time
