// Looking through a recorded game with the Move menu, the playing level and
// the engine's hint.
#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QSlider>
#include <optional>
#include <set>

#include "board/TextNumbers.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

class NavigationTest : public MainWindowFixture {
 protected:
  // Six half-moves with a capture at 3 (a black pawn) and at 4 (a white pawn).
  void PlayRecordedGame(const std::string& mode = "OfflinePP", int32_t player = G::kWhite) {
    NewGame(mode == "OfflinePC" ? "OfflinePP" : mode, player);
    for (auto [from, to] : {std::pair{"e2", "e4"}, {"d7", "d5"}, {"e4", "d5"}, {"d8", "d5"}, {"b1", "c3"},
                            {"d5", "a5"}})
      Move(from, to);
    ASSERT_EQ(E::gMoveNumber, 6);
    G::gGameMode = mode;  // the engine must not answer while the game is played in
  }

  // Shows a half-move the way a drag would, without a record line.
  void ShowSilently(int halfMove) {
    G::gNavigating = G::kTrue;
    form->HScroll1->setValue(halfMove);
    G::gNavigating = 0;
    B::Update_Board();
    B::Correct_TakenPieces();
  }

  // The picture matches the engine board: drawing it again changes nothing.
  static bool PictureShowsEngineBoard() {
    const auto shown = B::gViewBoard;
    B::Update_Board();
    return shown == B::gViewBoard;
  }
};

TEST_F(NavigationTest, EachCommandLandsOnItsHalfMoveWithOneLineAndTheLogUntouched) {
  struct Case {
    const char* name;
    int32_t player;
    int from;
    QAction* app::fMainForm::*command;
    int to;  // -1: the command does nothing
  };
  using F = app::fMainForm;
  const Case cases[] = {
      {"one back", G::kWhite, 6, &F::mnuMoveBack, 5},
      {"one forward", G::kWhite, 3, &F::mnuMoveForward, 4},
      {"to the beginning", G::kWhite, 5, &F::mnuGotoBegin, 0},
      {"to the last move", G::kWhite, 2, &F::mnuGotoLastMove, 6},
      {"undo skips the other side's move", G::kWhite, 6, &F::mnuUndo, 4},
      {"undo from the other side's turn", G::kWhite, 5, &F::mnuUndo, 4},
      {"undo for Black", G::kBlack, 6, &F::mnuUndo, 5},
      {"undo stops at the start", G::kBlack, 1, &F::mnuUndo, 0},
      {"redo skips the other side's move", G::kWhite, 2, &F::mnuRedo, 4},
      {"redo stops at the last move", G::kBlack, 5, &F::mnuRedo, 6},
      {"back at the start", G::kWhite, 0, &F::mnuMoveBack, -1},
      {"beginning at the start", G::kWhite, 0, &F::mnuGotoBegin, -1},
      {"undo at the start", G::kWhite, 0, &F::mnuUndo, -1},
      {"forward at the end", G::kWhite, 6, &F::mnuMoveForward, -1},
      {"last move at the end", G::kWhite, 6, &F::mnuGotoLastMove, -1},
      {"redo at the end", G::kWhite, 6, &F::mnuRedo, -1},
  };
  PlayRecordedGame();
  const std::vector<E::EngineBoard> log = E::gGameLog;
  // Taken pieces shown at each half-move: {white, black}.
  const std::pair<int, int> taken[] = {{0, 0}, {0, 0}, {0, 0}, {0, 1}, {1, 1}, {1, 1}, {1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    G::gPlayerColor = c.player;
    ShowSilently(c.from);
    const std::string before = Record();
    (form.get()->*c.command)->trigger();
    const int at = c.to < 0 ? c.from : c.to;
    EXPECT_EQ(E::gMoveNumber, at);
    EXPECT_EQ(form->HScroll1->value(), at);
    EXPECT_EQ(form->HScroll1->maximum(), 6);
    EXPECT_EQ(G::gColorToMove, at % 2 == 0 ? G::kWhite : G::kBlack);
    EXPECT_EQ(E::gVirtualBoard, log[static_cast<size_t>(at)]);
    EXPECT_TRUE(PictureShowsEngineBoard());
    EXPECT_EQ(B::gTakenWhiteCount, taken[at].first);
    EXPECT_EQ(B::gTakenBlackCount, taken[at].second);
    EXPECT_EQ(G::gNavigating, 0);
    EXPECT_EQ(E::gGameLog, log);
    if (c.to < 0) {
      EXPECT_EQ(Record(), before);
    } else {
      EXPECT_EQ(Record(), before + "Manually changed to movement # " + std::to_string(c.to) + "\n");
      ASSERT_FALSE(B::txtMoveList().Runs().empty());
      EXPECT_EQ(B::txtMoveList().Runs().back().color, B::kRecordGreen);
    }
  }
}

TEST_F(NavigationTest, GoToMoveNumberStepsOneLineAtATimeAndRefusesWhatIsNotAHalfMove) {
  struct Case {
    const char* name;
    std::optional<std::string> entry;
    std::vector<int> lines;  // half-moves named by the record lines, in order
    bool refused;
  };
  const Case cases[] = {
      {"back three", "3", {5, 4, 3}, false},
      {"to the start, blanks around", " 0 ", {5, 4, 3, 2, 1, 0}, false},
      {"the current one", "6", {}, false},
      {"beyond the last", "7", {}, true},
      {"negative", "-3", {}, true},
      {"a fraction", "2.5", {}, true},
      {"letters", "abc", {}, true},
      {"empty", "", {}, true},
      {"far beyond any game", "99999999999", {}, true},
      {"cancelled", std::nullopt, {}, false},
  };
  PlayRecordedGame();
  const std::vector<E::EngineBoard> log = E::gGameLog;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ShowSilently(6);
    answers.Clear();
    answers.PushInput(c.entry);
    const std::string before = Record();
    form->mnuGotoMove->trigger();
    ASSERT_EQ(answers.InputCalls().size(), 1u);
    EXPECT_EQ(answers.InputCalls()[0].prompt, "Move Numder :");
    EXPECT_EQ(answers.InputCalls()[0].title, "Go to move number");
    EXPECT_EQ(answers.InputCalls()[0].defaultEntry, "0");
    std::string expected = before;
    for (int n : c.lines) expected += "Manually changed to movement # " + std::to_string(n) + "\n";
    EXPECT_EQ(Record(), expected);
    const int at = c.lines.empty() ? 6 : c.lines.back();
    EXPECT_EQ(E::gMoveNumber, at);
    EXPECT_EQ(E::gVirtualBoard, log[static_cast<size_t>(at)]);
    EXPECT_TRUE(PictureShowsEngineBoard());
    EXPECT_EQ(E::gGameLog, log);
    if (c.refused) {
      ASSERT_EQ(answers.Calls().size(), 1u);
      EXPECT_EQ(answers.Calls()[0].text, "Please enter a whole half-move number from 0 to 6.");
      EXPECT_EQ(answers.Calls()[0].title, "Go to move number");
    } else {
      EXPECT_TRUE(answers.Calls().empty());
    }
  }
}

