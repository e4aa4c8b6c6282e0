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
  int32_t LoggedAt(int halfMove, const char* square) const {
    return E::gGameLog.at(static_cast<size_t>(halfMove))(square[0] - 'a' + 1, square[1] - '0');
  }

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
  const E::EngineBoard enginePawn =
      Position({{"e4", E::kKingNegative}, {"a8", E::kKingPositive}, {"b2", E::kPawn}});
  // The mode, the human's colour, the board's side, Black to move?, the position, the move, the option
  // chosen, how the dialog closes, the promotion's half-move, its square and piece, the half-move reached.
  using Case = std::tuple<const char*, int32_t, int16_t, bool, const E::EngineBoard*, const char*, const char*, int,
                          Close, int, const char*, int32_t, int>;
  const Case cases[] = {
      {"OfflinePP", G::kWhite, 1, false, &whiteTakes, "b7", "a8", 0, kOk, 1, "a8", -E::kQueen, 1},
      {"OfflinePP", G::kWhite, -1, true, &blackPawn, "h2", "h1", 3, kOk, 2, "h1", E::kBishop, 2},
      {"OfflinePP", G::kWhite, -1, false, &whiteTakes, "b7", "a8", 1, kOk, 1, "a8", -E::kRook, 1},
      {"OfflinePP", G::kWhite, 1, false, &whiteTakes, "b7", "a8", 0, kEscape, 1, "a8", -E::kQueen, 1},
      {"OfflinePP", G::kWhite, -1, true, &blackPawn, "h2", "h1", 0, kCloseButton, 2, "h1", E::kQueen, 2},
      // Against the engine, which answers right after.
      {"OfflinePC", G::kWhite, 1, false, &whiteTakes, "b7", "a8", 2, kOk, 1, "a8", -E::kKnight, 2},
      {"OfflinePC", G::kBlack, -1, true, &blackPawn, "h2", "h1", 1, kOk, 2, "h1", E::kRook, 3},
      {"OfflinePC", G::kWhite, 1, false, &whiteTakes, "b7", "a8", 0, kEscape, 1, "a8", -E::kQueen, 2},
      // The engine promotes by itself.
      {"OfflinePC", G::kWhite, 1, false, &enginePawn, "e4", "e5", 0, kNoDialog, 2, "b1", E::kQueen, 2},
  };
  for (const auto& [mode, human, side, blackToMove, board, from, to, choice, close, half, square, piece, reached] :
       cases) {
    SCOPED_TRACE(std::string(mode) + " " + from + to + " " + std::to_string(choice) + " " + std::to_string(close));
    form->CurrentGameFile.clear();
    SetPosition(mode, *board, blackToMove, human, side);
    form->sldLevel->setValue(1);
    int dialogs = 0;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&, choice = choice, close = close] {
      auto* dialog = qobject_cast<app::frmNewPiece*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      ++dialogs;
      dialog->optPiece[choice]->click();
      if (close == kOk) {
        dialog->cmdOK->click();
      } else if (close == kEscape) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(dialog, &escape);
      } else {
        dialog->close();
      }
    });
    answerer.start(5);
    Move(from, to);
    answerer.stop();
    EXPECT_EQ(dialogs, close == kNoDialog ? 0 : 1);
    ASSERT_EQ(E::gMoveNumber, reached);
    EXPECT_EQ(At(square), piece);
    EXPECT_EQ(LoggedAt(half, square), piece);
    SaveSuspendLoad();
    EXPECT_EQ(E::gMoveNumber, reached);
    EXPECT_EQ(G::gColorToMove, reached % 2 == 0 ? G::kWhite : G::kBlack);
    EXPECT_EQ(At(square), piece);
    EXPECT_EQ(LoggedAt(half, square), piece);
    EXPECT_TRUE(PictureShowsEngineBoard());
    if (half < reached) {  // looking back at the promotion shows its piece
      form->mnuMoveBack->trigger();
      EXPECT_EQ(E::gMoveNumber, half);
      EXPECT_EQ(At(square), piece);
    }
  }
}

