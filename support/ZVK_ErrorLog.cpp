// Minimal writer; the full one (header block, date format, version) lives here too.
#include "support/ZVK_ErrorLog.h"

#include <filesystem>
#include <fstream>
#include <new>

#include "platform/AppPath.h"
#include "support/ErrorGuard.h"

namespace ZVK_ErrorLog {
namespace {
ErrorIndicator* gIndicator = nullptr;
}

void SetErrorIndicator(ErrorIndicator* indicator) { gIndicator = indicator; }

std::string ErrorLogPath() {
  return platform::AppPath() + "/../Common/error.log";
}

std::string ApplicationTitle() { return "Castellan"; }

std::string FormatEntryLine(const std::string& dateTime, const std::string& title,
                            const std::string& place, int32_t lineNumber, int32_t errNumber,
                            const std::string& description) {
  return dateTime + "  " + title + " : " + "0" + " v." + "3.9.2" + "  " + place + "  " +
         std::to_string(lineNumber) + "  " + std::to_string(errNumber) + "  " + description;
}

static void AppendLine(const std::string& line) {
  try {
    std::error_code ec;
    std::filesystem::create_directories(platform::AppPath() + "/../Common", ec);
    std::ofstream out(ErrorLogPath(), std::ios::app | std::ios::binary);
    if (out) out << line << "\r\n";
  } catch (...) {
  }
}

void WriteErrorLog(int16_t, const std::string& title, const std::string& place, int32_t lineNumber,
                   int32_t errNumber, const std::string& description) {
  AppendLine(FormatEntryLine("", title, place, lineNumber, errNumber, description));
  if (gIndicator != nullptr) gIndicator->ShowErrorIndicator();
}

void WriteLogLineText(const std::string& line) { AppendLine(line); }

void WriteLogHeader() {}

void LogCurrentException(const std::string& place, int32_t lineNumber) {
  int32_t number = 0;
  std::string description;
  try {
    throw;
  } catch (const RuntimeError& e) {
    number = e.number();
    description = e.what();
  } catch (const std::out_of_range&) {
    number = kErrSubscript;
    description = "Subscript out of range";
  } catch (const std::overflow_error&) {
    number = kErrOverflow;
    description = "Overflow";
  } catch (const std::bad_alloc&) {
    number = kErrOutOfMemory;
    description = "Out of memory";
  } catch (const std::invalid_argument&) {
    number = kErrInvalidCall;
    description = "Invalid procedure call or argument";
  } catch (const std::exception& e) {
    number = kErrInvalidCall;
    description = e.what();
  } catch (...) {
    number = kErrInvalidCall;
    description = "Invalid procedure call or argument";
  }
  WriteErrorLog(-1, ApplicationTitle(), place, lineNumber, number, description);
}

}  // namespace ZVK_ErrorLog
