#include <algorithm>
#include <set>

#include "tests/engine/EngineTestKit.h"

namespace enginetest {
namespace {

// Every position stays a chess position: known codes only, intact rings, one king a side.
void ExpectSound(const EngineBoard& b) {
  static const std::set<int32_t> codes = {0, kPawn, kKnight, kBishop, kRook, kQueen, kKingPositive,
                                          -kPawn, -kKnight, -kBishop, -kRook, -kQueen, kKingNegative};
  for (int y = -1; y <= 10; ++y)
    for (int x = -1; x <= 10; ++x) {
      const bool playing = x >= 1 && x <= 8 && y >= 1 && y <= 8;
      ASSERT_TRUE(playing ? codes.count(b(x, y)) == 1 : b(x, y) == kOffBoard) << b(x, y) << " at " << x << "," << y;
    }
  ASSERT_EQ(std::count(b.cells.begin(), b.cells.end(), kKingPositive), 1);
  ASSERT_EQ(std::count(b.cells.begin(), b.cells.end(), kKingNegative), 1);
}

class WholeGame : public EngineTest {
 protected:
  long long evaluated = 0;  // over all searches: a change of it is a change of the engine's play

  // The engines play on from the current position; returns the game log.
  std::vector<EngineBoard> PlayOn(int halfMoves) {
    for (int i = 0; i < halfMoves && ZVK_Globals::gGameStopped == 0; ++i) {
      const int32_t before = gMoveNumber;
      const int32_t mover = ZVK_Globals::gColorToMove;
      EngineMove();
      evaluated += static_cast<long long>(gEvaluatedMoves);
      if (ZVK_Globals::gGameStopped != 0) break;
      EXPECT_EQ(gMoveNumber, before + 1);
      EXPECT_NE(ZVK_Globals::gColorToMove, mover);
      EXPECT_EQ(gGameLog.size(), static_cast<size_t>(gMoveNumber) + 1);
      EXPECT_EQ(gVirtualBoard, gGameLog.back());
      ExpectSound(gVirtualBoard);
      if (HasFatalFailure()) break;
    }
    return gGameLog;
  }
};

TEST_F(WholeGame, EngineAgainstItselfFromTheStartIsSoundAndDeterministic) {
  std::vector<EngineBoard> games[2];
  for (auto& game : games) {
    NewGame("OfflineCC", kWhite);
    ASSERT_TRUE(HumanMove("e2", "e4"));  // the first move is the user's
    evaluated = 0;
    game = PlayOn(40);
    ASSERT_FALSE(HasFatalFailure());
  }
  EXPECT_GE(games[0].size(), 20u);
  EXPECT_EQ(games[0], games[1]);
  EXPECT_EQ(evaluated, 5504602);
}

TEST_F(WholeGame, EngineAgainstItselfFromSetPositions) {
  const std::vector<std::vector<std::string>> positions = {
      {"r.bqk..r", "pppp.ppp", "..n..n..", "..b.p...", "..B.P...", ".....N..", "PPPP.PPP", "RNBQK..R"},
      {"r....rk.", "pp..qppp", "..p.bn..", "...p....", "...P....", "..NBPN..", "PP...PPP", "R..Q.RK."},
      {"........", ".....k..", "..p.....", "...p....", "...P.P..", "....K...", "........", "........"},
      {"...r..k.", "......pp", "........", "........", "........", "........", "Q.....PP", "......K."},
  };
  for (size_t i = 0; i < positions.size(); ++i) {
    SCOPED_TRACE(i);
    NewGame("OfflineCC", kWhite);
    SetPosition(Diagram(positions[i]), static_cast<int32_t>(10 + i));  // both colours start some game
    EXPECT_GE(PlayOn(12).size(), 16u + i);
    ASSERT_FALSE(HasFatalFailure());
  }
  EXPECT_EQ(evaluated, 4880404);  // middlegames and endgames (few pieces: their own ordering terms)
}

}  // namespace
}  // namespace enginetest
