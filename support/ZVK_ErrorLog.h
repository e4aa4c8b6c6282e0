#pragma once
// The error log: one file, "error.log" in the Common folder beside the program
// folder. Every failing procedure reports here and then returns or resumes as
// its own contract says; nothing here ever throws or shows a message.
// Qt-free header: the engine includes it.
#include <cstdint>
#include <sstream>
#include <string>

namespace ZVK_ErrorLog {

// One entry line: "<date time>  <title> : <product> v.<M.m.r>  <place>  <line>  <number>  <description>"
// showBox is accepted and has no effect.
void WriteErrorLog(int16_t showBox, const std::string& title, const std::string& place,
                   int32_t lineNumber, int32_t errNumber, const std::string& description);

// One free-form line.
void WriteLogLineText(const std::string& line);

// Up to ten values of any printable type, written one after the other.
template <class... T>
void WriteLogLine(const T&... values) {
  static_assert(sizeof...(T) <= 10, "WriteLogLine takes at most ten values");
  std::ostringstream out;
  (out << ... << values);
  WriteLogLineText(out.str());
}

// The seven-line header, written only when the log does not exist yet.
void WriteLogHeader();

// Full path of the log file.
std::string ErrorLogPath();

// Formats the fixed entry line (without the line end); exposed for tests.
std::string FormatEntryLine(const std::string& dateTime, const std::string& title,
                            const std::string& place, int32_t lineNumber, int32_t errNumber,
                            const std::string& description);

// What the main window shows after a logged error. The main window installs
// its implementation; nullptr switches the indicator off (tests, start-up).
class ErrorIndicator {
 public:
  virtual ~ErrorIndicator() = default;
  virtual void ShowErrorIndicator() = 0;  // colour &H8080FF, lblError visible
};
void SetErrorIndicator(ErrorIndicator* indicator);

}  // namespace ZVK_ErrorLog
