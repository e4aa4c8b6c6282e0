#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "board/GameFile.h"
#include "correspondence/Naming.h"
#include "correspondence/NewMove.h"
#include "correspondence/Packing.h"
#include "engine/ZVK_Engine.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;
using namespace correspondence;

namespace {

const std::string kStem = "00012345626020314050000";

ZVK_Engine::EngineBoard EmptyBoard() {
  ZVK_Engine::EngineBoard board;
  for (int y = -1; y <= 10; ++y) {
    for (int x = -1; x <= 10; ++x) board(x, y) = (x >= 1 && x <= 8 && y >= 1 && y <= 8) ? 0 : ZVK_Engine::kOffBoard;
  }
  return board;
}

std::string GameBytes(int32_t moveNumber) {
  ZVK_Board_Sub::GameFileContents game;
  game.moveNumber = moveNumber;
  game.comment = "comment of half-move " + std::to_string(moveNumber);
  auto board = EmptyBoard();
  board(5, 1) = 15000;
  board(5, 8) = -10000;
  game.log.assign(static_cast<size_t>(moveNumber) + 1, board);
  game.recordRtf = "{\\rtf1 record}";
  return ZVK_Board_Sub::FormatGameFile(game);
}

class NewMoveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = InternetGameDir();
    fs::create_directories(dir);
    fs::create_directories(tree.path("partner"));
  }

  // The partner's send: the game packed as the exchange archive.
  void Receive(const std::string& bytes) {
    const std::string sent = tree.path("partner/" + LastGameName(kStem));
    testsupport::WriteFile(sent, bytes);
    ASSERT_TRUE(PackSingleFile(sent, dir + zip));
  }

  testsupport::ProgramTree tree;
  std::string dir;
  const std::string zip = ExchangeArchiveName(kStem);
  const std::string chiG = LastGameName(kStem);
  const std::string chiR = ReceivedGameName(kStem);
};

TEST_F(NewMoveTest, FirstLinesCompareAsNumbers) {
  struct Case {
    const char* received;
    std::optional<const char*> last;  // no last exchanged game: nothing exchanged yet
    bool newer;
  };
  const Case cases[] = {
      {"\"12\"", "\"9\"", true},  // as numbers, not as texts
      {"\"9\"", "\"12\"", false},
      {"\"9\"", "\"9\"", false},  // the same half-move is no new move
      {"\"1\"", std::nullopt, true},
      {"\"0\"", std::nullopt, true},
      {"12", "\"11\"", true},  // quotes or none
      {"\"\"12\"\"", "\"11\"", true},
      {"\"  12\"", "\"11\"", true},  // leading blanks skipped
      {"  \"12\"", "\"11\"", true},
      {"\"12abc\"", "\"11\"", true},  // the number stops where letters begin
      {"\"abc\"", "\"0\"", false},    // no number reads as 0
      {"\"3\"", "\"abc\"", true},
      {"\"-1\"", "\"0\"", false},
      {"\"10\"", "\"9.5\"", true},
      {"", "\"0\"", false},
  };
  for (const auto& c : cases) {
    fs::remove(dir + chiG);
    if (c.last) testsupport::WriteFile(dir + chiG, std::string(*c.last) + "\r\n\"old game\"\r\n");
    Receive(std::string(c.received) + "\r\n\"new game\"\r\n");
    EXPECT_EQ(HasNewMove(dir, zip, chiG, chiR), c.newer) << c.received << " against " << c.last.value_or("none");
    EXPECT_EQ(testsupport::ReadFile(dir + chiR), std::string(c.received) + "\r\n\"new game\"\r\n");  // unpacked either way
  }
}

TEST_F(NewMoveTest, AnArchiveThatGivesNoGameIsNeverANewMove) {
  testsupport::WriteFile(dir + chiR, "\"99\"\r\n");  // left by an earlier check
  testsupport::WriteFile(dir + zip, "PK\x03\x04 damaged");
  // Even without a last exchanged game: there is nothing to take over.
  EXPECT_EQ(CheckForNewMove(dir, zip, chiG, chiR), NewMoveCheck::Unreadable);
  EXPECT_FALSE(fs::exists(dir + chiR));
  fs::remove(dir + zip);
  EXPECT_EQ(CheckForNewMove(dir, zip, chiG, chiR), NewMoveCheck::Unreadable);

  // Names that would leave the folder are refused outright.
  Receive(GameBytes(2));
  EXPECT_EQ(CheckForNewMove(dir, zip, chiG, "../" + chiR), NewMoveCheck::Unreadable);
  EXPECT_FALSE(fs::exists(tree.programDir() + "/" + chiR));
  EXPECT_EQ(CheckForNewMove(dir, zip, chiG, chiR), NewMoveCheck::NewMove);
}

TEST_F(NewMoveTest, ASoundReceivedGameReplacesTheLastExchangedOne) {
  testsupport::WriteFile(dir + chiG, GameBytes(1));
  Receive(GameBytes(2));
  ASSERT_TRUE(HasNewMove(dir, zip, chiG, chiR));
  ASSERT_TRUE(TakeOverReceivedGame(dir, chiG, chiR, zip));
  EXPECT_EQ(testsupport::ReadFile(dir + chiG), GameBytes(2));
  EXPECT_FALSE(fs::exists(dir + chiR));
  EXPECT_FALSE(fs::exists(dir + zip));
  EXPECT_EQ(ZVK_Board_Sub::ReadGameFile(dir + chiG).moveNumber, 2);
}

TEST_F(NewMoveTest, AReceivedGameTheLoaderRefusesChangesNothing) {
  ZVK_Engine::gMoveNumber = 4;
  ZVK_Engine::gGameLog.assign(5, EmptyBoard());
  const std::string good = GameBytes(2);
  std::string badBorder = GameBytes(3);
  badBorder.replace(badBorder.find("\r\n2\r\n"), 5, "\r\n0\r\n");  // a border cell that is not 2
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"cut off", GameBytes(3).substr(0, good.size() / 2)},
      {"letters where a number belongs", "\"3\"\r\n\"c\"\r\nx\r\n"},
      {"not a board", badBorder},
      {"half-move beyond any game", "\"40000\"\r\n\"c\"\r\n2\r\n"},
      {"only a first line", "\"3\"\r\n"},
  };
  for (const auto& c : cases) {
    testsupport::WriteFile(dir + chiG, good);
    Receive(c.bytes);
    ASSERT_TRUE(HasNewMove(dir, zip, chiG, chiR)) << c.what;  // its first line says newer
    EXPECT_FALSE(ReceivedGameIsSound(dir + chiR)) << c.what;
    EXPECT_FALSE(TakeOverReceivedGame(dir, chiG, chiR, zip)) << c.what;
    EXPECT_EQ(testsupport::ReadFile(dir + chiG), good) << c.what;
    // Gone, so the next download fetches afresh instead of retrying this one.
    EXPECT_FALSE(fs::exists(dir + chiR)) << c.what;
    EXPECT_FALSE(fs::exists(dir + zip)) << c.what;
  }
  EXPECT_FALSE(TakeOverReceivedGame(dir, chiG, chiR, zip));  // nothing received at all
  EXPECT_EQ(testsupport::ReadFile(dir + chiG), good);
  EXPECT_EQ(ZVK_Engine::gMoveNumber, 4);
  EXPECT_EQ(ZVK_Engine::gGameLog.size(), 5u);
}

}  // namespace
