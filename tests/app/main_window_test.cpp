// The main window's controls, life cycle, status report, move slider and clock.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <filesystem>

#include "board/GameFile.h"
#include "board/Profiles.h"
#include "platform/SettingsStore.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_Language.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

using MainWindowTest = MainWindowFixture;

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

TEST_F(MainWindowTest, CreationLeavesNoGameAndTheGamePanelShown) {
  EXPECT_TRUE(form->picGameControl[0]->isVisible());
  EXPECT_FALSE(form->picGameControl[1]->isVisible());
  EXPECT_FALSE(form->picGameControl[2]->isVisible());
  EXPECT_EQ(G::gGameMode, "");
  EXPECT_EQ(G::gBoardSide, 1);
  EXPECT_EQ(G::gColorToMove, G::kWhite);
  EXPECT_EQ(form->lblStatus->text(), "No Game Currently in Session");
  EXPECT_FALSE(form->lblError->isVisible()) << testsupport::ReadFile(tree.commonDir() + "/error.log");
}

TEST(MainWindowCreation, ListsAndStoredChoicesFromTheProgramTree) {
  struct Case {
    const char* name;
    std::vector<std::string> boardFiles;
    std::string storedLanguage;
    std::string storedProfiles;
    std::vector<std::string> expectBoards;
    std::string expectLanguageName;
    std::vector<std::string> expectProfiles;
  };
  const Case cases[] = {
      {"plain", {"Oak.JPG"}, "", "", {"Oak"}, "english", {"Standard"}},
      {"two profiles, one twice", {"Oak.JPG"}, "1", "|Anna|Ben|Anna", {"Oak"}, "english", {"Standard", "Anna", "Ben"}},
      {"language beyond the list: the first", {"Oak.JPG"}, "9", "", {"Oak"}, "english", {"Standard"}},
      {"short board name ends the list", {".JPG"}, "", "", {}, "english", {"Standard"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::ProgramTree tree;
    platform::ScriptedAnswerer answers;
    ZVK_Identity::gUserName = "TESTER";
    std::filesystem::remove_all(tree.path("Castellan/board"));
    std::filesystem::remove_all(tree.path("Common/language"));
    for (const std::string& f : c.boardFiles) testsupport::WriteFile(tree.path("Castellan/board/" + f), "x");
    testsupport::WriteFile(tree.path("Common/language/english.lng"), "T0001\tx\r\n");
    const std::string app = "ZVK\\Castellan\\TESTER\\Standard";
    if (!c.storedLanguage.empty()) platform::SaveSetting(app, "Settings", "cmbLanguage", c.storedLanguage);
    if (!c.storedProfiles.empty()) platform::SaveSetting(app, "Settings", "ProfilesRegStr", c.storedProfiles);
    app::fMainForm form;
    form.Form_Initialize();
    std::vector<std::string> boards, profiles;
    for (int i = 0; i < form.cmbBoard->count(); ++i) boards.push_back(form.cmbBoard->itemText(i).toStdString());
    for (int i = 0; i < form.cmbProfiles->count(); ++i)
      profiles.push_back(form.cmbProfiles->itemText(i).toStdString());
    EXPECT_EQ(boards, c.expectBoards);
    EXPECT_EQ(profiles, c.expectProfiles);
    EXPECT_EQ(ZVK_Language::gLanguageName, c.expectLanguageName);
  }
}

// The profile chosen in one run, with its values, is the one the next run's
// window starts with: the list comes back from what "Standard" stored.
TEST(MainWindowCreation, TheChosenProfileAndItsValuesComeBackAtTheNextStart) {
  testsupport::ProgramTree tree;
  platform::ScriptedAnswerer answers;
  ZVK_Identity::gUserName = "TESTER";
  platform::SaveSetting("ZVK\\Castellan\\TESTER\\Standard", "Settings", "ProfilesRegStr", "|Anna|Ben");
  {
    app::fMainForm form;
    form.Form_Initialize();
    form.cmbProfiles->setCurrentIndex(2);
    form.sldLevel->setValue(2);
    form.chkMoveAnimation->setChecked(false);
    form.chkEnableVoice->setChecked(true);
    form.optGender[1]->setChecked(true);
    form.cmbCountry->setCurrentIndex(5);
    form.ChangeBackgroundColor(0x123456);
    ZVK_Board_Sub::Save2Registry();  // as closing the window does
  }
  app::fMainForm next;
  next.Form_Initialize();
  EXPECT_EQ(next.cmbProfiles->count(), 3);
  EXPECT_EQ(next.cmbProfiles->currentText(), "Ben");
  EXPECT_EQ(next.sldLevel->value(), 2);
  EXPECT_FALSE(next.chkMoveAnimation->isChecked());
  EXPECT_TRUE(next.chkEnableVoice->isChecked());
  EXPECT_TRUE(next.optGender[1]->isChecked());
  EXPECT_EQ(next.cmbCountry->currentIndex(), 5);
  EXPECT_EQ(next.BackgroundColor(), 0x123456);
  EXPECT_EQ(next.txtUserNickName->text(), "TESTER");
  EXPECT_FALSE(next.lblError->isVisible()) << testsupport::ReadFile(tree.commonDir() + "/error.log");
}

// A damaged settings file (every value of the profile garbage, the language
// position the 0 that nothing accepts) is logged at one start; what the
// window then stores, the next start takes without a word.
TEST(MainWindowSettings, DamagedValuesAreLoggedOnceAndThenStoredSound) {
  testsupport::ProgramTree tree;
  platform::ScriptedAnswerer answers;
  ZVK_Identity::gUserName = "TESTER";
  const std::string user = "ZVK\\Castellan\\TESTER", profile = user + "\\Standard";
  for (const char* key : {"BackgroundColor", "BordCoordinateColor", "chkEnableSound", "chkEnableVoice",
                          "chkEnableIntroduction", "chkWinOnTop", "chkMoveAnimation", "HScrollAnimationSpeed",
                          "sldLevel", "cmbBoard", "lstMoveIncrementation", "ChkToolTip", "optGender0", "optGender1",
                          "mnuShowPossibleMoves", "mnuDangerShow", "cmbCountry"})
    platform::SaveSetting(profile, "Settings", key, "#garbage#");
  platform::SaveSetting(profile, "Settings", "cmbLanguage", "0");
  platform::SaveSetting(user, "Settings", "cmbProfiles", "#garbage#");
  long long logged = ZVK_ErrorLog::ErrorsLogged();
  {
    app::fMainForm form;
    form.Form_Initialize();
    EXPECT_GT(ZVK_ErrorLog::ErrorsLogged() - logged, 0);
    ZVK_Board_Sub::Save2Registry();
  }
  EXPECT_EQ(platform::GetSetting(profile, "Settings", "cmbLanguage", ""), "1");
  logged = ZVK_ErrorLog::ErrorsLogged();
  app::fMainForm next;
  next.Form_Initialize();
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged() - logged, 0) << testsupport::ReadFile(tree.commonDir() + "/error.log");
  EXPECT_EQ(ZVK_Language::gLanguageName, "english");
  EXPECT_EQ(next.cmbBoard->currentIndex(), 1);  // the default board picture
}

TEST_F(MainWindowTest, ClosingAsksAfterSavingAndNoKeepsTheWindowOpen) {
  const std::string settings = platform::SettingsFilePath("ZVK\\Castellan\\TESTER\\Standard");
  std::filesystem::remove(settings);
  answers.Push(platform::vbNo);
  form->close();
  EXPECT_TRUE(form->isVisible());
  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_EQ(answers.Calls()[0].text, "Are you sure that you wish to leave now ?");
  EXPECT_EQ(answers.Calls()[0].style, 4132);
  EXPECT_EQ(answers.Calls()[0].title, "Castellan Quarto");
  EXPECT_TRUE(std::filesystem::exists(settings));  // saved whatever the answer

  answers.Push(platform::vbYes);
  form->mnuExit->trigger();
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(answers.Calls().size(), 2u);
}

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

// From a netbook's 1024x600 up, the whole window fits the screen's free area
// with room for its frame, the status bar with the error indicator inside it;
// the board keeps its size, and a large screen shows the default size unscrolled.
TEST_F(MainWindowTest, TheWholeWindowFitsScreensFrom1024x600Up) {
  struct Case {
    QRect available;
    bool roomy;  // room for the default size
  };
  const Case cases[] = {
      {QRect(0, 0, 1024, 552), false},     // a panel at the bottom
      {QRect(0, 32, 1024, 568), false},    // a panel at the top
      {QRect(1024, 0, 1280, 690), false},  // a second screen
      {QRect(0, 0, 1920, 1040), true},
  };
  form->show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.available.width() * 10000 + c.available.height());
    form->move(c.available.topLeft() + QPoint(700, 500));  // partly off this screen
    form->FitToScreen(c.available);
    QApplication::processEvents();
    const QRect withFrame(form->pos(), form->size() + QSize(16, 48));
    EXPECT_TRUE(c.available.contains(withFrame));
    const QRect indicator(form->ErrorIndicatorBox->mapTo(form.get(), QPoint(0, 0)), form->ErrorIndicatorBox->size());
    EXPECT_TRUE(form->ErrorIndicatorBox->isVisible());
    EXPECT_TRUE(form->rect().contains(indicator));
    EXPECT_EQ(form->picFrontBuffer->size(), QSize(384, 384));
    if (c.roomy) {
      EXPECT_EQ(form->size(), QSize(1060, 740));
      auto* scroll = form->findChild<QScrollArea*>("CentralScroll");
      ASSERT_NE(scroll, nullptr);
      EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
      EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
    }
  }
}

