// Correspondence games through the main window and a real loopback FTP
// server: the ways a fetch or a send goes wrong, and what a resumed game offers.
#include "platform/DoEvents.h"
#include "support/ZVK_Internet.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

class ExchangeTest : public MainWindowFixture {
 protected:
  std::string Dir() const { return C::InternetGameDir(); }
  std::string Stem() const { return C::ExchangeStem(C::gInternetGameID); }
  std::string LastGame() const { return Dir() + C::LastGameName(Stem()); }

  // This side's correspondence game as White after e2-e4, saved as the last
  // exchanged game.
  void GameAfterFirstMove() {
    ZVK_Identity::gMachineID = "000123456";  // names the connection test's file
    C::gInternetGameID = "0000001012612062350";
    NewGame("OnlinePP", G::kWhite, 1);
    Move("e2", "e4");
    fs::create_directories(Dir());
    ASSERT_TRUE(B::SaveCompleteGame(LastGame()));
  }

  static bool Shown(const QWidget* w) { return !w->isHidden(); }

  // The partner's answer to e2-e4, packed on the server as his send.
  void PartnerAnswered(const fixtures::FtpServer& server) {
    NewGame("OfflinePP");
    Move("e2", "e4");
    Move("e7", "e5");
    const std::string chi = tree.path("partner/x.chi");
    fs::create_directories(tree.path("partner"));
    ASSERT_TRUE(B::SaveCompleteGame(chi));
    ASSERT_TRUE(C::PackSingleFile(chi, server.remotePath("games/" + C::ExchangeArchiveName(C::ExchangeStem("0000001012612062350")))));
  }

  // Runs `click` from the message loop as soon as the transfer under way has
  // completed its first command: a click made while it waits for the next.
  void ClickDuringTransfer(std::function<void()> click) {
    form->Inet1->OnStateChanged([this, click, done = false](int16_t state) mutable {
      form->Inet1_StateChanged(state);
      if (state != platform::icResponseCompleted || done) return;
      done = true;
      QTimer::singleShot(0, form.get(), click);
    });
  }

  // Files outside the exchange folders: the account's top folder and www.
  static std::set<std::string> Stray(const fixtures::FtpServer& server) {
    const fs::path www = fs::path(server.remotePath("games")).parent_path();
    std::set<std::string> names = FilesIn(www.string());
    for (const auto& name : FilesIn(www.parent_path().string())) names.insert(name);
    return names;
  }

  exchangetest::FastWaits waits;
};

TEST_F(ExchangeTest, FetchWithoutANewMoveShowsItsMessageAndChangesNothing) {
  fixtures::FtpServer server;
  TEST_NEEDS(server.running(), fixtures::kFtpDown);
  const std::string problem = "There was a download problem,\r\nPlease try again later";
  const std::string noMove = "No new move from your chess partner is currently available,\r\nPlease try again later";
  struct Case {
    const char* what;
    std::string host, remoteGame, message;
  };
  const Case cases[] = {
      {"server down", "127.0.0.1:" + std::to_string(fixtures::UnusedPort()), "", problem},
      {"same half-move", server.host(), "\"1\"\r\n", noMove},
      {"newer but not a game", server.host(), "\"9\"\r\n\"\"\r\nnot a board\r\n", problem},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GameAfterFirstMove();
    const std::string chi = tree.path("partner/" + C::LastGameName(Stem()));
    testsupport::WriteFile(chi, c.remoteGame);  // the partner's game, packed as his send
    ASSERT_TRUE(C::PackSingleFile(chi, server.remotePath("games/" + C::ExchangeArchiveName(Stem()))));
    setenv(platform::kFtpHostVariable, c.host.c_str(), 1);
    const std::string lastGame = testsupport::ReadFile(LastGame());
    const std::string record = Record();
    answers.Clear();

    form->cmdDownloadMove->click();

    ASSERT_EQ(answers.Calls().size(), 1u);
    EXPECT_EQ(answers.Calls()[0].text, c.message);
    EXPECT_EQ(E::gMoveNumber, 1);
    EXPECT_EQ(Record(), record);
    EXPECT_EQ(testsupport::ReadFile(LastGame()), lastGame);
    // Nothing received is left to stand in for a later fetch.
    if (c.message == problem) EXPECT_FALSE(fs::exists(Dir() + C::ReceivedGameName(Stem())));
  }
}

