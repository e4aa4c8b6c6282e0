// Whole games and single moves driven by presses on the board picture.
#include <QRegularExpression>
#include <algorithm>
#include <map>

#include "app/frmNewPiece.h"
#include "engine/MirrorBoard.h"
#include "platform/DoEvents.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

class MoveRoadTest : public MainWindowFixture {
 protected:
  // The engines' play is stopped once it reaches `stopAt`.
  void SetUp() override {
    MainWindowFixture::SetUp();
    QObject::connect(&stopper, &QTimer::timeout, [this] {
      if (E::gMoveNumber >= stopAt) G::gGameStopped = G::kTrue;
    });
    stopper.start(1);
  }
  QTimer stopper;
  int stopAt = 1000;

  // Presses the first move of the side to move that the rules allow.
  void PlayAnyMove() {
    for (int from = 0; from < 64; ++from)
      for (int to = 0; to < 64; ++to) {
        const int p = B::gViewBoard.at(from % 8, from / 8);
        const bool own = G::gColorToMove == G::kWhite ? B::IsWhitePicture(p) : B::IsBlackPicture(p);
        if (!own || B::MoveAlright(from % 8, from / 8, to % 8, to / 8, G::kTrue) == 0) continue;
        PressAt(from % 8 * 48 + 24, from / 8 * 48 + 24);
        PressAt(to % 8 * 48 + 24, to / 8 * 48 + 24);
        return;
      }
    ADD_FAILURE() << "no move to play";
  }

