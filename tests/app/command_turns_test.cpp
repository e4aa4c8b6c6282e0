// The user's commands on the real window while something else is under way:
// the engines playing each other, a transfer with the game server.
#include <QRadioButton>

#include "app/frmAbout.h"
#include "app/frmGameMode.h"
#include "app/frmLoadGame.h"
#include "platform/DoEvents.h"
#include "support/ZVK_Internet.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

class CommandTurnsTest : public MainWindowFixture {
 protected:
  // This side's correspondence game as White after e2-e4, to be sent.
  void CorrespondenceGameAfterFirstMove() {
    ZVK_Identity::gMachineID = "000123456";
    C::gInternetGameID = "0000001012612062350";
    NewGame("OnlinePP", G::kWhite, 1);
    Move("e2", "e4");
  }

  // Every window that opens from now on, by kind, in order, with whether
  // anything else was open or a transfer under way then; each is closed
  // without a choice. Questions come through the scripted answerer.
  void RecordWindows(std::vector<std::string>& opened) {
    watch_ = std::make_unique<QTimer>();
    QObject::connect(watch_.get(), &QTimer::timeout, [this, &opened] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || modal == lastModal_) return;
      lastModal_ = modal;
      std::string kind = qobject_cast<app::frmNewGame*>(modal)    ? "New Game"
                         : qobject_cast<app::frmLoadGame*>(modal) ? "Load Game"
                         : qobject_cast<app::frmAbout*>(modal)    ? "About"
                                                                  : modal->objectName().toStdString();
      if (form->TransferUnderWay()) kind += " inside the transfer";
      opened.push_back(kind);
      QTimer::singleShot(0, modal, [modal] { qobject_cast<QDialog*>(modal)->reject(); });
    });
    answers.Watch([this, &opened](const std::string& text) {
      const bool alone = QApplication::activeModalWidget() == nullptr;
      opened.push_back(text.substr(0, 16) + (alone ? "" : " over a window") +
                       (form->TransferUnderWay() ? " inside the transfer" : ""));
    });
    watch_->start(0);
  }

  exchangetest::FastWaits waits;
  fixtures::FtpServer server;
  std::unique_ptr<QTimer> watch_;
  QWidget* lastModal_ = nullptr;
};