// Against the engine Undo and Redo take back and bring back the engine's
// reply together with the human's move; play then continues from there.
TEST_F(NavigationTest, UndoAndRedoAgainstTheEngineStepToTheHumansTurns) {
  NewGame("OfflinePC", G::kWhite);
  Move("e2", "e4");
  Move("d2", "d4");
  ASSERT_EQ(E::gMoveNumber, 4);
  const std::vector<E::EngineBoard> log = E::gGameLog;
  form->mnuUndo->trigger();
  EXPECT_EQ(E::gMoveNumber, 2);
  form->mnuUndo->trigger();
  EXPECT_EQ(E::gMoveNumber, 0);
  form->mnuRedo->trigger();
  EXPECT_EQ(E::gMoveNumber, 2);
  EXPECT_EQ(G::gColorToMove, G::kWhite);
  EXPECT_EQ(E::gGameLog, log);

  // A move from the shown position replaces the rest of the game.
  Move("g1", "f3");
  EXPECT_EQ(E::gMoveNumber, 4);
  EXPECT_EQ(E::gGameLog.size(), 5u);
  EXPECT_EQ(At("f3"), -E::kKnight);
  EXPECT_EQ(E::gGameLog[2], log[2]);

  // A human playing Black after the engine's first move: Undo goes back to the start.
  NewGame("OfflinePC", G::kBlack);
  form->cmdStartCPUMove_Click();
  ASSERT_EQ(E::gMoveNumber, 1);
  const std::string before = Record();
  form->mnuUndo->trigger();
  EXPECT_EQ(E::gMoveNumber, 0);
  EXPECT_EQ(Record(), before + "Manually changed to movement # 0\n");
  form->mnuRedo->trigger();
  EXPECT_EQ(E::gMoveNumber, 1);
  EXPECT_EQ(G::gColorToMove, G::kBlack);
}

