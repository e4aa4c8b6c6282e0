#pragma once
// Error handling as every procedure of the program does it: run the body; on
// any failure write one error-log entry with the procedure's place text, yield
// once to the message loop and return. The caller is never told.
//
//   void Initial_Game() {
//     Guarded("Initial_Game of Modul ZVK_Engine", [&] { ... });
//   }
//
// Procedures that must go on with their next statement after a failure wrap
// each statement group in its own Guarded call, with yield off.
// Qt-free header: the engine includes it.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace ZVK_ErrorLog {

// A runtime error with a classic error number ("Subscript out of range" is 9).
class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int32_t number, const std::string& description)
      : std::runtime_error(description), number_(number) {}
  int32_t number() const { return number_; }

 private:
  int32_t number_;
};

// Error numbers and descriptions for the failures the program raises.
inline constexpr int32_t kErrInvalidCall = 5;      // Invalid procedure call or argument
inline constexpr int32_t kErrOverflow = 6;         // Overflow
inline constexpr int32_t kErrOutOfMemory = 7;      // Out of memory
inline constexpr int32_t kErrSubscript = 9;        // Subscript out of range
inline constexpr int32_t kErrTypeMismatch = 13;    // Type mismatch
inline constexpr int32_t kErrPermissionDenied = 70;  // Permission denied
inline constexpr int32_t kErrFileNotFound = 53;    // File not found
inline constexpr int32_t kErrInputPastEnd = 62;    // Input past end of file
inline constexpr int32_t kErrPathAccess = 75;      // Path/File access error
inline constexpr int32_t kErrPathNotFound = 76;    // Path not found

// Logs the exception currently being handled under `place` (call inside a catch).
void LogCurrentException(const std::string& place, int32_t lineNumber = 0);

// The product name every handler passes as title ("Castellan").
std::string ApplicationTitle();

}  // namespace ZVK_ErrorLog

namespace platform { void DoEvents(); }

template <class F>
bool Guarded(const char* place, F&& body, bool yieldOnError = true) {
  try {
    body();
    return true;
  } catch (...) {
    ZVK_ErrorLog::LogCurrentException(place);
    if (yieldOnError) platform::DoEvents();
    return false;
  }
}
