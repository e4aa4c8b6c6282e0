#include <set>

#include "tests/engine/EngineTestKit.h"

namespace enginetest {
namespace {

// Every position stays a chess position: known codes only, intact rings, one king a side.
void ExpectSound(const EngineBoard& b) {
  static const std::set<int32_t> codes = {0, kPawn, kKnight, kBishop, kRook, kQueen, kKingPositive,
                                          -kPawn, -kKnight, -kBishop, -kRook, -kQueen, kKingNegative};
  int positiveKings = 0, negativeKings = 0;
  for (int y = -1; y <= 10; ++y)
    for (int x = -1; x <= 10; ++x) {
      const int32_t c = b(x, y);
      if (x < 1 || x > 8 || y < 1 || y > 8) {
        ASSERT_EQ(c, kOffBoard) << x << "," << y;
        continue;
      }
      ASSERT_TRUE(codes.count(c)) << "code " << c << " at " << x << "," << y;
      positiveKings += c == kKingPositive;
      negativeKings += c == kKingNegative;
    }
  ASSERT_EQ(positiveKings, 1);
  ASSERT_EQ(negativeKings, 1);
}

class WholeGame : public EngineTest {
 protected:
  // The engines play on from the current position; returns the game log.
  std::vector<EngineBoard> PlayOn(int halfMoves) {
    for (int i = 0; i < halfMoves && ZVK_Globals::gGameStopped == 0; ++i) {
      const int32_t before = gMoveNumber;
      const int32_t mover = ZVK_Globals::gColorToMove;
      EngineMove();
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
    game = PlayOn(40);
    ASSERT_FALSE(HasFatalFailure());
  }
  EXPECT_GE(games[0].size(), 20u);
  EXPECT_EQ(games[0], games[1]);
}

TEST_F(WholeGame, EngineAgainstItselfFromSetPositions) {
  const std::vector<std::vector<std::string>> positions = {
      {"r.bqk..r", "pppp.ppp", "..n..n..", "..b.p...", "..B.P...", ".....N..", "PPPP.PPP", "RNBQK..R"},
      {"r....rk.", "pp..qppp", "..p.bn..", "...p....", "...P....", "..NBPN..", "PP...PPP", "R..Q.RK."},
      {"........", ".....k..", "..p.....", "...p.p..", "...P.P..", "....K...", "........", "........"},
      {"...r..k.", "......pp", "........", "........", "........", "........", "Q.....PP", "......K."},
  };
  for (size_t i = 0; i < positions.size(); ++i) {
    SCOPED_TRACE(i);
    std::vector<EngineBoard> runs[2];
    for (auto& run : runs) {
      NewGame("OfflineCC", kWhite);
      SetPosition(Diagram(positions[i]), static_cast<int32_t>(10 + i));  // both colours start some game
      run = PlayOn(12);
      ASSERT_FALSE(HasFatalFailure());
    }
    EXPECT_EQ(runs[0], runs[1]);
  }
}

TEST_F(WholeGame, HumanAgainstEngineAsWhite) {
  // The engine plays White on the mirrored board; every stored position is in game orientation.
  NewGame("OfflinePC", kBlack);
  EngineMove();
  const char* replies[][2] = {{"e7", "e5"}, {"b8", "c6"}, {"g8", "f6"}, {"d7", "d6"}};
  for (auto& r : replies) {
    if (!HumanMove(r[0], r[1])) {
      // The engine's moves may have blocked this one; any refused move must leave the board untouched.
      EXPECT_EQ(gVirtualBoard, gGameLog.back());
      continue;
    }
    EXPECT_EQ(ZVK_Globals::gColorToMove, kWhite);
    EngineMove();
    ExpectSound(gVirtualBoard);
    ASSERT_FALSE(HasFatalFailure());
    // White's pieces stay negative: the White king never reaches rank 8 in a few moves.
    EXPECT_EQ(ZVK_Globals::gColorToMove, kBlack);
    int whiteHome = 0;
    for (int x = 1; x <= 8; ++x) whiteHome += gVirtualBoard(x, 1) < 0;
    EXPECT_GE(whiteHome, 4);
  }
  EXPECT_GE(gMoveNumber, 5);
}

}  // namespace
}  // namespace enginetest
