#include <algorithm>
#include <utility>

#include "tests/engine/EngineTestKit.h"

namespace enginetest {
namespace {

const std::vector<std::string> kEmptyRows(8, "........");

std::vector<std::string> With(std::vector<std::string> rows, int x, int y, char piece) {
  rows[static_cast<size_t>(8 - y)][static_cast<size_t>(x - 1)] = piece;
  return rows;
}

// Moves of one piece, in emission order, as (to x, to y), collected through the attack-map sinks.
std::vector<std::pair<int, int>> MovesOf(EngineBoard board, int x, int y) {
  std::vector<std::pair<int, int>> moves;
  gGenMode = 1;
  gVirtualBoard = board;
  gBoardPly1 = board;
  gCandCount = 0;
  gReplyCount = 0;
  if (board(x, y) > 0) {
    Move_Black(board, x, y);
    for (int i = 1; i <= gCandCount; ++i)
      for (int ty = 1; ty <= 8; ++ty)
        for (int tx = 1; tx <= 8; ++tx)
          if (board(tx, ty) <= 0 && gCandBoards[static_cast<size_t>(i)](tx, ty) > 0) moves.push_back({tx, ty});
  } else {
    Move_White(board, x, y);
    for (int i = 1; i <= gReplyCount; ++i)
      for (int ty = 1; ty <= 8; ++ty)
        for (int tx = 1; tx <= 8; ++tx)
          if (board(tx, ty) >= 0 && gReplyBoards[static_cast<size_t>(i)](tx, ty) < 0) moves.push_back({tx, ty});
  }
  return moves;
}

struct CountCase {
  const char* what;
  int x, y;
  char piece;
  size_t moves;
};

TEST_F(EngineTest, MoveCountsOfSinglePiecesOnAnEmptyBoard) {
  const CountCase cases[] = {
      {"knight in the corner", 1, 1, 'n', 2}, {"knight in the middle", 4, 4, 'N', 8},
      {"rook on file 1", 1, 4, 'r', 14},      {"queen in the middle", 4, 5, 'Q', 27},
      {"bishop in the corner", 8, 8, 'b', 7}, {"king in the middle", 5, 5, 'k', 8},
      {"king in the corner", 1, 8, 'K', 3},   {"positive pawn at home", 3, 7, 'p', 2},
      {"negative pawn at home", 3, 2, 'P', 2}, {"pawn off its home rank", 3, 5, 'p', 1},
  };
  for (const CountCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MovesOf(Diagram(With(kEmptyRows, c.x, c.y, c.piece)), c.x, c.y).size(), c.moves);
  }
}

TEST_F(EngineTest, EmissionOrdersOfKingKnightAndPawn) {
  using M = std::vector<std::pair<int, int>>;
  EXPECT_EQ(MovesOf(Diagram(With(kEmptyRows, 4, 4, 'k')), 4, 4),
            (M{{5, 5}, {3, 5}, {3, 3}, {5, 3}, {4, 3}, {4, 5}, {3, 4}, {5, 4}}));
  EXPECT_EQ(MovesOf(Diagram(With(kEmptyRows, 4, 4, 'N')), 4, 4),
            (M{{6, 5}, {6, 3}, {2, 3}, {2, 5}, {5, 6}, {3, 6}, {5, 2}, {3, 2}}));
  // Double step, single step, capture right, capture left.
  auto rows = With(With(With(kEmptyRows, 4, 7, 'p'), 5, 6, 'B'), 3, 6, 'R');
  EXPECT_EQ(MovesOf(Diagram(rows), 4, 7), (M{{4, 5}, {4, 6}, {5, 6}, {3, 6}}));
  // A queen's rays: stop before an own piece, take the first enemy piece.
  rows = With(With(With(kEmptyRows, 1, 1, 'q'), 1, 3, 'p'), 3, 1, 'R');
  EXPECT_EQ(MovesOf(Diagram(rows), 1, 1), (M{{2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}, {8, 8}, {1, 2}, {2, 1}, {3, 1}}));
}

TEST_F(EngineTest, StartPositionCandidatesComeRankEightFirst) {
  gVirtualBoard = StartBoard();
  gMoveNumber = 1;
  Ini_Search();
  ASSERT_EQ(gCandCount, 20);
  auto movedTo = [](const EngineBoard& b) {
    for (int y = 1; y <= 8; ++y)
      for (int x = 1; x <= 8; ++x)
        if (b(x, y) > 0 && gVirtualBoard(x, y) == 0) return std::pair<int, int>{x, y};
    return std::pair<int, int>{0, 0};
  };
  EXPECT_EQ(movedTo(gCandBoards[1]), (std::pair<int, int>{3, 6}));  // b8 knight first
  EXPECT_EQ(movedTo(gCandBoards[2]), (std::pair<int, int>{1, 6}));
  EXPECT_EQ(movedTo(gCandBoards[3]), (std::pair<int, int>{8, 6}));
  EXPECT_EQ(movedTo(gCandBoards[5]), (std::pair<int, int>{1, 5}));  // then a-pawn: double step
  EXPECT_EQ(movedTo(gCandBoards[6]), (std::pair<int, int>{1, 6}));  // before single step
}

TEST_F(EngineTest, PawnsPromoteToQueensInCollectAndSearchModes) {
  gVirtualBoard = Diagram({"....k...", "........", "........", "........", "........", "........", "..p.....", "...R..K."});
  gMoveNumber = 1;
  Ini_Search();
  int queens = 0;
  for (int i = 1; i <= gCandCount; ++i) queens += (gCandBoards[i](3, 1) == kQueen) + (gCandBoards[i](4, 1) == kQueen);
  EXPECT_EQ(queens, 2);  // the step and the capture

  gBoardPly1 = Diagram({"....k...", "..P.....", "........", "........", "........", "........", "........", "......K."});
  gReplyCount = 0;
  gGenMode = 1;
  Move_White(gBoardPly1, 3, 7);
  ASSERT_EQ(gReplyCount, 1);
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
  // The negative side's mode 3 marks alike and never its own pieces.
  EngineBoard b = Diagram(With(With(kEmptyRows, 1, 1, 'R'), 1, 4, 'N'));
  Reset_VirtualBoard();
  gGenMode = 3;
  Move_White(b, 1, 1);
  EXPECT_EQ(gAttackMap(1, 3), 1);
  EXPECT_EQ(gAttackMap(1, 4), 0);
  EXPECT_EQ(gAttackMap(8, 1), 1);
}

TEST_F(EngineTest, KingEscapeKeepsTheLastSafeKingMove) {
  // The positive king on (5, 5) in check from a rook on file 5: every king move off
  // file 5 is safe, and the last of them in generation order, (6, 5), is kept.
  gVirtualBoard = Diagram({"........", "........", "........", "....k...", "........", "........", "R.......", "....R..K"});
  gBestBoard = gVirtualBoard;
  gMoveFound = 0;
  gTestKind = 5;
  gGenMode = 3;
  Move_Black(gVirtualBoard, 5, 5);
  ASSERT_EQ(gMoveFound, 1);
  EXPECT_EQ(gBestBoard(6, 5), kKingPositive);
}

TEST_F(EngineTest, PhaseSelection) {
  const EngineBoard start = StartBoard();
  const EngineBoard fewOwn = Diagram({"k.......", "p.......", "........", "........", "........", "........", "PPPPPPPP", "RNBQKBNR"});
  const EngineBoard fewEnemy = Diagram({"rnbqkbnr", "pppppppp", "........", "........", "........", "........", "PPP.....", "....K..."});
  const struct {
    int32_t moveNumber;
    const EngineBoard* board;
    int32_t phase;
  } cases[] = {
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

TEST_F(EngineTest, Valuer2WithoutOwnKingAndWithBoth) {
  gGamePhase = 5;
  EngineBoard b = StartBoard();
  const float withKings = Valuer2(b);
  EXPECT_GT(withKings, 5000.0f);
  EXPECT_LT(withKings, 5100.0f);
  b(5, 8) = 0;
  EXPECT_EQ(Valuer2(b), -30000.0f);
  EXPECT_EQ(Valuer(StartBoard()), 5000.0f);
}

// The root order at half-move 1 (phase 1) after a White first move.
std::vector<std::pair<std::pair<int, int>, std::pair<int, int>>> RootOrder(const EngineBoard& position, size_t n) {
  gVirtualBoard = position;
  gMoveNumber = 1;
  Ini_Search();
  MoveEvaluationBlack();
  std::vector<std::pair<std::pair<int, int>, std::pair<int, int>>> order;
  for (size_t i = 1; i <= n; ++i) {
    std::pair<int, int> from{0, 0}, to{0, 0};
    for (int y = 1; y <= 8; ++y)
      for (int x = 1; x <= 8; ++x) {
        if (position(x, y) > 0 && gCandBoards[i](x, y) == 0) from = {x, y};
        if (position(x, y) == 0 && gCandBoards[i](x, y) > 0) to = {x, y};
      }
    order.push_back({from, to});
  }
  return order;
}

TEST_F(EngineTest, OpeningOrderingPrefersCentrePawnsThenKnights) {
  using Mv = std::pair<std::pair<int, int>, std::pair<int, int>>;
  EngineBoard afterA3 = StartBoard();
  afterA3(1, 2) = 0;
  afterA3(1, 3) = -kPawn;
  EXPECT_EQ(RootOrder(afterA3, 6), (std::vector<Mv>{{{4, 7}, {4, 5}}, {{5, 7}, {5, 5}}, {{2, 8}, {3, 6}},
                                                    {{7, 8}, {6, 6}}, {{4, 7}, {4, 6}}, {{5, 7}, {5, 6}}}));
  EngineBoard afterE4 = StartBoard();
  afterE4(5, 2) = 0;
  afterE4(5, 4) = -kPawn;
  EXPECT_EQ(RootOrder(afterE4, 1)[0], (Mv{{5, 7}, {5, 5}}));
}

TEST_F(EngineTest, ExchangeSortsKeepTheirOrderRules) {
  // Scores 2, 1, 2, 3 (entries a, b, c, d) sort descending to d, c, a, b.
  const EngineBoard a = Diagram({"k.......", "pp......", "........", "........", "........", "........", "........", ".......K"});
  const EngineBoard b = Diagram({"k.......", "p.......", "........", "........", "........", "........", "........", ".......K"});
  const EngineBoard c = Diagram({"k.......", "........", "pp......", "........", "........", "........", "........", ".......K"});
  const EngineBoard d = Diagram({"k.......", "ppp.....", "........", "........", "........", "........", "........", ".......K"});
  gGamePhase = 0;  // material only
  gCandBoards[1] = a;
  gCandBoards[2] = b;
  gCandBoards[3] = c;
  gCandBoards[4] = d;
  gCandCount = 4;
  MoveEvaluationBlack();
  EXPECT_EQ(gCandBoards[1], d);
  EXPECT_EQ(gCandBoards[2], c);
  EXPECT_EQ(gCandBoards[3], a);
  EXPECT_EQ(gCandBoards[4], b);

  // Replies ascending; equal sums stay in generation order.
  const EngineBoard e = Diagram({"k.......", "........", "........", "........", "........", "........", "P.......", ".......K"});
  const EngineBoard f = Diagram({"k.......", "........", "........", "........", "........", "........", ".P......", ".......K"});
  gReplyBoards[1] = a;
  gReplyBoards[2] = e;
  gReplyBoards[3] = f;
  gReplyCount = 3;
  MoveEvaluationWhite();
  EXPECT_EQ(gReplyBoards[1], e);
  EXPECT_EQ(gReplyBoards[2], f);
  EXPECT_EQ(gReplyBoards[3], a);
}

}  // namespace
}  // namespace enginetest
