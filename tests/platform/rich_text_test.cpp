#include "platform/RichText.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <string>

#include "tests/main/TestSupport.h"

using platform::RichTextDocument;
using platform::RichTextRun;

namespace {

RichTextDocument Doc(std::initializer_list<RichTextRun> runs) {
  RichTextDocument d;
  for (const auto& r : runs) d.Append(r.text, r.color);
  return d;
}

// Documents that must come back unchanged through our own writer and reader;
// the game file keeps the RTF text between double quotes, so none may appear.
TEST(RichTextRoundTrip, OwnOutputReadsBackToTheSameRuns) {
  const std::pair<const char*, RichTextDocument> cases[] = {
      {"empty", Doc({})},
      {"every record colour",
       Doc({{"1  White Pawn at E:2 to E:4\r\n", 0x80},
            {"2  Black Pawn at E:7 to E:5\r\n", 0},
            {"     changed to movement # 1\r\n", 0x8000},
            {"White King at E:1\r\n", 0xFF0000},
            {"CPU suggestion :\r\n", 0x800000}})},
      {"rtf specials", Doc({{"a\\b {c} d\\par e\r\n", 0x123456}})},
      {"double quotes and tabs", Doc({{"say \"hi\"\tnow\r\n", 0x80}})},
      {"latin, cjk and astral", Doc({{"caf\xc3\xa9 \xe6\xa3\x8b \xf0\x9f\x98\x80\r\n", 0}})},
      {"blank lines", Doc({{"\r\n\r\nx\r\n\r\n", 0x8000}})},
      {"no final line end", Doc({{"first\r\n", 0}, {"last", 0xFF}})},
      {"control characters", Doc({{std::string("a\x01" "b\x7f" "c", 5), 0}})},
  };
  for (const auto& [name, doc] : cases) {
    const std::string rtf = doc.ToRtf();
    EXPECT_EQ(RichTextDocument::FromRtf(rtf), doc) << name << "\n" << rtf;
    EXPECT_EQ(rtf.find('"'), std::string::npos) << name;
  }
}

// RTF from other writers: the text and colours we understand, the rest skipped.
TEST(RichTextReader, ReadsOtherWritersSubset) {
  struct Case {
    const char* name;
    const char* rtf;
    std::vector<RichTextRun> runs;
  };
  const Case cases[] = {
      {"wordpad style",
       "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\*\\generator Riched20 10.0;}"
       "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\n"
       "\\viewkind4\\uc1\\pard\\cf1\\f0\\fs20 red\\par\n\\cf2 green\\cf0\\par\n}",
       {{"red\r\n", 0x0000FF}, {"green", 0x008000}, {"\r\n", 0}}},
      {"hex and unicode escapes",
       "{\\rtf1\\ansi{\\colortbl;}caf\\'e9 \\u8364?\\uc2\\u8364xx!\\par}",
       {{"caf\xc3\xa9 \xe2\x82\xac\xe2\x82\xac!\r\n", 0}}},
      {"negative and paired \\u", "{\\rtf1 \\u-3937?\\u-10179?\\u-8704?}", {{"\xef\x82\x9f\xf0\x9f\x98\x80", 0}}},
      {"groups restore colour", "{\\rtf1{\\colortbl;\\red0\\green0\\blue128;}{\\cf1 x}y}", {{"x", 0x800000}, {"y", 0}}},
      {"text after the closing brace is ignored", "{\\rtf1 a}b", {{"a", 0}}},
      {"colour values kept to a byte", "{\\rtf1 {\\colortbl;\\red999\\green-5\\blue2;}\\cf1 a}", {{"a", 0x0200FF}}},
      {"plain text is black text", "just words\r\nand more", {{"just words\r\nand more", 0}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RichTextDocument::FromRtf(c.rtf).Runs(), c.runs) << c.name;
  }
}

TEST(RichTextReader, DamagedInputNeverCrashesOrLoops) {
  const std::vector<std::string> damaged = {
      "{\\rtf", "{\\rtf1 \\", "{\\rtf1 \\'", "{\\rtf1 \\'4", "{\\rtf1 \\u", "{\\rtf1 }}}}}}",
      "{\\rtf1 \\u99999999999999999999 a}", "{\\rtf1 \\cf99999999999 a}", "{\\rtf1 \\uc99999 \\u65 abc}",
      "{\\rtf1 {\\colortbl;\\red999\\green-5\\blue2;}\\cf1 a\\cf7 b}",
      "{\\rtf1 \\" + std::string(5000, 'a') + " text}",  // overlong control word
      "{\\rtf1 " + std::string(100000, '{') + "x",         // pathological nesting
      std::string("{\\rtf1 \0\xff\xfe", 9),
  };
  for (const auto& rtf : damaged) {
    const auto d = RichTextDocument::FromRtf(rtf);
    // Whatever was read must itself survive a round trip.
    EXPECT_EQ(RichTextDocument::FromRtf(d.ToRtf()), d);
  }
}

// A real RTF reader must read what we write: text and colours.
TEST(RichTextReader, UnrtfReadsOurOutput) {
  if (QProcess::execute("unrtf", {"--version"}) < 0) GTEST_SKIP() << "unrtf not installed";
  const char* const lines[] = {"1  White Pawn at E:2 to E:4", "2  Black Knight at B:8 to C:6 {x} \\ \"q\"",
                               "     changed to movement # 1", "White King at E:1"};
  const int32_t colours[] = {0x80, 0, 0x8000, 0xFF0000};
  RichTextDocument doc;
  for (int i = 0; i < 4; ++i) doc.Append(std::string(lines[i]) + "\r\n", colours[i]);
  QTemporaryDir dir;
  const std::string path = dir.path().toStdString() + "/record.rtf";
  testsupport::WriteFile(path, doc.ToRtf());
  auto run = [&](const QString& mode) {
    QProcess p;
    p.start("unrtf", {mode, QString::fromStdString(path)});
    EXPECT_TRUE(p.waitForFinished(20000));
    return p.readAllStandardOutput().toStdString();
  };
  // unrtf folds runs of blanks into one: compare without blanks.
  auto fold = [](std::string s) {
    std::erase(s, ' ');
    return s;
  };
  const std::string text = fold(run("--text"));
  for (const char* line : lines) EXPECT_NE(text.find(fold(line)), std::string::npos) << line << "\n" << text;
  const std::string html = run("--html");
  for (const char* colour : {"#800000", "#008000", "#0000ff"}) {
    EXPECT_NE(html.find(colour), std::string::npos) << colour << "\n" << html;
  }
}

}  // namespace
