#include "platform/RichText.h"

#include <gtest/gtest.h>

#include <string>

using platform::RichTextDocument;
using platform::RichTextRun;
using Runs = std::vector<RichTextRun>;

namespace {

RichTextDocument Doc(const Runs& runs) {
  RichTextDocument d;
  for (const auto& r : runs) d.Append(r.text, r.color);
  return d;
}

// Documents that must come back unchanged through our own writer and reader;
// the game file keeps the RTF text between double quotes, so none may appear.
// Line ends other than CR LF are characters of their own, never paragraphs.
TEST(RichTextRoundTrip, OwnOutputReadsBackToTheSameRuns) {
  const Runs cases[] = {
      {{"a\\b {c} d\\par e\r\n", 0x123456}, {"say \"hi\"\tnow\r\n\r\n", 0x80}, {"last", 0xFF}},
      {{"caf\xc3\xa9 \xe6\xa3\x8b \xf0\x9f\x98\x80\r\n", 0}},  // latin, cjk and astral
      {{"a\rb\nc\n\rd\r\r\ne\r", 0x80}},
  };
  for (const auto& runs : cases) {
    const std::string rtf = Doc(runs).ToRtf();
    EXPECT_EQ(RichTextDocument::FromRtf(rtf).Runs(), runs) << rtf;
    EXPECT_EQ(rtf.find('"'), std::string::npos) << rtf;
  }
  for (const char* rtf : {"{\\rtf1 a\\'0db\\'0ac\\'0d\\'0a\\par}", "{\\rtf1 \\u13?\\u10?x\\'0d}"}) {
    const auto read = RichTextDocument::FromRtf(rtf);
    EXPECT_EQ(RichTextDocument::FromRtf(read.ToRtf()), read) << rtf;
  }
}

// Malformed UTF-8 is text in the single-byte code page, byte by byte: an
// overlong form must not smuggle in a line end or a double quote, which the
// game file keeps the record between.
TEST(RichTextRoundTrip, MalformedUtf8IsReadByteByByte) {
  const std::pair<std::string, std::string> cases[] = {
      {"\xC0\x8D", "\xC3\x80\xC2\x8D"},                  // overlong CR
      {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},  // past U+10FFFF
  };
  for (const auto& [text, read] : cases) {
    EXPECT_EQ(RichTextDocument::FromRtf(Doc({{"<" + text + ">", 0}}).ToRtf()).Text(), "<" + read + ">");
    EXPECT_EQ(RichTextDocument::FromRtf(text).Text(), read);  // plain text that is not RTF, the same way
  }
}

// RTF from other writers: the text and colours we understand, the rest skipped.
TEST(RichTextReader, ReadsOtherWritersSubset) {
  const std::pair<const char*, Runs> cases[] = {
      {"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\*\\generator Riched20 10.0;}"
       "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\n"
       "\\viewkind4\\uc1\\pard\\cf1\\f0\\fs20 red\\par\n\\cf2 green\\cf0\\par\n}",
       {{"red\r\n", 0x0000FF}, {"green", 0x008000}, {"\r\n", 0}}},
      {"{\\rtf1\\ansi{\\colortbl;}caf\\'e9 \\u8364?\\uc2\\u8364xx!\\u-3937?\\par}",
       {{"caf\xc3\xa9 \xe2\x82\xac\xe2\x82\xac!\xef\x82\x9f\r\n", 0}}},
  };
  for (const auto& [rtf, runs] : cases) EXPECT_EQ(RichTextDocument::FromRtf(rtf).Runs(), runs) << rtf;
}

}  // namespace
