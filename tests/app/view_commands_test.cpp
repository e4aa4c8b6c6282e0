// The view commands from the menu: marker switches, panels, edit mode,
// turning the board, change side and the game-mode dialog.
#include <QAction>
#include <QPushButton>
#include <QRadioButton>

#include "app/frmGameMode.h"
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

// Turning the board turns the view and puts a picked piece down; change side
// turns the position with its colours, and again brings back the logged one.
TEST_F(ViewCommandsTest, TurnBoardAndChangeSide) {
  NewGame("OfflinePP");
  Press("e2");
  form->mnuRotate->trigger();
  EXPECT_EQ(B::gPieceSelected, 0);
  EXPECT_EQ(B::gViewBoard.at(0, 0), 11);  // White's rook h1 top left
  EXPECT_EQ(B::gViewBoard.at(3, 7), 5);   // Black's king e8 on the bottom row
  form->mnuRotate->trigger();
  EXPECT_EQ(B::gViewBoard.at(0, 0), 1);
  Move("e2", "e4");
  form->mnuChangeSide->trigger();
  EXPECT_EQ(At("e4"), 0);
  EXPECT_EQ(B::gViewBoard.at(3, 3), 6);  // White's e4 pawn, turned and now Black's
  form->mnuChangeSide->trigger();
  EXPECT_EQ(E::gVirtualBoard, E::gGameLog.back());
}

// The game-mode dialog shows the mode in force and changes only the mode, on OK alone.
TEST_F(ViewCommandsTest, GameModeDialogChangesTheModeOfARunningGame) {
  NewGame("OfflinePC");
  for (const bool ok : {false, true}) {
    WhenModal([ok](QWidget* modal) {
      auto* d = qobject_cast<app::frmNewMode*>(modal);
      ASSERT_NE(d, nullptr);
      EXPECT_TRUE(d->optMode[1]->isChecked());
      d->optMode[0]->click();
      (ok ? d->cmdOK : d->cmdCancel)->click();
    });
    form->mnuChangeMode->trigger();
    EXPECT_EQ(G::gGameMode, ok ? "OfflinePP" : "OfflinePC");
  }
  EXPECT_EQ(G::gPlayerColor, G::kWhite);
}

}  // namespace
}  // namespace apptest
