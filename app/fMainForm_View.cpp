// Commands that change what the board and the side area show, or how the
// board may be used, without changing the game: marker switches, the
// taken-pieces panel, edit mode, turning the board, redraw, change side and
// change mode.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QSignalBlocker>
#include <functional>

#include "app/fMainForm.h"
#include "app/frmGameMode.h"
#include "board/GameRecord.h"
#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "platform/DoEvents.h"
#include "support/ErrorGuard.h"

namespace app {

using namespace ZVK_Globals;
namespace Board = ZVK_Board_Sub;
namespace Engine = ZVK_Engine;

void fMainForm::ConnectViewCommands() {
  OnCommand(mnuDangerShow, [this] { mnuDangerShow_Click(); });
  OnCommand(mnuShowPossibleMoves, [this] { mnuShowPossibleMoves_Click(); });
  OnCommand(mnuTakenPieces, [this] { mnuTakenPieces_Click(); });
  OnGameCommand(mnuEdit, [this] { mnuEdit_Click(); });
  // A click on the box asks for the other state; setting it runs its handler.
  connect(setup, &RequestCheckBox::toggleRequested, this, [this] {
    GiveCommand(CommandGate::Kind::Game, setup->text(), [this] { SetCheckValue(setup, CheckValue(setup) == 1 ? 0 : 1); },
                [this] { return setup->isEnabled(); });
  });
  connect(setup, &QCheckBox::stateChanged, this, [this] { setup_Click(); });
  OnGameCommand(mnuRotate, [this] { mnuRotate_Click(); });
  connect(mnuRedrawBoard, &QAction::triggered, this, [this] { mnuRedrawBoard_Click(); });
  OnGameCommand(mnuChangeSide, [this] { mnuChangeSide_Click(); });
  OnGameCommand(mnuChangeMode, [this] { mnuChangeMode_Click(); });
}

void fMainForm::mnuDangerShow_Click() {
  mnuDangerShow->setChecked(!mnuDangerShow->isChecked());
  platform::DoEvents();
}

void fMainForm::mnuShowPossibleMoves_Click() {
  if (!Guarded("mnuShowPossibleMoves_Click of Formular fMainForm",
               [&] { mnuShowPossibleMoves->setChecked(!mnuShowPossibleMoves->isChecked()); }))
    return;
  platform::DoEvents();
}

void fMainForm::mnuTakenPieces_Click() {
  if (!Guarded("mnuTakenPieces_Click of Formular fMainForm", [&] {
        const bool show = !mnuTakenPieces->isChecked();
        mnuTakenPieces->setChecked(show);
        if (show) {
          mnuOptions->setChecked(false);
        }
        ShowSidePanel(show ? 2 : 0);
      }))
    return;
  platform::DoEvents();
}

void fMainForm::mnuEdit_Click() {
  if (!Guarded("mnuEdit_Click of Formular fMainForm", [&] {
        const bool on = !mnuEdit->isChecked();
        mnuEdit->setChecked(on);
        // Setting the box runs its own handler, as a click on it would.
        SetCheckValue(setup, on ? 1 : 0);
        StatusBar->panel(2)->setText(on ? QStringLiteral("Edit Mode") : QString());
        if (!on) Board::Update_Board();
      }))
    return;
  platform::DoEvents();
}

void fMainForm::setup_Click() {
  if (!Guarded("setup_Click of Formular fMainForm", [&] {
        // The side to move stays that of the half-move shown, whatever was
        // edited: the slider, a save and a load all take it from the
        // half-move number, and a side given the move out of turn would move
        // twice in a row, the engine first.
        gColorToMove = Engine::gMoveNumber % 2 == 0 ? kWhite : kBlack;
        // A piece picked under the one rules is put down: the next press
        // would otherwise complete its move under the other ones (a pick of
        // edit mode moved by the game's rules is refused, and the press lost).
        if (PutPickedPieceDown()) StatusReport();  // no longer the picked piece's move
        if (CheckValue(setup) == 0) {
          // The edited position is the game's: saved, looked back at and played on as shown.
          KeepShownPositionInLog();
          // The engine may take over from the edited position on its own
          // turn; a correspondence game has no engine side.
          cmdStartCPUMove->setVisible(gGameMode != "OnlinePP" && gColorToMove != gPlayerColor);
          Board::RecordEditMoves();
          Write2GameRecord("Edit mode disabled\r\n", Board::kRecordGreen, true);
        } else {
          cmdStartCPUMove->setVisible(false);
          Write2GameRecord("Edit mode enabled ...\r\n", Board::kRecordGreen, true);
        }
      }))
    return;
  platform::DoEvents();
}

void fMainForm::mnuRotate_Click() {
  if (!Guarded("cmdTurnBoardAround_Click of Formular fMainForm", [&] {
        gBoardSide = gBoardSide == 1 ? -1 : 1;
        ShowCoordinateCaptions();
        if (PutPickedPieceDown()) StatusReport();  // no longer the picked piece's move
        else Board::Update_Board();
      }))
    return;
  platform::DoEvents();
}

void fMainForm::mnuRedrawBoard_Click() {
  try {
    Board::RenderBoard(kTrue);
  } catch (...) {
    // A failed redraw is repaired by the next one.
  }
  platform::DoEvents();
}

void fMainForm::mnuChangeMode_Click() {
  if (!Guarded("mnuChangeMode_Click of Formular fMainForm", [&] {
        frmNewMode dialog(this);
        dialog.Form_Load();
        dialog.exec();
      }))
    return;
  platform::DoEvents();
}

}  // namespace app