  // The mouse comes to rest over a square, without a button.
  void Hover(const char* square) {
    const B::Square s = B::EngineToView(square[0] - 'a' + 1, square[1] - '0');
    const QPointF over(s.c * 48 + 24, s.r * 48 + 24);
    QMouseEvent hover(QEvent::MouseMove, over, form->picFrontBuffer->mapToGlobal(over), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(form->picFrontBuffer, &hover);
  }

  // The game shown is one that was played: every logged half-move is one move
  // of the side whose turn it was, and the record holds one line for it, in
  // order (after a look back, from the half-move looked at), naming its
  // squares. Board, slider, side to move and taken pieces are those of the
  // current half-move. `mirrored`: the board was turned with its colours
  // exchanged afterwards, which made the current half-move's logged position
  // that turned one; `drawn`: the picture and the taken pieces follow.
  void ExpectPlayedGame(bool mirrored, bool drawn) {
    std::vector<E::EngineBoard> log = E::gGameLog;
    const int n = E::gMoveNumber;
    ASSERT_GE(n, 0);
    ASSERT_LT(n, static_cast<int>(log.size()));
    EXPECT_EQ(E::gVirtualBoard, log[n]);
    if (mirrored) {  // the game as played, before the turn
      const E::EngineBoard shown = E::gVirtualBoard;
      B::MirrorBoard();
      log[n] = E::gVirtualBoard;
      E::gVirtualBoard = shown;
    }
    ASSERT_EQ(static_cast<int>(log.size()), form->HScroll1->maximum() + 1);
    EXPECT_EQ(form->HScroll1->value(), n);
    EXPECT_EQ(G::gColorToMove, n % 2 == 0 ? G::kWhite : G::kBlack);
    const QRegularExpression move(QStringLiteral("^(\\d+)  (White|Black) \\w+ at ([A-H]):(\\d) to ([A-H]):(\\d)")),
        look(QStringLiteral("changed to movement # (\\d+)"));
    std::map<int, std::pair<QString, QString>> squares;  // the last line of each half-move
    int current = 0;
    for (const QString& line : QString::fromStdString(Record()).split('\n')) {
      if (const auto m = move.match(line); m.hasMatch()) {
        const int k = m.captured(1).toInt();
        EXPECT_EQ(k, current + 1) << line.toStdString();
        EXPECT_EQ(m.captured(2).toStdString(), k % 2 == 1 ? "White" : "Black") << line.toStdString();
        squares[k] = {m.captured(3) + m.captured(4), m.captured(5) + m.captured(6)};
        current = k;
      } else if (const auto l = look.match(line); l.hasMatch()) {
        current = l.captured(1).toInt();
      }
    }
    EXPECT_EQ(current, n);
    auto cell = [](const E::EngineBoard& b, const QString& sq) {
      return b(sq[0].toLatin1() - 'A' + 1, sq[1].toLatin1() - '0');
    };
    // Counts over the whole array: the off-board ring is the same in every position.
    auto count = [](const E::EngineBoard& b, auto match) {
      return std::count_if(b.cells.begin(), b.cells.end(), match);
    };
    auto pieces = [&](const E::EngineBoard& b, int sign) {
      return count(b, [sign](int32_t c) { return c * sign > 0; });
    };
    for (int k = 1; k < static_cast<int>(log.size()); ++k) {
      SCOPED_TRACE(k);
      const E::EngineBoard &before = log[k - 1], &after = log[k];
      const int mover = k % 2 == 1 ? -1 : 1;  // White is negative
      for (size_t i = 0; i < after.cells.size(); ++i) {
        if (after.cells[i] != 0 && after.cells[i] != before.cells[i]) {
          EXPECT_GT(after.cells[i] * mover, 0);
        }
      }
      EXPECT_LE(pieces(before, -mover) - pieces(after, -mover), 1);
      for (int32_t king : {E::kKingNegative, E::kKingPositive})
        EXPECT_EQ(count(after, [king](int32_t c) { return c == king; }), 1);
      ASSERT_TRUE(squares.count(k));
      const auto& [from, to] = squares[k];
      EXPECT_EQ(cell(after, to), cell(before, from));
      EXPECT_NE(cell(after, from), cell(before, from));
    }
    if (drawn) {
      EXPECT_TRUE(PictureShowsEngineBoard());
      EXPECT_EQ(B::gTakenBlackCount, pieces(log[0], 1) - pieces(log[n], 1));
      EXPECT_EQ(B::gTakenWhiteCount, pieces(log[0], -1) - pieces(log[n], -1));
    }
  }
};

// Presses that move nothing: a piece of the side not to move, an empty square, the picked square again,
// the right button ("r" after the square), a move against the rules (a beep), and a move of a pinned
// piece, which its shape allows but the engine refuses silently, a refused Black move turned back too.
TEST_F(MoveRoadTest, PressesThatMoveNothing) {
  const E::EngineBoard pinned = Position({{"e1", E::kKingNegative}, {"e2", -E::kBishop}, {"e8", E::kRook},
                                          {"d8", E::kKingPositive}, {"d7", E::kBishop}, {"d1", -E::kRook}});
  // from the pinned position?, Black to move?, the presses, beeps
  const std::tuple<bool, bool, std::vector<const char*>, int> cases[] = {
      {false, false, {"e7"}, 0},       {false, false, {"e4"}, 0},       {false, false, {"e2", "e2"}, 0},
      {false, false, {"e2r"}, 0},      {false, false, {"e2", "e5"}, 1}, {true, false, {"e2", "d3"}, 0},
      {true, true, {"d7", "c6"}, 0}};
  for (const auto& [fromPinned, blackToMove, presses, beeps] : cases) {
    SCOPED_TRACE(std::string(presses[0]) + (blackToMove ? " Black" : ""));
    if (fromPinned)
      SetPosition("OfflinePP", pinned, blackToMove);
    else
      NewGame("OfflinePP");
    const E::EngineBoard before = E::gVirtualBoard;
    const long long beepsBefore = platform::BeepCount();
    for (const char* square : presses) Press(square, square[2] == 'r' ? Qt::RightButton : Qt::LeftButton);
    EXPECT_EQ(platform::BeepCount(), beepsBefore + beeps);
    EXPECT_EQ(E::gVirtualBoard, before);
    EXPECT_EQ(E::gMoveNumber, blackToMove ? 1 : 0);
    EXPECT_EQ(B::gPieceSelected, 0);
    EXPECT_EQ(Record(), "");
  }
}

// A press that comes while the status of a picked piece is worked out (the
// mouse resting on the target, or the pick's own report) makes its move; the
// status line and the picture then show the position it made, not the pick.
TEST_F(MoveRoadTest, APressDuringThePicksStatusReportLeavesTheStatusOfItsMove) {
  for (const bool hovered : {true, false}) {
    SCOPED_TRACE(hovered ? "hovered" : "the pick's own report");
    NewGame("OfflinePP");
    if (hovered) Press("g1");
    bool pressed = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (pressed || B::gPieceSelected == 0 || !form->picFrontBuffer->isEnabled()) return;
      pressed = true;
      Press("f3");
    });
    poll.start(0);
    platform::SetYieldIntervalMs(0);
    hovered ? Hover("f3") : Press("g1");
    platform::SetYieldIntervalMs(4);
    poll.stop();
    ASSERT_TRUE(pressed);
    EXPECT_EQ(At("f3"), -E::kKnight);
    EXPECT_EQ(form->lblStatus->text().toStdString(), "Waiting for Black\r\nKnight at F:3");
    const QImage drawn = form->picFrontBuffer->picture();
    EXPECT_TRUE(PictureShowsEngineBoard());
    EXPECT_EQ(form->picFrontBuffer->picture(), drawn);
  }
}