TEST_F(NavigationTest, TheThirdLevelIsRefusedWithTheNoticeAndTheLabelFollows) {
  struct Case {
    int value;
    int after;
    const char* label;
    bool notice;
  };
  for (const Case& c : {Case{1, 1, "Beginner", false}, Case{3, 2, "Intermediate", true},
                        Case{1, 1, "Beginner", false}, Case{2, 2, "Intermediate", false}}) {
    SCOPED_TRACE(c.value);
    answers.Clear();
    form->sldLevel->setValue(c.value);
    EXPECT_EQ(form->sldLevel->value(), c.after);
    EXPECT_EQ(form->lblLevel->text().toStdString(), c.label);
    ASSERT_EQ(answers.Calls().size(), c.notice ? 1u : 0u);
    if (c.notice) {
      EXPECT_EQ(answers.Calls()[0].style, 4160);
    }
  }
}

// The engine plays the next move at the full level; the level, the human's
// colour and the rest of the game are as before, and Undo takes the
// suggestion back.
TEST_F(NavigationTest, TheHintPlaysTheNextMoveAtTheFullLevel) {
  struct Case {
    const char* name;
    int32_t player;
    int from;  // the half-move shown when the hint is asked
    int level;
    const char* label;
    int undoTo;  // the human's turn that Undo goes back to afterwards
  };
  for (const Case& c : {Case{"White at the beginner level", G::kWhite, 4, 1, "Beginner", 4},
                        Case{"Black", G::kBlack, 5, 2, "Intermediate", 5},
                        Case{"on the other side's turn", G::kWhite, 5, 2, "Intermediate", 4}}) {
    SCOPED_TRACE(c.name);
    PlayRecordedGame("OfflinePC", c.player);
    ShowSilently(c.from);
    const int start = E::gMoveNumber;
    form->sldLevel->setValue(c.level);
    form->cmdStartCPUMove->setVisible(false);
    answers.Clear();
    const std::string before = Record();
    const auto picture = B::gViewBoard;
    std::set<int> levelsSearched;
    auto watch = QObject::connect(form->progreso, &QProgressBar::valueChanged, form.get(),
                                  [&] { levelsSearched.insert(form->sldLevel->value()); });
    form->mnuGiveHint->trigger();
    QObject::disconnect(watch);

    EXPECT_EQ(levelsSearched, std::set<int>{2});
    EXPECT_EQ(form->sldLevel->value(), c.level);
    EXPECT_EQ(form->lblLevel->text().toStdString(), c.label);
    EXPECT_EQ(G::gPlayerColor, c.player);
    EXPECT_EQ(E::gMoveNumber, start + 1);
    const bool whiteMoved = c.from % 2 == 0;
    EXPECT_EQ(G::gColorToMove, whiteMoved ? G::kBlack : G::kWhite);
    // One move of the side to move: at most four squares changed (castling), the colours kept.
    int changed = 0;
    for (int x = 1; x <= 8; ++x)
      for (int y = 1; y <= 8; ++y) changed += E::gGameLog[static_cast<size_t>(start)](x, y) != E::gVirtualBoard(x, y);
    EXPECT_GE(changed, 2);
    EXPECT_LE(changed, 4);
    EXPECT_NE(B::gViewBoard, picture);
    EXPECT_TRUE(PictureShowsEngineBoard());
    EXPECT_TRUE(form->cmdStartCPUMove->isVisible());
    const std::string record = Record();
    ASSERT_EQ(record.rfind(before + "CPU suggestion :\n", 0), 0u) << record;
    EXPECT_NE(record.find(whiteMoved ? "White " : "Black ", before.size()), std::string::npos) << record;
    ASSERT_EQ(answers.Calls().size(), 1u);
    EXPECT_EQ(answers.Calls()[0].text,
              "If you like the suggestion click on  -Start CPU Move-\r\nOtherwise click on Undo to delete the move.");
    EXPECT_EQ(answers.Calls()[0].style, 4160);
    EXPECT_EQ(answers.Calls()[0].title, "Castellan Quarto");

    form->mnuUndo->trigger();
    EXPECT_EQ(E::gMoveNumber, c.undoTo);
  }
}

TEST_F(NavigationTest, NoHintBeforeTheThirdHalfMove) {
  NewGame("OfflinePP", G::kWhite);
  for (int halfMoves : {0, 1}) {
    SCOPED_TRACE(halfMoves);
    if (halfMoves == 1) {
      G::gGameMode = "OfflinePP";  // no engine answer: the hint is asked at half-move 1
      Move("e2", "e4");
    }
    G::gGameMode = "OfflinePC";
    answers.Clear();
    const std::string before = Record();
    const E::EngineBoard board = E::gVirtualBoard;
    form->mnuGiveHint->trigger();
    EXPECT_EQ(Record(), before);
    EXPECT_TRUE(answers.Calls().empty());
    EXPECT_EQ(E::gVirtualBoard, board);
    EXPECT_FALSE(form->cmdStartCPUMove->isVisible());
  }
}

}  // namespace
}  // namespace apptest
