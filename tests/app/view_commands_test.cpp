// Edit mode from the menu; turning the board, changing sides and the
// game-mode dialog are driven while a move is under way.

#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

using ViewCommandsTest = MainWindowFixture;

// Edit mode moves pieces without rules and without an engine reply, and
// records the position when it ends; White is then to move.
TEST_F(ViewCommandsTest, EditModeMovesPiecesWithoutRules) {
  NewGame("OfflinePC");
  Move("e2", "e4");
  form->mnuEdit->trigger();
  const int moves = E::gMoveNumber;
  Move("d8", "d3");  // a Black queen through pawns while White is to move
  EXPECT_EQ(At("d3"), E::kQueen);
  EXPECT_EQ(E::gMoveNumber, moves);
  G::gColorToMove = G::kBlack;
  form->mnuEdit->trigger();
  EXPECT_EQ(G::gColorToMove, G::kWhite);
  const std::string record = Record();
  const size_t on = record.find("Edit mode enabled ...");
  const size_t off = record.find("Edit mode disabled");
  ASSERT_NE(off, std::string::npos) << record;
  EXPECT_LT(on, off) << record;
  EXPECT_NE(record.find("D:3", on), std::string::npos) << record;
}

}  // namespace
}  // namespace apptest
