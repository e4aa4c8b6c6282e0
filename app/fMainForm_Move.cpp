// Board input and the road of a move: picking, the user's move by game mode,
// showing it, the engine's reply and the engines' play against each other.
#include <QAbstractSlider>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <optional>

#include "app/fMainForm.h"
#include "app/frmNewPiece.h"
#include "board/ZVK_Board_Sub.h"
#include "board/GameRecord.h"
#include "board/TakenPieces.h"
#include "engine/MirrorBoard.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "platform/DoEvents.h"
#include "platform/MessageBox.h"
#include "support/ErrorGuard.h"

namespace app {

using namespace ZVK_Globals;
namespace Board = ZVK_Board_Sub;
namespace Engine = ZVK_Engine;

void fMainForm::Convert2IposBoard() { Board::Convert2IposBoard(); }

void fMainForm::GiveCommand(CommandGate::Kind kind, const QString& name, std::function<void()> run,
                            std::function<bool()> available, const void* mergeKey) {
  if (Board::ViewBoardUnderTest()) {
    // Given in a yield of a legality test (the status report of the mouse
    // hovering over a square tests a king's target with the king put on it):
    // handed over once the test has put the board back, or a press on that
    // square would meet the king already standing there and be refused, and
    // a command drawing a new position would have the old square written
    // back into it.
    QTimer::singleShot(0, this, [=, this] { GiveCommand(kind, name, run, available, mergeKey); });
    return;
  }
  QString plain = name;
  plain.remove(QLatin1Char('&'));
  gate_.Give({plain.toStdString(), kind, std::move(run), std::move(available), mergeKey});
}

void fMainForm::RunAfterTransfer(std::function<void()> work) {
  gate_.Give({"", CommandGate::Kind::Own, std::move(work), {}, nullptr});
}

bool fMainForm::TransferUnderWay() const { return Inet1 != nullptr && Inet1->InUse(); }

bool fMainForm::GameServerTransferUnderWay() const {
  return Inet1 != nullptr && Inet1->InUseFor(platform::InetPurpose::Exchange);
}

void fMainForm::GiveSliderRequest(const SliderRequest& request, std::function<void(int)> setValue) {
  // A drag's place replaces what waits; a step goes on from it.
  if (lastSliderRequest_ && gate_.MergeWithLastWaiting(request.slider, [&] {
        if (request.drag) *lastSliderRequest_ = request;
        else lastSliderRequest_->amount += request.amount;
      }))
    return;
  auto waiting = std::make_shared<SliderRequest>(request);
  lastSliderRequest_ = waiting;
  GiveCommand(CommandGate::Kind::Game, QStringLiteral("move slider"),
              [waiting, setValue = std::move(setValue)] {
                setValue(waiting->drag ? waiting->amount : waiting->slider->value() + waiting->amount);
              },
              [slider = request.slider] { return slider->isEnabled(); }, request.slider);
}

void fMainForm::picFrontBuffer_MouseDown(int button, int, double x, double y) {
  Guarded("picFrontBuffer_MouseDown of Formular fMainForm", [&] {
    cmdStartCPUMove->setVisible(false);
    gGameStopped = kFalse;
    picFrontBuffer->setEnabled(false);
    if (button != 1) return;
    if (CheckValue(chkEnableClock) == 2) SetCheckValue(chkEnableClock, 1);
    Board::gToX = Board::MouseToSquare(x);
    Board::gToY = Board::MouseToSquare(y);
    const int tx = Board::gToX, ty = Board::gToY;
    const bool editing = mnuEdit->isChecked();
    if (Board::gPieceSelected == 0) {
      const int p = Board::gViewBoard.at(tx, ty);
      if (p == 0) return;
      if (gGameMode == "OnlinePP") {
        txtComment->clear();
        const bool white = gColorToMove == kWhite;
        if ((white && gBoardSide == -1 && Engine::gMoveNumber > 0) || (!white && gBoardSide == 1)) return;
      }
      const bool blackToMove = gColorToMove == kBlack;
      const bool whiteToMove = gColorToMove == kWhite;
      const bool pick = (Board::IsBlackPicture(p) && (blackToMove || editing)) ||
                        ((Board::IsWhitePicture(p) || CheckValue(setup) == 1) && (whiteToMove || editing));
      if (pick) {
        Board::gFromX = Board::gToX;
        Board::gFromY = Board::gToY;
        Board::gPieceSelected = kTrue;
        Board::RenderBoard(true);
        return;
      }
    } else if (Board::gToX == Board::gFromX && Board::gToY == Board::gFromY) {
      Board::gPieceSelected = kFalse;
    } else {
      ExecuteMoveBW(kFalse);
      return;
    }
    Board::RenderBoard(true);
  });
  // Whatever happened above, the board takes presses again.
  picFrontBuffer->setEnabled(true);
  StatusReport();
  platform::DoEvents();
}

// The engine's search for one colour; Black is the engine's own (positive)
// side, White is searched on the turned board.
bool fMainForm::SearchEngineMove(bool white) {
  Engine::CopyBoard(gPrevBoard, Engine::gVirtualBoard);
  if (white) Board::MirrorBoard();
  const Engine::EngineBoard searched = Engine::gVirtualBoard;
  const int32_t moveNumber = Engine::gMoveNumber;
  const bool committed = Engine::SearchBestMove();
  // A committed move was reloaded from the log in game orientation already, so
  // only a search that committed nothing leaves the turned position behind;
  // turning a committed one again would exchange the colours of the game.
  if (white && Engine::gMoveNumber == moveNumber && Engine::gVirtualBoard == searched) Board::MirrorBoard();
  return committed;
}

void fMainForm::EngineMove(bool white) {
  // Only a committed move is in the game log, so only that one is recorded
  // and shown; a stop that came while the engine searched does not take it
  // back. A resignation, or a search whose game changed under it, commits
  // nothing, and recording then would write the difference between two
  // positions as a move nobody made.
  if (SearchEngineMove(white)) ExecuteMoveNow();
}

void fMainForm::ExecuteMoveBW(int16_t isCPU) {
  // Under way (also when a caller did not come through the gate) until the
  // road has drawn its last position; the status and the yield after it take
  // the next press.
  std::optional<CommandGate::UnderWay> busy(std::in_place, gate_);
  // The game the road was started for: one set up, loaded or closed by a
  // command run between two engine moves is not played on.
  const uint64_t game = GameOnBoard();
  Guarded("ExecuteMoveBW of Formular fMainForm", [&] {
    Board::gPieceSelected = kFalse;
    Board::Convert2IposBoard();
    RoadStep next = RoadStep::EngineContinuation;
    if (isCPU == kFalse) {
      if (gGameStopped != kFalse) {
        Board::RenderBoard(true);
        return;
      }
      if (mnuEdit->isChecked()) {
        ExecuteUnconditionedMoveNow();
        return;
      }
      if (Board::MoveAlright(Board::gFromX, Board::gFromY, Board::gToX, Board::gToY, true) == 0) {
        platform::Beep();
        Board::Update_Board();
        return;
      }
      next = UserMoveByMode();
    }
    for (;;) {
      switch (next) {
        case RoadStep::End:
          return;
        case RoadStep::EngineContinuation:
          if (gGameStopped != kFalse) {
            Board::RenderBoard(true);
            return;
          }
          next = gColorToMove == kWhite ? RoadStep::EngineWhite : RoadStep::EngineBlack;
          break;
        case RoadStep::EngineWhite:
        case RoadStep::EngineBlack:
          EngineMove(next == RoadStep::EngineWhite);
          next = RoadStep::LoopTest;
          break;
        case RoadStep::LoopTest: {
          const auto enginesPlayOn = [this, game] {
            return gGameMode == "OfflineCC" && !mnuEdit->isChecked() && gGameStopped == kFalse && !ending_ &&
                   GameOnBoard() == game;
          };
          // Between two moves of the engines no move is under way: what the
          // user asked for meanwhile runs now, in the order given, and may
          // end their play (Suspend, Give Up, Edit, Change Mode).
          if (enginesPlayOn()) gate_.BetweenMoves();
          if (enginesPlayOn()) {
            next = RoadStep::EngineContinuation;
          } else {
            Board::RenderBoard(true);
            return;
          }
          break;
        }
      }
    }
  });
  busy.reset();  // what waited for the move runs now, unless a command it is part of still runs
  StatusReport();
  platform::DoEvents();
}

// The mode table: which block a legal-looking user move runs, and where the
// road goes on after it.
fMainForm::RoadStep fMainForm::UserMoveByMode() {
  const bool white = gColorToMove == kWhite;
  const bool playerWhite = gPlayerColor == kWhite;
  if (gGameMode == "OfflinePP") return white ? WhiteMove() : BlackMove();
  if (gGameMode == "OfflineCC") return Engine::gMoveNumber == 0 ? WhiteMove() : RoadStep::EngineContinuation;
  if (gGameMode == "OfflinePC" || gGameMode == "OnlinePP") {
    if (white) {
      if (Engine::gMoveNumber == 0 || playerWhite) return WhiteMove();
      return RoadStep::EngineWhite;
    }
    return playerWhite ? RoadStep::EngineBlack : BlackMove();
  }
  return RoadStep::LoopTest;
}

fMainForm::RoadStep fMainForm::WhiteMove() {
  Engine::CopyBoard(gPrevBoard, Engine::gVirtualBoard);
  Engine::Check4Castle(gIposFrom, gIposTo);
  if (Engine::gCastled == 0) Engine::Movement_us(gIposFrom, gIposTo);
  if (Engine::gCastled == 0 && Engine::gUserMoveAccepted == 0) {
    Board::RenderBoard(true);
    return RoadStep::End;
  }
  if (gGameStopped == kFalse) ExecuteMoveNow();
  return AfterUserMove(true);
}

fMainForm::RoadStep fMainForm::BlackMove() {
  // The engine checks moves of the negative side only: Black moves on the turned board.
  Engine::CopyBoard(gPrevBoard, Engine::gVirtualBoard);
  Board::MirrorBoard();
  Engine::Check4Castle(gIposFrom, gIposTo);
  if (Engine::gCastled == 0) Engine::Movement_us(63 - gIposFrom, 63 - gIposTo);
  if (Engine::gCastled == 0 && Engine::gUserMoveAccepted == 0) {
    Board::MirrorBoard();
    Board::RenderBoard(true);
    return RoadStep::End;
  }
  if (gGameStopped == kFalse) ExecuteMoveNow();
  return AfterUserMove(false);
}

fMainForm::RoadStep fMainForm::AfterUserMove(bool whiteMoved) {
  if (gGameMode == "OfflinePC" && (whiteMoved ? gPlayerColor != kWhite : gPlayerColor == kWhite))
    return RoadStep::End;
  if (gGameMode == "OfflinePP") return RoadStep::End;
  if (gGameMode == "OnlinePP") {
    cmdSendMove->setVisible(true);
    cmdDownloadMove->setVisible(false);
    cmdSuspend->setVisible(false);
    // Kept on disk at once: however the program is left before the send
    // (closed, ended from outside, the game given up for another one after a
    // mate), the move is still there to be sent.
    KeepMoveToSend();
    return RoadStep::End;
  }
  return whiteMoved ? RoadStep::EngineBlack : RoadStep::EngineWhite;
}

void fMainForm::ExecuteMoveNow() {
  Guarded("ExecuteMoveNow of Formular fMainForm", [&] {
    Board::gPieceSelected = kFalse;
    if (!mnuEdit->isChecked()) {
      // Logging the move dropped any half-moves after the one it was made on;
      // their captures go with them.
      Board::DropTakenPiecesAfter(Engine::gMoveNumber - 1);
      Board::Record_Move();
      Board::MoveAniPiece(Board::gLastMoveFromX, Board::gLastMoveFromY, Board::gLastMoveToX, Board::gLastMoveToY);
    }
    Board::Update_Board();
    const int tx = Board::gToX, ty = Board::gToY;
    if (ty == 0 || ty == 7) {
      const int p = Board::gViewBoard.at(tx, ty);
      if (p == 6 || p == 16) {
        frmNewPiece dialog(this);
        dialog.exec();
        KeepShownPositionInLog();
        Board::Update_Board();
      }
    }
    // An edited position is the game's from now on, whatever comes next.
    if (mnuEdit->isChecked()) KeepShownPositionInLog();
    StatusReport();
  });
}

void fMainForm::KeepShownPositionInLog() {
  const int32_t shown = Engine::gMoveNumber;
  if (shown < 0 || static_cast<size_t>(shown) >= Engine::gGameLog.size()) return;
  Engine::EngineBoard& logged = Engine::gGameLog[static_cast<size_t>(shown)];
  if (logged == Engine::gVirtualBoard) return;
  logged = Engine::gVirtualBoard;
  // The half-moves after it were played from the old position: going forward
  // would take the change back, and a save would join two games. They go, as
  // they do when a move is made on a position looked back at.
  Engine::gGameLog.resize(static_cast<size_t>(shown) + 1);
  Board::DropTakenPiecesAfter(shown);
  HScroll1->setMaximum(shown);
  Engine::NotePositionChanged();
}

bool fMainForm::PutPickedPieceDown() {
  if (Board::gPieceSelected == kFalse) return false;
  Board::gPieceSelected = kFalse;
  Board::Update_Board();
  return true;
}

void fMainForm::ExecuteUnconditionedMoveNow() {
  Guarded("ExecuteUnconditionedMoveNow of Formular fMainForm", [&] {
    Engine::Movement_us2(gIposFrom, gIposTo);
    ExecuteMoveNow();
  });
}

void fMainForm::cmdStartCPUMove_Click() {
  if (!Guarded("cmdStartCPUMove_Click of Formular fMainForm", [&] {
        cmdStartCPUMove->setVisible(false);
        // The other side of a correspondence game is the partner's, never the
        // engine's: a move played for it would reach the partner as the
        // partner's own.
        if (gGameMode == "OnlinePP") return;
        gGameMode = "OfflinePC";
        // The engine plays the colour opposite to the human's, and only on its
        // own turn: on the human's turn (a loaded game, an edited position)
        // the engine answers the human's next move instead of moving twice.
        if (gColorToMove == gPlayerColor) return;
        ExecuteMoveBW(kTrue);
      }))
    return;
  platform::DoEvents();
}

void fMainForm::SearchWhiteMoveNow() {
  Guarded("SearchWhiteMoveNow of Formular fMainForm", [&] { SearchEngineMove(true); });
}

void fMainForm::SearchBlackMoveNow() {
  Guarded("SearchBlackMoveNow of Formular fMainForm", [&] { SearchEngineMove(false); });
}

}  // namespace app
