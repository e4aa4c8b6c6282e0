// The view commands from the menu: marker switches, panels, edit mode,
// turning the board, change side and the game-mode dialog.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "app/frmGameMode.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

using ViewCommandsTest = MainWindowFixture;

std::string FileLabels(const app::fMainForm& f) {
  std::string s;
  for (QLabel* l : f.lblFile) s += l->text().toStdString();
  for (QLabel* l : f.lblRank) s += l->text().toStdString();
  return s;
}

// Each switch from the menu, twice: its check mark and its toolbar button
// (where it has one) agree after every click and come back where they started.
TEST_F(ViewCommandsTest, MenuChecksAndToolbarButtonsAgree) {
  struct Case {
    QAction* action;
    int button;  // toolbar position, 0 when none
  };
  const Case cases[] = {{form->mnuDangerShow, 0}, {form->mnuShowPossibleMoves, 0}, {form->mnuTakenPieces, 10},
                        {form->mnuEdit, 12}};
  // The taken-pieces panel takes the place of the options panel.
  form->mnuOptions->setChecked(true);
  form->tb->button(16)->setChecked(true);
  form->picGameControl[0]->hide();
  form->picGameControl[1]->show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action->objectName().toStdString());
    const bool start = c.action->isChecked();
    for (bool expected : {!start, start}) {
      c.action->trigger();
      EXPECT_EQ(c.action->isChecked(), expected);
      if (c.button != 0) {
        EXPECT_EQ(form->tb->button(c.button)->isChecked(), expected);
      }
      if (c.action == form->mnuTakenPieces) {
        EXPECT_FALSE(form->mnuOptions->isChecked());
        EXPECT_FALSE(form->tb->button(16)->isChecked());
        EXPECT_FALSE(form->picGameControl[1]->isVisible());
        EXPECT_EQ(form->picGameControl[2]->isVisible(), expected);
        EXPECT_EQ(form->picGameControl[0]->isVisible(), !expected);
      }
    }
  }
}

// Edit mode from the menu moves pieces without rules and records the
// position when it ends; against the engine White is then to move and the
// start button is offered.
TEST_F(ViewCommandsTest, EditModeMovesPiecesWithoutRules) {
  NewGame("OfflinePC");
  Move("e2", "e4");
  ASSERT_EQ(G::gColorToMove, G::kWhite);
  form->mnuEdit->trigger();
  EXPECT_EQ(app::CheckValue(form->setup), 1);
  EXPECT_EQ(form->StatusBar->panel(2)->text(), "Edit Mode");
  EXPECT_TRUE(form->cmdStartCPUMove->isHidden());
  const int moves = E::gMoveNumber;
  Move("d8", "d3");  // a Black queen through pawns while White is to move
  EXPECT_EQ(At("d3"), E::kQueen);
  EXPECT_EQ(At("d8"), 0);
  EXPECT_EQ(E::gMoveNumber, moves);  // the engine does not answer an edit
  G::gColorToMove = G::kBlack;
  form->mnuEdit->trigger();
  EXPECT_EQ(app::CheckValue(form->setup), 0);
  EXPECT_EQ(form->StatusBar->panel(2)->text(), "");
  EXPECT_EQ(G::gColorToMove, G::kWhite);
  EXPECT_FALSE(form->cmdStartCPUMove->isHidden());
  const std::string record = Record();
  const size_t on = record.find("Edit mode enabled ...");
  const size_t off = record.find("Edit mode disabled");
  ASSERT_NE(on, std::string::npos) << record;
  ASSERT_NE(off, std::string::npos) << record;
  EXPECT_LT(on, off);
  EXPECT_NE(record.find("D:3", on), std::string::npos) << record;  // the edited position is listed
}

// Turning the board redraws it the other way round with the other labels and
// puts a picked piece down; twice gives everything back. Change side turns
// the position with its colours; the labels stay.
TEST_F(ViewCommandsTest, TurnBoardAndChangeSide) {
  NewGame("OfflinePP");
  Press("e2");
  ASSERT_EQ(B::gPieceSelected, G::kTrue);
  const std::string normal = FileLabels(*form);
  form->mnuRotate->trigger();
  EXPECT_EQ(G::gBoardSide, -1);
  EXPECT_EQ(B::gPieceSelected, 0);
  EXPECT_EQ(FileLabels(*form), "HGFEDCBAHGFEDCBA8765432187654321");
  EXPECT_EQ(B::gViewBoard.at(0, 0), 11);  // White's rook h1 top left
  EXPECT_EQ(B::gViewBoard.at(3, 7), 5);   // Black's king e8 on the bottom row, fourth from the left
  form->mnuRotate->trigger();
  EXPECT_EQ(G::gBoardSide, 1);
  EXPECT_EQ(FileLabels(*form), normal);
  EXPECT_EQ(B::gViewBoard.at(0, 0), 1);

  Move("e2", "e4");
  form->mnuChangeSide->trigger();
  EXPECT_EQ(At("d5"), E::kPawn);  // White's e4 pawn, turned and now Black's
  EXPECT_EQ(At("e4"), 0);
  EXPECT_EQ(B::gViewBoard.at(3, 3), 6);
  EXPECT_EQ(FileLabels(*form), normal);
}

// The game-mode dialog shows the mode in force and changes only the mode.
TEST_F(ViewCommandsTest, GameModeDialogChangesTheModeOfARunningGame) {
  struct Step {
    int choose;  // option index, -1 none
    bool ok;
    const char* expectedChecked;  // the option shown at opening, "" none
    const char* modeAfter;
  };
  // Before any game no option is shown and OK without a choice keeps the empty mode.
  WhenModal([](QWidget* modal) {
    auto* d = qobject_cast<app::frmNewMode*>(modal);
    ASSERT_NE(d, nullptr);
    for (QRadioButton* o : d->optMode) EXPECT_FALSE(o->isChecked());
    d->cmdOK->click();
  });
  form->mnuChangeMode->trigger();
  EXPECT_EQ(G::gGameMode, "");

  NewGame("OfflinePC");
  const Step steps[] = {{0, false, "OfflinePC", "OfflinePC"}, {0, true, "OfflinePC", "OfflinePP"}};
  for (const Step& s : steps) {
    WhenModal([s](QWidget* modal) {
      auto* d = qobject_cast<app::frmNewMode*>(modal);
      ASSERT_NE(d, nullptr);
      EXPECT_EQ(d->windowTitle(), "   Change  Mode . . .");
      EXPECT_TRUE(d->optMode[1]->isChecked());
      d->optMode[static_cast<size_t>(s.choose)]->click();
      (s.ok ? d->cmdOK : d->cmdCancel)->click();
    });
    form->mnuChangeMode->trigger();
    EXPECT_EQ(G::gGameMode, s.modeAfter);
  }
  // Two players now: the engine does not answer White's move.
  Move("e2", "e4");
  EXPECT_EQ(E::gMoveNumber, 1);
  EXPECT_EQ(G::gColorToMove, G::kBlack);
  EXPECT_EQ(G::gPlayerColor, G::kWhite);
}

}  // namespace
}  // namespace apptest
