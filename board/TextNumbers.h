#pragma once
// Numbers read from text the way the program has always read them: stored
// settings and game-file items are untrusted text, so every conversion either
// yields a value in range or throws the classic error (13 type mismatch,
// 6 overflow) for the caller's error handler.
#include <cstdint>
#include <string>

namespace ZVK_Board_Sub {

// A whole text that is a decimal number (blanks around it allowed, a sign, a
// fraction and an exponent too); anything else is a type mismatch.
double ParseNumber(const std::string& text);

// A whole text that is a whole number as ParseNumber reads it ("12", "1.2e1"):
// a fraction or no number is a type mismatch, a value beyond 32 bits (an
// infinite one too) an overflow.
int32_t ParseWholeNumber(const std::string& text);

// The leading decimal number of a text, 0 when there is none ("12abc" is 12).
double Val(const std::string& text);

// Rounding to the nearest integer, halves to even; out of range is an overflow.
int32_t RoundToInt32(double value);
int16_t RoundToInt16(double value);

// "True"/"False" in any case, or a number (true when not 0).
bool ParseBoolean(const std::string& text);

// Plain decimal digits with an optional minus sign and surrounding blanks:
// the only form the game file's number items take.
int32_t ParseDecimalInt32(const std::string& text);

}  // namespace ZVK_Board_Sub