// Each castling once, two of them on the turned board: king and rook land, and the record names the move.
// Hovered: the press on the king's target comes while the status report of the mouse resting there tests
// that square with the king put on it (a yield of the test lets the press in); it castles all the same.
TEST_F(MoveRoadTest, BothCastlingsForBothColours) {
  const std::tuple<bool, int16_t, const char*, const char*, const char*, const char*, bool> cases[] = {
      {false, 1, "e1", "g1", "f1", "White King at E:1 to G:1", false},
      {false, -1, "e1", "c1", "d1", "White Rook at A:1 to D:1", false},
      {true, -1, "e8", "g8", "f8", "Black King at E:8 to G:8", false},
      {true, 1, "e8", "c8", "d8", "Black Rook at A:8 to D:8", false},
      {false, 1, "e1", "g1", "f1", "White King at E:1 to G:1", true},
      {true, -1, "e8", "c8", "d8", "Black Rook at A:8 to D:8", true}};
  for (const auto& [black, side, from, to, rookTo, line, hovered] : cases) {
    SCOPED_TRACE(std::string(line) + (hovered ? " hovered" : ""));
    SetPosition("OfflinePP",
                Position({{"e1", E::kKingNegative}, {"a1", -E::kRook}, {"h1", -E::kRook}, {"a2", -E::kPawn},
                          {"e8", E::kKingPositive}, {"a8", E::kRook}, {"h8", E::kRook}, {"h7", E::kPawn}}),
                black, G::kWhite, side);
    if (hovered) {
      Press(from);
      bool pressed = false;
      QTimer poll;
      QObject::connect(&poll, &QTimer::timeout, [&, to = to] {
        if (pressed || !B::ViewBoardUnderTest()) return;
        pressed = true;
        Press(to);
      });
      poll.start(0);
      platform::SetYieldIntervalMs(0);
      Hover(to);
      platform::SetYieldIntervalMs(4);
      poll.stop();
      EXPECT_TRUE(pressed);
      QApplication::processEvents();
    } else {
      Move(from, to);
    }
    EXPECT_EQ(At(to), black ? E::kKingPositive : E::kKingNegative);
    EXPECT_EQ(At(rookTo), black ? E::kRook : -E::kRook);
    EXPECT_NE(Record().find(line), std::string::npos) << Record();
  }
}

// Every game mode in both orientations: the user's moves, the engine's
// replies by mode, what the record, the slider and the buttons show, and the
// picks a correspondence player may not make while the partner is to move.
TEST_F(MoveRoadTest, EveryModeAndOrientationTakesTheMovesAndRepliesByMode) {
  using Moves = std::vector<std::pair<const char*, const char*>>;
  const Moves e4{{"e2", "e4"}}, e4e5{{"e2", "e4"}, {"e7", "e5"}};
  // The mode, the human's colour, the board's side, the user's moves, the half-move they and the engines'
  // replies reach (OfflineCC: at least), a piece the side to move may not pick next (nullptr: none).
  const std::tuple<const char*, int32_t, int16_t, Moves, int, const char*> cases[] = {
      {"OfflinePP", G::kWhite, -1, e4e5, 2, nullptr},
      {"OfflinePC", G::kWhite, -1, e4, 2, nullptr},
      // The user makes White's first move; the engine answers Black's moves.
      {"OfflinePC", G::kBlack, -1, e4e5, 3, nullptr},
      // The user's first move starts the engines, stopped here after four moves.
      {"OfflineCC", G::kWhite, -1, {{"d2", "d4"}}, 4, nullptr},
      // Each correspondence move waits to be sent; the partner's pieces stay put.
      {"OnlinePP", G::kWhite, 1, e4, 1, "e7"},
      {"OnlinePP", G::kBlack, -1, e4e5, 2, "d2"},
  };
  stopAt = 4;  // only the engines' game gets that far
  for (const auto& [mode, human, side, moves, reached, refusedPick] : cases) {
    SCOPED_TRACE(std::string(mode) + (human == G::kWhite ? " human White" : " human Black"));
    NewGame(mode, human, side);
    form->cmdSendMove->setVisible(false);
    for (const auto& [from, to] : moves) Move(from, to);
    const bool engines = std::string(mode) == "OfflineCC";
    EXPECT_TRUE(engines ? E::gMoveNumber >= reached : E::gMoveNumber == reached) << E::gMoveNumber;
    ExpectPlayedGame(false, true);
    EXPECT_EQ(form->lbl_Play->text(), QString::number(E::gMoveNumber));
    EXPECT_EQ(form->cmdSendMove->isVisible(), std::string(mode) == "OnlinePP");
    E::calcular_rey(E::gVirtualBoard);
    const B::Square king = B::EngineToView(E::gWhiteKingX, E::gWhiteKingY);
    EXPECT_EQ(B::gViewBoard.at(king.c, king.r), B::kWhiteKing);  // drawn where the board turns it
    if (refusedPick != nullptr) {
      form->txtComment->setText("a note");
      Press(refusedPick);
      EXPECT_EQ(B::gPieceSelected, 0);
      EXPECT_EQ(form->txtComment->text(), "");
    }
  }
}

