// The main window's life cycle, its bridges to the lower layers, the status
// report, the move slider and the chess clock.
#include "app/fMainForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSplitter>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "app/WindowBridges.h"
#include "board/GameRecord.h"
#include "board/Profiles.h"
#include "board/TakenPieces.h"
#include "board/ZVK_Board_Sub.h"
#include "engine/MirrorBoard.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "platform/AppPath.h"
#include "platform/DoEvents.h"
#include "platform/Inet.h"
#include "platform/MessageBox.h"
#include "support/ZVK_Internet.h"
#include "support/ZVK_MSAgent.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_WindowHelpers.h"

namespace app {

using namespace ZVK_Globals;
namespace Board = ZVK_Board_Sub;

namespace {
fMainForm* gInstance = nullptr;
}  // namespace

fMainForm* fMainForm::Instance() { return gInstance; }

namespace {
const QSize kDefaultSize(1060, 740);
// Room for the frame and title bar the window manager adds around the window.
const QSize kFrameAllowance(16, 48);
}  // namespace

void fMainForm::FitToScreen(const QRect& available) {
  const QSize room = (available.size() - kFrameAllowance).expandedTo(QSize(0, 0));
  resize(kDefaultSize.boundedTo(room).expandedTo(minimumSizeHint()));
  const QRect wanted(pos(), size() + kFrameAllowance);
  if (!available.contains(wanted)) move(available.topLeft());
}

fMainForm::fMainForm(QWidget* parent)
    : QMainWindow(parent),
      gate_({[this] { return GameServerTransferUnderWay(); }, [this] { return GameOnBoard(); },
             [this](const std::string& text) {
               if (StatusBar != nullptr) StatusBar->panel(1)->setText(QString::fromStdString(text));
             },
             [this](const std::string& text) {
               if (StatusBar != nullptr && StatusBar->panel(1)->text() == QString::fromStdString(text))
                 StatusBar->panel(1)->clear();
             },
             [this] { return unloading_; }}) {
  setObjectName(QStringLiteral("fMainForm"));
  setWindowTitle(QStringLiteral("Castellan"));
  BuildMenus();
  BuildToolbar();

  StatusBar = new StatusPanels(3, this);
  StatusBar->setObjectName(QStringLiteral("StatusBar"));
  setStatusBar(StatusBar);
  lblError = new QLabel(QStringLiteral("Click Error log"));
  lblError->setObjectName(QStringLiteral("lblError"));
  lblError->hide();
  ErrorIndicatorBox = new PictureBox;
  ErrorIndicatorBox->setObjectName(QStringLiteral("ErrorIndicator"));
  ErrorIndicatorBox->setFixedSize(14, 14);
  ErrorIndicatorBox->setBackColor(QColor(0x80, 0x80, 0x80));
  StatusBar->addWidget(ErrorIndicatorBox);
  StatusBar->addWidget(lblError);

  // Left: the board in its frame, the move slider and the status text.
  auto* left = new QWidget;
  left->setObjectName(QStringLiteral("LeftColumn"));
  auto* lv = new QVBoxLayout(left);
  lv->setContentsMargins(0, 0, 0, 0);
  lv->addWidget(BuildBoardArea(), 0, Qt::AlignHCenter);
  HScroll1 = new QScrollBar(Qt::Horizontal);
  HScroll1->setObjectName(QStringLiteral("HScroll1"));
  HScroll1->setRange(0, 0);
  // While the thumb is dragged the value follows only on release: a drag
  // loads one position and writes one record line, not one per step passed.
  HScroll1->setTracking(false);
  // A click beside the thumb steps one half-move, and the thumb's length
  // stays a fraction of the game, not ten half-moves of it.
  HScroll1->setPageStep(1);
  HScroll1->setToolTip(QStringLiteral("Move slider"));
  lv->addWidget(HScroll1);
  lblStatus = new QLabel(QStringLiteral("No Game Currently in Session"));
  lblStatus->setObjectName(QStringLiteral("lblStatus"));
  lblStatus->setMinimumHeight(64);
  lblStatus->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  lblStatus->setWordWrap(true);
  lv->addWidget(lblStatus);
  lv->addStretch(1);

  // Right: the three panels in one place, the record below them.
  auto* right = new QWidget;
  right->setObjectName(QStringLiteral("RightColumn"));
  auto* rv = new QVBoxLayout(right);
  rv->setContentsMargins(0, 0, 0, 0);
  picGameControl[0] = BuildGamePanel();
  picGameControl[1] = BuildOptionsPanel();
  picGameControl[2] = BuildTakenPanel();
  // The panels share one scrolling place, so the tall options panel never
  // pushes the window beyond its default size.
  auto* panels = new QWidget;
  panels->setObjectName(QStringLiteral("PanelPlace"));
  auto* pv = new QVBoxLayout(panels);
  pv->setContentsMargins(0, 0, 0, 0);
  for (QWidget* p : picGameControl) pv->addWidget(p);
  auto* scroll = new QScrollArea;
  scroll->setObjectName(QStringLiteral("PanelScroll"));
  scroll->setWidget(panels);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->viewport()->setAutoFillBackground(false);
  StackOptionsWhenNarrow(scroll->viewport());
  panels->setAutoFillBackground(false);
  rv->addWidget(scroll, 3);
  rv->addWidget(BuildRecordArea(), 2);
  right->setMinimumWidth(360);

  auto* central = new QWidget;
  central->setObjectName(QStringLiteral("Central"));
  auto* h = new QHBoxLayout(central);
  h->addWidget(left, 0);
  h->addWidget(right, 1);
  // The board keeps its size; on a screen too small for it the window's
  // middle scrolls instead of the window growing past the screen, so the
  // menus, the toolbar and the status bar with the error indicator stay in view.
  auto* centralScroll = new QScrollArea;
  centralScroll->setObjectName(QStringLiteral("CentralScroll"));
  centralScroll->setWidget(central);
  centralScroll->setWidgetResizable(true);
  centralScroll->setFrameShape(QFrame::NoFrame);
  setCentralWidget(centralScroll);

  Timer2 = new QTimer(this);
  Timer2->setObjectName(QStringLiteral("Timer2"));
  Timer2->setInterval(1000);

  ApplyLook();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    FitToScreen(screen->availableGeometry());
  } else {
    resize(kDefaultSize);
  }