TEST_F(ExchangeTest, SendWithTheServerDownSaysSoAndKeepsTheMoveToSendAfterARestart) {
  NoServer();
  GameAfterFirstMove();
  form->txtComment->setText("your move");

  form->cmdSendMove->click();

  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_EQ(answers.Calls()[0].text, "Your move could not be sent to the game server.\r\nPlease try again later");
  // The move can be sent again; there is no answer to fetch yet.
  EXPECT_TRUE(Shown(form->cmdSendMove) && !Shown(form->cmdDownloadMove));
  const std::string note = testsupport::ReadFile(Dir() + C::MoveNoteName(C::gInternetGameID, 1));
  EXPECT_NE(note.find("\r\nyour move\r\n1  White Pawn at E:2 to E:4"), std::string::npos) << note;
  EXPECT_TRUE(fs::exists(Dir() + C::ExchangeArchiveName(Stem())));

  // Closed before the next try: the resumed game still offers the send, and
  // once the move is out it waits for the answer, also after the next restart.
  fixtures::FtpServer server;
  TEST_NEEDS(server.running(), fixtures::kFtpDown);
  server.useAsGameServer();
  for (const bool sent : {false, true}) {
    OpenWindow(tree, ZVK_Identity::gMachineID);
    form->cmdDownloadMove->show();  // as the load dialog's OK leaves them
    form->cmdSuspend->show();
    form->cmdSendMove->hide();
    form->LoadInternetPlay(LastGame());
    EXPECT_TRUE(Shown(form->cmdSendMove) != sent && Shown(form->cmdDownloadMove) == sent && Shown(form->cmdSuspend));
    if (!sent) form->cmdSendMove->click();
    EXPECT_TRUE(answers.Calls().empty());
  }
  EXPECT_TRUE(fs::exists(server.remotePath("games/" + C::ExchangeArchiveName(Stem()))));
}

// A command given while a send waits for the server waits for the send,
// which finishes for the game it began with; a game changed by a way past
// that gate cuts the send short, which then writes nothing for the game on
// the board. Either way the exchange file keeps the move and a resume
// offers what is still to be done.
TEST_F(ExchangeTest, ACommandDuringASendWaitsAndTheSendFinishesForItsOwnGame) {
  fixtures::FtpServer server;
  TEST_NEEDS(server.running(), fixtures::kFtpDown);
  const std::string down = "127.0.0.1:" + std::to_string(fixtures::UnusedPort());
  struct Case {
    const char* what;
    bool serverUp;
    std::function<void()> during;  // given at the send's first wait for the server
    bool closes;                   // the command ends the game
    bool cut = false;              // the send is cut short
  };
  const Case cases[] = {
      {"Suspend, server down", false, [&] { form->mnuSuspendGame->trigger(); }, true},
      {"Give Up, server up", true, [&] { answers.Push(platform::vbYes); form->mnuGiveUp->trigger(); }, true},
      {"one move back, server up", true, [&] { form->mnuMoveBack->trigger(); }, false},
      // As a command that bypassed the gate would.
      {"closed past the gate, server down", false, [&] { form->cmdSuspend_Click(); }, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GameAfterFirstMove();
    fs::remove(Dir() + C::LocalCopyName(C::gInternetGameID));
    for (const char* folder : {"games", "closed"}) {
      fs::remove_all(server.remotePath(folder));
      fs::create_directories(server.remotePath(folder));
    }
    setenv(platform::kFtpHostVariable, c.serverUp ? server.host().c_str() : down.c_str(), 1);
    answers.Clear();
    bool fired = false, pressedAgain = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      // Send pressed again while the closing game already shows the empty board.
      if (fired && !pressedAgain && E::gMoveNumber == 0 && Shown(form->cmdSendMove)) {
        pressedAgain = true;
        form->cmdSendMove->click();
      }
      if (fired || form->Animation1->isHidden()) return;
      fired = true;
      c.during();
    });
    poll.start(0);
    platform::SetYieldIntervalMs(0);  // every wait of the send lets the command in
    form->cmdSendMove->click();
    platform::SetYieldIntervalMs(4);
    poll.stop();
    ASSERT_TRUE(fired);

    const bool sent = c.serverUp && !c.cut;
    EXPECT_EQ(G::gGameStopped == G::kTrue && E::gMoveNumber == 0, c.closes);
    EXPECT_EQ(fs::exists(server.remotePath("games/" + C::ExchangeArchiveName(Stem()))), sent);
    EXPECT_EQ(fs::exists(server.remotePath("closed/" + C::ClosedArchiveName(Stem()))), c.serverUp && c.closes);
    EXPECT_EQ(testsupport::ReadFile(LastGame()).substr(0, 3), "\"1\"");
    // The local copy is of the game sent, or not written at all.
    const std::string copy = Dir() + C::LocalCopyName(C::gInternetGameID);
    EXPECT_EQ(fs::exists(copy), !c.cut);
    if (!c.cut) {
      EXPECT_EQ(testsupport::ReadFile(copy).substr(0, 3), "\"1\"");
    }
    // No button for a closed game; after the send the move is to be sent again or answered.
    EXPECT_EQ(Shown(form->cmdSendMove), !c.closes && !sent);
    EXPECT_EQ(Shown(form->cmdDownloadMove), !c.closes && sent);
    EXPECT_EQ(Shown(form->cmdSuspend), !c.closes);
    const std::string failed = "Your move could not be sent to the game server.\r\nPlease try again later";
    const std::vector<std::string> said = Messages();
    EXPECT_EQ(std::count(said.begin(), said.end(), failed), !c.serverUp && !c.cut ? 1 : 0);

    form->cmdDownloadMove->show();  // as the load dialog's OK leaves them
    form->cmdSuspend->show();
    form->cmdSendMove->hide();
    form->LoadInternetPlay(LastGame());
    EXPECT_EQ(E::gMoveNumber, 1);
    EXPECT_TRUE(Shown(form->cmdSendMove) != sent && Shown(form->cmdDownloadMove) == sent);
  }
}

