// Offering, joining and playing correspondence games through the new-game
// dialog, between separate installations and a real FTP server on loopback.

#include <QKeyEvent>

#include "app/frmGameMode.h"
#include "app/frmLoadGame.h"
#include "app/frmNewPiece.h"
#include "correspondence/UnsentMove.h"
#include "platform/DoEvents.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

using testsupport::Lines;

// One PC: its own program tree, settings roots and machine number.
struct Installation {
  explicit Installation(std::string machine) : machine(std::move(machine)) {}
  std::string Path(const std::string& relative) const { return tree.path("Castellan/" + relative); }

  testsupport::ProgramTree tree;
  std::string machine;
};

class OfferJoinTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    TEST_NEEDS(server.running(), fixtures::kFtpDown);
    server.useAsGameServer();
  }

  void Open(const Installation& pc, const char* nickname) {
    OpenWindow(pc.tree, pc.machine);
    form->txtUserNickName->setText(nickname);
  }

  // A correspondence offer with the given colour: the game of id and stem.
  void Offer(const Installation& pc, bool white) {
    Open(pc, "Alice");
    NewGameDialog([white](app::frmNewGame* d) {
      d->optMode[3]->click();
      d->optInternetResume[0]->click();
      d->optColor[white ? 0 : 1]->click();
      d->cmdOK->click();
    });
    id = C::gInternetGameID;
    stem = C::ExchangeStem(id);
  }

  // pc's game in a fresh window, resumed from its last exchange as Load Game does.
  void Resume(const Installation& pc, bool white) {
    Open(pc, "any");
    C::gInternetGameID = id;
    NewGame("OnlinePP", white ? G::kWhite : G::kBlack, white ? 1 : -1);
    form->LoadInternetPlay(C::InternetGameDir() + C::LastGameName(stem));
  }

  // A press of Send Move: the messages it showed.
  std::vector<std::string> Send() {
    answers.Clear();
    form->cmdSendMove->click();
    return Messages();
  }

  std::string GameOnServer() const {
    return testsupport::ReadFile(server.remotePath("games/" + C::ExchangeArchiveName(stem)));
  }

  // What the window offers: the move to send (Send Move, not Download Move), or the answer to fetch.
  enum Offered { kSend, kFetch };
  bool Offers(Offered what) const {
    return form->cmdSendMove->isHidden() == (what == kFetch) && form->cmdDownloadMove->isHidden() == (what == kSend);
  }

  // A later turn in a fresh window whose game comes only from that PC's last
  // exchange: fetch the partner's move, then move and send unless from is null.
  void Turn(const Installation& pc, bool white, const char* from, const char* to) {
    Open(pc, "any");
    C::gInternetGameID = id;
    NewGame("OnlinePP", white ? G::kWhite : G::kBlack, white ? 1 : -1);
    ASSERT_TRUE(B::LoadCompleteGame(C::InternetGameDir() + C::LastGameName(stem)));
    const int before = E::gMoveNumber;
    form->cmdDownloadMove->click();
    ASSERT_EQ(E::gMoveNumber, before + 1) << "the partner's move arrived";
    if (from != nullptr) MoveAndSend(from, to);
    EXPECT_TRUE(answers.Calls().empty()) << answers.Calls().front().text;
  }

  // a offers a game with White and opens it with from-to; b joins it through the list.
  void OfferedAndJoined(const Installation& a, const Installation& b, const char* from, const char* to) {
    Offer(a, true);
    MoveAndSend(from, to);
    Join(b);
  }

  // b joins the offer the list selects.
  void Join(const Installation& b) {
    Open(b, "Bob");
    NewGameDialog([](app::frmNewGame* d) {
      d->optMode[3]->click();
      d->cmdUpdateList->click();
      d->cmdOK->click();
    });
  }

  // The exchange folders on the server, empty.
  void EmptyServer() {
    for (const char* folder : {"offered", "joined", "games", "closed"}) {
      fs::remove_all(server.remotePath(folder));
      fs::create_directories(server.remotePath(folder));
    }
  }

  exchangetest::FastWaits waits;
  fixtures::FtpServer server;
  std::string id, stem;
};

