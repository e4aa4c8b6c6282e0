// Looking through a recorded game with the Move menu, the playing level and
// the engine's hint.
#include <QSignalBlocker>
#include <optional>

#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

class NavigationTest : public MainWindowFixture {
 protected:
  // Six half-moves, a black pawn taken at 3 and a white one at 4, played in
  // without the engine; `mode` holds for what follows.
  void PlayRecordedGame(const std::string& mode, int32_t player) {
    NewGame("OfflinePP", player);
    for (auto [from, to] : {std::pair{"e2", "e4"}, {"d7", "d5"}, {"e4", "d5"}, {"d8", "d5"}, {"b1", "c3"}})
      Move(from, to);
    Move("d5", "a5");
    ASSERT_EQ(E::gMoveNumber, 6);
    G::gGameMode = mode;
  }

  // Shows a half-move the way a drag would, without a record line.
  void ShowSilently(int halfMove) {
    G::gNavigating = G::kTrue;
    form->HScroll1->setValue(halfMove);
    G::gNavigating = 0;
    B::Update_Board();
    B::Correct_TakenPieces();
  }

  // The position shown is half-move n of the untouched log, with its taken pieces.
  void ExpectAt(int n, const std::vector<E::EngineBoard>& log) {
    EXPECT_EQ(E::gMoveNumber, n);
    EXPECT_EQ(form->HScroll1->value(), n);
    EXPECT_EQ(G::gColorToMove, n % 2 == 0 ? G::kWhite : G::kBlack);
    EXPECT_EQ(E::gVirtualBoard, log[static_cast<size_t>(n)]);
    EXPECT_EQ(E::gGameLog, log);
    EXPECT_TRUE(PictureShowsEngineBoard());
    EXPECT_EQ((std::pair<int, int>(B::gTakenBlackCount, B::gTakenWhiteCount)),
              std::pair(n >= 3 ? 1 : 0, n >= 4 ? 1 : 0));
  }

  static std::string Line(int n) { return "Manually changed to movement # " + std::to_string(n) + "\n"; }
};

TEST_F(NavigationTest, EachCommandLandsOnItsHalfMoveWithOneLineAndTheLogUntouched) {
  using F = app::fMainForm;
  const int32_t w = G::kWhite, b = G::kBlack;
  // The human's colour, the half-move shown, the command, where it lands (-1: it does nothing). Undo from 5
  // is asked on the other side's turn; Undo from 1 and Redo from 5 stop at the ends.
  const std::tuple<int32_t, int, QAction* F::*, int> cases[] = {
      {w, 6, &F::mnuMoveBack, 5}, {w, 3, &F::mnuMoveForward, 4}, {w, 5, &F::mnuGotoBegin, 0},
      {w, 2, &F::mnuGotoLastMove, 6}, {w, 6, &F::mnuUndo, 4}, {w, 5, &F::mnuUndo, 4}, {b, 6, &F::mnuUndo, 5},
      {b, 1, &F::mnuUndo, 0}, {w, 2, &F::mnuRedo, 4}, {b, 5, &F::mnuRedo, 6}, {w, 0, &F::mnuMoveBack, -1},
      {w, 0, &F::mnuGotoBegin, -1}, {w, 0, &F::mnuUndo, -1}, {w, 6, &F::mnuMoveForward, -1},
      {w, 6, &F::mnuGotoLastMove, -1}, {w, 6, &F::mnuRedo, -1}};
  PlayRecordedGame("OfflinePP", G::kWhite);
  const std::vector<E::EngineBoard> log = E::gGameLog;
  for (const auto& [player, from, command, to] : cases) {
    QAction* action = form.get()->*command;
    SCOPED_TRACE(action->objectName().toStdString() + " from " + std::to_string(from));
    G::gPlayerColor = player;
    ShowSilently(from);
    const std::string before = Record();
    action->trigger();
    ExpectAt(to < 0 ? from : to, log);
    EXPECT_EQ(Record(), to < 0 ? before : before + Line(to));
    if (to >= 0) {
      EXPECT_EQ(B::txtMoveList().Runs().back().color, B::kRecordGreen);
    }
  }
}

