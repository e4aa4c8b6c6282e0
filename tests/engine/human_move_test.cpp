#include "tests/engine/EngineTestKit.h"

namespace enginetest {
namespace {

struct CastleCase {
  const char* what;
  std::vector<std::string> rows;  // game orientation
  int32_t colorToMove;
  const char* from;
  const char* to;
  bool castled;
  int kingX, rookX, rank;  // where king and rook stand afterwards, game orientation
};

TEST_F(EngineTest, HumanCastlingAllFourAndTheirAttackTests) {
  const std::vector<std::string> all = {"r...k..r", "pppppppp", "........", "........", "........", "........", "PPPPPPPP", "R...K..R"};
  const CastleCase cases[] = {
      {"White short", all, kWhite, "e1", "g1", true, 7, 6, 1},
      {"White long", all, kWhite, "e1", "c1", true, 3, 4, 1},
      {"Black short", all, kBlack, "e8", "g8", true, 7, 6, 8},
      {"Black long", all, kBlack, "e8", "c8", true, 3, 4, 8},
      {"White short through an attacked square",
       {"r...kr..", "ppppp.pp", "........", "........", "........", "........", "PPPPP..P", "R...K..R"}, kWhite, "e1", "g1", false, 0, 0, 0},
      {"Black long with b8 attacked is fine",
       {"r...k..r", "p.pppppp", "........", "........", "........", "........", "P.PPPPPP", "RR..K..."}, kBlack, "e8", "c8", true, 3, 4, 8},
      {"Black long with d8 attacked",
       {"r...k..r", "ppp.pppp", "........", "........", "........", "........", "PPP.PPPP", "...RK..."}, kBlack, "e8", "c8", false, 0, 0, 0},
      {"White long with a piece on b1", {"r...k..r", "pppppppp", "........", "........", "........", "........", "PPPPPPPP", "RN..K..R"}, kWhite, "e1", "c1", false, 0, 0, 0},
  };
  for (const CastleCase& c : cases) {
    SCOPED_TRACE(c.what);
    NewGame("OfflinePP", kWhite);
    const EngineBoard position = Diagram(c.rows);
    SetPosition(position, c.colorToMove == kWhite ? 20 : 21);
    const int32_t before = gMoveNumber;
    const bool applied = HumanMove(c.from, c.to);
    EXPECT_EQ(gCastled, c.castled ? -1 : 0);
    if (c.castled) {
      EXPECT_TRUE(applied);
      EXPECT_EQ(gMoveNumber, before + 1);
      const int32_t king = c.rank == 1 ? kKingNegative : kKingPositive;
      const int32_t rook = c.rank == 1 ? -kRook : kRook;
      EXPECT_EQ(gGameLog.back()(c.kingX, c.rank), king);
      EXPECT_EQ(gGameLog.back()(c.rookX, c.rank), rook);
      EXPECT_EQ(gGameLog.back()(5, c.rank), 0);
      EXPECT_EQ(gVirtualBoard, gGameLog.back());
    } else {
      // The caller then tries an ordinary king move, which the generator refuses.
      EXPECT_FALSE(applied);
      EXPECT_EQ(gMoveNumber, before);
      EXPECT_EQ(gVirtualBoard, position);
    }
  }
}

TEST_F(EngineTest, KingAndRookMovedAwayAndBackCanStillCastle) {
  NewGame("OfflinePP", kWhite);
  const char* moves[][2] = {{"e2", "e4"}, {"e7", "e5"}, {"g1", "f3"}, {"g8", "f6"}, {"f1", "e2"}, {"f8", "e7"},
                            {"h1", "g1"}, {"h8", "g8"}, {"g1", "h1"}, {"g8", "h8"}, {"e1", "f1"}, {"a7", "a6"},
                            {"f1", "e1"}, {"a6", "a5"}, {"e1", "g1"}};
  for (auto& m : moves) ASSERT_TRUE(HumanMove(m[0], m[1])) << m[0] << m[1];
  EXPECT_EQ(gCastled, -1);
  EXPECT_EQ(gVirtualBoard(7, 1), kKingNegative);
  EXPECT_EQ(gVirtualBoard(6, 1), -kRook);
}

struct MoveCase {
  const char* what;
  std::vector<std::string> rows;
  const char* from;
  const char* to;
  bool accepted;
};

TEST_F(EngineTest, HumanMoveIsAppliedOnlyWhenReachableAndTheKingStaysSafe) {
  const MoveCase cases[] = {
      {"an ordinary move", {"....k...", "........", "........", "........", "........", "........", "....P...", "....K..."}, "e2", "e4", true},
      {"a pinned piece", {"....k...", "....r...", "........", "........", "........", "........", "....N...", "....K..."}, "e2", "c3", false},
      {"next to the other king", {"........", "........", "........", "...k....", "........", "....K...", "........", "........"}, "e3", "e4", false},
      {"onto a square a knight covers", {"....k...", "........", "........", "........", "...n....", "........", "........", "....K..."}, "e1", "e2", false},
      {"a capture that takes the checking piece", {"....k...", "........", "........", "........", "........", "........", "....q...", "....K..."}, "e1", "e2", true},
      {"en passant onto an empty square", {"....k...", "........", "........", "...pP...", "........", "........", "........", "....K..."}, "e5", "d6", false},
      {"a square the piece cannot reach", {"....k...", "........", "........", "........", "........", "........", "........", "R...K..."}, "a1", "b3", false},
      {"a two-square king step", {"....k...", "........", "........", "........", "........", "........", "........", "....K..."}, "e1", "g1", false},
      {"a square number off the board", {"....k...", "........", "........", "........", "........", "........", "........", "....K..."}, "e1", "e0", false},
  };
  testsupport::ProgramTree tree;  // the off-board square is logged
  for (const MoveCase& c : cases) {
    SCOPED_TRACE(c.what);
    NewGame("OfflinePP", kWhite);
    const EngineBoard position = Diagram(c.rows);
    SetPosition(position, 30);
    const int32_t f = Sq(c.from), t = Sq(c.to);
    Movement_us(f, t);
    EXPECT_EQ(gUserMoveAccepted, c.accepted ? -1 : 0);
    if (c.accepted) {
      EXPECT_EQ(gMoveNumber, 31);
      EXPECT_EQ(window.lblPlay, "31");
      EXPECT_EQ(gVirtualBoard(t % 8 + 1, 8 - t / 8), position(f % 8 + 1, 8 - f / 8));
    } else {
      EXPECT_EQ(gMoveNumber, 30);
      EXPECT_EQ(gVirtualBoard, position);
    }
  }
  EXPECT_NE(testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()).find("Movement_us of Modul ZVK_Engine"), std::string::npos);
}

TEST_F(EngineTest, BlackCastlingOnTheMirroredBoardIsStoredTurnedBack) {
  NewGame("OfflinePP", kWhite);
  SetPosition(Diagram({"r...k..r", "pppppppp", "........", "........", "........", "........", "PPPPPPPP", "R...K..R"}), 21);
  ZVK_Board_Sub::MirrorBoard();
  Check4Castle(Sq("e8"), Sq("g8"));
  ASSERT_EQ(gCastled, -1);
  EXPECT_EQ(gGameLog[22](7, 8), kKingPositive);
  EXPECT_EQ(gGameLog[22](6, 8), kRook);
  EXPECT_EQ(ZVK_Globals::gColorToMove, kWhite);
}

TEST_F(EngineTest, EditingMoveMovesAnyContent) {
  const EngineBoard start = StartBoard();
  Movement_us2(Sq("e4"), Sq("e1"));  // an empty square over the king
  EXPECT_EQ(gVirtualBoard(5, 1), 0);
  Movement_us2(Sq("d8"), Sq("d2"));
  EXPECT_EQ(gVirtualBoard(4, 2), kQueen);
  EXPECT_EQ(gVirtualBoard(4, 8), 0);
  EXPECT_EQ(gMoveNumber, 0);
  EXPECT_EQ(gGameLog.size(), 1u);
  EXPECT_EQ(gGameLog[0], start);
}

}  // namespace
}  // namespace enginetest
