// Looking through a recorded game with the Move menu, the playing level and
// the engine's hint.
#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QSlider>
#include <optional>
#include <set>

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

  // The picture matches the engine board: drawing it again changes nothing.
  static bool PictureShowsEngineBoard() {
    const auto shown = B::gViewBoard;
    B::Update_Board();
    return shown == B::gViewBoard;
  }

  // The position shown is half-move n of the untouched log, with its taken pieces.
  void ExpectAt(int n, const std::vector<E::EngineBoard>& log) {
    EXPECT_EQ(E::gMoveNumber, n);
    EXPECT_EQ(form->HScroll1->value(), n);
    EXPECT_EQ(G::gColorToMove, n % 2 == 0 ? G::kWhite : G::kBlack);
    EXPECT_EQ(E::gVirtualBoard, log[static_cast<size_t>(n)]);
    EXPECT_EQ(E::gGameLog, log);
    EXPECT_TRUE(PictureShowsEngineBoard());
    EXPECT_EQ(B::gTakenBlackCount, n >= 3 ? 1 : 0);
    EXPECT_EQ(B::gTakenWhiteCount, n >= 4 ? 1 : 0);
  }

  static std::string Line(int n) { return "Manually changed to movement # " + std::to_string(n) + "\n"; }
};

TEST_F(NavigationTest, EachCommandLandsOnItsHalfMoveWithOneLineAndTheLogUntouched) {
  using F = app::fMainForm;
  struct Case {
    int32_t player;
    int from;
    QAction* F::*command;
    int to;  // -1: the command does nothing
  };
  const Case cases[] = {
      {G::kWhite, 6, &F::mnuMoveBack, 5},     {G::kWhite, 3, &F::mnuMoveForward, 4},
      {G::kWhite, 5, &F::mnuGotoBegin, 0},    {G::kWhite, 2, &F::mnuGotoLastMove, 6},
      {G::kWhite, 6, &F::mnuUndo, 4},         {G::kWhite, 5, &F::mnuUndo, 4},  // from the other side's turn
      {G::kBlack, 6, &F::mnuUndo, 5},         {G::kBlack, 1, &F::mnuUndo, 0},  // stops at the start
      {G::kWhite, 2, &F::mnuRedo, 4},         {G::kBlack, 5, &F::mnuRedo, 6},  // stops at the last move
      {G::kWhite, 0, &F::mnuMoveBack, -1},    {G::kWhite, 0, &F::mnuGotoBegin, -1},
      {G::kWhite, 0, &F::mnuUndo, -1},        {G::kWhite, 6, &F::mnuMoveForward, -1},
      {G::kWhite, 6, &F::mnuGotoLastMove, -1}, {G::kWhite, 6, &F::mnuRedo, -1},
  };
  PlayRecordedGame("OfflinePP", G::kWhite);
  const std::vector<E::EngineBoard> log = E::gGameLog;
  for (const Case& c : cases) {
    SCOPED_TRACE((form.get()->*c.command)->objectName().toStdString() + " from " + std::to_string(c.from));
    G::gPlayerColor = c.player;
    ShowSilently(c.from);
    const std::string before = Record();
    (form.get()->*c.command)->trigger();
    ExpectAt(c.to < 0 ? c.from : c.to, log);
    EXPECT_EQ(Record(), c.to < 0 ? before : before + Line(c.to));
    if (c.to >= 0) {
      EXPECT_EQ(B::txtMoveList().Runs().back().color, B::kRecordGreen);
    }
  }
}