// A offers, B joins through the list, C comes too late, A and B play on;
// for either colour of the offerer.
TEST_F(OfferJoinTest, OfferJoinALateThirdPlayerAndPlayOn) {
  for (const bool offererWhite : {true, false}) {
    SCOPED_TRACE(offererWhite);
    EmptyServer();
    Installation a("000000001"), b("000000002"), c("000000003");

    Offer(a, offererWhite);
    EXPECT_EQ(id.substr(0, 9), "000000001");
    EXPECT_TRUE(FilesIn(server.remotePath("offered")).empty());  // nothing uploaded before the first send
    // The first send takes the offer along (a Black offerer opens with both
    // colours' first moves).
    answers.Clear();
    MoveAndSend("e2", "e4");
    if (!offererWhite) MoveAndSend("e7", "e5");
    EXPECT_TRUE(answers.Calls().empty()) << answers.Calls().front().text;
    UserTakesTheMoveSliderBack(*form);  // nor on the offerer's side
    EXPECT_EQ(E::gMoveNumber, offererWhite ? 1 : 2);
    const std::string offerOnServer = server.remotePath("offered/" + stem + "n.zip");
    const auto offerTime = fs::last_write_time(offerOnServer);
    EXPECT_EQ(FilesIn(server.remotePath("games")), std::set<std::string>{stem + "g.zip"});

    Open(b, "Bob");
    NewGameDialog([&](app::frmNewGame* d) {
      d->optMode[3]->click();
      d->cmdUpdateList->click();
      ASSERT_EQ(d->cmbJoinNewGame->count(), 1);
      EXPECT_EQ(d->cmbJoinNewGame->currentText().toStdString(), stem);
      // The opening move is the record line of the first send.
      const char* opening = offererWhite ? "White Pawn at E:2 to E:4" : "Black Pawn at E:7 to E:5";
      EXPECT_NE(d->lblMove->text().toStdString().find(opening), std::string::npos) << d->lblMove->text().toStdString();
      EXPECT_TRUE(d->optColor[offererWhite ? 1 : 0]->isChecked());
      // Nothing can change the chosen offer while OK waits for the server.
      bool live = false;
      QTimer sample;
      QObject::connect(&sample, &QTimer::timeout, [&] {  // Cancel is off while OK runs
        live = live || (!d->cmdCancel->isEnabled() && (d->cmbJoinNewGame->isEnabled() || d->cmdUpdateList->isEnabled()));
      });
      sample.start(5);
      d->cmdOK->click();
      EXPECT_FALSE(live);
    });
    EXPECT_EQ(G::gGameStopped, 0);
    EXPECT_EQ(C::gInternetGameID, id);
    EXPECT_EQ(G::gPlayerColor, offererWhite ? G::kBlack : G::kWhite);
    EXPECT_EQ(FilesIn(server.remotePath("joined")), std::set<std::string>{stem + "j.zip"});
    const std::vector<std::string> join = Lines(testsupport::ReadFile(b.Path("InternetGame/joined/" + stem + "j.txt")));
    ASSERT_EQ(join.size(), 8u);
    EXPECT_EQ(join[1] + join[2] + join[5], "000000002Bob" + std::string(offererWhite ? "16777215" : "0"));
    EXPECT_EQ(Stored("cmbJoinNewGame"), stem);
    EXPECT_EQ(E::gMoveNumber, offererWhite ? 1 : 2);  // the offerer's game was fetched
    UserTakesTheMoveSliderBack(*form);  // it takes back none of the moves the partner has
    EXPECT_EQ(E::gMoveNumber, offererWhite ? 1 : 2);
    // The joined game is ready to play and send.
    MoveAndSend(offererWhite ? "e7" : "d2", offererWhite ? "e5" : "d4");
    EXPECT_TRUE(answers.Calls().empty()) << answers.Calls().front().text;

    // C listed the offer while it was open (its listing files are still on
    // disk) and presses OK now: the re-check finds it joined.
    testsupport::WriteFile(c.Path("InternetGame/temp/InternetGame_n.tmp"), stem + "n.zip\r\n");
    testsupport::WriteFile(c.Path("InternetGame/temp/InternetGame_j.tmp"), "");
    Open(c, "Carl");
    NewGameDialog([&](app::frmNewGame* d) {
      d->optMode[3]->click();  // the list from the listing files on disk
      ASSERT_EQ(d->cmbJoinNewGame->count(), 1);
      d->cmbJoinNewGame_Click();  // the user picks it
      d->cmdOK->click();
    });
    EXPECT_EQ(G::gGameStopped, G::kTrue);
    ASSERT_FALSE(answers.Calls().empty());
    EXPECT_EQ(answers.Calls().back().text, "The game has already been joined\r\nPlease select another one.");
    EXPECT_FALSE(fs::exists(c.Path("InternetGame/joined/" + stem + "j.txt")));
    NewGameDialog([&](app::frmNewGame* d) {  // the dialog kept for the next New Game is live again
      EXPECT_TRUE(d->optMode[0]->isEnabled() && d->cmdUpdateList->isEnabled() && d->cmbJoinNewGame->isEnabled());
    });

    // Two more turns each; A ends by fetching B's last move.
    Turn(a, offererWhite, offererWhite ? "g1" : "b8", offererWhite ? "f3" : "c6");
    Turn(b, !offererWhite, offererWhite ? "b8" : "g1", offererWhite ? "c6" : "f3");
    Turn(a, offererWhite, nullptr, nullptr);
    EXPECT_EQ(E::gMoveNumber, offererWhite ? 4 : 5);
    EXPECT_EQ(At(offererWhite ? "c6" : "f3"), offererWhite ? E::kKnight : -E::kKnight);
    EXPECT_EQ(G::gBoardSide, offererWhite ? 1 : -1);
    // The server: the offer as the first sends put it, never again; the latest game.
    EXPECT_EQ(FilesIn(server.remotePath("offered")), std::set<std::string>{stem + "n.zip"});
    EXPECT_EQ(fs::last_write_time(offerOnServer), offerTime);
    EXPECT_EQ(FilesIn(server.remotePath("games")), std::set<std::string>{stem + "g.zip"});
    // Each side keeps the move notes of its own sends and its local copy; a
    // fetched archive is taken over, one packed for a send stays.
    for (const Installation* pc : {&a, &b}) {
      std::set<std::string> expected = {C::LastGameName(stem), C::LocalCopyName(id)};
      if (pc == &b) expected.insert(C::ExchangeArchiveName(stem));
      const std::vector<int> sent = pc == &a ? (offererWhite ? std::vector{1, 3} : std::vector{1, 2, 4})
                                             : (offererWhite ? std::vector{2, 4} : std::vector{3, 5});
      for (const int n : sent) expected.insert(C::MoveNoteName(id, n));
      for (const int n : sent)
        EXPECT_EQ(Lines(testsupport::ReadFile(pc->Path("InternetGame/" + C::MoveNoteName(id, n)))).at(1), pc->machine);
      EXPECT_EQ(FilesIn(pc->Path("InternetGame")), expected) << pc->machine;
    }
  }
}

