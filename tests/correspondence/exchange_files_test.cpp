#include <gtest/gtest.h>

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

TEST_F(ExchangeFilesTest, OfferFileGetsEightLinesThenTheOpeningMove) {
  const std::string path = Path("offered/00012345626020314050000n.txt");  // its folder is made on the way
  testsupport::WriteFile(path, "an offer made before in the same minute\r\n");
  WriteOfferInfoFile(path, {"ignored", "0001234562602031405", "Jane\r\nDoe", "Germany", "Deutsch", "16777215", "female", "41", ""});
  const std::string today = ZVK_Time::DateText();
  // A line break typed into a value must not shift the lines after it.
  const std::string eight = today + "\r\n0001234562602031405\r\nJane  Doe\r\nGermany\r\nDeutsch\r\n16777215\r\nfemale\r\n41\r\n";
  EXPECT_EQ(testsupport::ReadFile(path), eight);
  AppendOfferOpeningMove(path, "1  White Pawn at E:2 to E:4\r\n");  // a record line keeps its line end
  EXPECT_EQ(testsupport::ReadFile(path), eight + "1  White Pawn at E:2 to E:4\r\n");
  EXPECT_EQ(ReadOfferInfoFile(path).openingMove, "1  White Pawn at E:2 to E:4");
}

TEST_F(ExchangeFilesTest, JoiningTwiceKeepsTheFirstJoinAheadAndNotesKeepMultiLineComments) {
  const std::string path = Path("joined/00012345626020314050000j.txt");
  WriteJoinInfoFile(path, {"", "000654321", "Tom", "France", "Francais", "0", "male", "33"});
  WriteJoinInfoFile(path, {"", "000654321", "Tom again", "Spain", "Espanol", "16777215", "", "34"});
  const std::string bytes = testsupport::ReadFile(path);
  EXPECT_EQ(testsupport::Lines(bytes).size(), 16u);
  EXPECT_NE(bytes.find("\r\n\r\n34\r\n"), std::string::npos);  // the empty gender line is a line of its own
  const JoinInfo first = ReadJoinInfoFile(path);
  EXPECT_EQ((std::vector{first.nickname, first.offererColour, first.age}), (std::vector<std::string>{"Tom", "0", "33"}));

  const std::string note = Path("00012345626020314050007m.txt");
  WriteMoveNoteFile(note, {"", "000123456", "an older comment", "4  Black Pawn"});
  WriteMoveNoteFile(note, {"", "000123456", "first line\r\nsecond line", "7  White Knight at G:1 to F:3\r\n"});
  const MoveNote read = ReadMoveNoteFile(note);
  EXPECT_EQ(read.comment, "first line\r\nsecond line");  // the player's comment as typed
  EXPECT_EQ(read.recordLine, "7  White Knight at G:1 to F:3");
}

TEST(ExchangeFileReaders, ValuesFromAnotherPcArePlainTextOfBoundedLength) {
  const std::string longName = std::string(255, 'a') + "\xc3\xa9" + "zzz";  // a two-byte letter across the cut
  const std::tuple<std::string, std::string, std::string, std::string> cases[] = {  // bytes, id, nickname, age
      {"d\n0001234562602031405\nJane\nDE\nde\n0\nmale\n41\n", "0001234562602031405", "Jane", "41"},
      {"d\r1\rJane\rDE\rde\r0\rmale\r41\r", "1", "Jane", "41"},
      {"d\r\n1\r\n", "1", "", ""},
      {std::string("d\r\n1\r\nJa\x1b[31mne\b\x07\0x\r\n", 21) + "DE\r\nde\r\n0\r\nm\r\n4\x7f" "1\r\n", "1", "Ja[31mnex", "41"},
      {"d\r\n1\r\n" + longName + "\r\n", "1", std::string(255, 'a'), ""},
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