// Two bare kings never end their game: whatever the user gives while the
// engines play runs between two engine moves, in the order given, and
// Suspend, Give Up, Edit and Change Mode end the play there. Save saves the
// game as it stands and the engines play on.
TEST_F(CommandTurnsTest, EnginesAgainstEachOtherStopBetweenTwoMovesWhenTold) {
  const std::string games = tree.path("Castellan/games");
  struct Row {
    const char* what;
    std::function<void()> give;
    bool playsOn;                 // the engines go on after it
    std::function<bool()> done;   // what the command did
  };
  int given = -1;  // the half-move at which the command was given
  // The one game saved, at a half-move within two engine moves of the command.
  const auto saved = [&] {
    if (FilesIn(games).size() != 1) return false;
    const int kept = std::stoi(testsupport::ReadFile(games + "/" + *FilesIn(games).begin()).substr(1));
    return kept >= given && kept <= given + 2;
  };
  const Row rows[] = {
      {"Suspend Game", [&] { form->mnuSuspendGame->trigger(); }, false,
       [&] { return saved() && E::gMoveNumber == 0 && G::gGameStopped == G::kTrue; }},
      {"Give Up", [&] {
         answers.Push(platform::vbYes);
         form->mnuGiveUp->trigger();
       }, false, [&] { return saved() && E::gMoveNumber == 0; }},
      {"Edit", [&] { form->mnuEdit->trigger(); }, false, [&] { return form->mnuEdit->isChecked(); }},
      {"toolbar Edit", [&] { form->tb->buttonByKey("EDIT")->trigger(); }, false,
       [&] { return form->mnuEdit->isChecked() && form->tb->buttonByKey("EDIT")->isChecked(); }},
      {"Change Mode", [&] {
         WhenModal([](QWidget* dialog) {
           dialog->findChild<QRadioButton*>("optMode(0)")->setChecked(true);
           dialog->findChild<QPushButton*>("cmdOK")->click();
         });
         form->mnuChangeMode->trigger();
       }, false, [] { return G::gGameMode == "OfflinePP"; }},
      {"Save", [&] { form->mnuSaveGame->trigger(); }, true, saved},
      // Exit after Suspend: the game is suspended (and saved) first.
      {"Suspend Game, then Exit", [&] {
         form->mnuSuspendGame->trigger();
         answers.Push(platform::vbYes);
         form->mnuExit->trigger();
       }, false, [&] { return saved() && form->isHidden(); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Reopen();
    fs::remove_all(games);
    SetPosition("OfflineCC", Position({{"e1", -10000}, {"e8", 15000}}), false);
    given = -1;
    int stoppedAt = -1;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (given < 0 && E::gMoveNumber >= 4) {
        given = E::gMoveNumber;
        row.give();
      }
      // Played on well past the command: end the test's game.
      if (given >= 0 && E::gMoveNumber > given + 12) G::gGameStopped = G::kTrue;
    });
    poll.start(0);
    platform::SetYieldIntervalMs(0);
    Move("e1", "d1");  // White's first move starts the engines
    platform::SetYieldIntervalMs(4);
    poll.stop();
    stoppedAt = E::gMoveNumber;
    ASSERT_GE(given, 4);
    EXPECT_TRUE(row.done());
    if (row.playsOn) EXPECT_GT(stoppedAt, given + 2);
    else EXPECT_TRUE(E::gMoveNumber == 0 || E::gMoveNumber <= given + 2) << E::gMoveNumber;
    EXPECT_EQ(form->CommandsWaiting(), 0u);
  }
}

// Given during a send that the server holds up: they run after it, in the
// order given, each once the window of the one before is closed.
TEST_F(CommandTurnsTest, CommandsGivenDuringASendRunAfterItInOrderOneAtATime) {
  TEST_NEEDS(server.running(), fixtures::kFtpDown);
  server.useAsGameServer();
  CorrespondenceGameAfterFirstMove();
  std::vector<std::string> opened;
  RecordWindows(opened);
  answers.Push(platform::vbNo);  // Exit: stay
  bool given = false;
  {
    const auto during = DuringTransfer(server, [&] { return form->TransferUnderWay(); }, [&] {
      form->mnuNewGame->trigger();
      form->mnuLoadGameStart->trigger();
      form->mnuAbout->trigger();
      form->mnuExit->trigger();
      EXPECT_EQ(form->StatusBar->panel(1)->text(), app::fMainForm::kWaitForTransfer);
    }, given);
    form->cmdSendMove->click();
  }
  ASSERT_TRUE(given);
  EXPECT_TRUE(WaitUntil([&] { return opened.size() >= 4; }));
  EXPECT_EQ(opened, (std::vector<std::string>{"New Game", "Load Game", "About", "Are you sure tha"}));
  EXPECT_TRUE(fs::exists(server.remotePath("games/" + C::ExchangeArchiveName(C::ExchangeStem(C::gInternetGameID)))));
  EXPECT_EQ(form->CommandsWaiting(), 0u);
  EXPECT_TRUE(form->StatusBar->panel(1)->text().isEmpty());
}

// A command that waited runs only where it still applies: Download Move
// given after Suspend Game, during the connection test, does not bring the
// suspended game back; the status bar says it was not run.
TEST_F(CommandTurnsTest, ACommandThatNoLongerAppliesWhenItsTurnComesIsNotRun) {
  TEST_NEEDS(server.running(), fixtures::kFtpDown);
  server.useAsGameServer();
  CorrespondenceGameAfterFirstMove();
  form->cmdSendMove->click();
  ASSERT_FALSE(form->cmdDownloadMove->isHidden());
  bool given = false;
  {
    const auto during = DuringTransfer(server, [&] { return form->TransferUnderWay(); }, [&] {
      form->mnuSuspendGame->trigger();
      form->cmdDownloadMove->click();
    }, given);
    form->cmdTestInternetConnection->click();
  }
  ASSERT_TRUE(given);
  EXPECT_TRUE(WaitUntil([&] { return form->CommandsWaiting() == 0 && G::gGameStopped == G::kTrue; }));
  platform::DoEvents();
  EXPECT_EQ(E::gMoveNumber, 0);
  EXPECT_TRUE(Record().empty());
  EXPECT_EQ(form->StatusBar->panel(1)->text().toStdString(),
            app::CommandGate::NotRunNote("Download Move from Internet"));
}

