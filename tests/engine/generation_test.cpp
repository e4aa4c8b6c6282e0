#include <tuple>
#include <utility>

#include "tests/engine/EngineTestKit.h"

namespace enginetest {
namespace {

using Square = std::pair<int, int>;

// A board with the given pieces (file, rank, letter) on an empty board.
EngineBoard Place(const std::vector<std::tuple<int, int, char>>& pieces) {
  std::vector<std::string> rows(8, "........");
  for (const auto& [x, y, piece] : pieces) rows[static_cast<size_t>(8 - y)][static_cast<size_t>(x - 1)] = piece;
  return Diagram(rows);
}

// Targets of one piece in emission order, collected by its side's collect sink:
// the square where each collected board differs by a piece.
std::vector<Square> MovesOf(const EngineBoard& board, int x, int y) {
  gGenMode = 1;
  gVirtualBoard = gBoardPly1 = board;
  gCandCount = gReplyCount = 0;
  EngineBoard b = board;
  const bool positive = board(x, y) > 0;
  positive ? Move_Black(b, x, y) : Move_White(b, x, y);
  std::vector<Square> targets;
  for (int i = 1; i <= (positive ? gCandCount : gReplyCount); ++i) {
    const EngineBoard& after = (positive ? gCandBoards : gReplyBoards)[static_cast<size_t>(i)];
    for (int ty = 1; ty <= 8; ++ty)
      for (int tx = 1; tx <= 8; ++tx)
        if (after(tx, ty) != board(tx, ty) && after(tx, ty) != 0) targets.emplace_back(tx, ty);
  }
  return targets;
}

TEST_F(EngineTest, EmissionOrders) {
  using V = std::vector<Square>;
  // The first piece moves; its targets in the order its side's sink receives them. The whole-game
  // signatures pin every order; these rows say where a pawn's change went wrong.
  const struct { const char* what; std::vector<std::tuple<int, int, char>> pieces; V targets; } cases[] = {
      {"pawn: double step, step, capture right, left", {{4, 7, 'p'}, {5, 6, 'B'}, {3, 6, 'R'}}, {{4, 5}, {4, 6}, {5, 6}, {3, 6}}},
      {"negative pawn off its home rank", {{3, 3, 'P'}, {4, 4, 'n'}, {2, 4, 'k'}}, {{3, 4}, {4, 4}, {2, 4}}},
      {"blocked pawn at home", {{3, 7, 'p'}, {3, 6, 'P'}}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto [x, y, piece] = c.pieces.front();
    EXPECT_EQ(MovesOf(Place(c.pieces), x, y), c.targets);
  }
}

}  // namespace
}  // namespace enginetest
