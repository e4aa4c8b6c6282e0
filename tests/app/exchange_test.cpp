// Correspondence games through the main window and a real loopback FTP
// server: the ways a fetch or a send goes wrong, and what a resumed game offers.
#include "correspondence/UnsentMove.h"
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
    // A game begun afresh: nothing of an earlier one is exchanged or to be sent.
    fs::remove(LastGame());
    fs::remove(Dir() + C::UnsentMoveName(Stem()));
    NewGame("OnlinePP", G::kWhite, 1);
    Move("e2", "e4");
    fs::create_directories(Dir());
    ASSERT_TRUE(B::SaveCompleteGame(LastGame()));
  }

  static bool Shown(const QWidget* w) { return !w->isHidden(); }

  // The partner's answer to e2-e4 (or the game of moves), packed on the
  // server as his send, alone in the exchange folders.
  void PartnerAnswered(const fixtures::FtpServer& server,
                       const std::vector<std::pair<const char*, const char*>>& moves = {{"e2", "e4"}, {"e7", "e5"}}) {
    EmptyExchangeFolders(server);
    NewGame("OfflinePP");
    for (const auto& [from, to] : moves) Move(from, to);
    const std::string chi = tree.path("partner/x.chi");
    fs::create_directories(tree.path("partner"));
    ASSERT_TRUE(B::SaveCompleteGame(chi));
    ASSERT_TRUE(C::PackSingleFile(chi, server.remotePath("games/" + C::ExchangeArchiveName(C::ExchangeStem("0000001012612062350")))));
  }

  // This side's game after e2-e4, the given answer and g1-f3 to send.
  void PlayedOn(const char* from, const char* to) {
    NewGame("OfflinePP");
    Move("e2", "e4");
    Move(from, to);
    G::gGameMode = "OnlinePP";
    Move("g1", "f3");
  }

  std::string GameOnServer(const fixtures::FtpServer& server) const {
    return testsupport::ReadFile(server.remotePath("games/" + C::ExchangeArchiveName(Stem())));
  }

  static void EmptyExchangeFolders(const fixtures::FtpServer& server) {
    for (const char* folder : {"games", "closed"}) {
      fs::remove_all(server.remotePath(folder));
      fs::create_directories(server.remotePath(folder));
    }
  }

  // Files outside the exchange folders: the account's top folder and www.
  static std::set<std::string> Stray(const fixtures::FtpServer& server) {
    const fs::path www = fs::path(server.remotePath("games")).parent_path();
    std::set<std::string> names = FilesIn(www.string());
    for (const auto& name : FilesIn(www.parent_path().string())) names.insert(name);
    return names;
  }

  static constexpr const char* kConflict =
      "Your move was not sent: the game server holds a game that does not continue yours,\r\n"
      "Please download your partner's move first.";
  // A file of this PC that could not be written: no fault of the server's.
  static std::string NotSaved(const std::string& path) {
    return "Your move could not be saved on this PC: " + path + " could not be written.\r\n"
           "Please check that the disk has room and the file may be written, then send the move again.";
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
    if (c.message == problem) {
      EXPECT_FALSE(fs::exists(Dir() + C::ReceivedGameName(Stem())));
    }
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
// the board. Either way the move stays noted until it is sent.
TEST_F(ExchangeTest, ACommandDuringASendWaitsAndTheSendFinishesForItsOwnGame) {
  fixtures::FtpServer server;
  TEST_NEEDS(server.running(), fixtures::kFtpDown);
  const std::string down = "127.0.0.1:" + std::to_string(fixtures::UnusedPort());
  // The command is given at the send's first wait for the server; it may close the game and cut the send short.
  struct Case {
    const char* what;
    bool serverUp;
    std::function<void()> during;
    bool closes, cut = false;
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
    EmptyExchangeFolders(server);
    setenv(platform::kFtpHostVariable, c.serverUp ? server.host().c_str() : down.c_str(), 1);
    answers.Clear();
    bool fired = false, pressedAgain = false;
    {
      // A server that is up holds the send at its first data transfer until the command is given; one
      // that is down fails each of the send's steps, each with its own waits.
      const auto sending = [&] { return !form->Animation1->isHidden(); };
      const auto during =
          c.serverUp ? DuringTransfer(server, sending, c.during, fired) : Meanwhile(sending, c.during, fired);
      // Send pressed again while the closing game already shows the empty board.
      const auto again = Meanwhile([&] { return fired && E::gMoveNumber == 0 && Shown(form->cmdSendMove); },
                                   [&] { form->cmdSendMove->click(); }, pressedAgain);
      EveryWaitYields([&] { form->cmdSendMove->click(); });
    }
    ASSERT_TRUE(fired);

    const bool sent = c.serverUp && !c.cut;
    EXPECT_EQ(G::gGameStopped == G::kTrue && E::gMoveNumber == 0, c.closes);
    EXPECT_EQ(fs::exists(server.remotePath("games/" + C::ExchangeArchiveName(Stem()))), sent);
    EXPECT_EQ(fs::exists(server.remotePath("closed/" + C::ClosedArchiveName(Stem()))), c.serverUp && c.closes);
    EXPECT_EQ(testsupport::ReadFile(LastGame()).substr(0, 3), "\"1\"");
    // The local copy is of the game sent, or not written at all.
    EXPECT_EQ(testsupport::ReadFile(Dir() + C::LocalCopyName(C::gInternetGameID)).substr(0, 3), c.cut ? "" : "\"1\"");
    // No button for a closed game; after the send the move is to be sent again or answered.
    EXPECT_EQ(std::tuple(Shown(form->cmdSendMove), Shown(form->cmdDownloadMove), Shown(form->cmdSuspend)),
              std::tuple(!c.closes && !sent, !c.closes && sent, !c.closes));
    EXPECT_EQ(fs::exists(Dir() + C::UnsentMoveName(Stem())), !sent);
    const std::vector<std::string> said = Messages();
    EXPECT_EQ(std::count(said.begin(), said.end(), kNotSent), !c.serverUp && !c.cut ? 1 : 0);
  }
}

// The offering side's first sends fail and it sends again, in the same run
// and after a restart (which no longer knows the record line of the move):
// the offer it sends names its opening move once.
TEST_F(ExchangeTest, AnOfferSentAgainNamesItsOpeningMoveOnce) {
  fixtures::FtpServer server;
  TEST_NEEDS(server.running(), fixtures::kFtpDown);
  C::gInternetGameID = "0000001012612062350";
  C::WriteOfferInfoFile(C::OfferedDir() + C::OfferInfoName(Stem()), {{}, C::gInternetGameID, "", "", "", "16777215", "", "", ""});
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

  const std::vector<std::string> lines = testsupport::Lines(testsupport::ReadFile(C::OfferedDir() + C::OfferInfoName(Stem())));
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[8], "1  White Pawn at E:2 to E:4");
}

