#pragma once
// A real main window on a private program tree, with games set up through
// the shared state and presses sent to the board picture as mouse events.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTextEdit>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "app/fMainForm.h"
#include "app/frmNewGame.h"
#include "board/GameFile.h"
#include "board/GameRecord.h"
#include "board/TakenPieces.h"
#include "board/ZVK_Board_Sub.h"
#include "correspondence/ExchangeFiles.h"
#include "correspondence/FtpRunner.h"
#include "correspondence/Naming.h"
#include "correspondence/Packing.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "platform/AppPath.h"
#include "platform/DoEvents.h"
#include "platform/FileDialog.h"
#include "platform/Inet.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "support/AppIdentity.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_Registry.h"
#include "tests/correspondence/ExchangeTestKit.h"
#include "tests/fixtures/Servers.h"
#include "tests/main/TestSupport.h"

namespace apptest {

namespace fs = std::filesystem;
namespace C = correspondence;
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

// Names of the files in a folder (none when it does not exist).
inline std::set<std::string> FilesIn(const std::string& dir) {
  std::set<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
    if (entry.is_regular_file()) names.insert(entry.path().filename().string());
  return names;
}

// Points the game server at a port where nothing listens.
inline void NoServer() {
  setenv(platform::kFtpHostVariable, ("127.0.0.1:" + std::to_string(fixtures::UnusedPort())).c_str(), 1);
}

// Runs `act` once, from the first yield at which `when` holds, while the
// returned timer lives.
inline std::unique_ptr<QTimer> Meanwhile(std::function<bool()> when, std::function<void()> act, bool& fired) {
  auto timer = std::make_unique<QTimer>();
  fired = false;
  QObject::connect(timer.get(), &QTimer::timeout, [when, act, &fired] {
    if (fired || !when()) return;
    fired = true;
    act();
  });
  timer->start(0);
  return timer;
}

// The same for a `when` that holds while a transfer to `server` waits for
// it, with no race against the scheduler: the server holds each data
// transfer at its hold point, and the transfer goes on one held step at a
// time until `when` holds at one; `act` is given there, and then the server
// lets everything go. A timer polling alone could miss a transfer that began
// and ended between two of its turns on a busy machine. The hold ends when
// the returned timer does.
inline std::unique_ptr<QTimer> DuringTransfer(fixtures::LoopbackServer& server, std::function<bool()> when,
                                              std::function<void()> act, bool& fired) {
  server.hold();
  auto timer = Meanwhile(
      [when, &server] {
        if (when()) return true;
        // Nothing can make `when` hold while the transfer stands still.
        server.letOneGo();
        return false;
      },
      [act, &server] {
        act();
        server.release();
      },
      fired);
  QObject::connect(timer.get(), &QObject::destroyed, [&server] { server.release(); });
  return timer;
}

// Runs `work` with every wait for the disk or the server yielding at once,
// so that a click can come in at each.
inline void EveryWaitYields(const std::function<void()>& work) {
  platform::SetYieldIntervalMs(0);
  work();
  platform::SetYieldIntervalMs(4);
}

// Every file below a folder (relative path) with a hash of its bytes.
inline std::map<std::string, size_t> Snapshot(const std::string& dir) {
  std::map<std::string, size_t> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir))
    if (entry.is_regular_file())
      files[fs::relative(entry.path(), dir).string()] = std::hash<std::string>{}(testsupport::ReadFile(entry.path().string()));
  return files;
}

// Runs `act` once, from the message loop, after the first state event of the
// window's transfers (handled by the window first) at which `when` holds. A
// hook of the transfer itself, for a `when` that holds between held steps:
// the call is posted from the event, and the next pass of the message loop
// runs it before the program's code after that wait goes on.
inline void AfterTransferState(app::fMainForm& form, std::function<bool(int16_t state)> when,
                               std::function<void()> act, bool* fired = nullptr) {
  if (fired != nullptr) *fired = false;
  form.Inet1->OnStateChanged([&form, when, act, fired, posted = false](int16_t state) mutable {
    form.Inet1_StateChanged(state);
    if (posted || !when(state)) return;
    posted = true;
    QMetaObject::invokeMethod(&form, [act, fired] {
      if (fired != nullptr) *fired = true;
      act();
    }, Qt::QueuedConnection);
  });
}

// Runs `click` from the message loop once the transfer under way has
// completed its first command: a click made while it waits for the next.
inline void ClickDuringTransfer(app::fMainForm& form, std::function<void()> click) {
  AfterTransferState(form, [](int16_t state) { return state == platform::icResponseCompleted; }, click);
}

