// What the board shows is what the game log holds: a promotion's piece and a
// position set up in edit mode are saved, loaded, looked back at and played
// on as shown; and a press or command around edit mode and the engine's
// drawn reply is never lost.
#include <QKeyEvent>

#include "app/frmNewPiece.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

class ShownPositionTest : public MainWindowFixture {
 protected:
  // Save, Suspend (which saves again and clears the board), then load the file.
  void SaveSuspendLoad() {
    form->tb->buttonByKey("SAVE")->trigger();
    const std::string file = form->CurrentGameFile;
    ASSERT_FALSE(file.empty());
    form->mnuSuspendGame->trigger();
    ASSERT_EQ(E::gMoveNumber, 0);
    ASSERT_TRUE(B::LoadCompleteGame(file));
  }
};

// A human promotion in each mode and orientation, chosen by OK or by closing
// the dialog (Escape, the close button: the queen it shows), is the piece of
// its own half-move, also when the engine answers at once; the engine's own
// promotion too. After Save, Suspend and Load the game is the one shown.
TEST_F(ShownPositionTest, APromotionIsThePieceOfItsHalfMoveThroughSaveAndLoad) {
  enum Close { kOk, kEscape, kCloseButton, kNoDialog };
  const E::EngineBoard whiteTakes = Position(
      {{"e1", E::kKingNegative}, {"e8", E::kKingPositive}, {"b7", -E::kPawn}, {"a8", E::kRook}, {"h7", E::kPawn}});
  const E::EngineBoard blackPawn =
      Position({{"a5", E::kKingNegative}, {"e8", E::kKingPositive}, {"h2", E::kPawn}, {"a7", -E::kPawn}});
  const E::EngineBoard enginePawn = Position({{"e4", E::kKingNegative}, {"a8", E::kKingPositive}, {"b2", E::kPawn}});
  // Mode, human's colour, board side, position (Black to move with blackPawn), move, option chosen,
  // how the dialog closes, the promotion's half-move, its square and piece, the half-move reached.
  using Case = std::tuple<const char*, int32_t, int16_t, const E::EngineBoard*, const char*, const char*, int, Close,
                          int, const char*, int32_t, int>;
  const Case cases[] = {
      {"OfflinePP", G::kWhite, 1, &whiteTakes, "b7", "a8", 0, kOk, 1, "a8", -E::kQueen, 1},
      {"OfflinePP", G::kWhite, -1, &blackPawn, "h2", "h1", 3, kOk, 2, "h1", E::kBishop, 2},
      {"OfflinePP", G::kWhite, -1, &whiteTakes, "b7", "a8", 1, kOk, 1, "a8", -E::kRook, 1},  // White on the turned board
      {"OfflinePP", G::kWhite, 1, &whiteTakes, "b7", "a8", 0, kEscape, 1, "a8", -E::kQueen, 1},
      {"OfflinePP", G::kWhite, -1, &blackPawn, "h2", "h1", 0, kCloseButton, 2, "h1", E::kQueen, 2},
      {"OfflinePC", G::kWhite, 1, &whiteTakes, "b7", "a8", 2, kOk, 1, "a8", -E::kKnight, 2},  // the engine answers at once
      {"OfflinePC", G::kBlack, -1, &blackPawn, "h2", "h1", 1, kOk, 2, "h1", E::kRook, 3},
      {"OfflinePC", G::kWhite, 1, &whiteTakes, "b7", "a8", 0, kEscape, 1, "a8", -E::kQueen, 2},
      {"OfflinePC", G::kWhite, 1, &enginePawn, "e4", "e5", 0, kNoDialog, 2, "b1", E::kQueen, 2},  // the engine's own
  };
  for (const auto& [mode, human, side, board, from, to, choice, close, half, square, piece, reached] : cases) {
    SCOPED_TRACE(std::string(mode) + " " + from + to + " " + std::to_string(choice) + " " + std::to_string(close));
    form->CurrentGameFile.clear();
    SetPosition(mode, *board, board == &blackPawn, human, side);
    form->sldLevel->setValue(1);
    int dialogs = 0;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&, choice = choice, close = close] {
      auto* dialog = qobject_cast<app::frmNewPiece*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      ++dialogs;
      dialog->optPiece[choice]->click();
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      if (close == kOk) dialog->cmdOK->click();
      else if (close == kEscape) QApplication::sendEvent(dialog, &escape);
      else dialog->close();
    });
    answerer.start(5);
    Move(from, to);
    answerer.stop();
    EXPECT_EQ(dialogs, close == kNoDialog ? 0 : 1);
    SaveSuspendLoad();
    EXPECT_EQ(E::gMoveNumber, reached);
    EXPECT_EQ(G::gColorToMove, reached % 2 == 0 ? G::kWhite : G::kBlack);
    EXPECT_TRUE(PictureShowsEngineBoard());
    EXPECT_EQ(At(square), piece);
    if (half < reached) form->mnuMoveBack->trigger();  // the promotion's own half-move shows its piece
    EXPECT_EQ(At(square), piece);
  }
}