// A piece picked before a look through the game is put down by every
// command, from the menu, the toolbar or the slider, also by one that moves
// nowhere: the board is drawn without it (and with the checks it hid), the
// status no longer tells of its move, and the next press, on a square the
// picked piece could have reached, starts from nothing picked: it plays
// nothing, and against the engine it starts no reply.
TEST_F(NavigationTest, EveryCommandPutsAPickedPieceDown) {
  using F = app::fMainForm;
  // The mode, the piece picked after 1.e4 and the reply, the command (a toolbar key or a menu entry), the
  // entry for Go to move number, the half-move shown, the press after it.
  const std::tuple<const char*, const char*, const char*, QAction* F::*, const char*, int, const char*> cases[] = {
      {"OfflinePP", "g1", "UNDO", nullptr, nullptr, 0, "f3"},
      {"OfflinePP", "g1", nullptr, &F::mnuUndo, nullptr, 0, "f3"},
      {"OfflinePP", "g1", "GOTOBEGIN", nullptr, nullptr, 0, "f3"},
      {"OfflinePP", "g1", nullptr, &F::mnuGotoBegin, nullptr, 0, "f3"},
      {"OfflinePP", "g1", nullptr, &F::mnuMoveBack, nullptr, 1, "f3"},
      {"OfflinePP", "g1", nullptr, &F::mnuGotoMove, "0", 0, "f3"},
      {"OfflinePP", "g1", nullptr, &F::mnuGotoMove, "2", 2, "f3"},  // moves nowhere
      {"OfflinePP", "g1", "REDO", nullptr, nullptr, 2, "f3"},  // at the last move already
      {"OfflinePP", "g1", nullptr, &F::mnuMoveForward, nullptr, 2, "f3"},
      {"OfflinePP", "g1", nullptr, &F::mnuRedo, nullptr, 2, "f3"},
      {"OfflinePP", "g1", nullptr, &F::mnuGotoLastMove, nullptr, 2, "f3"},
      {"OfflinePP", "g1", "GOTOEND", nullptr, nullptr, 2, "f3"},
      {"OfflinePP", "g1", nullptr, nullptr, nullptr, 1, "f3"},  // neither: the slider's arrow, one step back
      // Against the engine at Beginner: the stale bishop move would have started the engine's reply again.
      {"OfflinePC", "f1", nullptr, &F::mnuMoveBack, nullptr, 1, "c4"},
      {"OfflinePC", "g1", "UNDO", nullptr, nullptr, 0, "f3"},
      {"OfflinePP", "g1", "ROTATE", nullptr, nullptr, 2, "f3"},  // Turn Board puts it down as well
  };
  for (const auto& [mode, picked, key, entry, typed, shown, press] : cases) {
    SCOPED_TRACE(std::string(mode) + " " + (key ? key : entry ? (form.get()->*entry)->objectName().toStdString() : "slider"));
    NewGame(mode);
    form->sldLevel->setValue(1);
    Move("e2", "e4");
    if (std::string(mode) == "OfflinePP") Move("d7", "d5");
    ASSERT_EQ(E::gMoveNumber, 2);
    Press(picked);
    ASSERT_NE(B::gPieceSelected, 0);
    if (typed) answers.PushInput(std::string(typed));
    if (key) form->tb->buttonByKey(key)->trigger();
    else if (entry) (form.get()->*entry)->trigger();
    else form->HScroll1->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(B::gPieceSelected, 0);
    EXPECT_EQ(E::gMoveNumber, shown);
    const QImage drawn = form->picFrontBuffer->picture();
    EXPECT_TRUE(PictureShowsEngineBoard());
    EXPECT_EQ(form->picFrontBuffer->picture(), drawn);  // no mark left on the picked square
    EXPECT_EQ(form->lblStatus->text().indexOf(" to "), -1) << form->lblStatus->text().toStdString();
    const std::string record = Record();
    const E::EngineBoard board = E::gVirtualBoard;
    Press(press);
    EXPECT_EQ(E::gMoveNumber, shown);
    EXPECT_EQ(E::gVirtualBoard, board);
    EXPECT_EQ(Record(), record);
  }
}

// Each step of Go to move number writes its own line. A number is rounded to
// the nearest half-move (halves to the even one) and taken without its sign;
// anything else, and a half-move the game has not reached, only shows the
// board again. A number beyond 16 bits is logged and moves nothing. No
// message in any case.
TEST_F(NavigationTest, GoToMoveNumberStepsToTheRoundedEntryAndOnlyRedrawsForAnythingElse) {
  const std::tuple<std::optional<std::string>, std::vector<int>, bool> cases[] = {  // entry, lines, logged
      {"3", {5, 4, 3}, false},
      {" 6 ", {}, false},         // the half-move shown
      {"-3", {5, 4, 3}, false},   // without its sign
      {"2.5", {5, 4, 3, 2}, false},  // halves to the even one
      {"3.5", {5, 4}, false},
      {"+4", {5, 4}, false},
      {"0.5e1", {5}, false},
      {"7", {}, false},           // beyond the last half-move
      {"32767", {}, false},       // the largest that can be asked for
      {"abc", {}, false},
      {"", {}, false},
      {std::nullopt, {}, false},  // Cancel
      {"0x10", {}, false},
      {"3,", {}, false},
      {"40000", {}, true},
      {"-32768", {}, true},
      {"32767.5", {}, true},      // rounds to 32768
  };
  PlayRecordedGame("OfflinePP", G::kWhite);
  const std::vector<E::EngineBoard> log = E::gGameLog;
  for (const auto& [entry, lines, logged] : cases) {
    SCOPED_TRACE(entry.value_or("(cancel)"));
    ShowSilently(6);
    B::gViewBoard = {};  // stale: only a redraw shows the position again
    answers.Clear();
    answers.PushInput(entry);
    std::string expected = Record();
    const long long errors = ZVK_ErrorLog::ErrorsLogged();
    form->mnuGotoMove->trigger();
    for (int n : lines) expected += Line(n);
    EXPECT_EQ(Record(), expected);
    EXPECT_TRUE(answers.Calls().empty());
    EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged() - errors, logged ? 1 : 0);
    if (logged) {
      EXPECT_EQ(E::gMoveNumber, 6);
      EXPECT_EQ(E::gGameLog, log);
    } else {
      ExpectAt(lines.empty() ? 6 : lines.back(), log);
    }
  }
  EXPECT_NE(testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()).find("mnuGotoMove_Click of Formular fMainForm"),
            std::string::npos);
}