// Stopping the game while the engine searches (pause, suspend, give up) does
// not undo the move it then commits: the move is recorded and drawn. A game
// changed under the search (here by the program setting the slider, as the
// game-file reader does) gets no move from it, and no line.
TEST_F(MoveRoadTest, WhatTheEngineCommitsWhileItsGameIsStoppedOrChanged) {
  const std::vector<std::pair<const char*, const char*>> white = {{"e2", "e4"}}, black = {{"e2", "e4"}, {"e7", "e5"}};
  for (const auto& [human, side, moves, stop] : {std::tuple{G::kWhite, 1, white, true}, {G::kBlack, -1, black, true},
                                                 {G::kWhite, 1, white, false}, {G::kBlack, -1, black, false}}) {
    SCOPED_TRACE(std::to_string(side) + (stop ? " stopped" : " changed"));
    NewGame("OfflinePC", human, static_cast<int16_t>(side));
    const int userMoves = static_cast<int>(moves.size());
    // The search counts every candidate it weighs on the progress bar, so
    // this runs inside the search however fast it is.
    auto hook = QObject::connect(form->progreso, &QProgressBar::valueChanged, form.get(), [&, stop = stop](int value) {
      if (value < 1 || E::gMoveNumber != userMoves) return;  // not searching yet, or done
      if (stop) G::gGameStopped = G::kTrue;
      else form->HScroll1->setValue(userMoves - 1);
    });
    for (const auto& [from, to] : moves) Move(from, to);
    QObject::disconnect(hook);
    EXPECT_EQ(E::gMoveNumber, stop ? userMoves + 1 : userMoves - 1);
    ExpectPlayedGame(false, stop);
  }
}