// Each step of Go to move number writes its own line; an entry that is not a
// half-move of the game is refused with a message and moves nothing.
TEST_F(NavigationTest, GoToMoveNumberStepsToTheEntryAndRefusesWhatIsNotAHalfMove) {
  const std::tuple<std::optional<std::string>, std::vector<int>, bool> cases[] = {  // entry, lines, refused
      {"3", {5, 4, 3}, false}, {" 6 ", {}, false}, {std::nullopt, {}, false},  // Cancel
      {"7", {}, true},         {"-3", {}, true},   {"2.5", {}, true},   {"abc", {}, true}, {"", {}, true}};
  PlayRecordedGame("OfflinePP", G::kWhite);
  const std::vector<E::EngineBoard> log = E::gGameLog;
  for (const auto& [entry, lines, refused] : cases) {
    SCOPED_TRACE(entry.value_or("(cancel)"));
    ShowSilently(6);
    answers.Clear();
    answers.PushInput(entry);
    std::string expected = Record();
    form->mnuGotoMove->trigger();
    for (int n : lines) expected += Line(n);
    EXPECT_EQ(Record(), expected);
    ExpectAt(lines.empty() ? 6 : lines.back(), log);
    ASSERT_EQ(answers.InputCalls().size(), 1u);
    EXPECT_EQ(answers.InputCalls()[0].prompt + "|" + answers.InputCalls()[0].title + "|" +
                  answers.InputCalls()[0].defaultEntry, "Move Numder :|Go to move number|0");
    ASSERT_EQ(answers.Calls().size(), refused ? 1u : 0u);
    if (refused) {
      EXPECT_EQ(answers.Calls()[0].text, "Please enter a whole half-move number from 0 to 6.");
    }
  }
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

TEST_F(NavigationTest, TheThirdLevelIsRefusedWithTheNoticeAndTheLabelFollows) {
  for (auto [value, after, label] : {std::tuple{1, 1, "Beginner"}, {3, 2, "Intermediate"}, {1, 1, "Beginner"}}) {
    SCOPED_TRACE(value);
    answers.Clear();
    form->sldLevel->setValue(value);
    EXPECT_EQ(form->sldLevel->value(), after);
    EXPECT_EQ(form->lblLevel->text().toStdString(), label);
    EXPECT_EQ(answers.Calls().size(), value == 3 ? 1u : 0u);  // the next-version notice
  }
}

// The engine plays the next move at the full level; the level and the
// human's colour are as before, and Undo takes the suggestion back.
TEST_F(NavigationTest, TheHintPlaysTheNextMoveAtTheFullLevel) {
  struct Case {
    int32_t player;
    int from;  // the half-move shown when the hint is asked
    int level;
    int undoTo;  // the human's turn that Undo goes back to afterwards
  };
  for (const Case& c : {Case{G::kWhite, 4, 1, 4}, Case{G::kBlack, 5, 2, 5},
                        Case{G::kWhite, 5, 2, 4}}) {  // asked on the other side's turn
    SCOPED_TRACE(c.from);
    PlayRecordedGame("OfflinePC", c.player);
    ShowSilently(c.from);
    form->sldLevel->setValue(c.level);
    form->cmdStartCPUMove->setVisible(false);
    answers.Clear();
    const std::string before = Record();
    std::set<int> levelsSearched;
    auto watch = QObject::connect(form->progreso, &QProgressBar::valueChanged, form.get(),
                                  [&] { levelsSearched.insert(form->sldLevel->value()); });
    form->mnuGiveHint->trigger();
    QObject::disconnect(watch);

    EXPECT_EQ(levelsSearched, std::set<int>{2});
    EXPECT_EQ(form->sldLevel->value(), c.level);
    EXPECT_EQ(form->lblLevel->text(), c.level == 1 ? "Beginner" : "Intermediate");
    EXPECT_EQ(G::gPlayerColor, c.player);
    EXPECT_EQ(E::gMoveNumber, c.from + 1);
    EXPECT_TRUE(PictureShowsEngineBoard());
    EXPECT_TRUE(form->cmdStartCPUMove->isVisible());
    // One move of the side to move: at most four squares changed (castling), the colours kept.
    int changed = 0;
    for (int x = 1; x <= 8; ++x)
      for (int y = 1; y <= 8; ++y) changed += E::gGameLog[static_cast<size_t>(c.from)](x, y) != E::gVirtualBoard(x, y);
    EXPECT_GE(changed, 2);
    EXPECT_LE(changed, 4);
    const std::string record = Record();
    EXPECT_EQ(record.rfind(before + "CPU suggestion :\n" + std::to_string(c.from + 1) +
                               (c.from % 2 == 0 ? "  White " : "  Black "), 0), 0u) << record;
    ASSERT_EQ(answers.Calls().size(), 1u);
    EXPECT_EQ(answers.Calls()[0].text + "|" + std::to_string(answers.Calls()[0].style) + "|" + answers.Calls()[0].title,
              "If you like the suggestion click on  -Start CPU Move-\r\nOtherwise click on Undo to delete the move."
              "|4160|Castellan Quarto");
    form->mnuUndo->trigger();
    EXPECT_EQ(E::gMoveNumber, c.undoTo);
  }
}

}  // namespace
}  // namespace apptest