// After a correspondence game of the same run, a game that did not come from
// the server has no id: switched to correspondence play, its Send and
// Download say so and change nothing here or on the server. The
// correspondence game resumed afterwards still reaches the partner.
TEST_F(OfferJoinTest, AGameThatDidNotComeFromTheServerIsNeitherSentNorFetchedUnderAnothersId) {
  Installation a("000000001"), b("000000002");
  OfferedAndJoined(a, b, "e2", "e4");
  MoveAndSend("e7", "e5");

  Open(a, "Alice");
  NewGame("OfflinePP");
  fs::create_directories(a.Path("games"));
  ASSERT_TRUE(B::SaveCompleteGame(a.Path("games/zz_Standard.chs")));  // a local game at the start
  // The load dialog on the correspondence game (kind 0) or, after showing it,
  // on the local one (2); Training, which keeps Change Mode on, where it can be had.
  const auto load = [&](int kind) {
    app::frmLoadGame dialog(*form);
    dialog.optInternetAction[0]->setChecked(true);
    dialog.optInternetAction[kind]->setChecked(true);
    if (kind == 2) dialog.cmbGames->setCurrentIndex(dialog.cmbGames->findText("zz_Standard.chs"));
    dialog.optGameType[0]->click();
    dialog.cmdOK_Click();
  };
  const auto changeModeToInternet = [&] {
    WhenModal([](QWidget* modal) {
      auto* d = qobject_cast<app::frmNewMode*>(modal);
      d->optMode[3]->click();
      d->cmdOK->click();
    });
    form->mnuChangeMode->trigger();
    ASSERT_EQ(G::gGameMode, "OnlinePP");
  };
  load(0);
  form->cmdDownloadMove->click();
  ASSERT_EQ(E::gMoveNumber, 2);

  const auto notOnServer = [](const std::string& so) {
    return "This game is not a correspondence game on the game server,\r\n" + so +
           "\r\nPlease start a correspondence game with New Game or resume one with Load Game.";
  };
  const std::string notSent = notOnServer("so there is no game to send its move to.");
  const std::pair<const char*, std::function<void()>> others[] = {
      {"a local game loaded after the dialog showed the correspondence game", [&] { load(2); }},
      {"a new game against the engine", [&] {
         NewGameDialog([](app::frmNewGame* d) {
           d->optMode[1]->click();
           d->optColor[0]->click();
           d->optGameType[0]->click();
           d->cmdOK->click();
         }, true);
       }},
  };
  for (const auto& [game, start] : others) {
    SCOPED_TRACE(game);
    load(0);
    Move("g1", "f3");  // not sent yet
    form->mnuSuspendGame->trigger();
    EXPECT_TRUE(form->cmdSendMove->isHidden()) << "the closed game's Send";
    start();
    EXPECT_EQ(C::gInternetGameID, "");
    changeModeToInternet();
    Move("e2", "e4");
    const auto onServer = Snapshot(server.remotePath("")), here = Snapshot(a.Path("InternetGame"));
    answers.Clear();
    form->cmdSendMove->click();
    form->cmdDownloadMove_Click();
    {
      app::frmLoadGame preview(*form);  // shows the correspondence game, then is cancelled
      preview.optInternetAction[0]->setChecked(true);
      preview.cmdCancel_Click();
    }
    form->cmdSendMove->click();
    EXPECT_EQ(Messages(), (std::vector{notSent, notOnServer("so there is no move of a partner to download for it."), notSent}));
    EXPECT_EQ(Snapshot(server.remotePath("")), onServer);
    EXPECT_EQ(Snapshot(a.Path("InternetGame")), here);
  }

  // Resumed and switched to correspondence play once more, the
  // correspondence game keeps its id and the move it was left with, and
  // sends it; the partner takes the move over.
  load(0);
  changeModeToInternet();
  EXPECT_EQ(C::gInternetGameID, id);
  EXPECT_EQ(E::gMoveNumber, 3);
  form->cmdSendMove->click();
  Turn(b, false, nullptr, nullptr);
  EXPECT_EQ(At("f3"), -E::kKnight);  // White's knight
}

// A join file that cannot be written is logged; the game is set up all the
// same and the offerer's game fetched.
TEST_F(OfferJoinTest, AJoinThatCannotBeWrittenIsLoggedAndTheGameStillStarts) {
  Installation a("000000001"), b("000000002");
  Offer(a, true);
  MoveAndSend("e2", "e4");
  Open(b, "Bob");
  testsupport::WriteFile(b.Path("InternetGame/joined"), "a file where the folder belongs");
  NewGameDialog([](app::frmNewGame* d) {
    d->optMode[3]->click();
    d->cmdUpdateList->click();
    d->cmdOK->click();
  });
  EXPECT_EQ(G::gGameStopped, 0);
  EXPECT_EQ(G::gBoardSide, -1);
  EXPECT_EQ(E::gMoveNumber, 1);  // fetched
  EXPECT_TRUE(FilesIn(server.remotePath("joined")).empty());
  EXPECT_FALSE(form->lblError->isHidden());  // logged
  // Without its join file B is still not the offering side: its send leaves
  // A's offer on the server alone.
  const std::string offer = server.remotePath("offered/" + C::OfferArchiveName(C::ExchangeStem(C::gInternetGameID)));
  const std::string offerBytes = testsupport::ReadFile(offer);
  MoveAndSend("e7", "e5");
  EXPECT_EQ(testsupport::ReadFile(offer), offerBytes);
  EXPECT_TRUE(FilesIn(server.remotePath("games")).size() == 1 && answers.Calls().empty());
}