// A command given while a move is under way, at each yield of the road (the
// player's move being shown, the engine's search, the engine's move being
// shown), waits until the move is done; a press on the board does nothing.
// Afterwards the game is one that somebody played, and the command has done
// its work.
TEST_F(MoveRoadTest, ACommandDuringAMoveWaitsForItAndTheGameStaysPlayed) {
  enum Modes { kPcWhite = 1, kPcBlack = 2, kTwoPlayers = 4, kEngines = 8, kAll = 15 };
  enum Stage { kShown, kSearch, kReply };
  struct Case {
    const char* name;
    int modes;
    std::function<void()> fire;
    std::function<bool()> done;  // the command's work is seen (nullptr: it does nothing)
    bool mirrored = false;
  };
  int16_t side = 1;     // of the game under way
  bool engines = false;  // the engines play on after the command
  size_t questions = 0;  // message boxes shown before the move
  size_t saved = 0;      // games saved before the move
  bool pressUnderWay = false;  // a press reached the board during the move
  bool noted = false;          // and the status bar said it was dropped
  const std::string savedGames = tree.path("Castellan/games");
  auto recordHas = [this](std::string text) { return [this, text] { return Record().find(text) != std::string::npos; }; };
  auto toolbar = [this](const char* key) { form->tb->buttonByKey(key)->trigger(); };
  auto ended = [this] { return Record().empty() && G::gGameStopped == G::kTrue; };
  // Entering edit mode against the engine gives White the move, whatever the half-move.
  const int kEdit = kPcWhite | kTwoPlayers | kEngines;
  const Case cases[] = {
      {"undo", kAll, [&] { toolbar("UNDO"); }, recordHas("Manually")},
      {"one move back", kAll, [&] { form->mnuMoveBack->trigger(); }, recordHas("Manually")},
      {"to the beginning", kAll, [&] { form->mnuGotoBegin->trigger(); }, recordHas("movement # 0")},
      {"go to 1", kAll, [&] { answers.PushInput("1"); form->mnuGotoMove->trigger(); }, recordHas("movement # 1")},
      {"redo, forward, to the end", kAll,
       [&] { form->mnuRedo->trigger(); form->mnuMoveForward->trigger(); toolbar("GOTOEND"); }, nullptr},
      {"hint", kPcWhite | kPcBlack, [&] { form->mnuGiveHint->trigger(); }, recordHas("CPU suggestion")},
      {"change side", kPcWhite | kPcBlack | kTwoPlayers, [&] { form->mnuChangeSide->trigger(); }, nullptr, true},
      {"turn board", kAll, [&] { form->mnuRotate->trigger(); }, [&] { return G::gBoardSide == -side; }},
      // The level changes no position: it is taken at once, and the game is played all the same.
      {"level", kAll, [&] { form->sldLevel->triggerAction(QAbstractSlider::SliderSingleStepAdd); },
       [&] { return form->sldLevel->value() == 2; }},
      // A step, from where the slider stands once the move is done (the engines play on from there).
      {"move slider", kAll, [&] { form->HScroll1->triggerAction(QAbstractSlider::SliderSingleStepSub); },
       [&] { return recordHas("     changed")() && (engines || E::gMoveNumber == form->HScroll1->maximum() - 1); }},
      {"edit", kEdit, [&] { form->mnuEdit->trigger(); }, recordHas("Edit mode enabled")},
      {"toolbar edit", kEdit, [&] { toolbar("EDIT"); }, recordHas("Edit mode enabled")},
      {"edit box", kEdit, [&] { form->setup->click(); }, recordHas("Edit mode enabled")},
      {"suspend", kAll, [&] { form->mnuSuspendGame->trigger(); }, ended},
      {"give up", kAll, [&] { form->mnuGiveUp->trigger(); }, ended},
      {"change mode", kPcWhite | kPcBlack | kEngines,
       [&] {
         WhenModal([](QWidget* dialog) {
           dialog->findChild<QRadioButton*>("optMode(0)")->setChecked(true);
           dialog->findChild<QPushButton*>("cmdOK")->click();
         });
         form->mnuChangeMode->trigger();
       },
       [] { return G::gGameMode == "OfflinePP"; }},
      // Dropped with a note while the move is under way, so that a click that does nothing says so; the
      // note goes when the board takes presses again.
      {"board press", kAll,
       [&] {
         // The board is off while the player's own move is shown, and takes
         // presses again once the move is done (between two players, at once).
         pressUnderWay = form->MoveUnderWay() && form->picFrontBuffer->isEnabled();
         PlayAnyMove();
         noted = form->StatusBar->panel(1)->text() == app::fMainForm::kPressDropped;
       },
       [&] { return noted == pressUnderWay && form->StatusBar->panel(1)->text().isEmpty(); }},
      // Drags and steps wait as the one place they end on: two steps back from the last move, one line.
      {"slider dragged and stepped", kPcWhite | kPcBlack | kTwoPlayers,
       [&] {
         for (int place : {0, 1}) {
           form->HScroll1->setSliderDown(true);
           form->HScroll1->setSliderPosition(place);
           form->HScroll1->setSliderDown(false);
         }
         for (int i = 0; i < 2; ++i) form->HScroll1->triggerAction(QAbstractSlider::SliderSingleStepSub);
       },
       [&] {
         const std::string record = Record();
         return E::gMoveNumber == 0 && record.find("     changed to movement # 0") != std::string::npos &&
                record.find("     changed") == record.rfind("     changed");
       }},
      // In the order given, one at a time: the Give Up given first asks and
      // saves the game, and only then is the user asked about leaving.
      {"give up, then leave", kPcWhite | kEngines,
       [&] {
         form->mnuGiveUp->trigger();
         for (int i = 0; i < 2; ++i) answers.Push(platform::vbYes);
         form->close();
       },
       [&] {
         const auto calls = answers.Calls();
         return calls.size() == questions + 2 && calls.back().text == "Are you sure that you wish to leave now ?" &&
                form->isHidden() && FilesIn(savedGames).size() == saved + 1;
       }},
  };
  // The game before the move, and the move whose road is interrupted.
  using Step = std::pair<const char*, const char*>;
  // The mode, its name, the human's colour, the board's side, the moves before, the move interrupted.
  const std::tuple<int, const char*, int32_t, int16_t, std::vector<Step>, Step> games[] = {
      {kPcWhite, "OfflinePC", G::kWhite, 1, {}, {"e2", "e4"}},
      {kPcBlack, "OfflinePC", G::kBlack, -1, {{"e2", "e4"}}, {"e7", "e5"}},
      {kTwoPlayers, "OfflinePP", G::kWhite, 1, {{"e2", "e4"}}, {"e7", "e5"}},
      {kEngines, "OfflineCC", G::kWhite, 1, {}, {"d2", "d4"}},
  };
  for (const Case& c : cases)
    for (const auto& [gameMode, name, human, gameSide, before, move] : games)
      for (Stage stage : {kShown, kSearch, kReply}) {
        if ((c.modes & gameMode) == 0 || (gameMode == kTwoPlayers && stage != kShown)) continue;
        SCOPED_TRACE(std::string(c.name) + " " + name + (human == G::kWhite ? " White " : " Black ") +
                     std::to_string(stage));
        side = gameSide;
        engines = gameMode == kEngines;
        NewGame(name, human, gameSide);
        form->sldLevel->setValue(1);
        for (const auto& [from, to] : before) Move(from, to);
        const int lines = form->txtMoveList->document()->blockCount(), half = E::gMoveNumber + 1;
        questions = answers.Calls().size();
        saved = FilesIn(savedGames).size();
        bool fired = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
          if (G::gGameMode == "OfflineCC" && E::gMoveNumber >= 3) G::gGameStopped = G::kTrue;
          const int written = form->txtMoveList->document()->blockCount() - lines;
          const bool searching = form->progreso->value() >= 1 && E::gMoveNumber == half;
          if (fired || !(stage == kShown   ? written >= 1 && !searching && E::gMoveNumber == half
                         : stage == kSearch ? searching
                                            : written >= 2))
            return;
          fired = true;
          platform::SetYieldIntervalMs(4);
          c.fire();
        });
        poll.start(0);
        platform::SetYieldIntervalMs(0);  // every yield of the road lets the command in
        Move(move.first, move.second);
        poll.stop();
        platform::SetYieldIntervalMs(4);
        EXPECT_TRUE(fired);
        ExpectPlayedGame(c.mirrored, true);
        if (c.done) {
          EXPECT_TRUE(c.done());
        }
        if (form->isHidden()) Reopen();  // the user has left
      }
}