// The level is picked at once during a transfer with the game server; its
// "Advanced" notice does not wait there for an answer, which would hold the
// transfer's next step up for as long as the user leaves it open.
TEST_F(CommandTurnsTest, TheLevelNoticeDuringATransferHoldsNothingUp) {
  TEST_NEEDS(server.running(), fixtures::kFtpDown);
  server.useAsGameServer();
  bool given = false;
  {
    const auto during = DuringTransfer(server, [&] { return form->TransferUnderWay(); },
                                       [&] { form->sldLevel->setValue(3); }, given);
    form->cmdTestInternetConnection->click();
  }
  ASSERT_TRUE(given);
  EXPECT_EQ(form->sldLevel->value(), 2);
  ASSERT_FALSE(answers.Calls().empty());
  const platform::MsgBoxCall& notice = answers.Calls().front();
  EXPECT_FALSE(notice.waited) << notice.text;
  form->sldLevel->setValue(3);  // no transfer: the notice waits for its answer as ever
  EXPECT_TRUE(answers.Calls().back().waited);
}

// A web download (the tutorial, the update check) has nothing of a game on
// the wire: a local game plays on meanwhile, a window opens at once, Exit is
// asked at once, and the download still comes whole.
TEST_F(CommandTurnsTest, AWebDownloadHoldsNoCommandBack) {
  fixtures::HttpServer web;
  TEST_NEEDS(web.running(), fixtures::kHttpDown);
  setenv(ZVK_Internet::kWebSiteVariable, ("127.0.0.1:" + std::to_string(web.port())).c_str(), 1);
  web.put("help/ChessTrl.chm", std::string(20000, 't'));
  web.put("help/ChessTrl.chi", "index");
  web.put("versions.txt", "\"nobody\",\"1.0.0\"\r\n");
  ZVK_Internet::gUrlVersions = web.url("versions.txt");
  const std::pair<const char*, std::function<void()>> downloads[] = {
      {"tutorial", [&] {
         answers.Push(platform::vbYes);
         form->mnuChessTutorial->trigger();
       }},
      {"update check", [&] { form->mnuUpdates->trigger(); }},
  };
  for (const auto& [what, start] : downloads) {
    SCOPED_TRACE(what);
    Reopen();
    NewGame("OfflinePP");
    std::vector<std::string> opened;
    RecordWindows(opened);
    bool given = false;
    {
      const auto during = DuringTransfer(web, [&] { return form->TransferUnderWay(); }, [&] {
        opened.clear();  // the tutorial's own question came before
        Move("e2", "e4");
        EXPECT_EQ(E::gMoveNumber, 1);
        answers.Push(platform::vbNo);
        form->mnuExit->trigger();
        form->mnuAbout->trigger();
      }, given);
      start();
    }
    ASSERT_TRUE(given);
    EXPECT_TRUE(WaitUntil([&] { return opened.size() >= 2; }));
    ASSERT_GE(opened.size(), 2u);
    EXPECT_EQ(opened[0], "Are you sure tha inside the transfer");
    EXPECT_EQ(opened[1], "About inside the transfer");
    EXPECT_FALSE(form->isHidden());
  }
  EXPECT_EQ(testsupport::ReadFile(tree.path("Castellan/help/ChessTrl.chm")).size(), 20000u);
  unsetenv(ZVK_Internet::kWebSiteVariable);
}

}  // namespace
}  // namespace apptest
