// Setting up games through the real New Game command and its dialog, and
// playing them on the board afterwards.
#include "app/frmNewGame.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

// What the user does in the dialog before pressing OK (or Cancel).
struct Choice {
  int mode = 1;  // option index: 0 two players, 1 against the engine, 2 engine against itself
  bool black = false;    // the local player's colour
  bool tournament = false;
  const char* name1 = nullptr;  // typed over the proposed names when given
  const char* name2 = nullptr;
};

class NewGameTest : public MainWindowFixture {
 protected:
  void Dialog(const std::function<void(app::frmNewGame*)>& act) { NewGameDialog(act, true); }
  void NewGameFromMenu(const Choice& c, bool ok = true, bool fromMenu = true) {
    NewGameDialog(
        [c, ok](app::frmNewGame* d) {
          d->optMode[c.mode]->click();
          d->optColor[c.black ? 1 : 0]->click();
          d->optGameType[c.tournament ? 1 : 0]->click();
          if (c.name1 != nullptr) d->txtNamePlayer1->setText(c.name1);
          if (c.name2 != nullptr) d->txtNamePlayer2->setText(c.name2);
          if (ok) d->cmdOK->click();
        },
        fromMenu);
  }
};

// Each local mode from the menu: the dialog's choices reach the game state,
// the names and the orientation (the modes' play is the move road's).
TEST_F(NewGameTest, EachLocalModeFromTheMenuPlays) {
  struct Case {
    const char* name;
    Choice choice;
    const char* mode;
    const char* white;
    const char* black;
  };
  const Case cases[] = {
      {"two players", {0, false, false, "Ann", "Bob"}, "OfflinePP", "Ann", "Bob"},
      {"against the engine as White", {1}, "OfflinePC", "TESTER", "CPU"},
      {"against the engine as Black", {1, true, true}, "OfflinePC", "CPU", "TESTER"},
      {"engine against itself", {2}, "OfflineCC", "CPU", "CPU"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    answers.Clear();
    form->SetGameStartCommandsEnabled(true);  // the previous game is over
    NewGameFromMenu(c.choice);
    EXPECT_EQ(G::gGameStopped, 0);
    EXPECT_EQ(G::gGameMode, c.mode);
    EXPECT_EQ(G::gPlayerColor, c.choice.black ? G::kBlack : G::kWhite);
    EXPECT_EQ(G::gGameType, c.choice.tournament ? "Tournament" : "Training");
    EXPECT_EQ(form->txtNameWhite->text().toStdString() + "/" + form->txtNameBlack->text().toStdString(),
              std::string(c.white) + "/" + c.black);
    EXPECT_EQ(B::gViewBoard.at(0, 0), c.choice.black ? 11 : 1);  // turned: White's rook h1 top left
    EXPECT_EQ(Record(), "");  // the previous game is gone
  }

  // Cancel, from the command itself while its entries are off during the
  // game, stops the game and changes nothing else.
  const E::EngineBoard board = E::gVirtualBoard;
  NewGameFromMenu({1, true, true}, false, false);
  EXPECT_EQ(G::gGameStopped, G::kTrue);
  EXPECT_EQ(G::gGameMode, "OfflineCC");
  EXPECT_EQ(E::gVirtualBoard, board);
  EXPECT_EQ(G::gBoardSide, 1);
  EXPECT_EQ(Stored("optColor1"), "0");  // Black was chosen, but nothing stored
}

// Choices made at OK come back at the next opening, for their own profile only.
TEST_F(NewGameTest, ChoicesComeBackPerProfile) {
  NewGameFromMenu({0, true, true, "Ann", "Bob"});
  form->SetGameStartCommandsEnabled(true);
  Dialog([](app::frmNewGame* d) {
    EXPECT_TRUE(d->optMode[0]->isChecked() && d->optColor[1]->isChecked() && d->optGameType[1]->isChecked());
    EXPECT_EQ(d->txtNamePlayer1->text() + "/" + d->txtNamePlayer2->text(), "Ann/Bob");
  });

  // A profile with nothing stored opens with the defaults.
  form->cmbProfiles->addItem("Other");
  form->cmbProfiles->setCurrentIndex(1);
  form->txtUserNickName->setText("Nick");
  Dialog([](app::frmNewGame* d) {
    EXPECT_TRUE(d->optMode[1]->isChecked() && d->optColor[0]->isChecked() && d->optGameType[0]->isChecked());
    EXPECT_EQ(d->txtNamePlayer1->text() + "/" + d->txtNamePlayer2->text(), "Nick/CPU");
  });
  EXPECT_EQ(Stored("optMode1", "Other"), "-1");
  form->cmbProfiles->setCurrentIndex(0);
  Dialog([](app::frmNewGame* d) { EXPECT_EQ(d->txtNamePlayer2->text(), "Bob"); });
}

// The move slider takes moves back only in a training game: in a tournament
// no input of the user's reaches it, and the engine's reply still moves it.
// One session, so each game is set up after the last one's type.
TEST_F(NewGameTest, TheMoveSliderTakesMovesBackOnlyInATrainingGame) {
  const std::pair<Choice, const char*> games[] = {
      {{1, false, true}, "against the engine, tournament"},
      {{1, false, false}, "against the engine, training"},
      {{0, false, true}, "two players, tournament"},
      {{0, false, false}, "two players, training"},
  };
  for (const auto& [choice, name] : games) {
    SCOPED_TRACE(name);
    form->SetGameStartCommandsEnabled(true);  // the previous game is over
    NewGameFromMenu(choice);
    form->sldLevel->setValue(1);
    Move("e2", "e4");
    if (choice.mode == 0) Move("e7", "e5");
    ASSERT_EQ(E::gMoveNumber, 2);
    ASSERT_EQ(form->HScroll1->value(), 2);
    const E::EngineBoard board = E::gVirtualBoard;
    const std::string record = Record();
    UserTakesTheMoveSliderBack(*form);
    if (choice.tournament) {
      EXPECT_EQ(E::gMoveNumber, 2);
      EXPECT_EQ(form->HScroll1->value(), 2);
      EXPECT_EQ(E::gVirtualBoard, board);
      EXPECT_EQ(Record(), record);
    } else {
      EXPECT_EQ(E::gMoveNumber, 0);
    }
  }
}

}  // namespace
}  // namespace apptest