// A position set up in edit mode (from the menu or the toolbar, with a piece
// promoted on the way) is the game's: the next move is played from it, also
// when a piece was still picked as edit mode (menu, toolbar, box) ended, and
// after Save and Load a look back shows it.
TEST_F(ShownPositionTest, AnEditedPositionIsLoggedAtItsHalfMoveAndPlayedOn) {
  const std::pair<const char*, std::function<void()>> toggles[] = {
      {"menu", [&] { form->mnuEdit->trigger(); }},
      {"toolbar", [&] { form->tb->buttonByKey("EDIT")->trigger(); }},
      {"box", [&] { form->setup->click(); }},
  };
  for (const auto& [name, toggle] : toggles) {
    SCOPED_TRACE(name);
    // The box alone moves no piece of the side not to move: the position is set up from the menu there.
    const std::function<void()>& edit = std::string(name) == "box" ? toggles[0].second : toggle;
    form->CurrentGameFile.clear();
    NewGame("OfflinePP");
    Move("e2", "e4");
    edit();
    Move("a2", "a7");  // a White pawn beside the Black ones...
    WhenModal([](QWidget* dialog) { dialog->close(); });
    Move("a7", "b8");  // ...and on to the last row: the dialog's queen
    Move("d8", "d4");  // Black's queen into the centre, after the promotion
    edit();
    const E::EngineBoard edited = E::gVirtualBoard;
    EXPECT_EQ(At("b8"), -E::kQueen);
    toggle();
    Press("g8");  // picked, then the mode is left
    toggle();
    Move("d4", "d2");
    EXPECT_EQ(E::gMoveNumber, 2);  // from the edited position: the queen from d4
    const E::EngineBoard played = E::gVirtualBoard;
    SaveSuspendLoad();
    EXPECT_EQ(E::gVirtualBoard, played);
    form->mnuMoveBack->trigger();
    EXPECT_EQ(E::gVirtualBoard, edited);
  }
}

// A position changed at the half-move shown (Change Side, an edit) is the
// game's: Save and Load bring it back, and the next move is played from it, so
// that one step back shows it. Changed at an earlier half-move, it is the
// game's last: the half-moves after it were played from the old one and are
// dropped, as a move made there drops them; edit mode left without a change
// drops nothing.
TEST_F(ShownPositionTest, APositionChangedAtTheHalfMoveShownIsTheGamesLast) {
  enum Change { kChangeSide, kEdit, kEditNothing };
  // The change, half-moves looked back before it, the half-move that is the game's last afterwards.
  const std::tuple<Change, int, int> cases[] = {
      {kChangeSide, 0, 4}, {kChangeSide, 1, 3}, {kEdit, 0, 4}, {kEdit, 1, 3}, {kEdit, 2, 2}, {kEditNothing, 1, 4},
  };
  for (const auto& [change, back, last] : cases) {
    SCOPED_TRACE(std::to_string(change) + " back " + std::to_string(back));
    form->CurrentGameFile.clear();
    NewGame("OfflinePP");
    for (const auto& [from, to] : {std::pair{"e2", "e4"}, {"e7", "e5"}, {"g1", "f3"}, {"b8", "c6"}}) Move(from, to);
    for (int i = 0; i < back; ++i) form->mnuMoveBack->trigger();
    const int shown = E::gMoveNumber;
    if (change == kChangeSide) {
      form->mnuChangeSide->trigger();
    } else {
      form->mnuEdit->trigger();
      if (change == kEdit) Move("h2", "h4");
      form->mnuEdit->trigger();
    }
    const E::EngineBoard changed = E::gVirtualBoard;
    EXPECT_EQ(static_cast<int>(E::gGameLog.size()), last + 1);
    form->mnuGotoLastMove->trigger();
    EXPECT_EQ(E::gMoveNumber, last);
    if (change == kEditNothing) continue;
    EXPECT_EQ(E::gVirtualBoard, changed);
    SaveSuspendLoad();
    EXPECT_EQ(E::gMoveNumber, shown);
    EXPECT_EQ(E::gVirtualBoard, changed);
    EXPECT_EQ(G::gColorToMove, shown % 2 == 0 ? G::kWhite : G::kBlack);
    EXPECT_TRUE(PictureShowsEngineBoard());
    // A pawn of the side to move on the a-file, whichever colours the change gave the pieces.
    shown % 2 == 0 ? Move("a2", "a3") : Move("a7", "a6");
    EXPECT_EQ(E::gMoveNumber, shown + 1);
    form->mnuMoveBack->trigger();
    EXPECT_EQ(E::gVirtualBoard, changed);
  }
}

// The toolbar's Save pressed at any yield while the engine's reply is drawn
// (slowly, square by square) says at once that it waits, and saves the game
// once the move is done.
TEST_F(ShownPositionTest, SavePressedWhileTheEnginesReplyIsDrawnSavesTheGame) {
  for (const int yieldNumber : {1, 12}) {
    SCOPED_TRACE(yieldNumber);
    form->CurrentGameFile.clear();
    NewGame("OfflinePC");
    form->sldLevel->setValue(1);
    app::SetCheckValue(form->chkMoveAnimation, 1);
    form->HScrollAnimationSpeed->setValue(98);
    bool pressed = false, noted = false;
    const auto save = Meanwhile(
        [&, yields = 0]() mutable { return E::gMoveNumber == 2 && form->MoveUnderWay() && ++yields >= yieldNumber; },
        [&] {
          form->tb->buttonByKey("SAVE")->trigger();
          noted = form->StatusBar->panel(1)->text() == app::fMainForm::kCommandWaits;
        },
        pressed);
    EveryWaitYields([&] { Move("e2", "e4"); });
    ASSERT_TRUE(pressed);
    EXPECT_TRUE(noted);
    EXPECT_TRUE(form->StatusBar->panel(1)->text().isEmpty());
    EXPECT_EQ(B::ReadGameFile(form->CurrentGameFile).moveNumber, 2);
  }
}

}  // namespace
}  // namespace apptest
