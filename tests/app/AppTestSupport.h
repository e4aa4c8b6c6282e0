#pragma once
// A real main window on a private program tree, with games set up through
// the shared state and presses sent to the board picture as mouse events.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "app/fMainForm.h"
#include "board/GameRecord.h"
#include "board/TakenPieces.h"
#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "platform/MessageBox.h"
#include "support/AppIdentity.h"
#include "tests/main/TestSupport.h"

namespace apptest {

namespace G = ZVK_Globals;
namespace E = ZVK_Engine;
namespace B = ZVK_Board_Sub;

// An engine board with only the listed pieces: {"e1", -10000}, ...
inline E::EngineBoard Position(std::initializer_list<std::pair<const char*, int32_t>> pieces) {
  E::EngineBoard board;
  board.cells.fill(E::kOffBoard);
  for (int x = 1; x <= 8; ++x)
    for (int y = 1; y <= 8; ++y) board(x, y) = 0;
  for (const auto& [square, code] : pieces) board(square[0] - 'a' + 1, square[1] - '0') = code;
  return board;
}

inline int32_t At(const char* square) { return E::gVirtualBoard(square[0] - 'a' + 1, square[1] - '0'); }

// Which test's polls may still act: a poll left over from an earlier test
// (its dialog never came) must not answer a dialog of the next one.
inline int& ModalPollRound() {
  static int round = 0;
  return round;
}

// Answers the next modal dialog from inside its own event loop. Each poll
// hands a copy of itself to the next timer, so nothing refers to itself and
// nothing outlives the last poll.
inline void WhenModal(std::function<void(QWidget*)> act, int delayMs = 0) {
  QTimer::singleShot(delayMs, [act = std::move(act), round = ModalPollRound()] {
    if (round != ModalPollRound()) return;
    if (QWidget* modal = QApplication::activeModalWidget())
      act(modal);
    else
      WhenModal(act, 5);
  });
}

class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ZVK_Identity::gUserName = "TESTER";
    form = std::make_unique<app::fMainForm>();
    form->Form_Initialize();
    app::SetCheckValue(form->chkMoveAnimation, 0);  // no sliding pieces: the tests do not wait for frames
    answers.Clear();
  }
  void TearDown() override {
    G::gGameStopped = G::kTrue;  // ends any engine loop a failed test left behind
    ++ModalPollRound();
    form.reset();
    G::gGameMode.clear();
    G::gGameStopped = 0;
  }

  // A new game from the start position.
  void NewGame(const std::string& mode, int32_t player = G::kWhite, int16_t side = 1) {
    G::gGameMode = mode;
    G::gPlayerColor = player;
    G::gBoardSide = side;
    G::gGameStopped = 0;
    G::gNavigating = 0;
    G::gColorToMove = G::kWhite;
    B::gPieceSelected = 0;
    form->mnuEdit->setChecked(false);
    app::SetCheckValue(form->setup, 0);
    B::ClearGameRecord();
    B::Reset_TakenPieces_Board();
    E::Initial_Game();
    B::Update_Board();
  }

  // A game that starts from the given position with the given side to move.
  void SetPosition(const std::string& mode, const E::EngineBoard& board, bool blackToMove,
                   int32_t player = G::kWhite, int16_t side = 1) {
    NewGame(mode, player, side);
    const int n = blackToMove ? 1 : 0;
    E::gGameLog.assign(static_cast<size_t>(n) + 1, board);
    E::gVirtualBoard = board;
    E::gMoveNumber = n;
    form->HScroll1->setMaximum(n);
    form->HScroll1->setValue(n);
    G::gColorToMove = blackToMove ? G::kBlack : G::kWhite;
    B::Update_Board();
  }

  // A press of a mouse button on the centre of a square named as on the board ("e2").
  void Press(const char* square, Qt::MouseButton button = Qt::LeftButton) {
    const B::Square s = B::EngineToView(square[0] - 'a' + 1, square[1] - '0');
    PressAt(s.c * 48 + 24, s.r * 48 + 24, button);
  }
  void PressAt(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    QWidget* board = form->picFrontBuffer;
    const QPointF local(x, y);
    QMouseEvent press(QEvent::MouseButtonPress, local, board->mapToGlobal(local), button, button, Qt::NoModifier);
    QApplication::sendEvent(board, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, board->mapToGlobal(local), button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(board, &release);
  }
  void Move(const char* from, const char* to) {
    Press(from);
    Press(to);
  }

  std::string Record() const { return form->txtMoveList->toPlainText().toStdString(); }

  static void WhenModal(std::function<void(QWidget*)> act) { apptest::WhenModal(std::move(act)); }

  testsupport::ProgramTree tree;
  platform::ScriptedAnswerer answers;
  std::unique_ptr<app::fMainForm> form;
};

}  // namespace apptest