// A position set up in edit mode, from the menu, the toolbar or with a piece
// promoted on the way, is the game's: it survives Save and Load, a look back
// and forward again returns to it, and the next move is played from it.
// Earlier half-moves still show the game as it was played.
TEST_F(ShownPositionTest, AnEditedPositionIsLoggedAtItsHalfMove) {
  for (const bool toolbar : {false, true}) {
    SCOPED_TRACE(toolbar ? "toolbar" : "menu");
    form->CurrentGameFile.clear();
    NewGame("OfflinePP");
    Move("e2", "e4");
    const E::EngineBoard played = E::gGameLog[1];
    const auto edit = [&] { toolbar ? form->tb->buttonByKey("EDIT")->trigger() : form->mnuEdit->trigger(); };
    edit();
    Move("d8", "d4");  // Black's queen into the centre
    Move("a2", "a7");  // a White pawn beside the Black ones...
    WhenModal([](QWidget* dialog) { dialog->close(); });
    Move("a7", "b8");  // ...and on to the last row: the dialog's queen
    edit();
    const E::EngineBoard edited = E::gVirtualBoard;
    EXPECT_EQ(At("d4"), E::kQueen);
    EXPECT_EQ(At("b8"), -E::kQueen);
    EXPECT_EQ(E::gMoveNumber, 1);
    EXPECT_EQ(E::gGameLog[1], edited);
    form->mnuGotoBegin->trigger();
    form->mnuMoveForward->trigger();
    EXPECT_EQ(E::gVirtualBoard, edited);
    SaveSuspendLoad();
    EXPECT_EQ(E::gVirtualBoard, edited);
    EXPECT_EQ(G::gColorToMove, G::kBlack);
    // Played on from the edited position; the log keeps it behind the move.
    Move("d4", "d2");
    EXPECT_EQ(E::gMoveNumber, 2);
    EXPECT_EQ(At("d2"), E::kQueen);
    EXPECT_EQ(E::gGameLog[1], edited);
    EXPECT_NE(E::gGameLog[1], played);
  }
}

// A piece picked in edit mode and still picked when edit mode ends is put
// down: the first move after leaving edit mode is played, from the menu, the
// toolbar and the box alike.
TEST_F(ShownPositionTest, TheFirstMoveAfterLeavingEditModeIsPlayed) {
  using Toggle = std::function<void()>;
  const std::pair<const char*, Toggle> toggles[] = {
      {"menu", [&] { form->mnuEdit->trigger(); }},
      {"toolbar", [&] { form->tb->buttonByKey("EDIT")->trigger(); }},
      {"box", [&] { form->setup->click(); }},
  };
  for (const auto& [name, toggle] : toggles) {
    SCOPED_TRACE(name);
    NewGame("OfflinePP");
    Move("e2", "e4");
    toggle();
    Press("g8");  // picked, then edit mode is left
    toggle();
    EXPECT_EQ(B::gPieceSelected, 0);
    Move("e7", "e5");
    EXPECT_EQ(E::gMoveNumber, 2);
    EXPECT_EQ(At("e5"), E::kPawn);
    EXPECT_NE(Record().find("Black Pawn at E:7 to E:5"), std::string::npos) << Record();
  }
}

// The toolbar's Save pressed at any yield while the engine's reply is drawn
// (slowly, square by square) says at once that it waits, and saves the game
// once the move is done.
TEST_F(ShownPositionTest, SavePressedWhileTheEnginesReplyIsDrawnSavesTheGame) {
  const std::string savedGames = tree.path("Castellan/games");
  for (const int yieldNumber : {1, 12}) {
    SCOPED_TRACE(yieldNumber);
    form->CurrentGameFile.clear();
    NewGame("OfflinePC");
    form->sldLevel->setValue(1);
    app::SetCheckValue(form->chkMoveAnimation, 1);
    form->HScrollAnimationSpeed->setValue(98);
    const size_t before = FilesIn(savedGames).size();
    int yields = 0;
    bool pressed = false, noted = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (pressed || E::gMoveNumber != 2 || !form->MoveUnderWay() || ++yields < yieldNumber) return;
      pressed = true;
      form->tb->buttonByKey("SAVE")->trigger();
      noted = form->StatusBar->panel(1)->text() == app::fMainForm::kCommandWaits;
    });
    poll.start(0);
    platform::SetYieldIntervalMs(0);
    Move("e2", "e4");
    platform::SetYieldIntervalMs(4);
    poll.stop();
    ASSERT_TRUE(pressed);
    EXPECT_TRUE(noted);
    EXPECT_TRUE(form->StatusBar->panel(1)->text().isEmpty());
    EXPECT_EQ(FilesIn(savedGames).size(), before + 1);
    ASSERT_FALSE(form->CurrentGameFile.empty());
    EXPECT_EQ(B::ReadGameFile(form->CurrentGameFile).moveNumber, 2);
    app::SetCheckValue(form->chkMoveAnimation, 0);
  }
}

}  // namespace
}  // namespace apptest
