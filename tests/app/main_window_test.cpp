// The main window's life cycle, menu switches, error indicator, stored
// choices, status report, move slider, size and clock.
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QTest>

#include "board/GameFile.h"
#include "board/Profiles.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_Language.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

using MainWindowTest = MainWindowFixture;

// The profile chosen in one run, with its values, is the one the next run's
// window starts with: the list comes back from what "Standard" stored, a
// profile stored twice listed once.
TEST_F(MainWindowTest, TheChosenProfileAndItsValuesComeBackAtTheNextStart) {
  platform::SaveSetting("ZVK\\Castellan\\TESTER\\Standard", "Settings", "ProfilesRegStr", "|Anna|Ben|Anna");
  Reopen();
  form->cmbProfiles->setCurrentIndex(2);
  form->sldLevel->setValue(2);
  form->optGender[1]->setChecked(true);
  form->ChangeBackgroundColor(0x123456);
  ZVK_Board_Sub::Save2Registry();  // as closing the window does
  Reopen();
  EXPECT_EQ(form->cmbProfiles->count(), 3);
  EXPECT_EQ(form->cmbProfiles->currentText(), "Ben");
  EXPECT_EQ(form->sldLevel->value(), 2);
  EXPECT_TRUE(form->optGender[1]->isChecked());
  EXPECT_EQ(form->BackgroundColor(), 0x123456);
  EXPECT_FALSE(form->lblError->isVisible()) << testsupport::ReadFile(tree.commonDir() + "/error.log");
}

// A damaged settings file (every value of the profile garbage, the language
// position the 0 that nothing accepts) is logged at one start; what the
// window then stores, the next start takes without a word.
TEST_F(MainWindowTest, DamagedValuesAreLoggedOnceAndThenStoredSound) {
  const std::string user = "ZVK\\Castellan\\TESTER", profile = user + "\\Standard";
  for (const char* key : {"BackgroundColor", "BordCoordinateColor", "chkEnableSound", "chkEnableVoice",
                          "chkEnableIntroduction", "chkWinOnTop", "chkMoveAnimation", "HScrollAnimationSpeed",
                          "sldLevel", "cmbBoard", "lstMoveIncrementation", "ChkToolTip", "optGender0", "optGender1",
                          "mnuShowPossibleMoves", "mnuDangerShow", "cmbCountry"})
    platform::SaveSetting(profile, "Settings", key, "#garbage#");
  platform::SaveSetting(profile, "Settings", "cmbLanguage", "0");
  platform::SaveSetting(user, "Settings", "cmbProfiles", "#garbage#");
  long long logged = ZVK_ErrorLog::ErrorsLogged();
  Reopen();
  EXPECT_GT(ZVK_ErrorLog::ErrorsLogged() - logged, 0);
  ZVK_Board_Sub::Save2Registry();
  EXPECT_EQ(platform::GetSetting(profile, "Settings", "cmbLanguage", ""), "1");
  logged = ZVK_ErrorLog::ErrorsLogged();
  Reopen();
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged() - logged, 0) << testsupport::ReadFile(tree.commonDir() + "/error.log");
  EXPECT_EQ(ZVK_Language::gLanguageName, "english");
  EXPECT_EQ(form->cmbBoard->currentIndex(), 1);  // the default board picture
}

// The settings are saved whatever the answer to the closing question; No keeps the window open.
TEST_F(MainWindowTest, ClosingAsksAfterSavingAndNoKeepsTheWindowOpen) {
  const std::string settings = platform::SettingsFilePath("ZVK\\Castellan\\TESTER\\Standard");
  std::filesystem::remove(settings);
  answers.Push(platform::vbNo);
  form->close();
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(std::filesystem::exists(settings));
  answers.Push(platform::vbYes);
  form->mnuExit->trigger();
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(answers.Calls().size(), 2u);
}