// The board takes a press as soon as the road has drawn the engine's reply,
// whatever came before the move: a look back after a stale pick and press,
// a hint taken back, a save and a load. The game is the one the user played,
// castling at the end.
TEST_F(MoveRoadTest, TheBoardTakesPressesOnceTheReplyIsShown) {
  const std::string path = tree.path("game.chs");
  // What comes before the user's move, the move.
  const std::tuple<const char*, std::function<void()>, const char*, const char*> moves[] = {
      {"nothing", [] {}, "e2", "e4"},
      {"a pick, a look back, a stale press and forward again",
       [&] {
         Press("f1");
         form->mnuMoveBack->trigger();
         Press("c4");
         form->mnuMoveForward->trigger();
       },
       "f1", "c4"},
      {"a hint taken back",
       [&] {
         form->mnuGiveHint->trigger();
         form->mnuUndo->trigger();
       },
       "g1", "f3"},
      {"a save and a load", [&] { ASSERT_TRUE(B::SaveCompleteGame(path) && B::LoadCompleteGame(path)); }, "e1", "g1"},
  };
  NewGame("OfflinePC");
  form->sldLevel->setValue(1);
  platform::SetYieldIntervalMs(0);  // every yield lets the press in
  int half = 0;
  for (const auto& [name, before, from, to] : moves) {
    SCOPED_TRACE(name);
    before();
    ASSERT_EQ(E::gMoveNumber, half);
    bool taken = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&, from = from] {
      if (taken || E::gMoveNumber != half + 2 || form->MoveUnderWay()) return;
      Press(from == std::string("e2") ? "d2" : "a2");  // the reply is drawn: a pick is taken
      taken = B::gPieceSelected != 0;
      Press(from == std::string("e2") ? "d2" : "a2");
    });
    poll.start(0);
    Move(from, to);
    poll.stop();
    EXPECT_TRUE(taken);
    half += 2;
    EXPECT_EQ(E::gMoveNumber, half);
    EXPECT_EQ(B::gPieceSelected, 0);
  }
  platform::SetYieldIntervalMs(4);
  EXPECT_EQ(At("g1"), E::kKingNegative);
  EXPECT_EQ(At("f1"), -E::kRook);
  ExpectPlayedGame(false, true);
}

