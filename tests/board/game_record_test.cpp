#include <gtest/gtest.h>

#include "board/GameRecord.h"
#include "board/TakenPieces.h"
#include "tests/board/RecordTestKit.h"

using namespace ZVK_Board_Sub;
using recordtest::MovePiece;
using recordtest::Position;

namespace {

class GameRecordTest : public recordtest::RecordTest {};

// One move: the position before, the position after, who moved, and what
// the record and the last-move squares must say.
struct MoveCase {
  const char* name;
  ZVK_Engine::EngineBoard before;
  ZVK_Engine::EngineBoard after;
  int32_t colorToMove;
  const char* caption;
  const char* line;  // "" when no line may be written
  int lastMove[4];   // from x, from y, to x, to y
};

std::vector<MoveCase> MoveCases() {
  const auto start = recordtest::StartPosition();
  auto e4 = start;
  MovePiece(e4, "e2", "e4");
  auto nf6 = e4;
  MovePiece(nf6, "g8", "f6");

  const auto castleBefore = Position({"r...k..r", "pppppppp", "........", "........",
                                      "........", "........", "PPPPPPPP", "R...K..R"});
  auto shortCastle = castleBefore;
  MovePiece(shortCastle, "e1", "g1");
  MovePiece(shortCastle, "h1", "f1");
  auto longCastle = castleBefore;
  MovePiece(longCastle, "e1", "c1");
  MovePiece(longCastle, "a1", "d1");
  auto blackLong = castleBefore;
  MovePiece(blackLong, "e8", "c8");
  MovePiece(blackLong, "a8", "d8");

  const auto queenOnE5 = Position({"....k...", "........", "........", "....q...",
                                   "...P....", "........", "........", "....K..."});
  auto pawnTakesQueen = queenOnE5;
  MovePiece(pawnTakesQueen, "d4", "e5");

  const auto promotionBefore = Position({"....k...", "P.......", "........", "........",
                                         "........", "........", "PP......", "....K..."});
  auto promoted = promotionBefore;
  promoted(1, 7) = 0;
  promoted(1, 8) = -90;

  auto bishopTakesKnight = Position({"....k...", "........", "........", "........",
                                     "........", "..N.....", "...b....", "....K..."});
  auto bishopTook = bishopTakesKnight;
  MovePiece(bishopTook, "d2", "c3");

  return {
      {"pawn opening", start, e4, ZVK_Globals::kWhite, "1", "1  White Pawn at E:2 to E:4\r\n", {4, 6, 4, 4}},
      {"black knight", e4, nf6, ZVK_Globals::kBlack, "2", "2  Black Knight at G:8 to F:6\r\n", {6, 0, 5, 2}},
      {"king-side castling is the king's move", castleBefore, shortCastle, ZVK_Globals::kWhite, "7",
       "7  White King at E:1 to G:1\r\n", {4, 7, 6, 7}},
      {"queen-side castling is the rook's move", castleBefore, longCastle, ZVK_Globals::kWhite, "7",
       "7  White Rook at A:1 to D:1\r\n", {0, 7, 3, 7}},
      {"black queen-side castling", castleBefore, blackLong, ZVK_Globals::kBlack, "8",
       "8  Black Rook at A:8 to D:8\r\n", {0, 0, 3, 0}},
      {"capture of a queen", queenOnE5, pawnTakesQueen, ZVK_Globals::kWhite, "15",
       "15  White Pawn at D:4 to E:5 (takes Black Queen)\r\n", {3, 4, 4, 3}},
      {"black capture", bishopTakesKnight, bishopTook, ZVK_Globals::kBlack, "20",
       "20  Black Bishop at D:2 to C:3 (takes White Knight)\r\n", {3, 6, 2, 5}},
      {"promotion already replaced the pawn", promotionBefore, promoted, ZVK_Globals::kWhite, "30", "",
       {1, 1, 1, 1}},
      {"nothing moved", start, start, ZVK_Globals::kWhite, "3", "", {1, 1, 1, 1}},
  };
}

TEST_F(GameRecordTest, RecordMoveWritesOneLinePerMove) {
  for (const auto& c : MoveCases()) {
    ClearGameRecord();
    Reset_TakenPieces_Board();
    gLastMoveFromX = gLastMoveFromY = gLastMoveToX = gLastMoveToY = 1;
    ZVK_Globals::gPrevBoard = c.before;
    ZVK_Engine::gVirtualBoard = c.after;
    ZVK_Globals::gColorToMove = c.colorToMove;
    window.playCaption = c.caption;
    Record_Move();

    const int32_t color = c.colorToMove == ZVK_Globals::kWhite ? 0x80 : 0;
    if (*c.line == '\0') {
      EXPECT_TRUE(txtMoveList().Empty()) << c.name;
    } else {
      ASSERT_EQ(txtMoveList().Runs().size(), 1u) << c.name;
      EXPECT_EQ(txtMoveList().Runs()[0], (platform::RichTextRun{c.line, color})) << c.name;
      EXPECT_EQ(RTB2().Text(), c.line) << c.name;
      EXPECT_EQ(window.moveList, txtMoveList()) << c.name;
    }
    const bool capture = std::string(c.line).find("(takes ") != std::string::npos;
    EXPECT_EQ(gTakenBlackCount + gTakenWhiteCount, capture ? 1 : 0) << c.name;
    EXPECT_EQ((std::vector<int>{gLastMoveFromX, gLastMoveFromY, gLastMoveToX, gLastMoveToY}),
              (std::vector<int>(c.lastMove, c.lastMove + 4)))
        << c.name;
  }
  EXPECT_EQ(ErrorLog(), "");
}

TEST_F(GameRecordTest, SeventeenthCaptureOfAColourIsNamedButNotKept) {
  for (int i = 1; i <= 16; ++i) {
    ZVK_Engine::gMoveNumber = i;
    AddTakenPiece(10);
  }
  const TakenTable full = gTakenBlack;
  const auto strip = window.takenBlack;
  const auto before = Position({"....k...", "........", "........", "....p...",
                                "...Q....", "........", "........", "....K..."});
  auto after = before;
  MovePiece(after, "d4", "e5");
  ZVK_Globals::gPrevBoard = before;
  ZVK_Engine::gVirtualBoard = after;
  ZVK_Engine::gMoveNumber = 17;
  Record_Move();
  EXPECT_NE(txtMoveList().Text().find("(takes Black Pawn)"), std::string::npos);
  EXPECT_EQ(gTakenBlackCount, 16);
  EXPECT_EQ(gTakenBlack, full);
  EXPECT_EQ(window.takenBlack, strip);
  EXPECT_EQ(ErrorLog(), "");
}

TEST_F(GameRecordTest, EditedPositionIsListedFileByFile) {
  ZVK_Engine::gVirtualBoard = Position({"....k...", "........", "........", "........",
                                        "........", "........", "P.......", "....K..."});
  RecordEditMoves();
  EXPECT_EQ(txtMoveList().Runs(),
            (std::vector<platform::RichTextRun>{
                {"Chess Piece configuration after editing :\r\n", 0},
                {"White Pawn at A:2\r\nWhite King at E:1\r\nBlack King at E:8\r\n", 0x8000}}));
}

TEST_F(GameRecordTest, WriteLineColoursStagingAndSilence) {
  struct Case {
    const char* name;
    int16_t navigating;
    int setup;
    int32_t color;
    bool written;
    int32_t shown;
  };
  const Case cases[] = {
      {"plain", 0, 0, 0x8000, true, 0x8000},
      {"edit mode is blue whatever is passed", 0, 1, 0x80, true, 0xFF0000},
      {"navigation writes nothing", -1, 0, 0x80, false, 0},
      {"navigation in edit mode writes nothing", -1, 1, 0x80, false, 0},
  };
  for (const auto& c : cases) {
    ClearGameRecord();
    Write2GameRecord("earlier\r\n", 0, false);
    ZVK_Globals::gNavigating = c.navigating;
    window.values["setup"] = c.setup;
    Write2GameRecord("line\r\n", c.color, true);
    ZVK_Globals::gNavigating = 0;
    window.values["setup"] = 0;
    if (c.written) {
      EXPECT_EQ(txtMoveList().Runs().back(), (platform::RichTextRun{"line\r\n", c.shown})) << c.name;
      EXPECT_EQ(RTB2().Runs(), (std::vector<platform::RichTextRun>{{"line\r\n", c.shown}})) << c.name;
    } else {
      EXPECT_EQ(txtMoveList().Text(), "earlier\r\n") << c.name;
      EXPECT_EQ(RTB2().Text(), "earlier\r\n") << c.name;
    }
    EXPECT_EQ(window.moveList, txtMoveList()) << c.name;
  }
}

TEST_F(GameRecordTest, SpokenLinesWaitAboutOneSecond) {
  struct Case {
    int voice;
    bool speak;
    int16_t navigating;
    bool waits;
  };
  const Case cases[] = {{1, true, 0, true}, {1, false, 0, false}, {0, true, 0, false}, {1, true, -1, false}};
  for (const auto& c : cases) {
    window.values["chkEnableVoice"] = c.voice;
    ZVK_Globals::gNavigating = c.navigating;
    clockReads = 0;
    Write2GameRecord("1  White Pawn at E:2 to E:4\r\n", 0x80, c.speak);
    // A one-second wait reads the quarter-second clock at least four times.
    EXPECT_EQ(clockReads >= 4, c.waits) << c.voice << c.speak << c.navigating;
  }
}

// Captures at half-moves 3 and 5 (black pieces) and 4 (a white piece): a
// capture is shown exactly while the shown half-move is at or after it.
TEST_F(GameRecordTest, TakenPiecesFollowTheShownHalfMove) {
  ZVK_Engine::gMoveNumber = 3;
  AddTakenPiece(30);
  ZVK_Engine::gMoveNumber = 4;
  AddTakenPiece(-90);
  ZVK_Engine::gMoveNumber = 5;
  AddTakenPiece(10);
  struct Shown {
    int32_t move;
    int black;
    int white;
    std::array<int, 3> blackStrip;  // elements 1..2 of TakenBlack, element 1 of TakenWhite
  };
  const Shown table[] = {
      {0, 0, 0, {0, 0, 0}}, {2, 0, 0, {0, 0, 0}},  {3, 1, 0, {2, 0, 0}},
      {4, 1, 1, {2, 0, 14}}, {5, 2, 1, {2, 6, 14}}, {40, 2, 1, {2, 6, 14}},
  };
  for (const auto& s : table) {
    ZVK_Engine::gMoveNumber = s.move;
    Correct_TakenPieces();
    EXPECT_EQ(gTakenBlackCount, s.black) << s.move;
    EXPECT_EQ(gTakenWhiteCount, s.white) << s.move;
    EXPECT_EQ((std::array<int, 3>{window.takenBlack[1], window.takenBlack[2], window.takenWhite[1]}), s.blackStrip)
        << s.move;
  }
  // Stepping back keeps the rows, so stepping forward shows them again.
  EXPECT_EQ(gTakenBlack[2][2], 5);
  Reset_TakenPieces_Board();
  EXPECT_EQ(gTakenBlack, TakenTable{});
  EXPECT_EQ(gTakenWhite, TakenTable{});
  EXPECT_EQ(gTakenBlackCount + gTakenWhiteCount, 0);
  EXPECT_EQ(window.takenBlack, (std::array<int, 17>{}));
}

// A short game played through the record: lines in order, colours by side.
TEST_F(GameRecordTest, WholeGameRecord) {
  const char* moves[][2] = {{"e2", "e4"}, {"e7", "e5"}, {"f1", "c4"}, {"b8", "c6"},
                            {"d1", "h5"}, {"g8", "f6"}, {"h5", "f7"}};
  for (int i = 0; i < 7; ++i) {
    ZVK_Globals::gPrevBoard = ZVK_Engine::gVirtualBoard;
    MovePiece(ZVK_Engine::gVirtualBoard, moves[i][0], moves[i][1]);
    ZVK_Globals::gColorToMove = i % 2 == 0 ? ZVK_Globals::kWhite : ZVK_Globals::kBlack;
    ZVK_Engine::gMoveNumber = i + 1;
    window.playCaption = std::to_string(i + 1);
    Record_Move();
  }
  EXPECT_EQ(txtMoveList().Text(),
            "1  White Pawn at E:2 to E:4\r\n"
            "2  Black Pawn at E:7 to E:5\r\n"
            "3  White Bishop at F:1 to C:4\r\n"
            "4  Black Knight at B:8 to C:6\r\n"
            "5  White Queen at D:1 to H:5\r\n"
            "6  Black Knight at G:8 to F:6\r\n"
            "7  White Queen at H:5 to F:7 (takes Black Pawn)\r\n");
  EXPECT_EQ(txtMoveList().Runs().size(), 7u);  // colours alternate line by line
  EXPECT_EQ(gTakenBlack[1], (std::array<int16_t, 3>{1, 6, 7}));
  EXPECT_EQ(window.takenBlack[1], 6);
  // The record survives its own rich text.
  EXPECT_EQ(platform::RichTextDocument::FromRtf(txtMoveList().ToRtf()), txtMoveList());
}

}  // namespace
