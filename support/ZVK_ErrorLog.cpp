#include "support/ZVK_ErrorLog.h"

#include <filesystem>
#include <fstream>
#include <new>

#include "platform/AppPath.h"
#include "support/AppIdentity.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_File_Dir.h"
#include "support/ZVK_GetSystemInfos.h"
#include "support/ZVK_Time.h"
#include "support/ZVK_Version.h"

namespace ZVK_ErrorLog {
namespace {

ErrorIndicator* gIndicator = nullptr;
long long gErrorsLogged = 0;
long long gEntriesWritten = 0;

constexpr size_t kPrintZone = 14;

std::string CommonDir() {
  return ZVK_File_Dir::sFixDirString(platform::AppPath()) + ".." + platform::kSep + "Common";
}

// Opens, writes one line and closes; a log that cannot be written loses the
// line. The Common folder is made here directly rather than through the
// folder helpers: they yield to the message loop and log their own failures,
// and an entry must be written within one call, without letting an event log
// another one in between.
bool AppendLine(const std::string& line) {
  try {
    std::error_code ec;
    std::filesystem::create_directories(CommonDir(), ec);
    std::ofstream out(ErrorLogPath(), std::ios::app | std::ios::binary);
    if (!out) return false;
    out << line << "\r\n";
    out.close();
    return !out.fail();
  } catch (...) {
    return false;
  }
}

}  // namespace

void SetErrorIndicator(ErrorIndicator* indicator) {
  gIndicator = indicator;
  // An error during start-up comes before the main window exists; it still
  // has to show once the window is there.
  if (gIndicator != nullptr && gEntriesWritten > 0) gIndicator->ShowErrorIndicator();
}

long long ErrorsLogged() { return gErrorsLogged; }

void StartNewRun() {
  gIndicator = nullptr;
  gErrorsLogged = 0;
}

std::string ErrorLogPath() { return CommonDir() + platform::kSep + "error.log"; }

std::string ApplicationTitle() { return ZVK_Identity::gAppName; }

std::string FormatEntryLine(const std::string& dateTime, const std::string& title,
                            const std::string& place, int32_t lineNumber, int32_t errNumber,
                            const std::string& description) {
  return dateTime + "  " + title + " : " + ZVK_Identity::gProductNumber + " v." +
         ZVK_Version::VersionText() + "  " + place + "  " + std::to_string(lineNumber) + "  " +
         std::to_string(errNumber) + "  " + description;
}

std::string JoinLogValues(const std::vector<std::string>& values) {
  size_t count = values.size();
  while (count > 0 && values[count - 1].empty()) --count;
  std::string line;
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) line.append(kPrintZone - line.size() % kPrintZone, ' ');
    line += values[i];
  }
  return line;
}

void WriteErrorLog(int16_t, const std::string& title, const std::string& place, int32_t lineNumber,
                   int32_t errNumber, const std::string& description) {
  bool written = false;
  try {
    written = AppendLine(FormatEntryLine(ZVK_Time::NowText(), title, place, lineNumber, errNumber, description));
  } catch (...) {
  }
  ++gErrorsLogged;
  // The indicator leads to the log: it lights only for an entry the log
  // really holds. Where the log cannot be written (a tree installed by
  // another user), the failures the user must know of are shown on screen.
  if (!written) return;
  ++gEntriesWritten;
  if (gIndicator != nullptr) {
    try {
      gIndicator->ShowErrorIndicator();
    } catch (...) {
    }
  }
}

void WriteLogLineText(const std::string& line) { AppendLine(line); }

std::vector<std::string> LogHeaderLines() {
  namespace S = ZVK_GetSystemInfos;
  using ZVK_Identity::gCompanyName, ZVK_Identity::gMachineID, ZVK_Identity::gProductNumber,
      ZVK_Identity::gUserName;
  const std::string winName = S::GetWinVersion();
  const S::OsVersionInfo& v = S::gOsVersionInfo;
  return {
      "########  z.v.k error log file - created " + ZVK_Time::NowText(),
      JoinLogValues({gProductNumber, gUserName, gMachineID, gCompanyName}),
      JoinLogValues({std::to_string(SysLanguageID()), SysLanguageName()}),
      JoinLogValues({Country(), LanguageName(), NativeCountryName()}),
      JoinLogValues({S::GetSysDir(), S::GetWinDir(), platform::AppPath()}),
      JoinLogValues({std::to_string(v.dwMajorVersion), std::to_string(v.dwMinorVersion),
                     std::to_string(v.dwBuildNumber), std::to_string(v.dwPlatformId), winName}),
      "########  End of Header  ##########",
  };
}

void WriteLogHeader() {
  try {
    if (ZVK_File_Dir::FileExists(ErrorLogPath())) return;
    std::error_code ec;
    if (!std::filesystem::is_directory(CommonDir(), ec)) return;
    const std::vector<std::string> lines = LogHeaderLines();
    std::ofstream out(ErrorLogPath(), std::ios::trunc | std::ios::binary);
    for (const std::string& line : lines) out << line << "\r\n";
  } catch (...) {
  }
}

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
