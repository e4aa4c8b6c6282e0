#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "correspondence/ExchangeFiles.h"
#include "support/ZVK_Time.h"
#include "tests/main/TestSupport.h"

using namespace correspondence;

namespace {

class ExchangeFilesTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return tree.programDir() + "/InternetGame/" + name; }
  testsupport::ProgramTree tree;
};

// Every file the partner's program reads, byte for byte and line by line, in
// the single-byte code page: a writer and reader that agreed on a wrong line
// order or on UTF-8 would pass any round trip of our own.
TEST_F(ExchangeFilesTest, FilesThePartnerReadsHaveTheirLayoutInTheCodePage) {
  const std::string today = ZVK_Time::DateText();
  struct Row {
    const char* file;
    std::function<void(const std::string&)> write;
    std::vector<std::string> lines;  // bytes as the partner reads them
  };
  const Row rows[] = {
      {"offered/00012345626020314050000n.txt",
       [](const std::string& p) {
         testsupport::WriteFile(p, "an offer made before in the same minute\r\n");  // replaced
         // A line break typed into a value must not shift the lines after it.
         WriteOfferInfoFile(p, {"ignored", "0001234562602031405", "Jane\r\nM\xC3\xBCller", "\xC3\x96sterreich",
                                "Deutsch", "16777215", "female", "41", ""});
         AppendOfferOpeningMove(p, "1  White Pawn at E:2 to E:4\r\n");  // a record line keeps its line end
       },
       {today, "0001234562602031405", "Jane  M\xFCller", "\xD6sterreich", "Deutsch", "16777215", "female", "41",
        "1  White Pawn at E:2 to E:4"}},
      {"joined/00012345626020314050000j.txt",
       [](const std::string& p) {  // joined twice: the first join stays ahead
         WriteJoinInfoFile(p, {"", "000654321", "Tom", "France", "Fran\xC3\xA7" "ais", "0", "male", "33"});
         WriteJoinInfoFile(p, {"", "000654321", "Tom again", "Spain", "Espa\xC3\xB1ol", "16777215", "", "34"});
       },
       {today, "000654321", "Tom", "France", "Fran\xE7" "ais", "0", "male", "33",
        today, "000654321", "Tom again", "Spain", "Espa\xF1ol", "16777215", "", "34"}},
      {"00012345626020314050007m.txt",
       [](const std::string& p) {  // a second note of the same half-move replaces the first
         WriteMoveNoteFile(p, {"", "000123456", "an older comment", "4  Black Pawn"});
         WriteMoveNoteFile(p, {"", "000123456", "first line\r\n\xE2\x82\xAC 5 \xE6\x97\xA5", "7  White Knight at G:1 to F:3\r\n"});
       },
       // The comment's lines as typed; what the code page cannot hold is "?".
       {today, "000123456", "first line", "\x80 5 ?", "7  White Knight at G:1 to F:3"}},
      {"closed/00012345626020314050000c.txt",
       [](const std::string& p) { WriteClosedGameFile(p, {"", "000123456", "Zo\xC3\xAB"}); },
       {today, "000123456", "Zo\xEB"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    const std::string path = Path(row.file);  // its folder is made on the way
    row.write(path);
    std::string bytes;
    for (const std::string& line : row.lines) bytes += line + "\r\n";
    EXPECT_EQ(testsupport::ReadFile(path), bytes);
  }
  // Our reader of offers gives the values back as typed.
  const OfferInfo offer = ReadOfferInfoFile(Path(rows[0].file));
  EXPECT_EQ(std::vector({offer.nickname, offer.country, offer.openingMove}),
            std::vector<std::string>({"Jane  M\xC3\xBCller", "\xC3\x96sterreich", "1  White Pawn at E:2 to E:4"}));
}

TEST(ExchangeFileReaders, ValuesFromAnotherPcArePlainTextOfBoundedLength) {
  const std::string longName = std::string(255, 'a') + "\xc3\xa9" + "zzz";  // a two-byte letter across the cut
  const std::tuple<std::string, std::string, std::string, std::string> cases[] = {  // bytes, id, nickname, age
      {"d\n0001234562602031405\nJane\nDE\nde\n0\nmale\n41\n", "0001234562602031405", "Jane", "41"},
      {"d\r1\rJane\rDE\rde\r0\rmale\r41\r", "1", "Jane", "41"},
      {std::string("d\r\n1\r\nJa\x1b[31mne\b\x07\0x\r\n", 21) + "DE\r\nde\r\n0\r\nm\r\n4\x7f" "1\r\n", "1", "Ja[31mnex", "41"},
      {"d\r\n1\r\n" + longName + "\r\n", "1", std::string(255, 'a'), ""},
      {"d\r\n1\r\nJ\xFCrgen\r\nDE\r\nde\r\n0\r\nm\r\n4\xB9\r\n", "1", "J\xC3\xBCrgen", "4\xC2\xB9"},  // the code page
      {"d\r\n1\r\nJ\xC3\xBCrgen\r\n", "1", "J\xC3\xBCrgen", ""},  // UTF-8 of earlier versions
  };
  for (const auto& [bytes, gameId, nickname, age] : cases) {
    const OfferInfo offer = ParseOfferInfo(bytes);
    EXPECT_EQ(std::tie(offer.gameId, offer.nickname, offer.age), std::tie(gameId, nickname, age)) << bytes;
  }
  // A huge file is read only as far as any of ours could go.
  EXPECT_EQ(ParseOfferInfo(std::string(10 * 1024 * 1024, 'x')).date.size(), kMaxValueLength);
  EXPECT_EQ(ParseOfferInfo("d\r\n" + std::string(70000, '\n') + "x").gameId, "");
}

TEST(ExchangeFileReaders, ListingKeepsOnlyNamesOfExchangedFiles) {
  const std::string bytes =
      "..\r\n"
      "  \\00012345626020314051111n.zip>  \r\n"  // blanks, "\" and ">" cleaned off
      "0001234562602031405\b3333n.zip\n"       // a backspace inside
      "00012345626020314054444n.zip \t\r\n"    // a blank left before a control character
      "00012345626020314055555" + std::string(232, 'x') + " tail\r\n"  // cut before a blank
      "00012345626020314050000\r\n"            // a stem alone names no file
      "0001234562602031405000n.zip\r\n"        // one digit short
      "../../../../../etc/passwd.zip\r\n"
      "99999999999999999999999j.zip";  // no line end after the last name
  EXPECT_EQ(ParseGameListing(bytes), (std::vector<std::string>{
                                         "00012345626020314051111n.zip",
                                         "00012345626020314053333n.zip",
                                         "00012345626020314054444n.zip",
                                         "00012345626020314055555" + std::string(232, 'x'),
                                         "99999999999999999999999j.zip",
                                     }));
  EXPECT_TRUE(ReadGameListingFile("/nonexistent/InternetGame_n.tmp").empty());
}

}  // namespace
