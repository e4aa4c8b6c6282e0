#include "tests/engine/EngineTestKit.h"

namespace enginetest {
namespace {

const std::vector<std::string> kLoneKings = {"....k...", "........", "........", "........", "........", "........", "........", "....K..."};

TEST_F(EngineTest, HumanCastlingAllFourAndTheirAttackTests) {
  const std::vector<std::string> all = {"r...k..r", "pppppppp", "........", "........", "........", "........", "PPPPPPPP", "R...K..R"};
  // Rows in game orientation; the files where king and rook stand afterwards, 0: refused.
  const struct {
    const char* what; std::vector<std::string> rows; int32_t colorToMove; const char *from, *to; int kingX, rookX;
  } cases[] = {
      {"White short", all, kWhite, "e1", "g1", 7, 6},
      {"White long", all, kWhite, "e1", "c1", 3, 4},
      {"Black short (turned back from the mirrored board)", all, kBlack, "e8", "g8", 7, 6},
      {"Black long", all, kBlack, "e8", "c8", 3, 4},
      {"White short through an attacked square",
       {"r...kr..", "ppppp.pp", "........", "........", "........", "........", "PPPPP..P", "R...K..R"}, kWhite, "e1", "g1", 0, 0},
      {"Black long with b8 attacked is fine",
       {"r...k..r", "p.pppppp", "........", "........", "........", "........", "P.PPPPPP", "RR..K..."}, kBlack, "e8", "c8", 3, 4},
      {"Black long with d8 attacked",
       {"r...k..r", "ppp.pppp", "........", "........", "........", "........", "PPP.PPPP", "...RK..."}, kBlack, "e8", "c8", 0, 0},
      {"White long with a piece on b1",
       {"r...k..r", "pppppppp", "........", "........", "........", "........", "PPPPPPPP", "RN..K..R"}, kWhite, "e1", "c1", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    NewGame("OfflinePP", kWhite);
    const EngineBoard position = Diagram(c.rows);
    const int32_t before = c.colorToMove == kWhite ? 20 : 21;
    SetPosition(position, before);
    const bool applied = HumanMove(c.from, c.to);
    EXPECT_EQ(gCastled, c.kingX != 0 ? -1 : 0);
    // A refused castling falls through to an ordinary king move, which the generator refuses too.
    EXPECT_EQ(applied, c.kingX != 0);
    if (c.kingX == 0) {
      EXPECT_EQ(gMoveNumber, before);
      EXPECT_EQ(gVirtualBoard, position);
      continue;
    }
    EXPECT_EQ(gMoveNumber, before + 1);
    const int rank = c.colorToMove == kWhite ? 1 : 8;
    EXPECT_EQ(gGameLog.back()(c.kingX, rank), rank == 1 ? kKingNegative : kKingPositive);
    EXPECT_EQ(gGameLog.back()(c.rookX, rank), rank == 1 ? -kRook : kRook);
    EXPECT_EQ(gGameLog.back()(5, rank), 0);
    EXPECT_EQ(gVirtualBoard, gGameLog.back());
  }
}

TEST_F(EngineTest, HumanMoveIsAppliedOnlyWhenReachableAndTheKingStaysSafe) {
  const struct { const char* what; std::vector<std::string> rows; const char *from, *to; bool accepted; } cases[] = {
      {"an ordinary move", {"....k...", "........", "........", "........", "........", "........", "....P...", "....K..."}, "e2", "e4", true},
      {"a pinned piece", {"....k...", "....r...", "........", "........", "........", "........", "....N...", "....K..."}, "e2", "c3", false},
      {"next to the other king", {"........", "........", "........", "...k....", "........", "....K...", "........", "........"}, "e3", "e4", false},
      {"onto a square a knight covers", {"....k...", "........", "........", "........", "...n....", "........", "........", "....K..."}, "e1", "e2", false},
      {"a capture that takes the checking piece", {"....k...", "........", "........", "........", "........", "........", "....q...", "....K..."}, "e1", "e2", true},
      {"en passant onto an empty square", {"....k...", "........", "........", "...pP...", "........", "........", "........", "....K..."}, "e5", "d6", false},
      {"a square the piece cannot reach", {"....k...", "........", "........", "........", "........", "........", "........", "R...K..."}, "a1", "b3", false},
      {"a two-square king step", kLoneKings, "e1", "g1", false},
      {"a square number off the board", kLoneKings, "e1", "e0", false},
  };
  testsupport::ProgramTree tree;  // the off-board square is logged
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    NewGame("OfflinePP", kWhite);
    const EngineBoard position = Diagram(c.rows);
    SetPosition(position, 30);
    const int32_t f = Sq(c.from), t = Sq(c.to);
    Movement_us(f, t);
    EXPECT_EQ(gUserMoveAccepted, c.accepted ? -1 : 0);
    EXPECT_EQ(gMoveNumber, c.accepted ? 31 : 30);
    if (c.accepted) {
      EXPECT_EQ(window.lblPlay, "31");
      EXPECT_EQ(gVirtualBoard(t % 8 + 1, 8 - t / 8), position(f % 8 + 1, 8 - f / 8));
    } else {
      EXPECT_EQ(gVirtualBoard, position);
    }
  }
  EXPECT_NE(ErrorLogText().find("Movement_us of Modul ZVK_Engine"), std::string::npos);
}

}  // namespace
}  // namespace enginetest