  ConnectMenus();
  connect(picFrontBuffer, &PictureBox::mouseDown, this, [this](int b, int s, double x, double y) {
    GiveCommand(CommandGate::Kind::Press, QStringLiteral("press"), [=, this] { picFrontBuffer_MouseDown(b, s, x, y); });
  });
  connect(picFrontBuffer, &PictureBox::mouseMove, this,
          [this](int b, int s, double x, double y) { picFrontBuffer_MouseMove(b, s, x, y); });
  connect(HScroll1, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
  OnSliderAction(HScroll1, [this](int value) { HScroll1_UserChange(value); });
  connect(Timer2, &QTimer::timeout, this, [this] { Timer2_Timer(); });
  connect(chkEnableClock, &QCheckBox::stateChanged, this, [this] {
    // A held clock is greyed only until it runs or is switched off.
    if (chkEnableClock->checkState() != Qt::PartiallyChecked) chkEnableClock->setTristate(false);
    chkEnableClock_Click();
  });
  ConnectViewCommands();
  OnGameButton(cmdStartCPUMove, [this] { cmdStartCPUMove_Click(); });
  // A send that waited still applies only while the game stands at the
  // half-move it was pressed for: one moved on or stepped through meanwhile
  // is not the one the user meant to send.
  connect(cmdSendMove, &QPushButton::clicked, this, [this] {
    GiveCommand(CommandGate::Kind::Game, cmdSendMove->text(), [this] { cmdSendMove_Click(); },
                [this, game = CurrentGame()] {
                  return !cmdSendMove->isHidden() && cmdSendMove->isEnabled() && CurrentGame() == game;
                });
  });
  OnGameButton(cmdDownloadMove, [this] { cmdDownloadMove_Click(); });
  ConnectNavigationCommands();
  ConnectLevelCommands();
  ConnectToolbar();
  ConnectAppearance();
  ConnectHelp();

  SetForeColor(lblwwCheck, 255);
  SetForeColor(lblbbCheck, 255);
  ChangeBackgroundColor(0x800000);
  ChangeBordCoordinateColor(0xDF996F);
  Timer2->start();

  Inet1 = std::make_unique<platform::Inet>();
  ZVK_Internet::SetTransferControl(Inet1.get());
  ftp_ = std::make_unique<correspondence::FtpRunner>(*Inet1, *this);
  Inet1->OnStateChanged([this](int16_t state) { Inet1_StateChanged(state); });
  // What waited for a transfer runs once it is over, from the message loop:
  // the transfer's own procedure is still closing when it lets the control go.
  Inet1->OnReleased([this] { QTimer::singleShot(0, this, [this] { gate_.Resume(); }); });
  bridges_ = std::make_unique<WindowBridges>(*this);
  gInstance = this;
}

fMainForm::~fMainForm() {
  // The character this window loaded goes with it: its events have nowhere to go.
  if (agentEvents_) ZVK_MSAgent::ReleaseAgentCharacter();
  bridges_.reset();
  ZVK_Internet::SetTransferControl(nullptr);
  if (gInstance == this) gInstance = nullptr;
}

// ---------------------------------------------------------------- life cycle

void fMainForm::Form_Initialize() {
  const char* place = "Form_Initialize of Formular fMainForm";
  // Each step is guarded on its own: a failing step is logged and the next runs.
  Guarded(place, [&] { ZVK_API_Shell::RemoveCloseButton(this); }, false);
  Guarded(place, [&] { SetHelpFile(); }, false);
  Guarded(place, [&] {
    gNavigating = 0;
    gBoardSide = 1;
    gColorToMove = kWhite;
  }, false);
  Guarded(place, [&] { FillLanguageList(); }, false);
  Guarded(place, [&] { SelectStoredLanguage(); }, false);
  Guarded(place, [&] { SetLanguageNameFromList(); }, false);
  Guarded(place, [&] { FillProfileList(); }, false);
  Guarded(place, [&] { FillBoardList(); }, false);
  Guarded(place, [&] { ZVK_Board_Sub::Load_Registry(); }, false);
  Guarded(place, [&] {
    picGameControl[0]->setVisible(true);
    picGameControl[1]->setVisible(false);
    picGameControl[2]->setVisible(false);
  }, false);
  Guarded(place, [&] { ZVK_Board_Sub::Reset_TakenPieces_Board(); }, false);
  Guarded(place, [&] { LoadAssistant(); }, false);
  Guarded(place, [&] {
    ShowEmptyBoard();
    show();
    platform::DoEventsNow();
  }, false);
}

void fMainForm::closeEvent(QCloseEvent* event) {
  if (!unloading_ && !leaving_) {
    // Exit's question takes its turn like any command: after a transfer with
    // the game server (asked inside it, it would hold the transfer up until
    // answered, and a Yes would cut it short) and after what was given before.
    if (!closeWaiting_) {
      closeWaiting_ = true;
      GiveCommand(CommandGate::Kind::Window, QStringLiteral("Exit"), [this] {
        closeWaiting_ = false;
        AskToLeave();
      });
    }
  }
  if (unloading_ || leaving_) event->accept();
  else event->ignore();
}

void fMainForm::AskToLeave() {
  int16_t cancel = 0;
  Form_QueryUnload(cancel);
  if (cancel != 0) return;
  // A question that went through without the Yes branch (a failure logged on
  // the way) must still end the program: a process without its window would live on.
  leaving_ = true;
  if (!ending_) {
    ending_ = true;
    gate_.Clear();
    QCoreApplication::quit();
  }
  // Asked after the close that asked for it was refused: close for real.
  if (isVisible()) close();
}

void fMainForm::Form_QueryUnload(int16_t& cancel) {
  Guarded("Form_QueryUnload of Formular fMainForm", [&] {
    ZVK_Board_Sub::Save2Registry();
    const int answer = platform::MsgBox("Are you sure that you wish to leave now ?", 4132, "Castellan Quarto");
    if (answer == platform::vbYes) {
      Form_Unload();
      // End at once: any engine loop still on the stack stops at its next test.
      ending_ = true;
      unloading_ = true;
      // What the user asked for before is not done any more: a Give Up
      // would ask, save and notify after the window has gone.
      gate_.Clear();
      hide();
      QCoreApplication::quit();
    } else {
      cancel = 1;
    }
    platform::DoEvents();
  });
}

void fMainForm::Form_Unload() {
  const char* place = "Form_Unload of Formular fmainform";
  Guarded(place, [&] {
    // Every other window goes, newest first; the main window itself is the one unloading.
    const auto widgets = QApplication::topLevelWidgets();
    for (auto it = widgets.rbegin(); it != widgets.rend(); ++it) {
      QWidget* w = *it;
      if (w == this || !w->isWindow() || w->isHidden()) continue;
      if (qobject_cast<QMenu*>(w) != nullptr) continue;
      w->close();
    }
  }, false);
  Guarded(place, [&] { ZVK_MSAgent::ReleaseAgentCharacter(); }, false);
}

namespace {

// A menu that is off cannot be opened either: its title in the menu bar (and
// the Alt key of its title) goes off with it. A menu that is missing is
// skipped; the next one is still switched.
void SwitchMenu(QMenu* menu, bool enabled) {
  if (menu == nullptr) return;
  menu->setEnabled(enabled);
  menu->menuAction()->setEnabled(enabled);
}

}  // namespace

void fMainForm::DisableAllMenus() {
  for (QMenu* menu : {mnuFile, mnuGame, mnuMove}) SwitchMenu(menu, false);
  // The bar as a whole, not its buttons one by one: a bar that is off takes
  // no click and fires no key, and each button keeps its own state (a game
  // running, a tournament) for when the bar comes back.
  if (tb != nullptr) tb->setEnabled(false);
}

void fMainForm::EnableAllMenus() {
  for (QMenu* menu : {mnuFile, mnuGame, mnuMove, mnuHelp}) SwitchMenu(menu, true);
  if (tb != nullptr) tb->setEnabled(true);
}

void fMainForm::mnuChangeSide_Click() {
  try {
    Board::MirrorBoard();
    // The mirrored position is the game's, as an edited one is: saved,
    // looked back at and played on as shown.
    KeepShownPositionInLog();
    Board::Update_Board();
  } catch (...) {
    // A failure here is of no consequence: the board is redrawn on the next move.
  }
}

void fMainForm::ShowErrorIndicator() {
  ErrorIndicatorBox->setBackColor(FromBgr(0x8080FF));
  lblError->setVisible(true);
}

void fMainForm::ChangeBackgroundColor(int32_t bgr) {
  backgroundColor_ = bgr;
  const QColor c = FromBgr(bgr);
  for (const char* name : {"BoardArea", "LeftColumn", "Central"}) {
    if (auto* w = findChild<QWidget*>(name)) {
      w->setAutoFillBackground(true);
      QPalette p = w->palette();
      p.setColor(QPalette::Window, c);
      w->setPalette(p);
    }
  }
}

void fMainForm::ChangeBordCoordinateColor(int32_t bgr) {
  coordinateColor_ = bgr;
  for (QLabel* l : lblFile) SetForeColor(l, bgr);
  for (QLabel* l : lblRank) SetForeColor(l, bgr);
}

void fMainForm::SetForeColor(QLabel* label, int32_t bgr) {
  label->setProperty("foreColor", bgr);
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, FromBgr(bgr));
  label->setPalette(p);
}