// Two offers listed, the first picked, OK; while the join uploads the user
// clicks through the dialog (another mode and back, Update List, the other
// offer, Cancel). The offer joined on the server is the game fetched.
TEST_F(OfferJoinTest, AJoinPlaysTheOfferItJoinedWhateverIsClickedMeanwhile) {
  Installation first("000000001"), second("000000002"), joiner("000000003");
  Offer(first, true);
  MoveAndSend("e2", "e4");
  Offer(second, true);
  MoveAndSend("d2", "d4");
  Open(joiner, "Joe");
  std::string chosen;
  bool fired = false;
  NewGameDialog([&](app::frmNewGame* d) {
    d->optMode[3]->click();
    d->cmdUpdateList->click();
    ASSERT_EQ(d->cmbJoinNewGame->count(), 2);
    chosen = d->cmbJoinNewGame->itemText(0).toStdString();  // the first offerer's
    Pick(d->cmbJoinNewGame, Qt::Key_Home);  // the list previews its last entry; the user picks the first
    const auto during = DuringTransfer(
        server,
        // the join archive is made just before its upload
        [&] { return fs::exists(joiner.Path("InternetGame/joined/" + C::JoinArchiveName(chosen))); },
        [&] {
          d->optMode[0]->click();
          d->optMode[3]->click();
          d->cmdUpdateList->click();
          Pick(d->cmbJoinNewGame, Qt::Key_End);
          d->cmdCancel->click();
        },
        fired);
    d->cmdOK->click();
  });
  ASSERT_TRUE(fired);
  EXPECT_TRUE(G::gGameStopped == 0 && G::gGameMode == "OnlinePP");
  EXPECT_EQ(FilesIn(server.remotePath("joined")), std::set<std::string>{C::JoinArchiveName(chosen)});
  EXPECT_EQ(C::gInternetGameID, C::GameIdOfStem(chosen));
  EXPECT_TRUE(At("e4") != 0 && At("d4") == 0) << "the chosen offerer's game was fetched";
}

// A mate turns New Game on while the mating move still waits to be sent. The
// new-game dialog, previewing an offer and cancelled, leaves the game its own
// id: the move goes out under it, and the offered game on the server stays.
TEST_F(OfferJoinTest, ANewGameCancelledAfterAMateLeavesTheMateToBeSentUnderItsOwnId) {
  Installation offerer("000000001"), mater("000000002");
  Offer(offerer, true);
  MoveAndSend("e2", "e4");
  const std::string offered = C::ExchangeArchiveName(C::ExchangeStem(C::gInternetGameID));
  const std::string offeredGame = testsupport::ReadFile(server.remotePath("games/" + offered));
  Open(mater, "Max");
  id = "0000000022612062350";
  C::gInternetGameID = id;
  SetPosition("OnlinePP", Position({{"g6", E::kKingNegative}, {"b1", -E::kRook}, {"h8", E::kKingPositive}}), false);
  Move("b1", "b8");
  ASSERT_EQ(Messages(), std::vector<std::string>{"Check Mate !"});
  ASSERT_TRUE(form->mnuNewGame->isEnabled() && !form->cmdSendMove->isHidden());
  NewGameDialog([](app::frmNewGame* d) {
    d->optMode[3]->click();
    d->cmdUpdateList->click();
    EXPECT_EQ(d->cmbJoinNewGame->count(), 1);  // previewed
    d->cmdCancel->click();
  }, true);

  form->cmdSendMove->click();

  EXPECT_EQ(C::gInternetGameID, id);
  EXPECT_EQ(FilesIn(server.remotePath("games")), (std::set<std::string>{offered, C::ExchangeArchiveName(C::ExchangeStem(id))}));
  EXPECT_TRUE(testsupport::ReadFile(server.remotePath("games/" + offered)) == offeredGame);
}

