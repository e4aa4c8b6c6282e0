// The joins between engine cells, displayed squares and square numbers, and
// the picture numbers of the engine's piece codes.
#include "engine/ZVK_Engine.h"
#include "tests/board/BoardFakes.h"  // also gtest and the board's headers

using namespace ZVK_Board_Sub;
using boardtest::Diagram;

namespace {

using Coordinates = boardtest::BoardTest;

// e1 is the bottom row upright and the top row turned, with one square number;
// then every cell comes back by the reverse join, by the engine's reading of
// its number and through a move's numbers (to the point-mirrored square).
TEST_F(Coordinates, EngineCellsSquaresAndNumbersJoinInBothOrientations) {
  for (int16_t side : {int16_t{1}, int16_t{-1}}) {
    ZVK_Globals::gBoardSide = side;
    EXPECT_EQ(EngineToView(5, 1), side == 1 ? (Square{4, 7}) : (Square{3, 0}));
    for (int y = 1; y <= 8; ++y)
      for (int x = 1; x <= 8; ++x) {
        const Square s = EngineToView(x, y);
        ASSERT_TRUE(s.c >= 0 && s.c < 8 && s.r >= 0 && s.r < 8);
        EXPECT_EQ(ViewToEngine(s.c, s.r), (Cell{x, y})) << side;
        const int n = SquareNumber(s.c, s.r);
        EXPECT_EQ((Cell{n % 8 + 1, 8 - n / 8}), (Cell{x, y})) << side;
        gFromX = int16_t(s.c), gFromY = int16_t(s.r), gToX = int16_t(7 - s.c), gToY = int16_t(7 - s.r);
        Convert2IposBoard();
        EXPECT_EQ(ZVK_Globals::gIposFrom, n) << side;
        EXPECT_EQ(ZVK_Globals::gIposTo, 63 - n) << side;
      }
  }
}

TEST_F(Coordinates, UpdateShowsTheGamePosition) {
  boardtest::FakeBoardView view;
  ZVK_Engine::gVirtualBoard = {};
  ZVK_Engine::gVirtualBoard(5, 1) = -10000;
  ZVK_Engine::gVirtualBoard(4, 8) = 90;
  ZVK_Engine::gVirtualBoard(1, 2) = -10;
  ZVK_Engine::gVirtualBoard(3, 3) = 100;  // not a piece code: shown empty
  ZVK_Engine::gVirtualBoard(2, 3) = 2;    // nor the border's code
  ZVK_Engine::gVirtualBoard(8, 8) = -90;
  const int32_t more[] = {50, 30, 32, 15000, 10, -50, -30, -32};
  for (int x = 1; x <= 8; ++x) ZVK_Engine::gVirtualBoard(x, 5) = more[x - 1];
  view.frontEnabled = false;
  Update_Board();
  EXPECT_EQ(gViewBoard, Diagram("...q...Q/......../......../rnbkpRNB/......../......../P......./....K..."));
  EXPECT_TRUE(view.frontEnabled);
  EXPECT_GE(view.refreshCount, 1);
}

}  // namespace