// Against the engine Undo and Redo take back and bring back the engine's
// reply with the human's move; play then continues from the position shown.
TEST_F(NavigationTest, UndoAndRedoAgainstTheEngineStepToTheHumansTurns) {
  NewGame("OfflinePC", G::kWhite);
  Move("e2", "e4");
  Move("d2", "d4");
  ASSERT_EQ(E::gMoveNumber, 4);
  const std::vector<E::EngineBoard> log = E::gGameLog;
  for (auto [command, to] : {std::pair{form->mnuUndo, 2}, {form->mnuUndo, 0}, {form->mnuRedo, 2}}) {
    command->trigger();
    EXPECT_EQ(E::gMoveNumber, to);
  }
  EXPECT_EQ(E::gGameLog, log);
  Move("g1", "f3");
  EXPECT_EQ(E::gMoveNumber, 4);
  EXPECT_EQ(At("f3"), -E::kKnight);
  EXPECT_EQ(E::gGameLog[2], log[2]);
}

// A step or a drag of the slider by the user shows the half-move it reaches
// with its taken pieces, as the commands do; below the last move it notes the
// change in the record.
TEST_F(NavigationTest, TheUsersSliderActionsShowTheHalfMoveTheyReach) {
  using A = QAbstractSlider;
  // The half-move shown, the user's action (SliderMove: a drag let go at the end), where it lands.
  const std::tuple<int, A::SliderAction, int> cases[] = {{6, A::SliderSingleStepSub, 5},
                                                         {3, A::SliderPageStepAdd, 4},
                                                         {6, A::SliderMove, 2},
                                                         {2, A::SliderMove, 6},
                                                         {6, A::SliderSingleStepAdd, 6}};
  PlayRecordedGame("OfflinePP", G::kWhite);
  const std::vector<E::EngineBoard> log = E::gGameLog;
  for (const auto& [from, action, to] : cases) {
    SCOPED_TRACE(std::to_string(from) + " to " + std::to_string(to));
    ShowSilently(from);
    const std::string before = Record();
    if (action == A::SliderMove) {
      form->HScroll1->setSliderDown(true);
      for (int position : {3, to}) form->HScroll1->setSliderPosition(position);
      EXPECT_EQ(E::gMoveNumber, from);  // nothing is loaded before the thumb is let go
      form->HScroll1->setSliderDown(false);
    } else {
      form->HScroll1->triggerAction(action);
    }
    ExpectAt(to, log);
    EXPECT_EQ(Record(), to == 6 ? before : before + "     changed to movement # " + std::to_string(to) + "\n");
  }
}

// The third level is refused with a notice, also when it was set without the
// slider's signal (as a stored value is) and Update_Level brings it in line.
TEST_F(NavigationTest, TheThirdLevelIsRefusedWithTheNotice) {
  for (const bool quiet : {false, true}) {
    {
      std::optional<QSignalBlocker> blocker;
      if (quiet) blocker.emplace(form->sldLevel);
      form->sldLevel->setValue(3);
    }
    if (quiet) form->Update_Level();
    EXPECT_EQ(form->sldLevel->value(), 2);
  }
  EXPECT_EQ(answers.Calls().size(), 2u);
}