// A joiner's move left unsent by every way out of its game is resumed with it
// through Load Game in the next session and reaches the offerer once; a mate
// turns New Game and Load Game back on while the move waits to be sent.
TEST_F(OfferJoinTest, AMoveLeftUnsentIsResumedWithItAndReachesThePartnerOnce) {
  const auto loadDialog = [&](int kind) {
    WhenModal([kind](QWidget* modal) {
      if (auto* d = qobject_cast<app::frmLoadGame*>(modal)) { d->optInternetAction[kind]->setChecked(true); d->cmdOK_Click(); }
    });
    form->mnuLoadGameStart->trigger();
  };
  struct Row { const char* what; bool mate; std::function<void()> leave; };
  const Row rows[] = {
      {"Suspend Game", false, [&] { form->mnuSuspendGame->trigger(); }},
      {"Exit", false, [&] { answers.Push(platform::vbYes); form->mnuExit->trigger(); }},
      {"ended from outside", false, [&] { form.reset(); }},
      {"New Game after a mate", true,
       [&] { NewGameDialog([](app::frmNewGame* d) { d->optMode[0]->click(); d->cmdOK->click(); }, true); }},
      {"Load Game of a local game after a mate", true, [&] { loadDialog(2); }},
      {"window closed after a mate", true, [&] { answers.Push(platform::vbYes); form->close(); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EmptyServer();
    Installation a("000000001"), b("000000002");
    OfferedAndJoined(a, b, "f2", "f3");
    fs::create_directories(b.Path("games"));
    ASSERT_TRUE(B::SaveCompleteGame(b.Path("games/zz_Standard.chs")));  // a local game to load instead
    MoveAndSend("e7", "e5");
    Turn(a, true, "g2", "g4");
    Turn(b, false, nullptr, nullptr);
    form->SetGameStartCommandsEnabled(false);  // as the dialogs' OK leaves a running game
    const char* to = row.mate ? "h4" : "d6";
    Move(row.mate ? "d8" : "d7", to);
    ASSERT_TRUE(!form->cmdSendMove->isHidden() && form->mnuNewGame->isEnabled() == row.mate);

    row.leave();

    Open(b, "Bob");
    loadDialog(1);
    EXPECT_EQ(E::gMoveNumber, 4);
    ASSERT_TRUE(!form->cmdSendMove->isHidden() && form->cmdDownloadMove->isHidden());
    form->cmdSendMove->click();
    EXPECT_TRUE(form->cmdSendMove->isHidden() && !form->cmdDownloadMove->isHidden());
    Open(a, "any");  // a mate is announced on the offerer's side too
    NewGame("OnlinePP", G::kWhite, 1);
    ASSERT_TRUE(B::LoadCompleteGame(C::InternetGameDir() + C::LastGameName(stem)));
    form->cmdDownloadMove_Click();
    EXPECT_TRUE(E::gMoveNumber == 4 && At(to) == (row.mate ? E::kQueen : E::kPawn));
    answers.Clear();
    form->cmdDownloadMove_Click();  // nothing more
    EXPECT_EQ(Messages(), std::vector<std::string>{"No new move from your chess partner is currently available,\r\n"
                                                   "Please try again later"});
  }
}

// A list build that a click interrupts and overtakes stays abandoned: what
// the user did meanwhile stands, the list holds every offer once, and the
// preview, the game id and the list's entry belong together.
TEST_F(OfferJoinTest, AnInterruptedListBuildLeavesWhatCameAfterIt) {
  Installation pc("000000009");
  Open(pc, "Dora");
  const auto stemOf = [](int k) { return "00000000" + std::to_string(k) + "2612062359" + "0000"; };
  const std::string scratch = pc.Path("scratch/");
  fs::create_directories(server.remotePath("offered"));
  for (const int k : {1, 2}) {
    const std::string txt = scratch + C::OfferInfoName(stemOf(k)), zip = scratch + C::OfferArchiveName(stemOf(k));
    C::WriteOfferInfoFile(txt, {{}, C::GameIdOfStem(stemOf(k)), "offerer " + std::to_string(k), "", "", "0", "", "", ""});
    ASSERT_TRUE(C::PackSingleFile(txt, zip));
    fs::copy_file(zip, server.remotePath("offered/" + C::OfferArchiveName(stemOf(k))));
  }
  using Dialog = app::frmNewGame;
  const std::string joinListing = pc.Path("InternetGame/temp/InternetGame_j.tmp");
  const auto listingsCame = [&](Dialog* d) { return d->cmbJoinNewGame->count() == 0 && fs::exists(joinListing); };
  // Offers 1..previewed have their details on this PC from an earlier preview; act comes at the yield of the
  // Update List build where when holds; joining, else the user went on to offer a game, as Black.
  struct Case {
    const char* name;
    int previewed;
    std::function<bool(Dialog*)> when;
    std::function<void(Dialog*)> act;
    bool joining;
  };
  const Case cases[] = {
      // Each offer was listed twice.
      {"another mode and back after the listings came", 2, listingsCame,
       [](Dialog* d) { d->optMode[0]->click(); d->optMode[3]->click(); }, true},
      // The list showed offer 1, the id and the details were offer 2's.
      {"the first offer picked while the last one's details download", 1,
       [](Dialog* d) { return d->cmbJoinNewGame->count() == 2 && !d->Animation1->isHidden(); },
       [](Dialog* d) { Pick(d->cmbJoinNewGame, Qt::Key_Home); }, true},
      // The list was filled, the id set and the colour switched back.
      {"offering a game chosen while the listings download", 2, listingsCame,
       [](Dialog* d) { d->optInternetResume[0]->click(); d->optColor[1]->click(); }, false},
  };
  const std::vector<std::string> both = {stemOf(1), stemOf(2)};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(pc.Path("InternetGame/temp"));
    fs::create_directories(pc.Path("InternetGame/temp"));
    for (int k = 1; k <= c.previewed; ++k)
      for (const std::string& name : {C::OfferInfoName(stemOf(k)), C::OfferArchiveName(stemOf(k))})
        fs::copy_file(scratch + name, pc.Path("InternetGame/temp/" + name));
    C::gInternetGameID.clear();
    Dialog dialog(form.get());
    dialog.optMode[3]->click();
    bool fired = false, updateListLive = true;
    // The listings have come before the build's last held step: the build's own events tell when.
    AfterTransferState(*form, [&](int16_t) { return c.when(&dialog); }, [&] {
      c.act(&dialog);
      updateListLive = dialog.cmdUpdateList->isEnabled();  // no second build may start meanwhile
    }, &fired);
    dialog.cmdUpdateList->click();
    ASSERT_TRUE(fired);
    // A list asked for meanwhile is built once the build's transfer is over.
    WaitUntil([&] { return Items(dialog.cmbJoinNewGame) == (c.joining ? both : std::vector<std::string>{}); }, 3000);
    EXPECT_TRUE(!updateListLive && dialog.cmdUpdateList->isEnabled()) << updateListLive;
    EXPECT_EQ(Items(dialog.cmbJoinNewGame), c.joining ? both : std::vector<std::string>{});
    const std::string shown = dialog.cmbJoinNewGame->currentText().toStdString();
    EXPECT_EQ(C::gInternetGameID, c.joining ? C::GameIdOfStem(shown) : "");
    if (c.joining) EXPECT_EQ(dialog.lblName->text().toStdString(), "offerer " + shown.substr(8, 1));
    else EXPECT_TRUE(dialog.optColor[1]->isChecked());
  }
}

// The offer list built from listing files and previewed from the server.
TEST_F(OfferJoinTest, OfferListCases) {
  Installation pc("000000009");
  Open(pc, "Dora");
  fs::create_directories(server.remotePath("offered"));
  auto stemOf = [](int k) { return "00000000" + std::to_string(k) + "2612062359" + "0000"; };
  // Offers 1, 2 and 3 have archives on the server; offer 4 a damaged one,
  // 7 one too large; offer 5's colour line is no number.
  for (const int k : {1, 2, 3, 5}) {
    const std::string stem = stemOf(k);
    const std::string txt = pc.Path("scratch/" + C::OfferInfoName(stem));
    C::WriteOfferInfoFile(txt, {{}, C::GameIdOfStem(stem), "offerer " + std::to_string(k), "Peru", "",
                                k == 5 ? "White" : "0", "male", "40", ""});
    C::AppendOfferOpeningMove(txt, "1. e2-e4");
    ASSERT_TRUE(C::PackSingleFile(txt, server.remotePath("offered/" + C::OfferArchiveName(stem))));
  }
  testsupport::WriteFile(server.remotePath("offered/" + C::OfferArchiveName(stemOf(4))), "not an archive");
  // Offer 7's "archive" is larger than any offer's.
  testsupport::WriteFile(server.remotePath("offered/" + C::OfferArchiveName(stemOf(7))), "");
  fs::resize_file(server.remotePath("offered/" + C::OfferArchiveName(stemOf(7))), 2u << 20);
  // The preview as shown: name, second player, country, joiner's colour, gender, age, move.
  auto preview = [](const app::frmNewGame& d) {
    std::string shown;
    for (const QString& text : {d.lblName->text(), d.txtNamePlayer2->text(), d.lblCountry->text(),
                                d.lblPlayer1Color->text(), d.lblGender->text(), d.lblAge->text(), d.lblMove->text()})
      shown += text.toStdString() + "|";
    return shown;
  };
  const std::string none = "|||||||";
  const std::string whole3 = "offerer 3|offerer 3|Peru|White|male|40|1. e2-e4|";
  // An offer whose colour line is no number shows the lines read before it, and its id.
  const std::string upToColour5 = "offerer 5|offerer 5|Peru|||||";
  struct Case {
    const char* name;
    std::string offers, joins;  // listings of "offered" and "joined"
    std::vector<std::string> listed, messages;
    bool logged = false;  // the last preview wrote an error-log entry
    std::string shown;    // the last one's preview; its id is set when it shows a name
  };
  const std::string noInfo = "No information available in the moment\r\nPlease try again later.";
  const Case cases[] = {
      {"joined offers hidden, the rest listed, the last selected and previewed",
       stemOf(1) + "n.zip\r\n" + stemOf(2) + "n.zip\r\n" + stemOf(3) + "n.zip\r\n", stemOf(2) + "j.zip\r\n",
       {stemOf(1), stemOf(3)}, {}, false, whole3},
      // Nothing of the sound offer's details stays beside the faulty one's first lines.
      {"an offer whose colour is no number after one previewed whole", stemOf(5) + "n.zip\r\n", "", {stemOf(5)}, {},
       true, upToColour5},
      {"an offer that cannot be previewed after one that can", stemOf(3) + "n.zip\r\n" + stemOf(4) + "n.zip\r\n", "",
       {stemOf(3), stemOf(4)}, {noInfo}, false, none},
      {"an archive larger than any offer's is stopped", stemOf(7) + "n.zip\r\n", "", {stemOf(7)}, {noInfo}, false, none},
      {"every offer joined: no message without a download", stemOf(1) + "n.zip\r\n", stemOf(1) + "j.zip\r\n", {}, {}, false, ""},
      {"an offer whose colour is no number: logged, no message", stemOf(3) + "n.zip\r\n" + stemOf(5) + "n.zip\r\n",
       "", {stemOf(3), stemOf(5)}, {}, true, upToColour5},
  };
  app::frmNewGame dialog(form.get());
  dialog.optMode[3]->click();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::WriteFile(pc.Path("InternetGame/temp/InternetGame_n.tmp"), c.offers);
    testsupport::WriteFile(pc.Path("InternetGame/temp/InternetGame_j.tmp"), c.joins);
    answers.Clear();
    const size_t logged = testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()).size();
    dialog.UpdateGameList(false);
    EXPECT_EQ(Items(dialog.cmbJoinNewGame), c.listed);
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()).find("cmbJoinNewGame_Click", logged) != std::string::npos,
              c.logged);
    // The last one listed is selected and previewed; only a preview that
    // came to its end can be joined.
    EXPECT_EQ(dialog.cmdOK->isEnabled(), !c.listed.empty() && c.messages.empty() && !c.logged);
    if (!c.listed.empty()) {
      EXPECT_EQ(preview(dialog), c.shown);
      EXPECT_EQ(dialog.lblDate->text().isEmpty(), c.shown == none);
      EXPECT_EQ(C::gInternetGameID, c.shown == none ? "" : C::GameIdOfStem(c.listed.back()));
    }
  }
  // A rebuild from a handler that runs while a long listing is read fills
  // the list alone: every offer once, one preview.
  std::string many;
  for (int k = 1000; k < 3000; ++k)
    many += stemOf(0).substr(0, 5) + std::to_string(k) + stemOf(0).substr(9) + "n.zip\r\n";
  testsupport::WriteFile(pc.Path("InternetGame/temp/InternetGame_n.tmp"), many);
  answers.Clear();
  platform::SetYieldIntervalMs(0);
  QTimer::singleShot(0, &dialog, [&] { dialog.UpdateGameList(false); });
  dialog.UpdateGameList(false);
  platform::SetYieldIntervalMs(4);
  EXPECT_EQ(dialog.cmbJoinNewGame->count(), 2000);
  EXPECT_EQ(Messages(), std::vector<std::string>{noInfo});
  // Only the offer left selected was fetched.
  EXPECT_TRUE(fs::exists(pc.Path("InternetGame/temp/" + stemOf(3) + "n.txt")));
  EXPECT_FALSE(fs::exists(pc.Path("InternetGame/temp/" + stemOf(1) + "n.zip")));
  EXPECT_FALSE(fs::exists(pc.Path("InternetGame/temp/" + stemOf(7) + "n.zip")));  // nothing of it left
  // OK on that offer anyway: the re-check previews it again and joins nothing.
  dialog.cmdUpdateList_Click();
  dialog.cmbJoinNewGame->setCurrentIndex(dialog.cmbJoinNewGame->findText(QString::fromStdString(stemOf(4))));
  dialog.cmbJoinNewGame_Click();
  dialog.cmdOK_Click();
  EXPECT_EQ(G::gGameStopped, G::kTrue);
  EXPECT_TRUE(FilesIn(server.remotePath("joined")).empty());
  // The offer whose colour is no number shows its id, but neither its OK nor
  // an OK given all the same joins it.
  Pick(dialog.cmbJoinNewGame, stemOf(5));
  EXPECT_EQ(C::gInternetGameID, C::GameIdOfStem(stemOf(5)));
  EXPECT_FALSE(dialog.cmdOK->isEnabled());
  dialog.cmdOK->click();
  dialog.cmdOK_Click();
  EXPECT_EQ(G::gGameStopped, G::kTrue);
  EXPECT_TRUE(FilesIn(server.remotePath("joined")).empty());

  // Through New Game, twice in the run: with that offer picked the dialog is
  // cancelled; opened again, a sound offer picked is joined.
  C::gInternetGameID.clear();
  NewGameDialog([&](app::frmNewGame* d) {
    d->optMode[3]->click();
    d->cmdUpdateList->click();
    Pick(d->cmbJoinNewGame, stemOf(5));
    EXPECT_EQ(preview(*d), upToColour5);
    EXPECT_FALSE(d->cmdOK->isEnabled());
    d->cmdOK->click();
    d->cmdCancel->click();
  });
  EXPECT_EQ(G::gGameStopped, G::kTrue);
  EXPECT_EQ(C::gInternetGameID, "") << "the game on the board keeps its own id";
  NewGameDialog([&](app::frmNewGame* d) {
    d->optMode[3]->click();
    Pick(d->cmbJoinNewGame, stemOf(3));
    EXPECT_EQ(preview(*d), whole3);
    d->cmdOK->click();
  });
  EXPECT_EQ(G::gGameStopped, 0);
  EXPECT_EQ(FilesIn(server.remotePath("joined")), std::set<std::string>{C::JoinArchiveName(stemOf(3))});
  EXPECT_EQ(C::gInternetGameID, C::GameIdOfStem(stemOf(3)));
  EXPECT_EQ(G::gBoardSide, 1);  // offerer 3 plays Black
}