// A pawn on the last row opens the promotion dialog, whose preview shows the
// mover's colour, in both orientations and in edit mode too; the chosen piece
// survives the engine's reply and is logged with it (between two players too);
// a pawn the engine promotes becomes a queen without asking anyone.
TEST_F(MoveRoadTest, PromotionThroughTheDialogInEditModeAndAroundTheEnginesMoves) {
  // The mode, the human's colour, the board's side, edit mode?, Black to move?, the position, the move, the
  // option taken in the dialog (0 queen, 1 rook, 2 knight, 3 bishop; -1 no dialog), where the new piece
  // stands and what it is, and the half-move reached.
  using Case = std::tuple<const char*, int32_t, int16_t, bool, bool, E::EngineBoard, const char*, const char*, int,
                          const char*, int32_t, int>;
  const E::EngineBoard twoPawns =
      Position({{"e1", E::kKingNegative}, {"e8", E::kKingPositive}, {"a7", -E::kPawn}, {"h2", E::kPawn}});
  const Case cases[] = {
      {"OfflinePP", G::kWhite, 1, false, false, twoPawns, "a7", "a8", 2, "a8", -E::kKnight, 1},
      {"OfflinePP", G::kWhite, -1, false, true, twoPawns, "h2", "h1", 3, "h1", E::kBishop, 2},
      {"OfflinePP", G::kWhite, -1, true, false, twoPawns, "h2", "h1", 0, "h1", E::kQueen, 0},
      // The human Black promotes on the turned board and the engine replies.
      {"OfflinePC", G::kBlack, -1, false, true,
       Position({{"a5", E::kKingNegative}, {"e8", E::kKingPositive}, {"h2", E::kPawn}}), "h2", "h1", 1, "h1", E::kRook,
       3},
      // The engine promotes: Black, and White on the turned board.
      {"OfflinePC", G::kWhite, 1, false, false,
       Position({{"e4", E::kKingNegative}, {"a8", E::kKingPositive}, {"b2", E::kPawn}}), "e4", "e5", -1, "b1",
       E::kQueen, 2},
      {"OfflinePC", G::kBlack, -1, false, true,
       Position({{"a1", E::kKingNegative}, {"a5", E::kKingPositive}, {"g7", -E::kPawn}}), "a5", "a4", -1, "g8",
       -E::kQueen, 3},
  };
  for (const auto& [mode, human, side, edit, blackToMove, board, from, to, choice, square, code, moveNumber] : cases) {
    SCOPED_TRACE(std::string(mode) + " " + from + (edit ? " edit" : ""));
    SetPosition(mode, board, blackToMove, human, side);
    if (edit) {
      form->mnuEdit->setChecked(true);
      app::SetCheckValue(form->setup, 1);
    }
    int dialogs = 0;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
      if (auto* dialog = qobject_cast<app::frmNewPiece*>(QApplication::activeModalWidget())) {
        ++dialogs;
        EXPECT_EQ(app::frmNewPiece::PromotingOffset(), code > 0 ? 0 : 10);
        dialog->optPiece[choice]->click();
        dialog->cmdOK->click();
      }
    });
    answerer.start(5);
    Move(from, to);
    answerer.stop();
    EXPECT_EQ(dialogs, choice < 0 ? 0 : 1);
    EXPECT_EQ(At(square), code);
    if (!edit) {
      EXPECT_EQ(E::gMoveNumber, moveNumber);
      const std::string record = Record();  // the engine's promotion is recorded as well
      EXPECT_EQ(std::count(record.begin(), record.end(), '\n'), moveNumber - (blackToMove ? 1 : 0)) << record;
      EXPECT_EQ(E::gGameLog.back()(square[0] - 'a' + 1, square[1] - '0'), code);
    }
  }
}

