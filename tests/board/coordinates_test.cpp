// The joins between engine cells, displayed squares, square numbers and the
// mouse, and the picture numbers of the engine's piece codes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "board/BoardView.h"
#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "tests/board/BoardDiagram.h"
#include "tests/main/TestSupport.h"

using namespace ZVK_Board_Sub;

namespace {

class Coordinates : public ::testing::Test {
 protected:
  void SetUp() override { boardtest::ResetBoardState(); }
  void TearDown() override { ZVK_Globals::gBoardSide = 1; }
};

TEST_F(Coordinates, PictureNumbersOfEngineCodes) {
  struct Row {
    int32_t code;
    uint8_t picture;
  };
  const Row rows[] = {
      {50, 1},     {30, 2},      {32, 3},   {90, 4},   {15000, 5}, {10, 6},  // Black
      {-50, 11},   {-30, 12},    {-32, 13}, {-90, 14}, {-10000, 15}, {-10, 16},  // White
      {0, 0},      {2, 0},       {100, 0},  {-15000, 0}, {10000, 0},  // empty, border, not a piece
  };
  for (const Row& row : rows) EXPECT_EQ(ConvertFigureNumber(row.code), row.picture) << row.code;
}

TEST_F(Coordinates, EveryPieceSharesOneMaskPerKind) {
  for (int kind = 1; kind <= 6; ++kind) {
    EXPECT_EQ(MaskNumber(kind), 20 + kind);
    EXPECT_EQ(MaskNumber(10 + kind), 20 + kind);
  }
  EXPECT_EQ(MaskNumber(0), 0);
}

TEST_F(Coordinates, EngineCellsAndSquaresJoinInBothOrientations) {
  struct Row {
    int16_t side;
    int x, y;
    Square square;
    int number;
  };
  const Row rows[] = {
      {1, 5, 1, {4, 7}, 60},   // e1: White king's square
      {-1, 5, 1, {3, 0}, 60},  // turned board: top row, same square number
      {1, 1, 8, {0, 0}, 0},    // a8 top left
      {-1, 1, 8, {7, 7}, 0},
      {1, 8, 1, {7, 7}, 63},
      {-1, 8, 1, {0, 0}, 63},
  };
  for (const Row& row : rows) {
    ZVK_Globals::gBoardSide = row.side;
    const Square s = EngineToView(row.x, row.y);
    EXPECT_EQ(s, row.square) << row.side << " " << row.x << "," << row.y;
    EXPECT_EQ(ViewToEngine(s.c, s.r), (Cell{row.x, row.y}));
    EXPECT_EQ(SquareNumber(s.c, s.r), row.number);
  }
}

TEST_F(Coordinates, SquareNumbersReadBackToTheSameCellEverywhere) {
  for (int16_t side : {int16_t{1}, int16_t{-1}}) {
    ZVK_Globals::gBoardSide = side;
    for (int y = 1; y <= 8; ++y)
      for (int x = 1; x <= 8; ++x) {
        const Square s = EngineToView(x, y);
        ASSERT_TRUE(s.c >= 0 && s.c < 8 && s.r >= 0 && s.r < 8);
        const int n = SquareNumber(s.c, s.r);
        EXPECT_EQ(n % 8 + 1, x) << side;
        EXPECT_EQ(8 - n / 8, y) << side;
      }
  }
}

TEST_F(Coordinates, MousePointsAreClampedToTheBoard) {
  struct Row {
    double pixels;
    int16_t square;
  };
  const Row rows[] = {{-30, 0}, {-0.5, 0}, {0, 0},    {47.9, 0},   {48, 1},  {200, 4},
                      {383, 7}, {384, 7},  {5000, 7}, {std::numeric_limits<double>::quiet_NaN(), 0}};
  for (const Row& row : rows) EXPECT_EQ(MouseToSquare(row.pixels), row.square) << row.pixels;
}

TEST_F(Coordinates, SquareNumbersOfAMoveAreTurnedWithTheBoard) {
  struct Row {
    int16_t side, fromX, fromY, toX, toY;
    int32_t from, to;
  };
  const Row rows[] = {
      {1, 4, 6, 4, 4, 52, 36},   // e2-e4 with White at the bottom
      {-1, 3, 1, 3, 3, 52, 36},  // the same move on a turned board
      {1, 0, 0, 7, 7, 0, 63},
  };
  for (const Row& row : rows) {
    ZVK_Globals::gBoardSide = row.side;
    gFromX = row.fromX, gFromY = row.fromY, gToX = row.toX, gToY = row.toY;
    Convert2IposBoard();
    EXPECT_EQ(ZVK_Globals::gIposFrom, row.from);
    EXPECT_EQ(ZVK_Globals::gIposTo, row.to);
  }
}

TEST_F(Coordinates, UpdateShowsTheGamePositionInEitherOrientation) {
  testsupport::ProgramTree tree;
  OwnedBoardView view;
  SetBoardView(&view);
  ZVK_Engine::EngineBoard board;
  board.cells.fill(2);
  for (int y = 1; y <= 8; ++y)
    for (int x = 1; x <= 8; ++x) board(x, y) = 0;
  board(5, 1) = -10000;
  board(4, 8) = 90;
  board(1, 2) = -10;
  board(3, 3) = 100;  // not a piece code: shown empty
  ZVK_Engine::gVirtualBoard = board;

  const char* const upright[8] = {"...q....", "........", "........", "........",
                                  "........", "........", "P.......", "....K..."};
  const char* const turned[8] = {"...K....", ".......P", "........", "........",
                                 "........", "........", "........", "....q..."};
  ZVK_Globals::gBoardSide = 1;
  view.frontEnabled = false;
  Update_Board();
  EXPECT_EQ(boardtest::Describe(gViewBoard), boardtest::Describe(boardtest::Diagram(upright)));
  EXPECT_TRUE(view.frontEnabled);
  EXPECT_GE(view.refreshCount, 1);

  ZVK_Globals::gBoardSide = -1;
  Update_Board();
  EXPECT_EQ(boardtest::Describe(gViewBoard), boardtest::Describe(boardtest::Diagram(turned)));
  SetBoardView(nullptr);
}

}  // namespace
