#include "platform/RichText.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <string>

#include "tests/main/TestSupport.h"

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
      {},
      {{"1  White Pawn at E:2 to E:4\r\n", 0x80}, {"2  Black Pawn\r\n", 0}, {"White King at E:1\r\n", 0xFF0000}},
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
      {"\xC0\xA2", "\xC3\x80\xC2\xA2"},                  // overlong double quote
      {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},  // past U+10FFFF
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},          // well-formed stays
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
      {"{\\rtf1{\\colortbl;\\red0\\green0\\blue128;}{\\cf1 x}y}", {{"x", 0x800000}, {"y", 0}}},  // groups restore
      {"{\\rtf1 {\\colortbl;\\red999\\green-5\\blue2;}\\cf1 a}b", {{"a", 0x0200FF}}},  // bytes; text after the end
  };
  for (const auto& [rtf, runs] : cases) EXPECT_EQ(RichTextDocument::FromRtf(rtf).Runs(), runs) << rtf;
}

// Colour tables and records far larger than any game makes: a reader or
// writer that does work per colour at each brace or run never finishes these.
TEST(RichTextReader, HugeColourTablesAndRecordsAreReadAndWrittenWhole) {
  constexpr int kColors = 1'000'000;
  std::string rtf = "{\\rtf1{\\colortbl;\\red7;";
  for (int i = 0; i < kColors; ++i) rtf += ";{}";  // empty groups keep the table open
  rtf += "}\\cf1 first\\cf" + std::to_string(kColors + 1) + " last}";
  EXPECT_EQ(RichTextDocument::FromRtf(rtf).Runs(), (Runs{{"first", 7}, {"last", 0}}));

  constexpr int kRuns = 300'000;
  RichTextDocument many;
  for (int i = 0; i < kRuns; ++i) many.Append("x", i);
  const Runs read = RichTextDocument::FromRtf(many.ToRtf()).Runs();
  ASSERT_EQ(read.size(), static_cast<size_t>(kRuns));
  EXPECT_EQ(read.back(), (RichTextRun{"x", kRuns - 1}));
}

// A real RTF reader must read what we write: each line in its colour, escapes undone.
TEST(RichTextReader, UnrtfReadsOurOutput) {
  TEST_NEEDS(QProcess::execute("unrtf", {"--version"}) >= 0, "unrtf not installed");
  QTemporaryDir dir;
  const std::string path = dir.filePath("record.rtf").toStdString();
  testsupport::WriteFile(path, Doc({{"1 White Pawn at E:2 to E:4\r\n", 0x80}, {"2 Black Knight {x} \\ \"q\"\r\n", 0},
                                    {"White King at E:1\r\n", 0xFF0000}}).ToRtf());
  QProcess unrtf;
  unrtf.start("unrtf", {"--html", QString::fromStdString(path)});
  ASSERT_TRUE(unrtf.waitForFinished(20000));
  const std::string html = unrtf.readAllStandardOutput().toStdString();
  for (const char* part : {"#800000\">1 White Pawn at E:2 to E:4<br>", "#000000\">2 Black Knight {x} \\ &quot;q&quot;<br>",
                           "#0000ff\">White King at E:1<br>"})
    EXPECT_NE(html.find(part), std::string::npos) << part << "\n" << html;
}

}  // namespace