int32_t fMainForm::ForeColor(const QLabel* label) {
  const QVariant v = label->property("foreColor");
  return v.isValid() ? v.toInt() : ToBgr(label->palette().color(QPalette::WindowText));
}

// ------------------------------------------------------------- status report

namespace {

// A displayed square (row 0 at the top) as the record names it: on a turned
// board too, the name is the one its coordinate labels show.
std::string SquareName(int c, int r) {
  return gBoardSide == -1 ? Board::SquareText(8 - c, r + 1) : Board::SquareText(c + 1, 8 - r);
}

std::string PieceName(int picture) {
  switch (picture) {
    case 0: return "Empty";
    case 1: case 11: return "Rook";
    case 2: case 12: return "Knight";
    case 3: case 13: return "Bishop";
    case 4: case 14: return "Queen";
    case 5: case 15: return "King";
    case 6: case 16: return "Pawn";
    default: return "";
  }
}

}  // namespace

void fMainForm::picFrontBuffer_MouseMove(int, int, double x, double y) {
  if (!Guarded("picFrontBuffer_MouseMove of Formular fMainForm", [&] {
        Board::gToX = Board::MouseToSquare(x);
        Board::gToY = Board::MouseToSquare(y);
      }))
    return;
  StatusReport();
}

void fMainForm::StatusReport() {
  Guarded("StatusReport of Formular fMainForm", [&] {
    const uint64_t report = ++statusReports_;
    std::string t;
    QLabel* modePanel = StatusBar->panel(2);
    if (gGameMode == "OfflinePP") modePanel->setText("Two Player Mode");
    else if (gGameMode == "OfflinePC") modePanel->setText("Player vs CPU Mode");
    else if (gGameMode == "OfflineCC") modePanel->setText("CPU vs CPU Mode");
    else if (gGameMode == "OnlinePP") modePanel->setText("Online Two Player Mode");
    else if (gGameMode.empty()) modePanel->setText(QString::fromStdString(ZVK_ErrorLog::ApplicationTitle()));

    const bool white = gColorToMove == kWhite;
    if (gGameMode == "OfflinePP" || gGameMode == "OfflineCC")
      t += white ? "Waiting for White" : "Waiting for Black";
    else if (gGameMode == "OfflinePC")
      t += white ? "Waiting for White" : "Waiting for CPU";
    else if (gGameMode == "OnlinePP" && !white)
      t += "Waiting for Black";

    const int fx = Board::gFromX, fy = Board::gFromY, tx = Board::gToX, ty = Board::gToY;
    if (Board::gPieceSelected == 0) {
      t += "\r\n" + PieceName(Board::gViewBoard.at(tx, ty)) + " at " + SquareName(tx, ty);
      picFrontBuffer->setToolTip(QString());
    } else {
      const int picked = Board::gViewBoard.at(fx, fy);
      const int target = Board::gViewBoard.at(tx, ty);
      std::string d = PieceName(picked) + " at " + SquareName(fx, fy) + " to " + SquareName(tx, ty);
      if (target != 0)
        d += std::string(" (takes ") + (target >= 11 ? "White" : "Black") + " " + PieceName(target) + ")";
      moveDescription_ = d;
      t += "\r\n" + d;
      std::string p = PieceName(picked) + " at " + SquareName(fx, fy) + " To " + SquareName(tx, ty) + " (" +
                      PieceName(target) + ")";
      const bool legal = Board::MoveAlright(fx, fy, tx, ty, true) != 0;
      // The test yields: a press that came meanwhile has made its move and
      // reported the position it left, which this report must not overwrite.
      if (report != statusReports_) return;
      if (legal) {
        t += "\r\n++ Move Legal ++";
        p = "[Legal] " + p;
      } else {
        t += "\r\n-- Move Not Legal --";
        p = "[Illegal] " + p;
      }
      if (CheckValue(ChkToolTip) == 1) picFrontBuffer->setToolTip(QString::fromStdString(p));
    }
    lblStatus->setText(QString::fromStdString(t));
    platform::DoEvents();
  });
}

