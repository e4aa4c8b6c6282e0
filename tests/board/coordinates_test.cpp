// The joins between engine cells, displayed squares, square numbers and the
// mouse, and the picture numbers of the engine's piece codes.
#include <gtest/gtest.h>

#include <limits>

#include "board/BoardView.h"
#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "tests/board/BoardDiagram.h"
#include "tests/board/BoardFakes.h"
#include "tests/main/TestSupport.h"

using namespace ZVK_Board_Sub;

namespace {

class Coordinates : public ::testing::Test {
 protected:
  void SetUp() override { boardtest::ResetBoardState(); }
  void TearDown() override { ZVK_Globals::gBoardSide = 1; }
};

TEST_F(Coordinates, PictureAndMaskNumbersOfEngineCodes) {
  struct Row {
    int32_t code;
    uint8_t picture;
    int mask;
  };
  const Row rows[] = {
      {50, 1, 21},   {30, 2, 22},   {32, 3, 23},   {90, 4, 24},   {15000, 5, 25},  {10, 6, 26},   // Black
      {-50, 11, 21}, {-30, 12, 22}, {-32, 13, 23}, {-90, 14, 24}, {-10000, 15, 25}, {-10, 16, 26},  // White
      {0, 0, 0},     {2, 0, 0},     {100, 0, 0},   {-15000, 0, 0}, {10000, 0, 0},  // empty, border, not a piece
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ConvertFigureNumber(row.code), row.picture) << row.code;
    EXPECT_EQ(MaskNumber(row.picture), row.mask) << row.code;
  }
}

TEST_F(Coordinates, EngineCellsSquaresAndNumbersJoinInBothOrientations) {
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
  };
  for (const Row& row : rows) {
    ZVK_Globals::gBoardSide = row.side;
    EXPECT_EQ(EngineToView(row.x, row.y), row.square) << row.side << " " << row.x << "," << row.y;
    EXPECT_EQ(SquareNumber(row.square.c, row.square.r), row.number);
  }
  // Every cell comes back by the reverse join and by the engine's reading of
  // its number, also of the number a move's squares get (the from-square and
  // the point-mirrored to-square here).
  for (int16_t side : {int16_t{1}, int16_t{-1}}) {
    ZVK_Globals::gBoardSide = side;
    for (int y = 1; y <= 8; ++y)
      for (int x = 1; x <= 8; ++x) {
        const Square s = EngineToView(x, y);
        ASSERT_TRUE(s.c >= 0 && s.c < 8 && s.r >= 0 && s.r < 8);
        EXPECT_EQ(ViewToEngine(s.c, s.r), (Cell{x, y})) << side;
        const int n = SquareNumber(s.c, s.r);
        EXPECT_EQ((Cell{n % 8 + 1, 8 - n / 8}), (Cell{x, y})) << side;
        gFromX = static_cast<int16_t>(s.c), gFromY = static_cast<int16_t>(s.r);
        gToX = static_cast<int16_t>(7 - s.c), gToY = static_cast<int16_t>(7 - s.r);
        Convert2IposBoard();
        EXPECT_EQ(ZVK_Globals::gIposFrom, n) << side;
        EXPECT_EQ(ZVK_Globals::gIposTo, 63 - n) << side;
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

TEST_F(Coordinates, UpdateShowsTheGamePositionInEitherOrientation) {
  testsupport::ProgramTree tree;
  boardtest::FakeBoardView view;
  ZVK_Engine::EngineBoard board;
  board(5, 1) = -10000;
  board(4, 8) = 90;
  board(1, 2) = -10;
  board(3, 3) = 100;  // not a piece code: shown empty
  ZVK_Engine::gVirtualBoard = board;

  ZVK_Globals::gBoardSide = 1;
  view.frontEnabled = false;
  Update_Board();
  EXPECT_EQ(gViewBoard, boardtest::Diagram(
      {"...q....", "........", "........", "........", "........", "........", "P.......", "....K..."}));
  EXPECT_TRUE(view.frontEnabled);
  EXPECT_GE(view.refreshCount, 1);

  ZVK_Globals::gBoardSide = -1;
  Update_Board();
  EXPECT_EQ(gViewBoard, boardtest::Diagram(
      {"...K....", ".......P", "........", "........", "........", "........", "........", "....q..."}));
}

}  // namespace
