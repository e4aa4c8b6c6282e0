#include "platform/RichText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <unordered_map>

namespace platform {
namespace {

// Windows-1252 code points for bytes 0x80..0x9F (0 where the byte is unused).
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t FromCp1252(unsigned char b) {
  if (b >= 0x80 && b < 0xA0) {
    const char32_t c = kCp1252High[b - 0x80];
    return c != 0 ? c : b;
  }
  return b;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[i]; a malformed byte stands for itself
// as a Windows-1252 character so that nothing is lost silently. Only the
// shortest form of a code point is UTF-8: an overlong form (C0 8D for CR),
// a surrogate or a value past U+10FFFF would let one character pass as
// another, so each is malformed too.
char32_t NextCodePoint(const std::string& text, size_t& i) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  int len = 0;
  char32_t c = 0;
  char32_t smallest = 0;
  if (b0 < 0x80) { ++i; return b0; }
  if ((b0 & 0xE0) == 0xC0) { len = 2; c = b0 & 0x1F; smallest = 0x80; }
  else if ((b0 & 0xF0) == 0xE0) { len = 3; c = b0 & 0x0F; smallest = 0x800; }
  else if ((b0 & 0xF8) == 0xF0) { len = 4; c = b0 & 0x07; smallest = 0x10000; }
  if (len == 0 || i + len > text.size()) { ++i; return FromCp1252(b0); }
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) { ++i; return FromCp1252(b0); }
    c = (c << 6) | (b & 0x3F);
  }
  if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) { ++i; return FromCp1252(b0); }
  i += len;
  return c;
}

void EscapeText(std::string& out, const std::string& text) {
  char buf[16];
  for (size_t i = 0; i < text.size();) {
    const char ch = text[i];
    if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      // Only CR LF ends a paragraph; a lone CR or LF is kept as its own
      // character below, so the text reads back exactly as it was.
      i += 2;
      out += "\\par\r\n";
      continue;
    }
    const char32_t c = NextCodePoint(text, i);
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\t') {
      out += "\\tab ";
    } else if (c == '"' || c < 0x20 || c == 0x7F) {
      // A double quote never appears raw: the game file keeps the RTF text
      // between double quotes.
      std::snprintf(buf, sizeof buf, "\\'%02x", static_cast<unsigned>(c));
      out += buf;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x10000) {
      std::snprintf(buf, sizeof buf, "\\u%d?", static_cast<int>(static_cast<int16_t>(c)));
      out += buf;
    } else {
      const char32_t v = c - 0x10000;
      std::snprintf(buf, sizeof buf, "\\u%d?", static_cast<int>(static_cast<int16_t>(0xD800 + (v >> 10))));
      out += buf;
      std::snprintf(buf, sizeof buf, "\\u%d?", static_cast<int>(static_cast<int16_t>(0xDC00 + (v & 0x3FF))));
      out += buf;
    }
  }
}

// ---- reader ----

class RtfReader {
 public:
  explicit RtfReader(const std::string& rtf) : s_(rtf) {}

  RichTextDocument Read() {
    size_t i = 0;
    while (i < s_.size()) {
      const char ch = s_[i];
      if (ch == '{') {
        ++i;
        stack_.push_back(st_);
        if (stack_.size() > kMaxDepth) st_.skip = true;  // pathological nesting: ignore its text
        st_.starDestination = false;
      } else if (ch == '}') {
        ++i;
        const bool wasInColorTable = st_.inColorTable;
        if (stack_.empty()) {
          if (wasInColorTable) FinishColorTable();
          break;
        }
        st_ = stack_.back();
        stack_.pop_back();
        // Only the brace that leaves the table ends it: groups inside it
        // (even empty ones) keep it open, and taking the table over at each of
        // them would cost its whole length per brace.
        if (wasInColorTable && !st_.inColorTable) FinishColorTable();
        pendingSkip_ = 0;
        if (stack_.empty()) break;  // the document's closing brace
      } else if (ch == '\\') {
        i = ControlAt(i + 1);
      } else if (ch == '\r' || ch == '\n') {
        ++i;  // line breaks of the RTF source carry no text
      } else {
        ++i;
        if (st_.inColorTable) {
          if (ch == ';') EndColorEntry();
        } else {
          Emit(FromCp1252(static_cast<unsigned char>(ch)));
        }
      }
    }
    FlushPending();
    return std::move(doc_);
  }

 private:
  static constexpr size_t kMaxDepth = 256;

  struct State {
    int colorIndex = 0;
    int uc = 1;
    bool skip = false;
    bool inColorTable = false;
    bool starDestination = false;
  };