// The engine plays the next move at the full level, for the side to move in
// every mode, as that side would have played it; the level, the mode and the
// human's colour are as before, and Undo takes the suggestion back.
TEST_F(NavigationTest, TheHintPlaysTheNextMoveAtTheFullLevel) {
  // The mode, the human's colour, the half-move shown when the hint is asked, the level, and the human's
  // turn that Undo goes back to afterwards; the odd half-moves are asked on Black's turn.
  for (const auto& [mode, player, from, level, undoTo] :
       {std::tuple{"OfflinePC", G::kWhite, 4, 1, 4}, {"OfflinePC", G::kBlack, 5, 2, 5},
        {"OfflinePC", G::kWhite, 5, 2, 4}, {"OfflinePP", G::kWhite, 4, 2, 4}, {"OfflinePP", G::kWhite, 5, 2, 4},
        {"OnlinePP", G::kBlack, 4, 2, 3}, {"OnlinePP", G::kBlack, 5, 2, 5}}) {
    SCOPED_TRACE(std::string(mode) + " " + std::to_string(from));
    PlayRecordedGame(mode, player);
    ShowSilently(from);
    form->sldLevel->setValue(level);
    const std::string before = Record();
    std::set<int> levelsSearched;
    auto watch = QObject::connect(form->progreso, &QProgressBar::valueChanged, form.get(),
                                  [&] { levelsSearched.insert(form->sldLevel->value()); });
    form->mnuGiveHint->trigger();
    QObject::disconnect(watch);
    EXPECT_EQ(levelsSearched, std::set<int>{2});
    EXPECT_EQ(form->sldLevel->value(), level);
    EXPECT_EQ(G::gPlayerColor, player);
    EXPECT_EQ(E::gMoveNumber, from + 1);
    EXPECT_TRUE(PictureShowsEngineBoard());
    EXPECT_EQ(G::gGameMode, mode);
    int changed = 0;  // one move, a castling at most: not the whole board turned round
    for (int x = 1; x <= 8; ++x)
      for (int y = 1; y <= 8; ++y) changed += E::gVirtualBoard(x, y) != E::gGameLog[static_cast<size_t>(from)](x, y);
    EXPECT_GE(changed, 2);
    EXPECT_LE(changed, 4);
    const std::string record = Record();
    EXPECT_EQ(record.rfind(before + "CPU suggestion :\n" + std::to_string(from + 1) +
                               (from % 2 == 0 ? "  White " : "  Black "), 0), 0u) << record;
    form->mnuUndo->trigger();
    EXPECT_EQ(E::gMoveNumber, undoTo);
  }
}

// A level the user picks while the engine searches counts at once: stepped
// down to Beginner during the search, the search stops early. So too in the
// hint's own search, and the hint then leaves the picked level in place of
// the one it had put back.
TEST_F(NavigationTest, ALevelPickedDuringASearchCountsAtOnce) {
  for (const bool hint : {false, true}) {
    SCOPED_TRACE(hint ? "the hint's search" : "the engine's reply");
    PlayRecordedGame("OfflinePC", G::kWhite);
    form->sldLevel->setValue(2);
    std::set<int> levelsSearched;
    int reached = 0, candidates = 0;
    auto watch = QObject::connect(form->progreso, &QProgressBar::valueChanged, form.get(), [&](int value) {
      if (value < 1) return;  // set up, or committed
      levelsSearched.insert(form->sldLevel->value());
      reached = value;
      candidates = form->progreso->maximum();
      if (value == 1) form->sldLevel->triggerAction(QAbstractSlider::SliderSingleStepSub);
    });
    if (hint) form->mnuGiveHint->trigger();
    else Move("g1", "f3");
    QObject::disconnect(watch);
    EXPECT_EQ(E::gMoveNumber, hint ? 7 : 8);
    EXPECT_EQ(levelsSearched, (std::set<int>{1, 2}));
    EXPECT_GE(candidates, 20);
    EXPECT_LT(reached, candidates);
    EXPECT_EQ(form->sldLevel->value(), 1);
    EXPECT_EQ(form->lblLevel->text().toStdString(), "Beginner");
  }
}

// A capture among the half-moves dropped by a move or an edit made after
// looking back is no longer the game's: the taken pieces shown at and after
// that half-move, also after Save and Load, are those of the game played on.
TEST_F(NavigationTest, ACaptureDroppedWithTheLaterHalfMovesIsNoLongerShown) {
  const std::string file = tree.path("dropped.chs");
  for (const bool edit : {false, true}) {
    SCOPED_TRACE(edit ? "edit" : "move");
    PlayRecordedGame("OfflinePP", G::kWhite);  // a black pawn taken at 3, a white one at 4
    ShowSilently(2);
    if (edit) {
      form->mnuEdit->trigger();
      Move("h2", "h4");
      form->mnuEdit->trigger();
      Move("a2", "a3");
    } else {
      Move("h2", "h4");
    }
    Move("a7", "a6");
    ASSERT_EQ(E::gMoveNumber, 4);
    ASSERT_TRUE(B::SaveCompleteGame(file) && B::LoadCompleteGame(file));
    form->mnuMoveBack->trigger();
    form->mnuMoveForward->trigger();
    EXPECT_EQ((std::pair<int, int>(B::gTakenBlackCount, B::gTakenWhiteCount)), std::pair(0, 0));
  }
}

}  // namespace
}  // namespace apptest