// --------------------------------------------------------------- move slider

void fMainForm::HScroll1_Change() {
  Guarded("HScroll1_Change of Formular fMainForm", [&] {
    ZVK_Engine::ApplyMoveSliderValue(static_cast<int16_t>(HScroll1->value()));
    if (!(gNavigating == 0 && HScroll1->value() == HScroll1->maximum()))
      Write2GameRecord("     changed to movement # " + lbl_Play->text().toStdString() + "\r\n", Board::kRecordGreen, true);
    platform::DoEvents();
  });
}

void fMainForm::Write2GameRecord(const std::string& text, int32_t color, bool speak) {
  ZVK_Board_Sub::Write2GameRecord(text, color, speak);
}

// --------------------------------------------------------------------- clock

void fMainForm::Timer2_Timer() {
  // Every step runs whatever the one before did.
  try {
    const int32_t next = ForeColor(lblwwCheck) == 255 ? 0xC0FFFF : 255;
    SetForeColor(lblwwCheck, next);
    SetForeColor(lblbbCheck, next);
  } catch (...) {
  }
  try {
    if (!cmdSendMove->isHidden()) {
      BlinkButton(cmdSendMove);
      QFont f = lblMoveControl->font();
      f.setBold(cmdSendMove->displayState() == 2);
      lblMoveControl->setFont(f);
    } else {
      QFont f = lblMoveControl->font();
      f.setBold(true);
      lblMoveControl->setFont(f);
    }
  } catch (...) {
  }
  try {
    if (!cmdStartCPUMove->isHidden()) BlinkButton(cmdStartCPUMove);
  } catch (...) {
  }
  try {
    if (CheckValue(chkEnableClock) == 1 && gGameMode != "OnlinePP") UpdateClock();
  } catch (...) {
  }
}