// On an 800x600 screen the window is at its smallest; every control of every
// side panel can still be scrolled into view, whole.
TEST_F(MainWindowTest, EveryControlOfEveryPanelCanBeBroughtIntoViewAt800x600) {
  form->FitToScreen(QRect(0, 0, 800, 600));
  form->show();
  auto* outer = form->findChild<QScrollArea*>("CentralScroll");
  auto* inner = form->findChild<QScrollArea*>("PanelScroll");
  for (int panel = 0; panel < 3; ++panel) {
    for (int i = 0; i < 3; ++i) form->picGameControl[i]->setVisible(i == panel);
    QApplication::processEvents();
    for (QWidget* w : form->picGameControl[panel]->findChildren<QWidget*>()) {
      if (!w->isVisibleTo(form->picGameControl[panel]) || qobject_cast<QGroupBox*>(w) != nullptr) continue;
      SCOPED_TRACE(w->objectName().toStdString() + " " + w->metaObject()->className() + " " +
                   w->property("text").toString().toStdString());
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

TEST_F(MainWindowTest, ClockCarriesAndShowsTwoDigitFields) {
  struct Case {
    const char* name;
    uint8_t h, m, s;
    const char* after;
  };
  const Case cases[] = {
      {"59:59", 0, 59, 59, "01:00:00"},
      {"plain", 1, 2, 3, "01:02:04"},
      {"three-digit hours", 123, 0, 0, "123:00:01"},
  };
  NewGame("OfflinePP");
  app::SetCheckValue(form->chkEnableClock, 1);
  for (bool white : {true, false})
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (white ? " white" : " black"));
      G::gColorToMove = white ? G::kWhite : G::kBlack;
      form->clock() = {};
      auto& k = form->clock();
      (white ? k.whiteHours : k.blackHours) = c.h;
      (white ? k.whiteMinutes : k.blackMinutes) = c.m;
      (white ? k.whiteSeconds : k.blackSeconds) = c.s;
      form->Timer2_Timer();
      EXPECT_EQ((white ? form->lblWhitesClock : form->lblBlacksClock)->text().toStdString(), c.after);
      EXPECT_EQ((white ? form->lblBlacksClock : form->lblWhitesClock)->text().toStdString(), "00:00:00");
    }
}

TEST_F(MainWindowTest, HourOverflowIsLoggedAndTheHoursStay) {
  NewGame("OfflinePP");
  form->clock() = {59, 59, 255};  // White's seconds, minutes, hours
  form->UpdateClock();
  EXPECT_EQ(form->clock().whiteHours, 255);
  EXPECT_EQ(form->clock().whiteMinutes + form->clock().whiteSeconds, 0);
  EXPECT_NE(testsupport::ReadFile(tree.commonDir() + "/error.log").find("UpdateClock of Formular fMainForm"),
            std::string::npos);
}

TEST_F(MainWindowTest, ClockHoldsInEditModeCorrespondenceAndAfterReset) {
  NewGame("OfflinePP");
  form->ResetClock();
  EXPECT_EQ(app::CheckValue(form->chkEnableClock), 2);
  form->Timer2_Timer();
  EXPECT_EQ(form->lblWhitesClock->text(), "00:00:00");  // held until the first press on the board
  Press("e2");
  EXPECT_EQ(app::CheckValue(form->chkEnableClock), 1);
  form->Timer2_Timer();
  EXPECT_EQ(form->lblWhitesClock->text(), "00:00:01");
  app::SetCheckValue(form->setup, 1);
  form->Timer2_Timer();
  EXPECT_EQ(form->lblWhitesClock->text(), "00:00:01");
  app::SetCheckValue(form->setup, 0);
  G::gGameMode = "OnlinePP";
  form->Timer2_Timer();
  EXPECT_EQ(form->lblWhitesClock->text(), "00:00:01");
}

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