  // Parses a control word or symbol starting after the backslash; returns the
  // index after it.
  size_t ControlAt(size_t i) {
    if (i >= s_.size()) return i;
    const char ch = s_[i];
    if (!std::isalpha(static_cast<unsigned char>(ch))) {
      switch (ch) {
        case '\\': case '{': case '}': Emit(static_cast<unsigned char>(ch)); return i + 1;
        case '\'': {
          if (i + 2 < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[i + 1])) &&
              std::isxdigit(static_cast<unsigned char>(s_[i + 2]))) {
            const int v = std::stoi(s_.substr(i + 1, 2), nullptr, 16);
            Emit(FromCp1252(static_cast<unsigned char>(v)));
            return i + 3;
          }
          return i + 1;
        }
        case '*': st_.starDestination = true; st_.skip = true; return i + 1;
        case '~': Emit(0xA0); return i + 1;
        case '_': Emit('-'); return i + 1;
        case '\r': case '\n': Paragraph(); return i + 1;
        default: return i + 1;  // \- \| \: and the like carry no text for us
      }
    }
    size_t j = i;
    while (j < s_.size() && std::isalpha(static_cast<unsigned char>(s_[j])) && j - i < 32) ++j;
    const std::string word = s_.substr(i, j - i);
    while (j < s_.size() && std::isalpha(static_cast<unsigned char>(s_[j]))) ++j;  // overlong word
    bool hasParam = false;
    long long param = 0;
    bool negative = false;
    if (j < s_.size() && s_[j] == '-' && j + 1 < s_.size() && std::isdigit(static_cast<unsigned char>(s_[j + 1]))) {
      negative = true;
      ++j;
    }
    int digits = 0;
    while (j < s_.size() && std::isdigit(static_cast<unsigned char>(s_[j]))) {
      if (digits < 10) param = param * 10 + (s_[j] - '0');
      ++digits;
      ++j;
      hasParam = true;
    }
    if (negative) param = -param;
    if (j < s_.size() && s_[j] == ' ') ++j;  // the delimiting blank belongs to the word
    Word(word, hasParam, param);
    return j;
  }

  void Word(const std::string& w, bool hasParam, long long param) {
    if (st_.inColorTable) {
      const int v = static_cast<int>(std::clamp<long long>(param, 0, 255));
      if (w == "red") red_ = v;
      else if (w == "green") green_ = v;
      else if (w == "blue") blue_ = v;
      return;
    }
    if (w == "colortbl") {
      st_.inColorTable = true;
      colors_.clear();
      red_ = green_ = blue_ = 0;
      return;
    }
    if (w == "fonttbl" || w == "stylesheet" || w == "info" || w == "pict" || w == "object" ||
        w == "header" || w == "footer" || w == "headerl" || w == "headerr" || w == "footerl" ||
        w == "footerr" || w == "field" || w == "fldinst" || w == "listtable" ||
        w == "listoverridetable" || w == "rsidtbl" || w == "generator" || w == "themedata" ||
        w == "colorschememapping" || w == "latentstyles" || w == "datastore" || w == "xmlnstbl") {
      st_.skip = true;
      return;
    }
    if (w == "par" || w == "line" || w == "sect" || w == "page") { Paragraph(); return; }
    if (w == "tab") { Emit('\t'); return; }
    if (w == "cf") { st_.colorIndex = hasParam ? static_cast<int>(std::clamp<long long>(param, 0, 1 << 20)) : 0; return; }
    if (w == "plain") { st_.colorIndex = 0; return; }
    if (w == "uc") { st_.uc = static_cast<int>(std::clamp<long long>(param, 0, 16)); return; }
    if (w == "u") {
      long long v = param;
      if (v < 0) v += 65536;
      EmitUnit(static_cast<char32_t>(std::clamp<long long>(v, 0, 0xFFFF)));
      pendingSkip_ = st_.uc;
      return;
    }
    if (w == "emdash") { Emit(0x2014); return; }
    if (w == "endash") { Emit(0x2013); return; }
    if (w == "lquote") { Emit(0x2018); return; }
    if (w == "rquote") { Emit(0x2019); return; }
    if (w == "ldblquote") { Emit(0x201C); return; }
    if (w == "rdblquote") { Emit(0x201D); return; }
    if (w == "bullet") { Emit(0x2022); return; }
  }

  void EndColorEntry() {
    colors_.push_back(ColorFromRgb(red_, green_, blue_));
    red_ = green_ = blue_ = 0;
  }

  void FinishColorTable() {
    table_ = colors_;
    haveTable_ = true;
  }

  int32_t CurrentColor() const {
    const int idx = st_.colorIndex;
    if (!haveTable_ || idx <= 0 || idx >= static_cast<int>(table_.size())) {
      // \cf0 and unknown indexes mean the automatic colour, black in a record box.
      return (haveTable_ && idx == 0 && !table_.empty()) ? table_[0] : 0;
    }
    return table_[idx];
  }

  bool Silent() const { return st_.skip || st_.inColorTable; }

  void Paragraph() {
    if (Silent()) return;
    pendingSkip_ = 0;
    FlushPending();
    doc_.Append("\r\n", CurrentColor());
  }

  // Text characters after a \u take the place of its fallback characters.
  void Emit(char32_t c) {
    if (Silent()) return;
    if (pendingSkip_ > 0) { --pendingSkip_; return; }
    EmitUnit(c);
  }

  void EmitUnit(char32_t c) {
    if (Silent()) return;
    if (c >= 0xD800 && c <= 0xDBFF) { FlushPending(); highSurrogate_ = c; return; }
    std::string out;
    if (c >= 0xDC00 && c <= 0xDFFF && highSurrogate_ != 0) {
      AppendUtf8(out, 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (c - 0xDC00));
      highSurrogate_ = 0;
    } else {
      FlushPending();
      AppendUtf8(out, c);
    }
    doc_.Append(out, CurrentColor());
  }

  void FlushPending() {
    if (highSurrogate_ != 0) {
      highSurrogate_ = 0;
      std::string out;
      AppendUtf8(out, 0xFFFD);
      doc_.Append(out, CurrentColor());
    }
  }

  const std::string& s_;
  RichTextDocument doc_;
  State st_;
  std::vector<State> stack_;
  std::vector<int32_t> colors_;
  std::vector<int32_t> table_;
  bool haveTable_ = false;
  int red_ = 0, green_ = 0, blue_ = 0;
  int pendingSkip_ = 0;
  char32_t highSurrogate_ = 0;
};

}  // namespace

