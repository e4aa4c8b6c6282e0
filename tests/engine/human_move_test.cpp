#include "tests/engine/EngineTestKit.h"

namespace enginetest {
namespace {

TEST_F(EngineTest, HumanCastlingAllFourAndTheirAttackTests) {
  const std::vector<std::string> all = {"r...k..r", "pppppppp", "........", "........", "........", "........", "PPPPPPPP", "R...K..R"};
  // Where king and rook stand afterwards, and the files whose attack forbids the castling.
  const struct { const char *from, *to; int kingX, rookX; std::string guarded; } castlings[] = {
      {"e1", "g1", 7, 6, "efg"}, {"e1", "c1", 3, 4, "cde"}, {"e8", "g8", 7, 6, "efg"}, {"e8", "c8", 3, 4, "cde"}};
  for (const auto& c : castlings)
    for (const char attacked : std::string("-abcdefgh")) {
      SCOPED_TRACE(std::string(c.from) + c.to + ", attacked: " + attacked);
      const bool white = c.from[1] == '1';
      NewGame("OfflinePP", kWhite);
      const EngineBoard position = Diagram(attacked == '-' ? all : AttackFile(all, attacked, !white));
      SetPosition(position, white ? 20 : 21);
      const bool allowed = c.guarded.find(attacked) == std::string::npos;
      // A refused castling falls through to an ordinary king move, which the generator refuses too.
      EXPECT_EQ(HumanMove(c.from, c.to), allowed);
      EXPECT_EQ(gCastled, allowed ? -1 : 0);
      if (!allowed) {
        EXPECT_EQ(gVirtualBoard, position);
        continue;
      }
      const int rank = white ? 1 : 8;
      EXPECT_EQ(gGameLog.back()(c.kingX, rank), white ? kKingNegative : kKingPositive);
      EXPECT_EQ(gGameLog.back()(c.rookX, rank), white ? -kRook : kRook);
      EXPECT_EQ(Valuer(gGameLog.back()), Valuer(position));  // king and rook left their squares
      EXPECT_EQ(gVirtualBoard, gGameLog.back());
    }
  // A piece between king and rook.
  NewGame("OfflinePP", kWhite);
  std::vector<std::string> knightOnB1 = all;
  knightOnB1[7][1] = 'N';
  SetPosition(Diagram(knightOnB1), 20);
  EXPECT_FALSE(HumanMove("e1", "c1"));
}

TEST_F(EngineTest, HumanMoveIsAppliedOnlyWhenReachableAndTheKingStaysSafe) {
  const struct { const char* what; std::vector<std::string> rows; const char *from, *to; bool accepted; } cases[] = {
      {"an ordinary move", {"....k...", "........", "........", "........", "........", "........", "....P...", "....K..."}, "e2", "e4", true},
      {"a pinned piece", {"....k...", "....r...", "........", "........", "........", "........", "....N...", "....K..."}, "e2", "c3", false},
      {"a capture that takes the checking piece", {"....k...", "........", "........", "........", "........", "........", "....q...", "....K..."}, "e1", "e2", true},
      {"a square the piece cannot reach", {"....k...", "........", "........", "........", "........", "........", "........", "R...K..."}, "a1", "b3", false},
      {"a square number off the board", {"....k...", "........", "........", "........", "........", "........", "........", "....K..."}, "e1", "e0", false},
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
