// Looking back and forth through the game: Undo and Redo to the human's
// turns, one half-move back and forward, the two ends of the record and a
// chosen half-move. Every command works through the move slider, whose change
// handler loads the position from the game log; the log itself is never
// changed by looking, so the next move on the board continues from the
// position shown.
#include <QAction>
#include <QLabel>
#include <QScrollBar>
#include <cmath>
#include <optional>

#include "app/fMainForm.h"
#include "board/GameRecord.h"
#include "board/TakenPieces.h"
#include "board/TextNumbers.h"
#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "platform/DoEvents.h"
#include "platform/MessageBox.h"
#include "support/ErrorGuard.h"

namespace app {

using namespace ZVK_Globals;
namespace Board = ZVK_Board_Sub;

namespace {

// Whether the human player's colour is to move at a half-move (White on the even ones).
bool HumanToMove(int halfMove) { return (halfMove % 2 == 0) == (gPlayerColor == kWhite); }

// A command's body under its error handler, then one yield.
template <class F>
void RunCommand(const char* place, F&& body) {
  if (Guarded(place, std::forward<F>(body))) platform::DoEvents();
}

// A navigation command's (or the user's slider move's) body under its error
// handler. A piece picked on the position being left is put down first, and
// the board shows it so (with the check markers that a picked piece hides),
// also when the command then moves nowhere: the next press starts from
// nothing picked instead of moving that piece on the position shown.
template <class F>
void RunNavigation(fMainForm& form, const char* place, F&& body) {
  RunCommand(place, [&] {
    const bool picked = form.PutPickedPieceDown();
    body();
    if (picked) form.StatusReport();  // no longer the picked piece's move, on the position shown
  });
}

}  // namespace

void fMainForm::ConnectNavigationCommands() {
  OnGameCommand(mnuUndo, [this] { mnuUndo_Click(); });
  OnGameCommand(mnuRedo, [this] { mnuRedo_Click(); });
  OnGameCommand(mnuMoveBack, [this] { mnuMoveBack_Click(); });
  OnGameCommand(mnuMoveForward, [this] { mnuMoveForward_Click(); });
  OnGameCommand(mnuGotoBegin, [this] { mnuGotoBegin_Click(); });
  OnGameCommand(mnuGotoLastMove, [this] { mnuGotoLastMove_Click(); });
  OnGameCommand(mnuGotoMove, [this] { mnuGotoMove_Click(); });
}

// The slider set by the user (a step or a drag) shows the position it
// reaches, as the commands do: the board is played on from what is shown.
// The engine's commit and the game-file reader move the slider in the middle
// of their work and draw when done, so this is not part of HScroll1_Change.
void fMainForm::HScroll1_UserChange(int value) {
  RunNavigation(*this, "HScroll1_UserChange of Formular fMainForm", [&] {
    const int before = HScroll1->value();
    HScroll1->setValue(value);
    if (HScroll1->value() == before) return;
    Board::Update_Board();
    Board::Correct_TakenPieces();
  });
}

void fMainForm::MoveSliderSilently(int value) {
  // The slider's change handler would write a line for every position passed;
  // the command writes its own one line when it has arrived.
  gNavigating = kTrue;
  HScroll1->setValue(value);
}

void fMainForm::FinishNavigation(bool drawBoard) {
  gNavigating = 0;
  Write2GameRecord("Manually changed to movement # " + lbl_Play->text().toStdString() + "\r\n",
                   Board::kRecordGreen, true);
  if (drawBoard) Board::Update_Board();
  Board::Correct_TakenPieces();
}

void fMainForm::mnuMoveBack_Click() {
  RunNavigation(*this, "mnuMoveBack_Click of Formular fMainForm", [&] {
    if (HScroll1->value() == 0) return;
    MoveSliderSilently(HScroll1->value() - 1);
    Board::Update_Board();
    FinishNavigation(false);
  });
}

void fMainForm::mnuMoveForward_Click() {
  RunNavigation(*this, "mnuMoveForward_Click of Formular fMainForm", [&] {
    if (HScroll1->value() >= HScroll1->maximum()) return;
    MoveSliderSilently(HScroll1->value() + 1);
    FinishNavigation(true);
  });
}

void fMainForm::mnuGotoBegin_Click() {
  RunNavigation(*this, "mnuGotoBegin_Click of Formular fMainForm", [&] {
    if (HScroll1->value() == 0) return;
    MoveSliderSilently(0);
    FinishNavigation(true);
  });
}

void fMainForm::mnuGotoLastMove_Click() {
  RunNavigation(*this, "mnuGotoLastMove_Click of Formular fMainForm", [&] {
    if (HScroll1->value() >= HScroll1->maximum()) return;
    MoveSliderSilently(HScroll1->maximum());
    FinishNavigation(true);
  });
}

void fMainForm::mnuUndo_Click() {
  RunNavigation(*this, "mnuUndo_Click of Formular fMainForm", [&] {
    if (HScroll1->value() == 0) return;
    // Back to the previous turn of the human's colour, or to the start.
    for (;;) {
      MoveSliderSilently(HScroll1->value() - 1);
      if (HumanToMove(HScroll1->value()) || HScroll1->value() == 0) break;
      Board::Update_Board();
    }
    FinishNavigation(true);
  });
}

void fMainForm::mnuRedo_Click() {
  RunNavigation(*this, "mnuRedo_Click of Formular fMainForm", [&] {
    if (HScroll1->value() >= HScroll1->maximum()) return;
    // Forward to the next turn of the human's colour, or to the last move.
    for (;;) {
      MoveSliderSilently(HScroll1->value() + 1);
      if (HumanToMove(HScroll1->value()) || HScroll1->value() >= HScroll1->maximum()) break;
      Board::Update_Board();
    }
    FinishNavigation(true);
  });
}

namespace {

// What the user typed, when it is a number. Taken as the settings are read:
// a decimal number with blanks around it, a sign, a fraction and an exponent
// ("4", " +4 ", "2.5", "1e1"). Nothing the user could mean otherwise counts:
// no hexadecimal ("0x10", "&H10"), no thousands or decimal comma ("1,000",
// "3,"), and no number too large to hold at all ("1e400").
std::optional<double> EnteredNumber(const std::optional<std::string>& entry) {
  if (!entry) return std::nullopt;  // cancelled
  try {
    return Board::ParseNumber(*entry);
  } catch (const ZVK_ErrorLog::RuntimeError&) {
    return std::nullopt;
  }
}

}  // namespace

void fMainForm::mnuGotoMove_Click() {
  RunNavigation(*this, "mnuGotoMove_Click of Formular fMainForm", [&] {
    const std::optional<double> number =
        EnteredNumber(platform::InputBox("Move Numder :", "Go to move number", "0"));
    // Anything else (Cancel, an empty entry, words) only shows the board again.
    if (number) {
      // The nearest whole half-move, halves to the even one, counted without
      // its sign ("-3" is half-move 3). One beyond 16 bits either way is an
      // overflow for the handler: logged, and no step is made.
      const int target = Board::RoundToInt16(std::fabs(*number));
      // One half-move at a time, each step with its own record line; a
      // half-move the game has not reached leaves the board where it is.
      while (target <= HScroll1->maximum() && ZVK_Engine::gMoveNumber != target) {
        const int32_t before = ZVK_Engine::gMoveNumber;
        if (target > before) mnuMoveForward_Click();
        else mnuMoveBack_Click();
        if (ZVK_Engine::gMoveNumber == before) break;  // a failed step would repeat for ever
      }
    }
    Board::Update_Board();
  });
}

}  // namespace app
