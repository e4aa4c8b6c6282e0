#include <gtest/gtest.h>

#include <filesystem>

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
  board.cells.fill(ZVK_Engine::kOffBoard);
  for (int x = 1; x <= 8; ++x)
    for (int y = 1; y <= 8; ++y) board(x, y) = 0;
  return board;
}

std::string GameBytes(int32_t moveNumber) {
  ZVK_Board_Sub::GameFileContents game;
  game.moveNumber = moveNumber;
  game.comment = "comment";
  game.log.assign(static_cast<size_t>(moveNumber) + 1, EmptyBoard());
  game.recordRtf = "{\\rtf1 record}";
  return ZVK_Board_Sub::FormatGameFile(game);
}

class NewMoveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir);
    fs::create_directories(tree.path("partner"));
  }

  // The partner's send: the game packed as the exchange archive.
  void Receive(const std::string& bytes) {
    const std::string sent = tree.path("partner/" + chiG);
    testsupport::WriteFile(sent, bytes);
    ASSERT_TRUE(PackSingleFile(sent, dir + zip));
  }

  testsupport::ProgramTree tree;
  const std::string dir = InternetGameDir();
  const std::string zip = ExchangeArchiveName(kStem), chiG = LastGameName(kStem), chiR = ReceivedGameName(kStem);
};

TEST_F(NewMoveTest, FirstLinesCompareAsNumbers) {
  const std::string zeros = "\"" + std::string(5000, '0') + "12\"";
  const std::tuple<const char*, const char*, bool> cases[] = {  // no last game: nothing exchanged yet
      {"\"12\"", "\"9\"", true},  // as numbers, not as texts
      {"\"9\"", "\"9\"", false},  // the same half-move is no new move
      {"\"0\"", nullptr, true},
      {"12", "\"11\"", true},  // quotes or none
      {"  \"  12abc\"", "\"11\"", true},  // blanks skipped, the number stops at letters
      {"\"abc\"", "\"0\"", false},    // no number reads as 0
      {zeros.c_str(), "\"11\"", true},  // read whole, as the game loader reads it
  };
  for (const auto& [received, last, newer] : cases) {
    fs::remove(dir + chiG);
    if (last) testsupport::WriteFile(dir + chiG, std::string(last) + "\r\n\"old game\"\r\n");
    Receive(std::string(received) + "\r\n\"new game\"\r\n");
    EXPECT_EQ(HasNewMove(dir, zip, chiG, chiR), newer) << received << " against " << (last ? last : "none");
    EXPECT_EQ(testsupport::ReadFile(dir + chiR), std::string(received) + "\r\n\"new game\"\r\n");  // unpacked either way
  }
}

TEST_F(NewMoveTest, AnArchiveThatGivesNoGameIsNeverANewMove) {
  testsupport::WriteFile(dir + chiR, "\"99\"\r\n");  // left by an earlier check
  testsupport::WriteFile(dir + zip, "PK\x03\x04 damaged");
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

TEST_F(NewMoveTest, OnlyASoundReceivedGameReplacesTheLastExchangedOne) {
  ZVK_Engine::gMoveNumber = 4;
  ZVK_Engine::gGameLog.assign(5, EmptyBoard());
  const std::string good = GameBytes(2);
  std::string badBorder = GameBytes(3);
  badBorder.replace(badBorder.find("\r\n2\r\n"), 5, "\r\n0\r\n");  // a border cell that is not 2
  const std::pair<const char*, std::string> cases[] = {
      {"cut off", GameBytes(3).substr(0, good.size() / 2)},
      {"letters where a number belongs", "\"3\"\r\n\"c\"\r\nx\r\n"},
      {"not a board", badBorder},
      {"half-move beyond any game", "\"40000\"\r\n\"c\"\r\n2\r\n"},
  };
  for (const auto& [what, bytes] : cases) {
    testsupport::WriteFile(dir + chiG, good);
    Receive(bytes);
    ASSERT_TRUE(HasNewMove(dir, zip, chiG, chiR)) << what;  // its first line says newer
    EXPECT_FALSE(ReceivedGameIsSound(dir + chiR)) << what;
    EXPECT_FALSE(TakeOverReceivedGame(dir, chiG, chiR, zip)) << what;
    EXPECT_EQ(testsupport::ReadFile(dir + chiG), good) << what;
    // Gone, so the next download fetches afresh instead of retrying this one.
    EXPECT_FALSE(fs::exists(dir + chiR) || fs::exists(dir + zip)) << what;
  }
  EXPECT_FALSE(TakeOverReceivedGame(dir, chiG, chiR, zip));  // nothing received at all
  EXPECT_EQ(testsupport::ReadFile(dir + chiG), good);
  EXPECT_EQ(ZVK_Engine::gMoveNumber, 4);
  EXPECT_EQ(ZVK_Engine::gGameLog.size(), 5u);

  Receive(GameBytes(3));
  ASSERT_TRUE(HasNewMove(dir, zip, chiG, chiR));
  ASSERT_TRUE(TakeOverReceivedGame(dir, chiG, chiR, zip));
  EXPECT_EQ(testsupport::ReadFile(dir + chiG), GameBytes(3));
  EXPECT_FALSE(fs::exists(dir + chiR) || fs::exists(dir + zip));
  // A name that leaves the folder is refused even where a sound game lies.
  testsupport::WriteFile(dir + "../" + chiR, GameBytes(4));
  EXPECT_FALSE(TakeOverReceivedGame(dir, chiG, "../" + chiR, zip));
}

}  // namespace