// The offering side's first sends fail and it sends again, in the same run
// and after a restart (which no longer knows the record line of the move):
// the offer on the server names its opening move once.
TEST_F(ExchangeTest, AnOfferSentAgainNamesItsOpeningMoveOnce) {
  fixtures::FtpServer server;
  TEST_NEEDS(server.running(), fixtures::kFtpDown);
  C::gInternetGameID = "0000001012612062350";
  C::OfferInfo offer;
  offer.gameId = C::gInternetGameID;
  offer.colour = "16777215";
  C::WriteOfferInfoFile(C::OfferedDir() + C::OfferInfoName(Stem()), offer);
  NewGame("OnlinePP", G::kWhite, 1);
  Move("e2", "e4");
  NoServer();
  form->cmdSendMove->click();
  form->cmdSendMove->click();
  ASSERT_EQ(answers.Calls().size(), 2u);
  server.useAsGameServer();
  OpenWindow(tree, ZVK_Identity::gMachineID);
  form->LoadInternetPlay(LastGame());
  form->cmdSendMove->click();
  EXPECT_TRUE(answers.Calls().empty());

  const std::string out = tree.path("unpacked/");
  fs::create_directories(out);
  ASSERT_TRUE(C::UnpackAll(server.remotePath("offered/" + C::OfferArchiveName(Stem())), out));
  const std::vector<std::string> lines = testsupport::Lines(testsupport::ReadFile(out + C::OfferInfoName(Stem())));
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[8], "1  White Pawn at E:2 to E:4");
}

// A game resumed from the load dialog offers the fetch only while the
// partner is to move, whichever colour this side plays.
TEST_F(ExchangeTest, ResumedGameOffersTheFetchOnlyWhileThePartnerIsToMove) {
  GameAfterFirstMove();  // half-move 1: Black to move
  for (const int32_t colour : {G::kWhite, G::kBlack}) {
    SCOPED_TRACE(colour);
    G::gPlayerColor = colour;
    form->cmdDownloadMove->show();  // as the load dialog's OK leaves them
    form->cmdSuspend->show();
    form->LoadInternetPlay(LastGame());
    EXPECT_EQ(Shown(form->cmdDownloadMove) + Shown(form->cmdSuspend), colour == G::kWhite ? 2 : 0);
  }
}

// A send counts only when its archive is in the games folder: with that
// folder gone from the server, the put must not land in the folder the
// connection stayed in.
TEST_F(ExchangeTest, SendWhoseFolderChangeFailsIsNotSentAndLandsNowhere) {
  fixtures::FtpServer server;
  TEST_NEEDS(server.running(), fixtures::kFtpDown);
  server.useAsGameServer();
  fs::remove_all(server.remotePath("games"));
  GameAfterFirstMove();

  form->cmdSendMove->click();

  EXPECT_EQ(Messages(), std::vector<std::string>{"Your move could not be sent to the game server.\r\nPlease try again later"});
  EXPECT_TRUE(Shown(form->cmdSendMove) && !Shown(form->cmdDownloadMove));
  EXPECT_TRUE(fs::exists(Dir() + C::UnsentMoveName(Stem())));
  EXPECT_EQ(Stray(server), std::set<std::string>{});
}

