#include <gtest/gtest.h>

#include "board/GameRecord.h"
#include "board/TakenPieces.h"
#include "tests/board/RecordTestKit.h"

using namespace ZVK_Board_Sub;
using recordtest::Diagram;
using ZVK_Engine::EngineBoard;
using ZVK_Globals::kBlack, ZVK_Globals::kWhite;
using Runs = std::vector<platform::RichTextRun>;

namespace {

class GameRecordTest : public recordtest::RecordTest {};

EngineBoard Moved(EngineBoard board, std::initializer_list<std::pair<const char*, const char*>> moves) {
  for (const auto& [from, to] : moves) recordtest::MovePiece(board, from, to);
  return board;
}

TEST_F(GameRecordTest, RecordMoveWritesOneLinePerMove) {
  const auto start = recordtest::StartBoard();
  const auto e4 = Moved(start, {{"e2", "e4"}});
  const auto castle = Diagram({"r...k..r", "pppppppp", "........", "........", "........", "........", "PPPPPPPP",
                               "R...K..R"});
  // A white bishop that can take a queen and a pawn about to promote.
  const auto mixed = Diagram({"....k...", "P.......", "........", "....q...", "...B....", "........", "........",
                              "....K..."});
  auto rookOnB8 = mixed;
  rookOnB8(2, 8) = 50;
  auto promotedTaking = Moved(rookOnB8, {{"a7", "b8"}});
  promotedTaking(2, 8) = -90;
  // line: "" when none may be written; lastMove: from x, from y, to x, to y.
  struct Case { const char* name; EngineBoard before, after; int32_t colorToMove; const char *caption, *line;
                std::array<int, 4> lastMove; };
  const Case cases[] = {
      {"white pawn", start, e4, kWhite, "1", "1  White Pawn at E:2 to E:4\r\n", {4, 6, 4, 4}},
      {"black knight", e4, Moved(e4, {{"g8", "f6"}}), kBlack, "2", "2  Black Knight at G:8 to F:6\r\n", {6, 0, 5, 2}},
      // The a-file is searched before the e-file: the long castling is the rook's move.
      {"queen-side castling", castle, Moved(castle, {{"e1", "c1"}, {"a1", "d1"}}), kWhite, "7",
       "7  White Rook at A:1 to D:1\r\n", {0, 7, 3, 7}},
      {"capture", mixed, Moved(mixed, {{"d4", "e5"}}), kWhite, "15",
       "15  White Bishop at D:4 to E:5 (takes Black Queen)\r\n", {3, 4, 4, 3}},
      // The engine's pawn is already replaced by its new piece: the move is the pawn's all the same.
      {"promotion taking", rookOnB8, promotedTaking, kWhite, "31",
       "31  White Pawn at A:7 to B:8 (takes Black Rook)\r\n", {0, 1, 1, 0}},
      {"nothing moved", mixed, mixed, kWhite, "32", "", {1, 1, 1, 1}},
  };
  for (const auto& c : cases) {
    ClearGameRecord();
    Reset_TakenPieces_Board();
    gLastMoveFromX = gLastMoveFromY = gLastMoveToX = gLastMoveToY = 1;
    ZVK_Globals::gPrevBoard = c.before;
    ZVK_Engine::gVirtualBoard = c.after;
    ZVK_Globals::gColorToMove = c.colorToMove;
    window.playCaption = c.caption;
    Record_Move();

    const std::string line = c.line;
    EXPECT_EQ(txtMoveList().Runs(), line.empty() ? Runs() : Runs({{line, c.colorToMove == kWhite ? 0x80 : 0}}))
        << c.name;
    EXPECT_EQ(gTakenBlackCount + gTakenWhiteCount, line.find("(takes ") != std::string::npos ? 1 : 0) << c.name;
    EXPECT_EQ((std::array<int, 4>{gLastMoveFromX, gLastMoveFromY, gLastMoveToX, gLastMoveToY}), c.lastMove)
        << c.name;
  }
  EXPECT_EQ(ErrorLog(), "");
}

// Captures of black pieces at half-moves 3 and 5 and of a white one at 4: a
// capture is shown exactly while the shown half-move is at or after it.
TEST_F(GameRecordTest, TakenPiecesFollowTheShownHalfMove) {
  for (const auto& [move, code] : {std::pair{3, 30}, {4, -90}, {5, 10}}) {
    ZVK_Engine::gMoveNumber = move;
    AddTakenPiece(code);
  }
  struct Shown { int32_t move; int16_t black, white; };
  const Shown table[] = {{2, 0, 0}, {3, 1, 0}, {4, 1, 1}, {40, 2, 1}};
  for (const auto& s : table) {
    ZVK_Engine::gMoveNumber = s.move;
    Correct_TakenPieces();
    EXPECT_EQ(std::pair(gTakenBlackCount, gTakenWhiteCount), std::pair(s.black, s.white)) << s.move;
  }
  const std::array<int, 3> pictures{window.takenBlack[1], window.takenBlack[2], window.takenWhite[1]};
  EXPECT_EQ(pictures, (std::array<int, 3>{2, 6, 14}));
  EXPECT_EQ(gTakenBlack[2], (std::array<int16_t, 3>{2, 6, 5}));

  // Only an edited board can lose a seventeenth piece of one colour: no row, no picture.
  while (gTakenBlackCount < 16) AddTakenPiece(50);
  const TakenTable full = gTakenBlack;
  const auto strip = window.takenBlack;
  AddTakenPiece(10);
  EXPECT_EQ(std::tuple(gTakenBlackCount, gTakenBlack, window.takenBlack), std::tuple(16, full, strip));
}

}  // namespace
