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

namespace apptest {
namespace {

// A tournament game closes the edit box with the menu's Edit (a correspondence
// game is always one) and leaves an edit mode it found on; a training game
// opens both again. In a correspondence game nothing lets the engine move for
// the partner: neither the box nor the start button, shown or not.
TEST_F(ViewCommandsTest, ATournamentClosesTheEditBoxAndTheEngineNeverPlaysForThePartner) {
  NewGame("OnlinePP", G::kWhite, 1);
  form->mnuEdit->trigger();  // on before the game is set up
  ASSERT_EQ(app::CheckValue(form->setup), 1);
  B::ClearGameRecord();  // the new game's record
  form->ApplyGameType(false);
  EXPECT_FALSE(form->setup->isEnabled());
  EXPECT_FALSE(form->mnuEdit->isEnabled());
  EXPECT_FALSE(form->mnuEdit->isChecked());
  EXPECT_EQ(app::CheckValue(form->setup), 0);
  EXPECT_EQ(Record(), "");  // left quietly: the game's record is the partner's too
  Move("e2", "e4");  // a move by the rules, waiting to be sent
  form->setup->click();
  form->setup->click();
  EXPECT_EQ(app::CheckValue(form->setup), 0);
  form->cmdStartCPUMove->setVisible(true);  // however it came to be shown
  form->cmdStartCPUMove->click();
  EXPECT_EQ(G::gGameMode, "OnlinePP");
  EXPECT_EQ(E::gMoveNumber, 1);
  EXPECT_EQ(G::gColorToMove, G::kBlack);
  EXPECT_TRUE(form->cmdStartCPUMove->isHidden());
  form->ApplyGameType(true);
  EXPECT_TRUE(form->setup->isEnabled());
  EXPECT_TRUE(form->mnuEdit->isEnabled());
}

// Leaving edit mode keeps the side to move of the half-move shown: no side
// moves twice, and Save and Load give the side the screen shows. The start
// button is offered only on the engine's turn, where it lets the engine move.
TEST_F(ViewCommandsTest, LeavingEditModeKeepsTheSideToMove) {
  // The human's colour, the board's side, the moves made, a look back?, the side to move after the
  // edit, the start button offered?, the half-move after the human's next move (and the engine's replies).
  const std::tuple<int32_t, int16_t, std::vector<std::pair<const char*, const char*>>, bool, int32_t, bool, int>
      cases[] = {
          // The human Black at Black's turn, White's first move by hand: Black keeps the move.
          {G::kBlack, -1, {{"e2", "e4"}}, false, G::kBlack, false, 3},
          // The human White looks back to the engine's (Black's) turn: the engine plays Black.
          {G::kWhite, 1, {{"e2", "e4"}}, true, G::kBlack, true, 4},
          // The human White at White's turn.
          {G::kWhite, 1, {{"e2", "e4"}}, false, G::kWhite, false, 4},
      };
  const std::string file = tree.path("edited.chs");
  for (const auto& [human, side, moves, lookBack, toMove, offered, reached] : cases) {
    SCOPED_TRACE(std::to_string(human) + (lookBack ? " looked back" : ""));
    NewGame("OfflinePC", human, side);
    form->sldLevel->setValue(1);
    for (const auto& [from, to] : moves) Move(from, to);
    if (lookBack) form->mnuMoveBack->trigger();
    form->mnuEdit->trigger();
    form->mnuEdit->trigger();
    EXPECT_EQ(G::gColorToMove, toMove);
    EXPECT_EQ(form->cmdStartCPUMove->isVisible(), offered);
    ASSERT_TRUE(B::SaveCompleteGame(file) && B::LoadCompleteGame(file));
    EXPECT_EQ(G::gColorToMove, toMove);
    if (offered) form->cmdStartCPUMove->click();
    ASSERT_EQ(G::gColorToMove, human);
    const bool white = human == G::kWhite;
    Move(white ? "d2" : "d7", white ? "d4" : "d5");
    EXPECT_EQ(E::gMoveNumber, reached);
    // Each logged half-move is a move of the side whose turn it was: its pieces alone changed.
    for (int k = 1; k <= E::gMoveNumber; ++k) {
      SCOPED_TRACE(k);
      const E::EngineBoard &before = E::gGameLog[k - 1], &after = E::gGameLog[k];
      for (size_t i = 0; i < after.cells.size(); ++i)
        if (after.cells[i] != 0 && after.cells[i] != before.cells[i]) {
          EXPECT_GT(after.cells[i] * (k % 2 == 1 ? -1 : 1), 0);
        }
    }
  }
}

}  // namespace
}  // namespace apptest