// A transfer clicked while a send or a fetch waits for the server is refused
// with a message and the first one finishes; alone, the same click runs.
// Sharing the exchange's connection, the connection test's CLOSE ended it,
// and the help downloads switched the control to a web address: the move
// went to the account's top folder or nowhere.
TEST_F(ExchangeTest, TransferClickedWhileASendOrFetchRunsIsRefusedAndTheFirstFinishes) {
  fixtures::FtpServer server;
  fixtures::HttpServer web;
  TEST_NEEDS(server.running(), fixtures::kFtpDown);
  TEST_NEEDS(web.running(), fixtures::kHttpDown);
  server.useAsGameServer();
  web.put("help/ChessTrl.chm", "tutorial");
  web.put("help/ChessTrl.chi", "index");
  web.put("versions.txt", "\"nobody\",\"1.0.0\"\r\n");
  setenv(ZVK_Internet::kWebSiteVariable, ("127.0.0.1:" + std::to_string(web.port())).c_str(), 1);
  const std::string busy = ZVK_Internet::kTransferBusyText;
  const std::string tutorial = tree.path("Castellan/help/ChessTrl.chm");
  const std::string question = "The tutorial is not installed on your PC!\r\nWould you like to download it now ?";
  struct Later {
    const char* what;
    std::function<void()> click;
    std::vector<std::string> refused;  // the messages while the first transfer runs
    std::function<bool()> ranAlone;
  };
  const Later laters[] = {
      {"connection test", [&] { form->cmdTestInternetConnection_Click(); }, {busy},
       [&] { return !Messages().empty() && Messages().back() == "The Internet connection is ok"; }},
      {"update check", [&] { form->mnuUpdates_Click(); }, {busy},
       [&] { return fs::exists(ZVK_Internet::VersionsPath()); }},
      {"tutorial download", [&] { form->mnuChessTutorial_Click(); }, {question, busy},
       [&] { return fs::exists(tutorial); }},
  };
  for (const Later& later : laters) {
    for (const bool send : {true, false}) {
      SCOPED_TRACE(std::string(later.what) + (send ? " during a send" : " during a fetch"));
      fs::remove_all(Dir());
      fs::remove(tutorial);
      fs::remove(ZVK_Internet::VersionsPath());
      PartnerAnswered(server);
      GameAfterFirstMove();
      ZVK_Internet::gUrlVersions = web.url("versions.txt");
      answers.Clear();
      ClickDuringTransfer(later.click);

      send ? form->cmdSendMove->click() : form->cmdDownloadMove->click();

      EXPECT_EQ(Messages(), later.refused);
      if (send) {
        // This side's archive has replaced the partner's in the games folder.
        const std::string archive = C::ExchangeArchiveName(Stem());
        EXPECT_TRUE(testsupport::ReadFile(server.remotePath("games/" + archive)) == testsupport::ReadFile(Dir() + archive));
        EXPECT_TRUE(Shown(form->cmdDownloadMove) && !Shown(form->cmdSendMove));
        EXPECT_FALSE(fs::exists(Dir() + C::UnsentMoveName(Stem())));
      } else {
        EXPECT_EQ(E::gMoveNumber, 2);
      }
      EXPECT_EQ(Stray(server), std::set<std::string>{});
      answers.Clear();
      later.click();
      EXPECT_TRUE(later.ranAlone());
    }
  }
}

// The connection test holds the control as long: a send or a give-up clicked
// meanwhile is refused and changes nothing, here or on the server.
TEST_F(ExchangeTest, GameTransfersClickedDuringTheConnectionTestAreRefused) {
  fixtures::FtpServer server;
  TEST_NEEDS(server.running(), fixtures::kFtpDown);
  server.useAsGameServer();
  const std::pair<const char*, std::function<void()>> clicks[] = {
      {"send", [&] { form->cmdSendMove->click(); }},
      {"give up", [&] { form->mnuGiveUp_Click(); }},
  };
  for (const auto& [what, click] : clicks) {
    SCOPED_TRACE(what);
    fs::remove_all(Dir());
    for (const char* folder : {"games", "closed"})
      for (const auto& name : FilesIn(server.remotePath(folder))) fs::remove(server.remotePath(folder) + "/" + name);
    GameAfterFirstMove();
    form->cmdSendMove->show();
    answers.Clear();
    ClickDuringTransfer(click);

    form->cmdTestInternetConnection_Click();

    const std::vector<std::string> messages = Messages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), ZVK_Internet::kTransferBusyText), 1);
    EXPECT_EQ(messages.back(), "The Internet connection is ok");
    EXPECT_EQ(FilesIn(server.remotePath("games")), std::set<std::string>{});
    EXPECT_EQ(FilesIn(server.remotePath("closed")), std::set<std::string>{});
    EXPECT_EQ(G::gGameMode, "OnlinePP");
    EXPECT_EQ(E::gMoveNumber, 1);
    EXPECT_TRUE(Shown(form->cmdSendMove));
  }
}

}  // namespace
}  // namespace apptest
