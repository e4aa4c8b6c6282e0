#include <algorithm>
#include <utility>

#include "tests/engine/EngineTestKit.h"

namespace enginetest {
namespace {

using Square = std::pair<int, int>;
using Move = std::pair<Square, Square>;  // from, to

const std::vector<std::string> kEmptyRows(8, "........");

std::vector<std::string> With(std::vector<std::string> rows, int x, int y, char piece) {
  rows[static_cast<size_t>(8 - y)][static_cast<size_t>(x - 1)] = piece;
  return rows;
}

// The move that turned `before` into `after` (for castling: the first square left).
Move MoveOf(const EngineBoard& before, const EngineBoard& after) {
  Move m{};
  for (int y = 1; y <= 8; ++y)
    for (int x = 1; x <= 8; ++x) {
      if (before(x, y) != 0 && after(x, y) == 0 && m.first == Square{}) m.first = {x, y};
      if (after(x, y) != before(x, y) && after(x, y) != 0) m.second = {x, y};
    }
  return m;
}

// Targets of one piece in emission order, collected by its side's collect sink.
std::vector<Square> MovesOf(const EngineBoard& board, int x, int y) {
  gGenMode = 1;
  gVirtualBoard = gBoardPly1 = board;
  gCandCount = gReplyCount = 0;
  EngineBoard b = board;
  const bool positive = board(x, y) > 0;
  positive ? Move_Black(b, x, y) : Move_White(b, x, y);
  std::vector<Square> targets;
  for (int i = 1; i <= (positive ? gCandCount : gReplyCount); ++i)
    targets.push_back(MoveOf(board, (positive ? gCandBoards : gReplyBoards)[static_cast<size_t>(i)]).second);
  return targets;
}

TEST_F(EngineTest, MoveCountsAndEmissionOrders) {
  const struct { const char* what; int x, y; char piece; size_t moves; } cases[] = {
      {"knight in the corner", 1, 1, 'n', 2}, {"knight in the middle", 4, 4, 'N', 8},
      {"rook on file 1", 1, 4, 'r', 14},      {"queen in the middle", 4, 5, 'Q', 27},
      {"bishop in the corner", 8, 8, 'b', 7}, {"king in the middle", 5, 5, 'k', 8},
      {"king in the corner", 1, 8, 'K', 3},   {"positive pawn at home", 3, 7, 'p', 2},
      {"negative pawn at home", 3, 2, 'P', 2}, {"pawn off its home rank", 3, 5, 'p', 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MovesOf(Diagram(With(kEmptyRows, c.x, c.y, c.piece)), c.x, c.y).size(), c.moves);
  }
  using V = std::vector<Square>;
  EXPECT_EQ(MovesOf(Diagram(With(kEmptyRows, 4, 4, 'k')), 4, 4),
            (V{{5, 5}, {3, 5}, {3, 3}, {5, 3}, {4, 3}, {4, 5}, {3, 4}, {5, 4}}));
  EXPECT_EQ(MovesOf(Diagram(With(kEmptyRows, 4, 4, 'N')), 4, 4),
            (V{{6, 5}, {6, 3}, {2, 3}, {2, 5}, {5, 6}, {3, 6}, {5, 2}, {3, 2}}));
  // Double step, single step, capture right, capture left.
  auto rows = With(With(With(kEmptyRows, 4, 7, 'p'), 5, 6, 'B'), 3, 6, 'R');
  EXPECT_EQ(MovesOf(Diagram(rows), 4, 7), (V{{4, 5}, {4, 6}, {5, 6}, {3, 6}}));
  // A queen's rays: stop before an own piece, take the first enemy piece.
  rows = With(With(With(kEmptyRows, 1, 1, 'q'), 1, 3, 'p'), 3, 1, 'R');
  EXPECT_EQ(MovesOf(Diagram(rows), 1, 1), (V{{2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}, {8, 8}, {1, 2}, {2, 1}, {3, 1}}));

  // Root candidates: rank 8 first (the knights), then the a-pawn's double step before its single step.
  gVirtualBoard = StartBoard();
  gMoveNumber = 1;
  Ini_Search();
  ASSERT_EQ(gCandCount, 20);
  V first;
  for (size_t i = 1; i <= 6; ++i) first.push_back(MoveOf(gVirtualBoard, gCandBoards[i]).second);
  EXPECT_EQ(first, (V{{3, 6}, {1, 6}, {8, 6}, {6, 6}, {1, 5}, {1, 6}}));
}

TEST_F(EngineTest, PawnsPromoteToQueensWhenCollected) {
  const EngineBoard b = Diagram({"....k...", "..P.....", "........", "........", "........", "........", "..p.....", "...R..K."});
  ASSERT_EQ(MovesOf(b, 3, 2), (std::vector<Square>{{3, 1}, {4, 1}}));  // the step and the capture
  EXPECT_EQ(gCandBoards[1](3, 1), kQueen);
  EXPECT_EQ(gCandBoards[2](4, 1), kQueen);
  ASSERT_EQ(MovesOf(b, 3, 7).size(), 1u);
  EXPECT_EQ(gReplyBoards[1](3, 8), -kQueen);
}

TEST_F(EngineTest, AttackMapsMarkGeneratedTargetsOnly) {
  // The empty square diagonally in front of an enemy pawn is not marked; with a piece on it, it is.
  for (char occupant : {'.', 'K', 'N'}) {
    SCOPED_TRACE(occupant);
    EngineBoard b = Diagram(With(With(kEmptyRows, 4, 5, 'p'), 5, 4, occupant));
    Reset_VirtualBoard();
    gGenMode = 3;
    gTestKind = 2;
    Move_Black(b, 4, 5);
    EXPECT_EQ(gAttackMap(5, 4), occupant == '.' ? 0 : 1);
    EXPECT_EQ(gAttackMap(4, 4), 1);
  }
}

TEST_F(EngineTest, PhaseSelection) {
  const EngineBoard start = StartBoard();
  const EngineBoard fewOwn = Diagram({"k.......", "p.......", "........", "........", "........", "........", "PPPPPPPP", "RNBQKBNR"});
  const EngineBoard fewEnemy = Diagram({"rnbqkbnr", "pppppppp", "........", "........", "........", "........", "PPP.....", "....K..."});
  const struct { int32_t moveNumber; const EngineBoard* board; int32_t phase; } cases[] = {
      {1, &start, 1}, {3, &start, 2}, {5, &start, 3}, {7, &start, 3}, {9, &start, 5}, {2, &start, 5},
      {12, &fewEnemy, 6}, {12, &fewOwn, 7}, {4, &fewOwn, 7}, {1, &fewOwn, 1}, {9, &fewEnemy, 6},
  };
  for (const auto& c : cases) {
    gMoveNumber = c.moveNumber;
    EvaluateGame(*c.board);
    EXPECT_EQ(gGamePhase, c.phase) << "move " << c.moveNumber;
  }
  EXPECT_EQ(gBlackPieces, 16);
  EXPECT_EQ(gWhitePieces, 4);
}

// The root order at half-move 1 (phase 1) after a White first move.
std::vector<Move> RootOrder(const EngineBoard& position, size_t n) {
  gVirtualBoard = position;
  gMoveNumber = 1;
  Ini_Search();
  MoveEvaluationBlack();
  std::vector<Move> order;
  for (size_t i = 1; i <= n; ++i) order.push_back(MoveOf(position, gCandBoards[i]));
  return order;
}

TEST_F(EngineTest, OpeningOrderingPrefersCentrePawnsThenKnights) {
  EngineBoard afterA3 = StartBoard();
  afterA3(1, 2) = 0;
  afterA3(1, 3) = -kPawn;
  EXPECT_EQ(RootOrder(afterA3, 6), (std::vector<Move>{{{4, 7}, {4, 5}}, {{5, 7}, {5, 5}}, {{2, 8}, {3, 6}},
                                                      {{7, 8}, {6, 6}}, {{4, 7}, {4, 6}}, {{5, 7}, {5, 6}}}));
  EngineBoard afterE4 = StartBoard();
  afterE4(5, 2) = 0;
  afterE4(5, 4) = -kPawn;
  EXPECT_EQ(RootOrder(afterE4, 1)[0], (Move{{5, 7}, {5, 5}}));  // 0.2 more for facing the pawn
}

TEST_F(EngineTest, ExchangeSortsKeepTheirOrderRules) {
  auto board = [](const char* rank7, const char* rank6) {
    return Diagram({"k.......", rank7, rank6, "........", "........", "........", "........", ".......K"});
  };
  auto entries = [](const BoardList& list, size_t n) { return std::vector<EngineBoard>(list.begin() + 1, list.begin() + 1 + n); };
  // Scores 2, 1, 2, 3 (entries a, b, c, d) sort descending to d, c, a, b.
  const EngineBoard a = board("pp......", "........"), b = board("p.......", "........"),
                    c = board("........", "pp......"), d = board("ppp.....", "........");
  gGamePhase = 0;  // material only
  std::copy_n(std::vector<EngineBoard>{a, b, c, d}.begin(), 4, gCandBoards.begin() + 1);
  gCandCount = 4;
  MoveEvaluationBlack();
  EXPECT_EQ(entries(gCandBoards, 4), (std::vector<EngineBoard>{d, c, a, b}));

  // Replies ascending; equal sums stay in generation order.
  const EngineBoard e = board("........", "P......."), f = board("........", ".P......");
  std::copy_n(std::vector<EngineBoard>{a, e, f}.begin(), 3, gReplyBoards.begin() + 1);
  gReplyCount = 3;
  MoveEvaluationWhite();
  EXPECT_EQ(entries(gReplyBoards, 3), (std::vector<EngineBoard>{e, f, a}));
}

}  // namespace
}  // namespace enginetest
