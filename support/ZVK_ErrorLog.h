#pragma once
// The error log: one file, "error.log" in the Common folder beside the program
// folder. Every failing procedure reports here and then returns or resumes as
// its own contract says; nothing here ever throws or shows a message.
// Qt-free header: the engine includes it.
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace ZVK_ErrorLog {

// One entry line: "<date time>  <title> : <product> v.<M.m.r>  <place>  <line>  <number>  <description>"
// showBox is accepted and has no effect.
void WriteErrorLog(int16_t showBox, const std::string& title, const std::string& place,
                   int32_t lineNumber, int32_t errNumber, const std::string& description);

// One free-form line, written as given.
void WriteLogLineText(const std::string& line);

// Values of a free-form or header line: each value after the first starts in
// the next print zone of 14 columns; trailing empty values add nothing.
std::string JoinLogValues(const std::vector<std::string>& values);

// Up to ten values of any printable type on one line.
template <class... T>
void WriteLogLine(const T&... values) {
  static_assert(sizeof...(T) <= 10, "WriteLogLine takes at most ten values");
  std::vector<std::string> texts;
  ((texts.push_back([&] {
     std::ostringstream out;
     out << values;
     return out.str();
   }())),
   ...);
  WriteLogLineText(JoinLogValues(texts));
}

// The seven-line header, written only when the log does not exist yet; it
// does not create the Common folder.
void WriteLogHeader();
// The seven lines themselves (without line ends).
std::vector<std::string> LogHeaderLines();

// Full path of the log file.
std::string ErrorLogPath();

// Formats the fixed entry line (without the line end).
std::string FormatEntryLine(const std::string& dateTime, const std::string& title,
                            const std::string& place, int32_t lineNumber, int32_t errNumber,
                            const std::string& description);

// What the main window shows after a logged error. The main window installs
// its implementation; nullptr switches the indicator off (tests, start-up).
// An error logged before any indicator is installed is shown as soon as one is.
class ErrorIndicator {
 public:
  virtual ~ErrorIndicator() = default;
  virtual void ShowErrorIndicator() = 0;  // colour &H8080FF, lblError visible
};
void SetErrorIndicator(ErrorIndicator* indicator);
// Errors reported by this run, whether or not the log could take them; the
// indicator shows only those the log holds.
long long ErrorsLogged();
// Starts a new run: no entries counted, no indicator. The program runs once
// per process; its test programs start each test as a run of its own.
void StartNewRun();

// Locale facts for the header.
int16_t SysLanguageID();          // Windows-style language identifier, 0 when unknown
std::string SysLanguageName();    // that language's name in English
std::string GetLocaleString(int32_t lcType);  // 0x1002 country (English), 4 native language, 8 native country
std::string Country();
std::string LanguageName();
std::string NativeCountryName();

// The next-version notice that features of a later version answer with.
// waitForAnswer false: shown without waiting for it to be answered, for a
// caller inside a transfer's wait that the notice must not hold up.
void InNextVersion(bool waitForAnswer = true);

}  // namespace ZVK_ErrorLog
