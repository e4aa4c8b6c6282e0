// The sliding piece: where each frame puts it, where it ends, how the
// squares are turned for a turned board, and what stops it early.
#include <utility>

#include "support/ZVK_ErrorLog.h"
#include "tests/board/BoardFakes.h"  // also gtest, QImage and the board's headers

using namespace ZVK_Board_Sub;

namespace {

using Point = std::pair<int, int>;  // top-left corner of the moving piece

// A White pawn to slide with White at the bottom, a White queen to slide on a turned board.
const char* const kStart = "....k.../...Q..../......../......../......../......../....P.../....K...";

class Animation : public boardtest::BoardTest {
 protected:
  // Slides from the start position; gives the top-left corner of the piece,
  // found by its sprite colour, in each frame after the first (the board
  // drawn without the piece).
  std::vector<Point> Slide(int16_t side, const std::string& step, int16_t (&squares)[4], int piece, int animate = 1) {
    view_.frames.clear();
    ZVK_Globals::gBoardSide = side;
    gViewBoard = boardtest::Diagram(kStart);
    view_.moveIncrementation = step;
    view_.moveAnimation = animate;
    MoveAniPiece(squares[0], squares[1], squares[2], squares[3]);
    std::vector<Point> points;
    for (size_t i = 1; i < view_.frames.size(); ++i) {
      Point at{-1, -1};
      for (int y = 0; y < 384 && at.first < 0; ++y)
        for (int x = 0; x < 384 && at.first < 0; ++x)
          if (view_.frames[i].pixel(x, y) == boardtest::SpriteColour(piece)) at = {x - 12, y - 12};
      points.push_back(at);
    }
    return points;
  }

  boardtest::FakeBoardView view_;
};

// Every slide ends on its target square in both orientations.
TEST_F(Animation, FramesAdvanceByTheChosenDistance) {
  const struct { const char* step; int16_t side, fx, fy, tx, ty; int piece; std::vector<Point> expected; const char* why; } rows[] = {
      {"16", 1, 4, 6, 4, 5, 16, {{192, 272}, {192, 256}, {192, 240}}, "the list's small steps"},
      {"48", 1, 4, 6, 6, 5, 16, {{240, 240}, {288, 240}}, "a knight reaches its row first, then slides along it"},
      {"48", 1, 4, 6, 2, 7, 16, {{144, 336}, {96, 336}}, "down and to the left"},
      // e2-e4 is given with White at the bottom and slides from (3, 1) to (3, 3).
      {"48", -1, 4, 6, 4, 4, 14, {{144, 96}, {144, 144}}, "a turned board"},
  };
  for (const auto& row : rows) {
    int16_t squares[4] = {row.fx, row.fy, row.tx, row.ty};
    EXPECT_EQ(Slide(row.side, row.step, squares, row.piece), row.expected) << row.why;
    const auto turned = [&](int v) { return row.side == 1 ? v : 7 - v; };
    EXPECT_EQ((std::vector<int>(squares, squares + 4)),
              (std::vector<int>{turned(row.fx), turned(row.fy), turned(row.tx), turned(row.ty)}))
        << row.why << ": the squares are turned in place";
    EXPECT_EQ(gViewBoard(squares[0], squares[1]), kEmpty) << row.why << ": the piece has left its square";
  }
}

// Switched off, from an empty square or with a step that never arrives: no
// frame, and the squares are given back unturned. An unusable step is found
// after the piece has left its square; the caller's board update puts it back.
TEST_F(Animation, NothingToSlideDrawsNoFrame) {
  const struct { int moveAnimation; const char* step; int16_t side, fx, fy; bool pieceLeft; const char* why; } rows[] = {
      {0, "8", -1, 4, 6, false, "switched off, on a turned board"},
      {1, "8", 1, 0, 0, false, "empty from-square"},
      {1, "8 px", 1, 4, 6, true, "not a number"},
      {1, "0", 1, 4, 6, true, "no distance: it would never arrive"},
      {1, "-8", 1, 4, 6, true, "away from the target"},
  };
  for (const auto& row : rows) {
    int16_t squares[4] = {row.fx, row.fy, 4, 4};
    Slide(row.side, row.step, squares, 16, row.moveAnimation);
    EXPECT_TRUE(view_.frames.empty()) << row.why;
    EXPECT_EQ((std::vector<int>(squares, squares + 4)), (std::vector<int>{row.fx, row.fy, 4, 4})) << row.why;
    ViewBoard expected = boardtest::Diagram(kStart);
    if (row.pieceLeft) expected(4, 6) = kEmpty;
    EXPECT_EQ(gViewBoard, expected) << row.why;
  }
  EXPECT_NE(testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()).find("MoveAniPiece of Modul ZVK_Board_Sub"),
            std::string::npos);
}

}  // namespace