// File, Game and Move and the whole toolbar off, Help as it was; then all on.
// Off means closed to the user: a menu title opens neither by a click nor by
// its Alt key, and a toolbar button answers neither a click nor a key of its
// own (the toolbar runs its commands even where their menu is off).
TEST_F(MainWindowTest, DisableAndEnableAllMenusLeaveHelpAlone) {
  form->show();
  // Keys go to the active window; a menu that was open and closed may leave another one active.
  const auto activate = [&] {
    form->activateWindow();
    return QTest::qWaitForWindowActive(form.get());
  };
  QAction* turn = form->tb->buttonByKey("ROTATE");
  turn->setShortcut(Qt::Key_F9);  // no button has a key today; this one stands for any it may get
  QWidget* button = form->tb->widgetForAction(turn);
  int turns = 0;
  QObject::connect(form->mnuRotate, &QAction::triggered, form.get(), [&turns] { ++turns; });
  QMenuBar* bar = form->menuBar();
  // Whether a press on the menu's title, or its Alt key, opens it; what it opened is closed again.
  const auto opens = [&](QMenu* menu, bool byKey) {
    EXPECT_TRUE(activate());
    if (byKey) {
      QTest::keySequence(form.get(), QKeySequence::mnemonic(menu->title()));  // Alt+F for "&File"
    } else {
      const QPoint at = bar->actionGeometry(menu->menuAction()).center();
      QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, at);
    }
    const bool open = menu->isVisible();
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    QTest::keyClick(bar, Qt::Key_Escape);  // and the bar leaves its keyboard mode
    return open;
  };
  const auto usable = [&](QMenu* menu) { return menu->isEnabled() && menu->menuAction()->isEnabled(); };
  const auto toolbarAnswers = [&] {
    EXPECT_TRUE(activate());
    const int before = turns;
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyClick(form.get(), Qt::Key_F9);
    return turns - before;
  };
  for (const bool helpBefore : {true, false}) {
    SCOPED_TRACE(helpBefore ? "Help on before" : "Help off before");
    form->mnuHelp->menuAction()->setEnabled(helpBefore);
    form->DisableAllMenus();
    for (QMenu* m : {form->mnuFile, form->mnuGame, form->mnuMove})
      EXPECT_FALSE(usable(m)) << m->objectName().toStdString();
    EXPECT_EQ(form->mnuHelp->menuAction()->isEnabled(), helpBefore);
    EXPECT_FALSE(opens(form->mnuGame, false));
    EXPECT_FALSE(opens(form->mnuFile, true));
    EXPECT_EQ(opens(form->mnuHelp, false), helpBefore);
    EXPECT_FALSE(form->tb->isEnabled());
    EXPECT_EQ(toolbarAnswers(), 0);

    form->EnableAllMenus();
    for (QMenu* m : {form->mnuFile, form->mnuGame, form->mnuMove, form->mnuHelp})
      EXPECT_TRUE(usable(m)) << m->objectName().toStdString();
    EXPECT_TRUE(opens(form->mnuGame, false));
    EXPECT_TRUE(opens(form->mnuFile, true));
    EXPECT_EQ(toolbarAnswers(), 2);  // the click and the key
  }
}

// An error logged at start-up, before the window exists, shows in the window
// once it opens; a click on the label opens the log and puts the indicator
// out; with no log left the viewer is still asked (it tells the user).
TEST_F(MainWindowTest, AStartUpErrorShowsUntilTheLogIsOpened) {
  platform::ScriptedShell shell;
  form.reset();
  ZVK_ErrorLog::WriteErrorLog(0, "Castellan", "a start-up step", 0, 5, "Invalid procedure call or argument");
  Reopen();
  ASSERT_TRUE(form->lblError->isVisibleTo(form.get()));
  QTest::mouseClick(form->lblError, Qt::LeftButton);
  EXPECT_EQ(shell.Opened(), std::vector<std::string>{ZVK_ErrorLog::ErrorLogPath()});
  EXPECT_FALSE(form->lblError->isVisibleTo(form.get()));
  std::filesystem::remove(ZVK_ErrorLog::ErrorLogPath());
  form->lblError_Click();
  EXPECT_EQ(shell.Opened().size(), 2u);
}

