// The sliding piece: where each frame puts it, where it ends, how the
// squares are turned for a turned board, and what stops it early.
#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "board/BoardView.h"
#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Globals.h"
#include "support/ZVK_ErrorLog.h"
#include "tests/board/BoardDiagram.h"
#include "tests/board/BoardFakes.h"
#include "tests/main/TestSupport.h"

using namespace ZVK_Board_Sub;
using boardtest::FakeBoardView;

namespace {

struct Point {
  int x, y;
  bool operator==(const Point&) const = default;
};

// Top-left corner of the moving piece in a frame, found by its sprite colour.
Point PieceAt(const QImage& frame, QRgb colour) {
  for (int y = 0; y < frame.height(); ++y)
    for (int x = 0; x < frame.width(); ++x)
      if (frame.pixel(x, y) == colour) return {x - 12, y - 12};
  return {-1, -1};
}

class Animation : public ::testing::Test {
 protected:
  void SetUp() override {
    boardtest::ResetBoardState();
    view_.moveAnimation = 1;
    view_.animationSpeed = 100;
    view_.onRefresh = [this](const QImage& frame) { frames_.push_back(frame); };
  }
  void TearDown() override { boardtest::ResetBoardState(); }

  // Frames drawn by the animation (the first refresh is the board drawn without the piece).
  std::vector<Point> Slide(QRgb colour) {
    std::vector<Point> points;
    for (size_t i = 1; i < frames_.size(); ++i) points.push_back(PieceAt(frames_[i], colour));
    return points;
  }

  testsupport::ProgramTree tree_;
  FakeBoardView view_;
  std::vector<QImage> frames_;
};

// A White pawn to slide with White at the bottom, a White queen to slide on a turned board.
const char* const kStart[8] = {"....k...", "...Q....", "........", "........",
                               "........", "........", "....P...", "....K..."};

TEST_F(Animation, FramesAdvanceByTheChosenDistance) {
  struct Row {
    std::string step;
    int16_t side, fx, fy, tx, ty;
    int piece;
    std::vector<Point> expected;
    const char* why;
  };
  const Row rows[] = {
      {"48", 1, 4, 6, 4, 4, 16, {{192, 240}, {192, 192}}, "one square per frame"},
      {"24", 1, 4, 6, 4, 4, 16, {{192, 264}, {192, 240}, {192, 216}, {192, 192}}, "half a square per frame"},
      {"48", 1, 4, 6, 6, 5, 16, {{240, 240}, {288, 240}}, "a knight reaches its row first, then slides along it"},
      {"48", 1, 4, 6, 2, 7, 16, {{144, 336}, {96, 336}}, "down and to the left"},
      {"16", 1, 4, 6, 4, 5, 16, {{192, 272}, {192, 256}, {192, 240}}, "the list's small steps"},
      // e2-e4 is given with White at the bottom and slides from (3, 1) to (3, 3).
      {"48", -1, 4, 6, 4, 4, 14, {{144, 96}, {144, 144}}, "a turned board"},
  };
  for (const Row& row : rows) {
    frames_.clear();
    ZVK_Globals::gBoardSide = row.side;
    gViewBoard = boardtest::Diagram(kStart);
    view_.moveIncrementation = row.step;
    int16_t fx = row.fx, fy = row.fy, tx = row.tx, ty = row.ty;
    MoveAniPiece(fx, fy, tx, ty);
    EXPECT_EQ(Slide(boardtest::SpriteColour(row.piece)), row.expected) << row.why;
    const auto turned = [&](int v) { return row.side == 1 ? v : 7 - v; };
    EXPECT_EQ((std::vector<int>{fx, fy, tx, ty}),
              (std::vector<int>{turned(row.fx), turned(row.fy), turned(row.tx), turned(row.ty)}))
        << row.why << ": the squares are turned in place";
    EXPECT_EQ(gViewBoard(fx, fy), kEmpty) << row.why << ": the piece has left its square";
    ASSERT_FALSE(frames_.empty());
    EXPECT_EQ(frames_.front().pixel(fx * 48 + 20, fy * 48 + 20), FakeBoardView::kBackground)
        << row.why << ": the background frame shows the from-square empty";
  }
}

// Switched off, from an empty square or with a step that never arrives: no
// frame, and the squares are given back unturned. An unusable step is found
// after the piece has left its square; the caller's board update puts it back.
TEST_F(Animation, NothingToSlideDrawsNoFrame) {
  struct Row {
    int moveAnimation;
    const char* step;
    int16_t side, fx, fy;
    bool pieceLeft;
    const char* why;
  };
  const Row rows[] = {
      {0, "8", -1, 4, 6, false, "switched off, on a turned board"},
      {1, "8", 1, 0, 0, false, "empty from-square"},
      {1, "", 1, 4, 6, true, "no entry selected"},
      {1, "fast", 1, 4, 6, true, "not a number"},
      {1, "0", 1, 4, 6, true, "no distance: it would never arrive"},
      {1, "-8", 1, 4, 6, true, "away from the target"},
  };
  for (const Row& row : rows) {
    frames_.clear();
    ZVK_Globals::gBoardSide = row.side;
    gViewBoard = boardtest::Diagram(kStart);
    view_.moveAnimation = row.moveAnimation;
    view_.moveIncrementation = row.step;
    int16_t fx = row.fx, fy = row.fy, tx = 4, ty = 4;
    MoveAniPiece(fx, fy, tx, ty);
    EXPECT_TRUE(frames_.empty()) << row.why;
    EXPECT_EQ((std::vector<int>{fx, fy, tx, ty}), (std::vector<int>{row.fx, row.fy, 4, 4})) << row.why;
    ViewBoard expected = boardtest::Diagram(kStart);
    if (row.pieceLeft) expected(4, 6) = kEmpty;
    EXPECT_EQ(gViewBoard, expected) << row.why;
  }
  EXPECT_NE(testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()).find("MoveAniPiece of Modul ZVK_Board_Sub"),
            std::string::npos);
}

}  // namespace