void fMainForm::BlinkButton(GxButton* button) {
  button->setDisplayState(button->displayState() == 0 ? 2 : 0);
}

void fMainForm::chkEnableClock_Click() {
  if (CheckValue(chkEnableClock) == 1) Timer2->start();
}

void fMainForm::UpdateClock() {
  Guarded("UpdateClock of Formular fMainForm", [&] {
    if (CheckValue(setup) == 1) return;
    const bool white = gColorToMove != 0;
    uint8_t& s = white ? clock_.whiteSeconds : clock_.blackSeconds;
    uint8_t& m = white ? clock_.whiteMinutes : clock_.blackMinutes;
    uint8_t& h = white ? clock_.whiteHours : clock_.blackHours;
    if (++s == 60) {
      s = 0;
      ++m;
    }
    if (m == 60) {
      m = 0;
      // The hours are a byte: there is no hour 256.
      if (h == 255) throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrOverflow, "Overflow");
      ++h;
    }
    ShowClocks();
  });
}

void fMainForm::ResetClock() {
  Guarded("ResetClock of Formular fMainForm", [&] {
    SetCheckValue(chkEnableClock, 2);
    // A reset clock waits for the first move: no longer paused (the Pause
    // button follows its mark).
    mnuPause->setChecked(false);
    clock_ = ClockCounters{};
    ShowClocks();
  });
}

void fMainForm::ShowClocks() {
  lblWhitesClock->setText(QString::fromStdString(fntFormatTime(clock_.whiteHours, clock_.whiteMinutes, clock_.whiteSeconds)));
  lblBlacksClock->setText(QString::fromStdString(fntFormatTime(clock_.blackHours, clock_.blackMinutes, clock_.blackSeconds)));
  platform::DoEvents();
}

std::string fMainForm::fntFormatTime(int hours, int minutes, int seconds) {
  std::string text;
  for (const int v : {hours, minutes, seconds}) {
    if (!text.empty()) text += ':';
    if (v < 10) text += '0';
    text += std::to_string(v);
  }
  return text;
}

}  // namespace app