// A mate is announced by every drawing of the mated position with its checks:
// the showing of the mating move, and the drawing that ends the road after
// the engine's turn. A mated engine resigns in between, which also ends the
// engines' play against each other; a mated player is simply left to move.
// The engine playing White searches on the turned board, which is turned back
// when it resigns, so the shown position keeps its colours.
TEST_F(MoveRoadTest, AMateIsAnnouncedByEachDrawingAndAMatedEngineEndsThePlay) {
  // The mode, the human's colour, the board's side, the position, Black to move?, the mating move (or the
  // move the engine mates after), the half-move reached, the engine mated?
  using Case = std::tuple<const char*, int32_t, int16_t, const E::EngineBoard*, bool, const char*, const char*, int,
                          bool>;
  // White mates with Rb8 whatever Black plays first; Black mates with Rb1.
  const E::EngineBoard whiteMates =
      Position({{"g6", E::kKingNegative}, {"b1", -E::kRook}, {"h8", E::kKingPositive}, {"a7", E::kPawn}});
  const E::EngineBoard blackMates =
      Position({{"h1", E::kKingNegative}, {"a2", -E::kPawn}, {"g3", E::kKingPositive}, {"b8", E::kRook}});
  const Case cases[] = {
      {"OfflineCC", G::kWhite, 1, &whiteMates, true, "a7", "a6", 3, true},
      {"OfflineCC", G::kWhite, -1, &blackMates, true, "b8", "c8", 2, true},
      {"OfflinePC", G::kWhite, 1, &whiteMates, false, "b1", "b8", 1, true},
      {"OfflinePC", G::kBlack, -1, &blackMates, true, "b8", "b1", 2, true},
      {"OfflinePC", G::kWhite, 1, &blackMates, false, "a2", "a3", 2, false},   // the engine mates
      {"OfflinePC", G::kBlack, -1, &whiteMates, true, "a7", "a6", 3, false},  // the engine mates
      {"OfflinePP", G::kWhite, 1, &blackMates, true, "b8", "b1", 2, false},
  };
  const std::string mate = "Check Mate !", resign = "Computer Resigns  or  Check Mate";
  for (const auto& [mode, human, side, board, blackToMove, from, to, moveNumber, engineMated] : cases) {
    SCOPED_TRACE(std::string(mode) + " " + from + to);
    SetPosition(mode, *board, blackToMove, human, side);
    form->sldLevel->setValue(2);  // a full search, which sees the mate in one
    stopAt = 8;  // only a safety net: the mate alone has to end the engines' play
    answers.Clear();
    form->mnuNewGame->setEnabled(false);
    Move(from, to);
    const bool twoPlayers = std::string(mode) == "OfflinePP";
    const std::vector<std::string> boxes = engineMated ? std::vector{mate, resign, mate}
                                           : twoPlayers  ? std::vector{mate}
                                                         : std::vector{mate, mate};
    EXPECT_EQ(Messages(), boxes);
    EXPECT_EQ(E::gMoveNumber, moveNumber);  // nothing is played after the mate
    const bool whiteMated = board == &blackMates;
    EXPECT_EQ(G::gColorToMove, whiteMated ? G::kWhite : G::kBlack);  // the mated side is left to move
    EXPECT_EQ(form->lblwwCheck->isHidden(), !whiteMated);
    EXPECT_EQ(form->lblbbCheck->isHidden(), whiteMated);
    EXPECT_EQ(G::gGameStopped, engineMated ? G::kTrue : 0);
    EXPECT_EQ(E::gVirtualBoard, E::gGameLog.back());
    if (engineMated && std::string(mode) == "OfflinePC") {  // White's king has not moved
      const char* king = whiteMated ? "h1" : "g6";
      EXPECT_EQ(At(king), E::kKingNegative);
      const B::Square view = B::EngineToView(king[0] - 'a' + 1, king[1] - '0');
      EXPECT_EQ(B::gViewBoard.at(view.c, view.r), B::kWhiteKing);
      EXPECT_TRUE(form->mnuNewGame->isEnabled());
    }
  }
}

// The start button lets the engine play the colour opposite to the human's,
// never a second move in a row: on the human's own turn it only switches to
// playing against the engine, which then answers the human's next move.
TEST_F(MoveRoadTest, TheStartButtonLetsTheEngineAnswerButNeverMovesASideTwice) {
  using F = app::fMainForm;
  // The mode, the human's colour (White opens with e2-e4 and the engine replies), the board's side, a
  // command run before the button, the half-move the button reaches.
  const std::tuple<const char*, int32_t, int16_t, QAction* F::*, int> cases[] = {
      {"OfflinePP", G::kBlack, -1, nullptr, 1},  // two players, the human Black: the engine opens as White
      {"OfflinePC", G::kWhite, 1, nullptr, 2},   // the human's own turn, as after a load
      {"OfflinePC", G::kWhite, 1, &F::mnuGiveHint, 4},
      {"OfflinePC", G::kWhite, 1, &F::mnuMoveBack, 2},  // the engine's turn
  };
  for (const auto& [mode, human, side, command, afterButton] : cases) {
    SCOPED_TRACE(std::string(mode) + " " + std::to_string(afterButton));
    NewGame(mode, human, side);
    if (human == G::kWhite) Move("e2", "e4");
    if (command != nullptr) (form.get()->*command)->trigger();
    form->cmdStartCPUMove->setVisible(true);
    form->cmdStartCPUMove->click();
    EXPECT_EQ(G::gGameMode, "OfflinePC");
    EXPECT_TRUE(form->cmdStartCPUMove->isHidden());
    EXPECT_EQ(E::gMoveNumber, afterButton);
    ASSERT_EQ(G::gColorToMove, human);
    Move(human == G::kWhite ? "a2" : "a7", human == G::kWhite ? "a3" : "a6");
    EXPECT_EQ(E::gMoveNumber, afterButton + 2);
    ExpectPlayedGame(false, true);
  }
}

// Once the engines' play is stopped, a later press with a legal move only starts them again.
TEST_F(MoveRoadTest, AStoppedEnginesGameStartsAgainWithAPress) {
  NewGame("OfflineCC");
  stopAt = 4;
  Move("d2", "d4");
  stopAt = E::gMoveNumber + 2;
  G::gGameStopped = 0;
  PlayAnyMove();
  EXPECT_GE(E::gMoveNumber, stopAt);
  ExpectPlayedGame(false, true);
}

}  // namespace
}  // namespace apptest