// A game resumed from the load dialog offers the fetch only while the
// partner is to move, whichever colour this side plays.
TEST_F(ExchangeTest, ResumedGameOffersTheFetchOnlyWhileThePartnerIsToMove) {
  GameAfterFirstMove();  // half-move 1: Black to move
  fs::remove(Dir() + C::UnsentMoveName(Stem()));  // as after its send
  for (const int32_t colour : {G::kWhite, G::kBlack}) {
    SCOPED_TRACE(colour);
    G::gPlayerColor = colour;
    form->cmdDownloadMove->show();  // as the load dialog's OK leaves them
    form->cmdSuspend->show();
    form->LoadInternetPlay(LastGame());
    EXPECT_EQ(Shown(form->cmdDownloadMove) + Shown(form->cmdSuspend), colour == G::kWhite ? 2 : 0);
  }
}

// The partner's e4 e5 taken over, then g1-f3 to send. A send whose game file
// cannot be saved, that would drop or change a half-move the partner has, or
// that the program's end cuts short puts nothing the partner could take and
// keeps the move; the same or the next session sends it, replacing only that game.
TEST_F(ExchangeTest, ASendThatCannotBeMadeWholePutsNothingAndKeepsItsMove) {
  fixtures::FtpServer server;
  TEST_NEEDS(server.running(), fixtures::kFtpDown);
  server.useAsGameServer();
  // A name so long that no file can be written beside it under a longer name.
  const std::string longName = tree.path(std::string(250, 'g'));
  const auto onServer = [&] { return GameOnServer(server); };
  const auto takenAndMoved = [&] {
    NewGame("OnlinePP");
    ASSERT_TRUE(B::LoadCompleteGame(LastGame()));
    Move("g1", "f3");
  };
  enum Way { kUnsaved, kRefused, kEnded };
  const std::string refused =
      "Your move was not sent: this game no longer continues the game your chess partner already has,\r\n"
      "a half-move the partner has was taken back or changed.\r\n"
      "Please suspend the game and resume it with Load Game to go on from the last exchanged position.";
  const std::vector<std::string> said[] = {{"(this PC's disk)"}, {refused}, {}};  // what the send says, by way
  struct Row {
    const char* what;
    Way way;
    std::function<void()> game;  // from the exchanged game to one with a move to send
    // What the server holds when the next session sends the move again (none: what this side left there).
    std::vector<std::pair<const char*, const char*>> serverGame = {};
    std::vector<std::string> resent = {};  // what sending it again says
  };
  const Row rows[] = {
      {"the last exchanged game cannot be saved", kUnsaved, [&] {
         fs::rename(LastGame(), longName);
         fs::create_symlink(longName, LastGame());
         takenAndMoved();
       }},
      {"a half-move the partner has changed", kRefused,
       [&] { PlayedOn("d7", "d5"); }},
      {"a half-move the partner has dropped", kRefused, [&] { NewGame("OnlinePP"); Move("e2", "e4"); }},
      {"ended while the send uploads", kEnded, takenAndMoved},
      {"ended while the send uploads, answered", kEnded, takenAndMoved,
       {{"e2", "e4"}, {"e7", "e5"}, {"g1", "f3"}, {"b8", "c6"}}},
      {"ended while the send uploads, another game on the server", kEnded, takenAndMoved,
       {{"e2", "e4"}, {"e7", "e5"}, {"d2", "d4"}, {"e5", "d4"}}, {kConflict}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    OpenWindow(tree, "000123456");
    C::gInternetGameID = "0000001012612062350";
    fs::remove_all(Dir());
    PartnerAnswered(server);
    fs::create_directories(Dir());
    fs::copy_file(tree.path("partner/x.chi"), LastGame());
    const std::string partners = onServer(), exchanged = testsupport::ReadFile(LastGame());
    row.game();
    answers.Clear();
    if (row.way != kEnded) {
      form->cmdSendMove->click();
      EXPECT_TRUE(onServer() == partners);
    } else {  // ended from outside: the disk keeps the program's folder as it was once the upload began
      bool fired = false;
      const auto snapshot =
          DuringTransfer(server, [&] { return C::NotedUploadBegun(Dir() + C::UnsentMoveName(Stem())); },
                         [&] { fs::copy(Dir(), tree.path("kept"), fs::copy_options::recursive); }, fired);
      EveryWaitYields([&] { form->cmdSendMove->click(); });
      ASSERT_TRUE(fired);
      fs::remove_all(Dir());
      fs::rename(tree.path("kept"), Dir());
    }
    EXPECT_EQ(Messages(), row.way == kUnsaved ? std::vector{NotSaved(LastGame())} : said[row.way]);
    EXPECT_EQ(testsupport::ReadFile(LastGame()).substr(0, 3), row.way == kEnded ? "\"3\"" : "\"2\"");
    EXPECT_EQ(C::NotedUnsentMove(Dir() + C::UnsentMoveName(Stem())), row.way == kRefused ? -1 : 3);
    if (row.way == kRefused) {  // nothing of this game can be sent
      EXPECT_TRUE(testsupport::ReadFile(LastGame()) == exchanged);
      EXPECT_TRUE(form->cmdSendMove->isHidden() && !form->cmdSuspend->isHidden());
      continue;
    }
    if (row.way == kUnsaved) {  // nor can the game be left with its move not kept; whole again, it is sent
      answers.Clear();
      form->mnuSuspendGame->trigger();
      EXPECT_EQ(Messages(), std::vector<std::string>{"Your move could not be kept to be sent later.\r\n"
                                                     "The game is still open: please send the move with Send Move Now."});
      EXPECT_TRUE(G::gGameStopped == 0 && !form->cmdSendMove->isHidden());
      fs::rename(longName, LastGame());  // in place of the link
    } else {  // the next session resumes the game
      OpenWindow(tree, "000123456");
      C::gInternetGameID = "0000001012612062350";
      form->cmdDownloadMove->show();  // as the load dialog's OK leaves them
      form->cmdSuspend->show();
      form->cmdSendMove->hide();
      if (!row.serverGame.empty()) PartnerAnswered(server, row.serverGame);
      NewGame("OnlinePP");
      form->LoadInternetPlay(LastGame());
    }
    const std::string answer = onServer();
    ASSERT_TRUE(E::gMoveNumber == 3 && !form->cmdSendMove->isHidden()) << "the move is held, to be sent";
    answers.Clear();
    form->cmdSendMove->click();
    EXPECT_EQ(Messages(), row.resent);
    // The move is on the server once; a game there after it stays.
    const bool found = !row.serverGame.empty();
    EXPECT_TRUE(onServer() == (found ? answer : testsupport::ReadFile(Dir() + C::ExchangeArchiveName(Stem()))));
    EXPECT_EQ(testsupport::ReadFile(LastGame()).substr(0, 3), "\"3\"");
    EXPECT_EQ(fs::exists(Dir() + C::UnsentMoveName(Stem())), !row.resent.empty());
    EXPECT_TRUE(form->cmdSendMove->isHidden() == row.resent.empty() && !form->cmdDownloadMove->isHidden());
    form->cmdDownloadMove->click();
    EXPECT_EQ(E::gMoveNumber, found ? 4 : 3);
    EXPECT_EQ(At("f3"), found && !row.resent.empty() ? 0 : -E::kKnight);  // the game on the server, or this side's
  }
}

// With the last exchanged game damaged, the server's copy is all that says
// what the partner has: a game that changed a half-move of it is not put
// over it, and one that only adds to it is.
TEST_F(ExchangeTest, ADamagedLastExchangedGameLeavesItToTheServersCopy) {
  fixtures::FtpServer server;
  TEST_NEEDS(server.running(), fixtures::kFtpDown);
  server.useAsGameServer();
  C::gInternetGameID = "0000001012612062350";
  // This side's answer to e2-e4 (the server holds e7-e5), and what the send says.
  const std::tuple<const char*, const char*, std::vector<std::string>> rows[] = {
      {"d7", "d5", {kConflict}},  // a half-move of the server's game changed: not put over it
      {"e7", "e5", {}},           // only added to: put
  };
  for (const auto& [from, to, said] : rows) {
    SCOPED_TRACE(from);
    fs::remove_all(Dir());
    PartnerAnswered(server);
    const std::string partners = GameOnServer(server);
    testsupport::WriteFile(LastGame(), "\"2\"\r\nnot a game\r\n");
    PlayedOn(from, to);
    answers.Clear();
    form->cmdSendMove->click();
    EXPECT_EQ(Messages(), said);
    EXPECT_EQ(GameOnServer(server) == partners, !said.empty());
  }
}

// A send counts only when its archive is in the games folder, and it puts
// nothing when it cannot be made: with that folder gone, the put must not
// land in the folder the connection stayed in; an archive that cannot be
// packed on this PC (a folder holds its name) is this PC's problem, not the
// server's, and said so. Either way the move is kept.
TEST_F(ExchangeTest, SendWhoseFolderChangeFailsIsNotSentAndLandsNowhere) {
  fixtures::FtpServer server;
  TEST_NEEDS(server.running(), fixtures::kFtpDown);
  server.useAsGameServer();
  C::gInternetGameID = "0000001012612062350";
  const std::string archive = Dir() + C::ExchangeArchiveName(Stem());
  const std::tuple<const char*, std::function<void()>, std::string> rows[] = {
      {"the games folder gone", [&] { fs::remove_all(server.remotePath("games")); }, kNotSent},
      {"the archive cannot be packed", [&] { fs::create_directories(archive + "/in the way"); }, NotSaved(archive)},
  };
  for (const auto& [what, fault, said] : rows) {
    SCOPED_TRACE(what);
    fs::remove_all(Dir());
    EmptyExchangeFolders(server);
    GameAfterFirstMove();
    fault();
    answers.Clear();

    form->cmdSendMove->click();

    EXPECT_EQ(Messages(), std::vector<std::string>{said});
    EXPECT_TRUE(Shown(form->cmdSendMove) && !Shown(form->cmdDownloadMove));
    EXPECT_EQ(C::NotedUnsentMove(Dir() + C::UnsentMoveName(Stem())), 1);
    EXPECT_TRUE(FilesIn(server.remotePath("games")).empty());
    EXPECT_EQ(Stray(server), std::set<std::string>{});
  }
}

// One transfer at a time: one clicked while another waits for the server is
// refused with a message, the first finishes, and alone the click runs.
// Sharing a send's or fetch's connection, the connection test's CLOSE ended
// it and the help downloads switched the control to a web address: the move
// went to the account's top folder or nowhere. The refusal holds nothing up:
// a user who leaves it on screen still sees the first transfer finish (it
// went on only once the refusal was answered). A send pressed during the
// connection test waits for it and then goes out by itself.
TEST_F(ExchangeTest, ATransferClickedWhileAnotherRunsIsRefusedAndTheFirstFinishes) {
  fixtures::FtpServer server;
  fixtures::HttpServer web;
  TEST_NEEDS(server.running(), fixtures::kFtpDown);
  TEST_NEEDS(web.running(), fixtures::kHttpDown);
  server.useAsGameServer();
  web.put("help/ChessTrl.chm", "tutorial");
  web.put("help/ChessTrl.chi", "index");
  web.put("versions.txt", "\"nobody\",\"1.0.0\"\r\n");
  setenv(ZVK_Internet::kWebSiteVariable, ("127.0.0.1:" + std::to_string(web.port())).c_str(), 1);
  const std::string busy = ZVK_Internet::kTransferBusyText, ok = "The Internet connection is ok";
  const std::string tutorial = tree.path("Castellan/help/ChessTrl.chm");
  ZVK_Internet::gUrlVersions = web.url("versions.txt");
  const auto onServer = [&] { return GameOnServer(server); };
  std::string partners;  // the partner's archive on the server
  const std::function<void()> send = [&] { form->cmdSendMove->click(); }, fetch = [&] { form->cmdDownloadMove->click(); },
                              test = [&] { form->cmdTestInternetConnection_Click(); };
  const std::function<bool()> sent = [&] {
    return onServer() == testsupport::ReadFile(Dir() + C::ExchangeArchiveName(Stem())) && Shown(form->cmdDownloadMove) &&
           !Shown(form->cmdSendMove) && !fs::exists(Dir() + C::UnsentMoveName(Stem()));
  };
  const std::function<bool()> untouched = [&] {
    return onServer() == partners && FilesIn(server.remotePath("closed")).empty() && E::gMoveNumber == 1 &&
           G::gGameMode == "OnlinePP" && Shown(form->cmdSendMove);
  };
  // later is clicked while first runs; last is the message first ends with;
  // waits: later is not refused but runs once first is over.
  struct Row {
    const char* what;
    std::function<void()> first, later;
    const std::string& last;
    std::function<bool()> firstDone, ranAlone;
    bool waits = false;
  };
  const Row rows[] = {
      {"connection test during a send", send, test, busy, sent, [&] { return Messages().back() == ok; }},
      {"update check during a fetch", fetch, [&] { form->mnuUpdates_Click(); }, busy, [] { return E::gMoveNumber == 2; },
       [] { return fs::exists(ZVK_Internet::VersionsPath()); }},
      {"tutorial download during a send", send, [&] { form->mnuChessTutorial_Click(); }, busy, sent,
       [&] { return fs::exists(tutorial); }},
      {"send during the connection test", test, send, ok, untouched, sent, true},
      {"give up during the connection test", test, [&] { form->mnuGiveUp_Click(); }, ok, untouched,
       [&] { return fs::exists(server.remotePath("closed/" + C::ClosedArchiveName(Stem()))); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    for (const std::string& earlier : {Dir(), tutorial, ZVK_Internet::VersionsPath()}) fs::remove_all(earlier);
    PartnerAnswered(server);
    GameAfterFirstMove();
    partners = onServer();
    answers.Clear();
    answers.TakeTimeToAnswer(busy, 5000);
    ClickDuringTransfer(*form, row.later);
    // What is on screen once the refusal has come and the first transfer has done its work.
    std::vector<std::string> shownWhenDone;
    bool done = false;
    const auto refused = [&] { const auto said = Messages(); return std::count(said.begin(), said.end(), busy) > 0; };
    const auto watch = Meanwhile([&] { return refused() && row.firstDone(); }, [&] { shownWhenDone = answers.OnScreen(); }, done);

    row.first();

    const std::vector<std::string> said = Messages();
    EXPECT_EQ(std::count(said.begin(), said.end(), busy), row.waits ? 0 : 1);
    EXPECT_EQ(said.empty() ? "" : said.back(), row.last);
    EXPECT_TRUE(row.firstDone());
    EXPECT_EQ(Stray(server), std::set<std::string>{});
    EXPECT_EQ(shownWhenDone, row.waits ? std::vector<std::string>{} : std::vector<std::string>{busy});
    EXPECT_TRUE(!row.waits || form->StatusBar->panel(1)->text() == app::fMainForm::kWaitForTransfer);
    answers.Clear();
    if (!row.waits) row.later();
    EXPECT_TRUE(WaitUntil(row.ranAlone));  // a waiting send goes out by itself
  }
}

}  // namespace
}  // namespace apptest