std::string WellFormedUtf8(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) AppendUtf8(out, NextCodePoint(text, i));
  return out;
}

std::string ToCodePage(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const char32_t c = NextCodePoint(utf8, i);
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += static_cast<char>(c);
      continue;
    }
    const auto high = std::find(kCp1252High.begin(), kCp1252High.end(), c);
    if (high != kCp1252High.end()) {
      out += static_cast<char>(0x80 + (high - kCp1252High.begin()));
    } else if (c >= 0x80 && c < 0xA0 && kCp1252High[c - 0x80] == 0) {
      out += static_cast<char>(c);  // the five unused bytes stand for themselves, as they are read
    } else {
      out += '?';
    }
  }
  return out;
}

void RichTextDocument::Append(const std::string& text, int32_t color) {
  if (text.empty()) return;
  color &= 0xFFFFFF;
  if (!runs_.empty() && runs_.back().color == color) {
    runs_.back().text += text;
  } else {
    runs_.push_back({text, color});
  }
}

std::string RichTextDocument::Text() const {
  std::string out;
  for (const auto& r : runs_) out += r.text;
  return out;
}

std::string RichTextDocument::ToRtf() const {
  // Colour table entries after the automatic one, in order of first use; a
  // record may hold very many runs, so each colour's entry is looked up, not
  // searched for.
  std::vector<int32_t> table;
  std::unordered_map<int32_t, int> entryOf;
  for (const auto& r : runs_) {
    if (entryOf.try_emplace(r.color, static_cast<int>(table.size()) + 1).second) table.push_back(r.color);
  }
  std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans Serif;}}\r\n";
  out += "{\\colortbl ;";
  char buf[64];
  for (int32_t c : table) {
    std::snprintf(buf, sizeof buf, "\\red%d\\green%d\\blue%d;", ColorRed(c), ColorGreen(c), ColorBlue(c));
    out += buf;
  }
  out += "}\r\n\\viewkind4\\uc1\\pard\\f0\\fs17 ";
  for (const auto& r : runs_) {
    std::snprintf(buf, sizeof buf, "\\cf%d ", entryOf.at(r.color));
    out += buf;
    EscapeText(out, r.text);
  }
  out += "}\r\n";
  return out;
}

void RichTextDocument::SetRtf(const std::string& rtf) {
  size_t start = 0;
  while (start < rtf.size() && std::isspace(static_cast<unsigned char>(rtf[start]))) ++start;
  if (rtf.compare(start, 5, "{\\rtf") != 0) {
    runs_.clear();
    // A rich-text box shows every byte of plain text; keep the text UTF-8 as
    // the rest of the document is, so the same text comes back after saving.
    Append(WellFormedUtf8(rtf), 0);
    return;
  }
  *this = RtfReader(rtf).Read();
}

RichTextDocument RichTextDocument::FromRtf(const std::string& rtf) {
  RichTextDocument d;
  d.SetRtf(rtf);
  return d;
}

}  // namespace platform