// The offerer's first send puts its game but not its offer (the offer's
// name is taken on the server by a folder). Sent again, the game is found on
// the server and the offer goes with it: the partner lists it, joins and
// plays; for either colour of the offerer.
TEST_F(OfferJoinTest, AnOfferWhoseUploadFailedGoesWithTheSendPressedAgain) {
  for (const bool offererWhite : {true, false}) {
    SCOPED_TRACE(offererWhite);
    EmptyServer();
    Installation a("000000001"), b("000000002");
    Offer(a, offererWhite);
    const std::string offerOnServer = server.remotePath("offered/" + C::OfferArchiveName(stem));
    fs::create_directories(offerOnServer);
    if (!offererWhite) MoveAndSend("e2", "e4");
    Move(offererWhite ? "e2" : "e7", offererWhite ? "e4" : "e5");
    EXPECT_EQ(Send(), std::vector<std::string>{kNotSent});
    EXPECT_NE(GameOnServer(), "");
    ASSERT_TRUE(Offers(kSend));

    fs::remove(offerOnServer);
    EXPECT_EQ(Send(), std::vector<std::string>{});
    EXPECT_TRUE(fs::is_regular_file(offerOnServer) && Offers(kFetch));

    Join(b);
    ASSERT_EQ(C::gInternetGameID, id);
    EXPECT_EQ(E::gMoveNumber, offererWhite ? 1 : 2);
    MoveAndSend(offererWhite ? "d7" : "d2", offererWhite ? "d5" : "d4");
    Turn(a, offererWhite, offererWhite ? "g1" : "g8", offererWhite ? "f3" : "f6");
    Turn(b, !offererWhite, nullptr, nullptr);
    EXPECT_EQ(E::gMoveNumber, offererWhite ? 3 : 4);
  }
}