class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ZVK_Identity::gUserName = "TESTER";
    Reopen();
    C::gFtpResponseFile.clear();
    C::gInternetGameID.clear();
  }
  void TearDown() override {
    G::gGameStopped = G::kTrue;  // ends any engine loop a failed test left behind
    ++ModalPollRound();
    form.reset();
    G::gGameMode.clear();
    G::gGameStopped = 0;
    C::gFtpResponseFile.clear();
    C::gInternetGameID.clear();
    unsetenv(platform::kFtpHostVariable);
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

  // Makes a program tree the running installation (its program folder,
  // settings roots and machine number) and opens a fresh window on it: one
  // window at a time, as on a real PC.
  void OpenWindow(const testsupport::ProgramTree& t, const std::string& machine) {
    form.reset();
    setenv("XDG_CONFIG_HOME", t.path("config").c_str(), 1);
    setenv("CASTELLAN_MACHINE_DIR", t.path("machine").c_str(), 1);
    platform::SetAppPath(t.programDir());
    ZVK_Identity::gMachineID = machine;
    correspondence::gFtpResponseFile.clear();
    Reopen();
  }

  // A fresh window in place of the current one, as at the next start.
  void Reopen() {
    form.reset();
    form = std::make_unique<app::fMainForm>();
    form->Form_Initialize();
    app::SetCheckValue(form->chkMoveAnimation, 0);  // no sliding pieces: the tests do not wait for frames
    answers.Clear();
  }

  void MoveAndSend(const char* from, const char* to) {
    const int before = E::gMoveNumber;
    Move(from, to);
    ASSERT_EQ(E::gMoveNumber, before + 1) << from << "-" << to;
    form->cmdSendMove->click();
  }

  // New Game with the dialog worked by `act` from inside its loop; whatever
  // `act` leaves open is cancelled, so a failed expectation cannot leave the
  // test waiting. From the menu, or the command itself.
  void NewGameDialog(std::function<void(app::frmNewGame*)> act, bool fromMenu = false) {
    WhenModal([act](QWidget* modal) {
      auto* dialog = qobject_cast<app::frmNewGame*>(modal);
      ASSERT_NE(dialog, nullptr);
      act(dialog);
      if (dialog->isVisible()) dialog->cmdCancel_Click();
    });
    fromMenu ? form->mnuNewGame->trigger() : form->mnuNewGame_Click();
  }

  // A choice stored for the profile's dialogs ("<none>" when nothing is).
  static std::string Stored(const std::string& key, const std::string& profile = "Standard") {
    return platform::GetSetting(ZVK_Registry::ProfileSettingsApp(profile), "Settings", key, "<none>");
  }

  // A pick from the keyboard (Home: the first entry, End: the last); a list switched off ignores it.
  static void Pick(QComboBox* list, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(list, &press);
  }
  // A click on the entry with this text in the open list; a list switched off ignores it.
  static void Pick(QComboBox* list, const std::string& text) {
    const int index = list->findText(QString::fromStdString(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0 || !list->isEnabled()) return;
    list->setCurrentIndex(index);
    emit list->activated(index);
  }

  static std::vector<std::string> Items(const QComboBox* box) {
    std::vector<std::string> items;
    for (int i = 0; i < box->count(); ++i) items.push_back(box->itemText(i).toStdString());
    return items;
  }

  std::string Record() const { return form->txtMoveList->toPlainText().toStdString(); }

  static constexpr const char* kNotSent = "Your move could not be sent to the game server.\r\nPlease try again later";

  // The texts of the message boxes shown so far.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& call : answers.Calls()) texts.push_back(call.text);
    return texts;
  }

  // The picture matches the engine board: drawing it again changes nothing.
  static bool PictureShowsEngineBoard() {
    const auto shown = B::gViewBoard;
    B::Update_Board();
    return shown == B::gViewBoard;
  }


  testsupport::ProgramTree tree;
  platform::ScriptedAnswerer answers;
  std::unique_ptr<app::fMainForm> form;
};

// The user takes the move slider back by each input it has: its keys, the
// wheel, a drag let go at the start and its arrow. Where the slider is the
// user's, the game is then shown at half-move 0.
inline void UserTakesTheMoveSliderBack(app::fMainForm& form) {
  QScrollBar* slider = form.HScroll1;
  for (const Qt::Key key : {Qt::Key_Left, Qt::Key_PageUp, Qt::Key_Home}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(slider, &press);
  }
  const QPointF inside(4, 4);
  QWheelEvent wheel(inside, slider->mapToGlobal(inside), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(slider, &wheel);
  slider->setSliderDown(true);
  slider->setSliderPosition(0);
  slider->setSliderDown(false);
  slider->triggerAction(QAbstractSlider::SliderSingleStepSub);
}

// Lets the window run until done holds (at most maxMs); whether it holds.
inline bool WaitUntil(const std::function<bool()>& done, int maxMs = 20000) {
  for (int waited = 0; waited < maxMs && !done(); waited += 5) {
    QEventLoop pause;
    QTimer::singleShot(5, &pause, &QEventLoop::quit);
    pause.exec();
  }
  return done();
}

}  // namespace apptest
