#pragma once
// What the program needs of a rich-text box: coloured text appended run by
// run, the plain text, and the whole content as RTF text and back. The RTF
// writer produces a small, standard subset (colour table, coloured runs,
// paragraphs, escapes); the reader takes that subset and skips what it does
// not know, so RTF from other writers still yields its text and colours.
// Colours are 24-bit values in blue-green-red order (0x0000FF is red).
// Qt-free header.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct RichTextRun {
  std::string text;   // UTF-8; a paragraph end is "\r\n"
  int32_t color = 0;  // 0x00BBGGRR
  bool operator==(const RichTextRun&) const = default;
};

class RichTextDocument {
 public:
  // Appends text in one colour; joins it to the last run when the colour is
  // the same, so equal documents have equal runs.
  void Append(const std::string& text, int32_t color);
  void Clear() { runs_.clear(); }
  bool Empty() const { return runs_.empty(); }

  const std::vector<RichTextRun>& Runs() const { return runs_; }
  std::string Text() const;

  // The whole document as RTF text.
  std::string ToRtf() const;

  // Replaces the content with the text and colours of an RTF text. Text that
  // does not start with "{\rtf" is taken as plain black text, as a rich-text
  // box takes it. Never fails: damaged RTF yields what could be read.
  void SetRtf(const std::string& rtf);
  static RichTextDocument FromRtf(const std::string& rtf);

  bool operator==(const RichTextDocument&) const = default;

 private:
  std::vector<RichTextRun> runs_;
};

// Text as well-formed UTF-8: each byte that does not start a well-formed
// sequence (an overlong form, a surrogate or a value past U+10FFFF included)
// is taken as its Windows-1252 character, as files from older versions hold it.
std::string WellFormedUtf8(const std::string& text);

// Text in that single-byte code page (Windows-1252), the one the game file's
// record declares and the exchanged text files are written in: a character
// the code page holds becomes its byte, any other becomes "?", the record's
// stand-in for readers of the code page. WellFormedUtf8 reads it back.
std::string ToCodePage(const std::string& utf8);

// RGB components of a blue-green-red colour value.
inline int ColorRed(int32_t c) { return c & 0xFF; }
inline int ColorGreen(int32_t c) { return (c >> 8) & 0xFF; }
inline int ColorBlue(int32_t c) { return (c >> 16) & 0xFF; }
inline int32_t ColorFromRgb(int r, int g, int b) {
  return static_cast<int32_t>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

}  // namespace platform