// B's move landed on the server but B's program ended in the wait, so B
// never learnt it; A took it over and answered. B's next send must look at
// the server first; when that look fails for a fault that is gone by the
// put, nothing is put over A's answer: the move stays to be sent, and the
// next send finds it on the server and B takes A's answer over.
TEST_F(OfferJoinTest, ASendWhoseLookAtTheServerFailsPutsNothingOverTheAnswer) {
  const std::string games = server.remotePath("games"), away = server.remotePath("games.away");
  // The fault during the look, repaired at its first failed command.
  struct Row {
    const char* what;
    std::function<void()> fault, repair;
  };
  const Row rows[] = {
      {"the server unreachable", [] { NoServer(); }, [&] { server.useAsGameServer(); }},
      {"the games folder cannot be entered", [&] { fs::rename(games, away); }, [&] { fs::rename(away, games); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EmptyServer();
    Installation a("000000001"), b("000000002");
    OfferedAndJoined(a, b, "e2", "e4");
    MoveAndSend("e7", "e5");
    // The note as the upload left it when the program ended in its wait.
    C::NoteUploadBegun(C::InternetGameDir() + C::UnsentMoveName(stem), 2);
    Turn(a, true, "g1", "f3");
    const std::string answer = GameOnServer();

    Resume(b, false);
    ASSERT_TRUE(E::gMoveNumber == 2 && Offers(kSend));
    row.fault();
    form->Inet1->OnStateChanged([&, repaired = false](int16_t state) mutable {
      form->Inet1_StateChanged(state);
      if (state != platform::icError || repaired) return;
      repaired = true;
      row.repair();
    });
    EXPECT_EQ(Send(), std::vector<std::string>{kNotSent});
    EXPECT_TRUE(GameOnServer() == answer && Offers(kSend)) << "A's answer stays";

    EXPECT_EQ(Send(), std::vector<std::string>{});
    EXPECT_TRUE(GameOnServer() == answer && Offers(kFetch));
    form->cmdDownloadMove->click();
    EXPECT_TRUE(E::gMoveNumber == 3 && At("f3") == -E::kKnight);
  }
}

// A's last exchanged game is damaged from outside after A took B's move over
// (the same game in a second session of A's program). It blocks nothing: the
// move is kept and sent, and B receives it. The server's copy stands in for
// the damaged file: one holding a move already sent is not put over.
TEST_F(OfferJoinTest, ADamagedLastExchangedGameIsWrittenAnewAndTheMoveSent) {
  const auto damage = [&] {
    testsupport::WriteFile(C::InternetGameDir() + C::LastGameName(stem), "\"2\"\r\nnot a game\r\n");
  };
  // The damage comes before or after A's move; then the move is sent, or the
  // game is left and resumed by Load Game in a fresh window and sent from there.
  struct Row {
    const char* what;
    bool damagedBeforeMove;
    std::function<void()> leave;  // none: sent at once
    size_t closed = 0;            // games told closed on the server
  };
  const Row rows[] = {
      {"damaged before the move", true, {}},
      {"damaged after the move", false, {}},
      {"damaged, then Suspend", false, [&] { form->mnuSuspendGame->trigger(); }},
      {"damaged, then Give Up", false, [&] { answers.Push(platform::vbYes); form->mnuGiveUp->trigger(); }, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EmptyServer();
    Installation a("000000001"), b("000000002");
    OfferedAndJoined(a, b, "e2", "e4");
    MoveAndSend("e7", "e5");
    Turn(a, true, nullptr, nullptr);
    if (row.damagedBeforeMove) damage();
    Move("g1", "f3");
    if (!row.damagedBeforeMove) damage();
    if (row.leave) {
      row.leave();
      EXPECT_EQ(G::gGameStopped, G::kTrue) << "the game is closed";
      EXPECT_EQ(FilesIn(server.remotePath("closed")).size(), row.closed);
      Resume(a, true);
      ASSERT_TRUE(E::gMoveNumber == 3 && Offers(kSend)) << "the move was kept";
    }
    EXPECT_EQ(Send(), std::vector<std::string>{});
    EXPECT_TRUE(Offers(kFetch));
    // B takes the move over and answers. A's file, damaged once more, holds
    // no record of the send, which is pressed again: the server's copy holds
    // the move and B's answer, and nothing goes over them.
    Turn(b, false, "b8", "c6");
    const std::string answer = GameOnServer();
    Resume(a, true);
    damage();
    form->cmdSendMove->show();
    EXPECT_EQ(Send(), std::vector<std::string>{});
    EXPECT_TRUE(GameOnServer() == answer && Offers(kFetch));
    form->cmdDownloadMove->click();
    EXPECT_TRUE(E::gMoveNumber == 4 && At("c6") == E::kKnight);
  }
}

// A promotion sent to the partner arrives as the piece chosen, at the
// half-move of the promotion: the partner never gets a pawn on the last row.
TEST_F(OfferJoinTest, APromotionReachesThePartnerAsTheChosenPiece) {
  Installation a("000000001"), b("000000002");
  // White's e-pawn takes its way to b7 and promotes on a8.
  OfferedAndJoined(a, b, "e2", "e4");
  MoveAndSend("d7", "d5");
  const char* turns[][2] = {{"e4", "d5"}, {"c7", "c6"}, {"d5", "c6"}, {"g8", "f6"}, {"c6", "b7"}, {"b8", "d7"}};
  for (int i = 0; i < 6; ++i) Turn(i % 2 == 0 ? a : b, i % 2 == 0, turns[i][0], turns[i][1]);
  Turn(a, true, nullptr, nullptr);
  WhenModal([](QWidget* modal) {  // a knight
    if (auto* d = qobject_cast<app::frmNewPiece*>(modal)) { d->optPiece[2]->click(); d->cmdOK->click(); }
  });
  MoveAndSend("b7", "a8");
  Turn(b, false, nullptr, nullptr);  // the half-move of the promotion arrives
  EXPECT_EQ(At("a8"), -E::kKnight);
  EXPECT_EQ(E::gGameLog.at(9)(1, 8), -E::kKnight);
}

}  // namespace
}  // namespace apptest