// The status line names who is to move, the square under the mouse as its
// labels name it (turned board included) and whether the picked piece may go
// there; the status bar names the mode.
TEST_F(MainWindowTest, StatusReportNamesModeTurnSquareAndLegality) {
  struct Case {
    const char* mode;
    bool black;
    std::string firstLine;
    std::string panel;
  };
  const Case cases[] = {
      {"OfflinePP", false, "Waiting for White", "Two Player Mode"},
      {"OfflinePC", true, "Waiting for CPU", "Player vs CPU Mode"},
      {"OfflineCC", true, "Waiting for Black", "CPU vs CPU Mode"},
      {"OnlinePP", false, "", "Online Two Player Mode"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    NewGame(c.mode);
    G::gColorToMove = c.black ? G::kBlack : G::kWhite;
    B::gToX = 3;
    B::gToY = 7;
    form->StatusReport();
    EXPECT_EQ(form->lblStatus->text().toStdString(), c.firstLine + "\r\nQueen at D:1");
    EXPECT_EQ(form->StatusBar->panel(2)->text().toStdString(), c.panel);
  }
  // On the turned board the top left square is h1, as its labels say.
  NewGame("OfflinePP", G::kBlack, -1);
  B::gToX = 0;
  B::gToY = 0;
  form->StatusReport();
  EXPECT_EQ(form->lblStatus->text().toStdString(), "Waiting for White\r\nRook at H:1");
  NewGame("OfflinePP");
  app::SetCheckValue(form->ChkToolTip, 1);
  Press("e2");
  // The mouse moves over e4 with the pawn picked.
  QMouseEvent move(QEvent::MouseMove, QPointF(4 * 48 + 24, 4 * 48 + 24), QPointF(), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(form->picFrontBuffer, &move);
  EXPECT_EQ(form->lblStatus->text().toStdString(), "Waiting for White\r\nPawn at E:2 to E:4\r\n++ Move Legal ++");
  EXPECT_EQ(form->picFrontBuffer->toolTip().toStdString(), "[Legal] Pawn at E:2 To E:4 (Empty)");
  B::gToX = 4;
  B::gToY = 6;  // the picked square itself
  form->StatusReport();
  EXPECT_NE(form->lblStatus->text().toStdString().find("-- Move Not Legal --"), std::string::npos);
  B::gToX = 4;
  B::gToY = 0;  // the Black king: a capture note
  form->StatusReport();
  EXPECT_EQ(form->lastMoveDescription(), "Pawn at E:2 to E:8 (takes Black King)");
}

// A saved game loaded back through the real move slider: the slider, the side
// to move, the board, the record, the taken pieces and the whole comment follow
// the file; the load writes no line and the staging box keeps the last line
// written before it.
TEST_F(MainWindowTest, LoadingAGameGoesThroughTheSliderAndKeepsTheLastLineWritten) {
  struct Case {
    const char* name;
    std::vector<std::pair<const char*, const char*>> saved;  // moves of the saved game
    std::vector<std::pair<const char*, const char*>> after;  // moves played after it, from a new game
    int dragTo;                                              // the slider dragged back first (-1 not)
    int commentLength = 5;
  };
  const std::vector<std::pair<const char*, const char*>> capture = {
      {"e2", "e4"}, {"d7", "d5"}, {"e4", "d5"}, {"d8", "d5"}, {"b1", "c3"}};
  const Case cases[] = {
      {"longer than the running game", capture, {{"g1", "f3"}}, -1},
      {"shorter than the running game", {{"e2", "e4"}}, capture, -1},
      {"while the slider was dragged back", capture, capture, 1},
      {"no move yet", {}, {{"g1", "f3"}, {"b8", "c6"}}, -1},
      {"a comment longer than a plain line box holds", {{"e2", "e4"}}, {}, -1, 40'000},
  };
  const std::string path = tree.path("game.chs");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NewGame("OfflinePP");
    for (const auto& [from, to] : c.saved) Move(from, to);
    ASSERT_EQ(E::gMoveNumber, static_cast<int32_t>(c.saved.size()));
    const QString comment(c.commentLength, QChar('c'));
    form->txtComment->setText(comment);
    ASSERT_TRUE(B::SaveCompleteGame(path));
    const std::string savedRecord = Record();
    const E::EngineBoard savedBoard = E::gVirtualBoard;
    const B::ViewBoard savedView = B::gViewBoard;
    const int savedTaken = B::gTakenBlackCount + B::gTakenWhiteCount;

    NewGame("OfflinePP");
    for (const auto& [from, to] : c.after) Move(from, to);
    if (c.dragTo >= 0) form->HScroll1->setValue(c.dragTo);
    form->Write2GameRecord("the last line\r\n", B::kRecordGreen, false);
    int changes = 0;
    const auto counter = QObject::connect(form->HScroll1, &QScrollBar::valueChanged, [&] { ++changes; });
    ASSERT_TRUE(B::LoadCompleteGame(path));
    QObject::disconnect(counter);

    const auto n = static_cast<int>(c.saved.size());
    EXPECT_EQ(form->HScroll1->value(), n);
    EXPECT_LE(changes, 1);
    EXPECT_EQ(E::gMoveNumber, n);
    EXPECT_EQ(G::gColorToMove, n % 2 == 0 ? G::kWhite : G::kBlack);
    EXPECT_EQ(E::gVirtualBoard, savedBoard);
    EXPECT_EQ(B::gViewBoard, savedView);
    EXPECT_EQ(Record(), savedRecord);  // no line about the slider
    EXPECT_EQ(B::gTakenBlackCount + B::gTakenWhiteCount, savedTaken);
    EXPECT_EQ(form->RTB2->toPlainText().toStdString(), "the last line\n");
    EXPECT_TRUE(form->txtComment->text() == comment);
    // Play goes on from the loaded position.
    Move(n % 2 == 0 ? "h2" : "h7", n % 2 == 0 ? "h3" : "h6");
    EXPECT_EQ(E::gMoveNumber, n + 1);
  }
}

// From 800x600 up, and on a second screen, the window fits the free area with
// room for its frame, the error indicator inside it; the board keeps its size,
// and every control of every side panel can be scrolled into view, whole.
TEST_F(MainWindowTest, TheWindowFitsTheScreenAndEveryControlCanBeBroughtIntoView) {
  form->show();
  auto* outer = form->findChild<QScrollArea*>("CentralScroll");
  auto* inner = form->findChild<QScrollArea*>("PanelScroll");
  for (const QRect& available : {QRect(0, 0, 800, 600), QRect(0, 32, 1024, 568), QRect(1024, 0, 1280, 690)}) {
    SCOPED_TRACE(available.x() + available.y());
    form->move(available.topLeft() + QPoint(700, 500));  // partly off this screen
    form->FitToScreen(available);
    QApplication::processEvents();
    EXPECT_TRUE(available.contains(QRect(form->pos(), form->size() + QSize(16, 48))));
    const QRect indicator(form->ErrorIndicatorBox->mapTo(form.get(), QPoint(0, 0)), form->ErrorIndicatorBox->size());
    EXPECT_TRUE(form->ErrorIndicatorBox->isVisible());
    EXPECT_TRUE(form->rect().contains(indicator));
    EXPECT_EQ(form->picFrontBuffer->size(), QSize(384, 384));
    for (int panel = 0; panel < 3; ++panel) {
      for (int i = 0; i < 3; ++i) form->picGameControl[i]->setVisible(i == panel);
      QApplication::processEvents();
      for (QWidget* w : form->picGameControl[panel]->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(form->picGameControl[panel]) || qobject_cast<QGroupBox*>(w) != nullptr) continue;
        SCOPED_TRACE(w->objectName().toStdString() + " " + w->metaObject()->className());
        inner->ensureWidgetVisible(w, 0, 0);
        outer->ensureWidgetVisible(w, 0, 0);
        for (QScrollArea* area : {inner, outer}) {
          QWidget* view = area->viewport();
          EXPECT_TRUE(view->rect().contains(QRect(w->mapTo(view, QPoint(0, 0)), w->size())));
          // Only a scroll bar the user sees can have brought it there.
          for (QScrollBar* bar : {area->horizontalScrollBar(), area->verticalScrollBar()})
            EXPECT_TRUE(bar->isVisible() || bar->value() == 0);
        }
      }
    }
  }
}

// The clock of the side to move carries seconds into minutes and hours; after
// a reset it holds until the first press on the board.
TEST_F(MainWindowTest, TheClockCarriesAndHoldsUntilTheFirstPress) {
  NewGame("OfflinePP");
  app::SetCheckValue(form->chkEnableClock, 1);
  G::gColorToMove = G::kBlack;
  form->clock() = {0, 0, 0, 59, 59, 0};
  form->Timer2_Timer();
  EXPECT_EQ(form->lblBlacksClock->text(), "01:00:00");
  EXPECT_EQ(form->lblWhitesClock->text(), "00:00:00");
  G::gColorToMove = G::kWhite;
  form->ResetClock();
  form->Timer2_Timer();
  Press("e2");
  form->Timer2_Timer();
  EXPECT_EQ(form->lblWhitesClock->text(), "00:00:01");  // only the tick after the press counted
}

// Labels 0-7 along the top and the left (from the bottom row up), 8-15 along
// the bottom and the right, each beside its column or row.
TEST_F(MainWindowTest, CoordinateFrameLabelsSitOnTheirEdges) {
  const QRect board(form->picFrontBuffer->mapTo(form.get(), QPoint(0, 0)), form->picFrontBuffer->size());
  auto centre = [&](QLabel* l) { return QRect(l->mapTo(form.get(), QPoint(0, 0)), l->size()).center(); };
  for (int k = 0; k < 8; ++k) {
    SCOPED_TRACE(k);
    const int column = board.left() + k * 48 + 24;
    const int row = board.bottom() - k * 48 - 24;
    EXPECT_LT(centre(form->lblFile[k]).y(), board.top());
    EXPECT_GT(centre(form->lblFile[k + 8]).y(), board.bottom());
    EXPECT_NEAR(centre(form->lblFile[k]).x(), column, 1);
    EXPECT_NEAR(centre(form->lblFile[k + 8]).x(), column, 1);
    EXPECT_LT(centre(form->lblRank[k]).x(), board.left());
    EXPECT_GT(centre(form->lblRank[k + 8]).x(), board.right());
    EXPECT_NEAR(centre(form->lblRank[k]).y(), row, 1);
    EXPECT_NEAR(centre(form->lblRank[k + 8]).y(), row, 1);
  }
}

// The clock's tick blinks the check warnings and the buttons that wait for the player.
TEST_F(MainWindowTest, TheTickBlinksWarningsAndWaitingButtons) {
  const int32_t first = app::fMainForm::ForeColor(form->lblwwCheck);
  form->cmdStartCPUMove->setVisible(true);
  form->cmdSendMove->setVisible(true);
  form->Timer2_Timer();
  const int32_t second = app::fMainForm::ForeColor(form->lblwwCheck);
  EXPECT_NE(first, second);
  EXPECT_EQ(app::fMainForm::ForeColor(form->lblbbCheck), second);
  EXPECT_TRUE(second == 255 || second == 0xC0FFFF);
  EXPECT_EQ(form->cmdStartCPUMove->displayState(), 2);
  EXPECT_EQ(form->cmdSendMove->displayState(), 2);
  EXPECT_TRUE(form->lblMoveControl->font().bold());
  form->Timer2_Timer();
  EXPECT_EQ(app::fMainForm::ForeColor(form->lblwwCheck), first);
  EXPECT_EQ(form->cmdStartCPUMove->displayState(), 0);
  EXPECT_FALSE(form->lblMoveControl->font().bold());
}

}  // namespace
}  // namespace apptest
