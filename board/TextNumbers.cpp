#include "board/TextNumbers.h"

#include <cctype>
#include <cmath>
#include <limits>

#include "support/ErrorGuard.h"

namespace ZVK_Board_Sub {
namespace {

[[noreturn]] void TypeMismatch() { throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrTypeMismatch, "Type mismatch"); }
[[noreturn]] void Overflow() { throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrOverflow, "Overflow"); }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads the longest decimal number at text[i]; returns the index after it, or
// i when there is none.
size_t ScanNumber(const std::string& text, size_t i, double& value) {
  const size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) { ++i; ++digits; }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) { ++i; ++digits; }
  }
  if (digits == 0) return start;
  size_t end = i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const size_t expStart = j;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
    if (j > expStart) end = j;
  }
  value = std::strtod(text.substr(start, end - start).c_str(), nullptr);
  return end;
}

// The value of a whole text that is a decimal number: infinite when it is
// beyond a double's range, a type mismatch when it is no number.
double ParseUnbounded(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  double value = 0;
  const size_t end = ScanNumber(text, i, value);
  if (end == i) TypeMismatch();
  size_t j = end;
  while (j < text.size() && IsBlank(text[j])) ++j;
  if (j != text.size()) TypeMismatch();
  return value;
}

}  // namespace

double ParseNumber(const std::string& text) {
  const double value = ParseUnbounded(text);
  if (!std::isfinite(value)) TypeMismatch();
  return value;
}

int32_t ParseWholeNumber(const std::string& text) {
  const double value = ParseUnbounded(text);
  if (!std::isfinite(value)) Overflow();
  if (value != std::trunc(value)) TypeMismatch();
  return RoundToInt32(value);
}

double Val(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  double value = 0;
  if (ScanNumber(text, i, value) == i || !std::isfinite(value)) return 0;
  return value;
}

int32_t RoundToInt32(double value) {
  const double r = std::nearbyint(value);  // the default rounding mode rounds halves to even
  if (!(r >= std::numeric_limits<int32_t>::min() && r <= std::numeric_limits<int32_t>::max())) Overflow();
  return static_cast<int32_t>(r);
}

int16_t RoundToInt16(double value) {
  const double r = std::nearbyint(value);
  if (!(r >= std::numeric_limits<int16_t>::min() && r <= std::numeric_limits<int16_t>::max())) Overflow();
  return static_cast<int16_t>(r);
}

bool ParseBoolean(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  std::string word;
  for (size_t i = b; i < e; ++i) word += static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
  if (word == "true") return true;
  if (word == "false") return false;
  return ParseNumber(text) != 0;
}

int32_t ParseDecimalInt32(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && text[i] == '-') { negative = true; ++i; }
  int64_t value = 0;
  size_t digits = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
    value = value * 10 + (text[i] - '0');
    if (value > int64_t{1} << 32) Overflow();
    ++i;
    ++digits;
  }
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (digits == 0 || i != text.size()) TypeMismatch();
  if (negative) value = -value;
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) Overflow();
  return static_cast<int32_t>(value);
}

}  // namespace ZVK_Board_Sub
