// Offering, joining and playing correspondence games through the new-game
// dialog, between separate installations and a real FTP server on loopback.

#include <QKeyEvent>
#include <map>
#include <tuple>

#include "app/frmGameMode.h"
#include "app/frmLoadGame.h"
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

  // A correspondence offer with the given colour.
  void Offer(const Installation& pc, bool white) {
    Open(pc, "Alice");
    NewGameDialog([white](app::frmNewGame* d) {
      d->optMode[3]->click();
      d->optInternetResume[0]->click();
      d->optColor[white ? 0 : 1]->click();
      d->cmdOK->click();
    });
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

  // A user's pick in the offer list from the keyboard (Home: the first
  // entry, End: the last); a list that is switched off ignores it.
  static void Pick(QComboBox* list, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(list, &press);
  }

  // Runs `act` once, from the first yield at which `when` holds, while the
  // returned timer lives.
  static std::unique_ptr<QTimer> Meanwhile(std::function<bool()> when, std::function<void()> act, bool& fired) {
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

  exchangetest::FastWaits waits;
  fixtures::FtpServer server;
  std::string id, stem;
};

// A offers, B joins through the list, C comes too late, A and B play on;
// for either colour of the offerer.
TEST_F(OfferJoinTest, OfferJoinALateThirdPlayerAndPlayOn) {
  for (const bool offererWhite : {true, false}) {
    SCOPED_TRACE(offererWhite);
    for (const char* folder : {"offered", "joined", "games"}) {
      fs::remove_all(server.remotePath(folder));
      fs::create_directories(server.remotePath(folder));
    }
    Installation a("000000001"), b("000000002"), c("000000003");

    Offer(a, offererWhite);
    id = C::gInternetGameID;
    EXPECT_EQ(id.substr(0, 9), "000000001");
    stem = C::ExchangeStem(id);
    EXPECT_TRUE(FilesIn(server.remotePath("offered")).empty());  // nothing uploaded before the first send
    // The first send takes the offer along (a Black offerer opens with both
    // colours' first moves).
    answers.Clear();
    MoveAndSend("e2", "e4");
    if (!offererWhite) MoveAndSend("e7", "e5");
    EXPECT_TRUE(answers.Calls().empty()) << answers.Calls().front().text;
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
    // The dialog kept for the next New Game is live again.
    NewGameDialog([&](app::frmNewGame* d) {
      for (QWidget* control : std::initializer_list<QWidget*>{d->optMode[0], d->cmdUpdateList, d->cmbJoinNewGame, d->cmdCancel})
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
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

// Every file below a folder (relative path) with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir))
    if (entry.is_regular_file())
      files[fs::relative(entry.path(), dir).string()] = testsupport::ReadFile(entry.path().string());
  return files;
}

// The files that were changed, added or removed since the snapshot.
std::set<std::string> ChangedSince(const std::map<std::string, std::string>& before, const std::string& dir) {
  const auto now = Snapshot(dir);
  std::set<std::string> changed;
  for (const auto& [name, bytes] : now)
    if (auto it = before.find(name); it == before.end() || it->second != bytes) changed.insert(name);
  for (const auto& entry : before)
    if (!now.contains(entry.first)) changed.insert(entry.first);
  return changed;
}

// After a correspondence game in the same run, a game that did not come from
// the server has no id of its own: switched to correspondence play, its Send
// and Download say so and change nothing here or on the server. The
// correspondence game resumed afterwards still reaches the partner.
TEST_F(OfferJoinTest, AGameThatDidNotComeFromTheServerIsNeitherSentNorFetchedUnderAnothersId) {
  Installation a("000000001"), b("000000002");
  Offer(a, true);
  id = C::gInternetGameID;
  stem = C::ExchangeStem(id);
  MoveAndSend("e2", "e4");
  Open(b, "Bob");
  NewGameDialog([](app::frmNewGame* d) {
    d->optMode[3]->click();
    d->cmdUpdateList->click();
    d->cmdOK->click();
  });
  MoveAndSend("e7", "e5");

  Open(a, "Alice");
  NewGame("OfflinePP");
  fs::create_directories(a.Path("games"));
  ASSERT_TRUE(B::SaveCompleteGame(a.Path("games/zz_Standard.chs")));  // a local game at the start
  // Resumes the correspondence game through the load dialog, Training tried.
  auto resume = [&] {
    app::frmLoadGame dialog(*form);
    dialog.optInternetAction[0]->setChecked(true);
    dialog.optGameType[0]->setChecked(true);
    dialog.cmdOK_Click();
    ASSERT_EQ(C::gInternetGameID, id);
  };
  resume();
  form->cmdDownloadMove->click();
  ASSERT_EQ(E::gMoveNumber, 2);
  auto changeModeToInternet = [&](bool fromMenu) {
    WhenModal([](QWidget* modal) {
      auto* d = qobject_cast<app::frmNewMode*>(modal);
      ASSERT_NE(d, nullptr);
      d->optMode[3]->click();
      d->cmdOK->click();
    });
    fromMenu ? form->mnuChangeMode->trigger() : form->mnuChangeMode_Click();
    ASSERT_EQ(G::gGameMode, "OnlinePP");
  };

  const std::string notSent =
      "This game is not a correspondence game on the game server,\r\nso there is no game to send its move to.\r\n"
      "Please start a correspondence game with New Game or resume one with Load Game.";
  const std::string notFetched =
      "This game is not a correspondence game on the game server,\r\nso there is no move of a partner to download "
      "for it.\r\nPlease start a correspondence game with New Game or resume one with Load Game.";
  struct Case {
    const char* game;
    std::function<void()> start;
  };
  const Case cases[] = {
      {"a local game loaded after the dialog showed the correspondence game",
       [&] {
         app::frmLoadGame dialog(*form);
         dialog.optInternetAction[0]->setChecked(true);
         dialog.optInternetAction[2]->setChecked(true);
         dialog.cmbGames->setCurrentIndex(dialog.cmbGames->findText("zz_Standard.chs"));
         dialog.optGameType[0]->click();
         dialog.cmdOK_Click();
       }},
      {"a new game against the engine", [&] { NewGameDialog([](app::frmNewGame* d) {
         d->optMode[1]->click();
         d->optColor[0]->click();
         d->optGameType[0]->click();
         d->cmdOK->click();
       }, true); }},
      {"a new game of two players", [&] { NewGameDialog([](app::frmNewGame* d) {
         d->optMode[0]->click();
         d->optGameType[0]->click();
         d->cmdOK->click();
       }, true); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.game);
    // The correspondence game with a move not sent yet, suspended.
    resume();
    Move("g1", "f3");
    ASSERT_FALSE(form->cmdSendMove->isHidden());
    form->mnuSuspendGame->trigger();
    EXPECT_TRUE(form->cmdSendMove->isHidden()) << "the closed game's Send";

    c.start();
    EXPECT_EQ(C::gInternetGameID, "");
    EXPECT_TRUE(form->cmdSendMove->isHidden() && form->cmdDownloadMove->isHidden());
    changeModeToInternet(true);
    Move("e2", "e4");
    ASSERT_FALSE(form->cmdSendMove->isHidden());
    const auto onServer = Snapshot(server.remotePath(""));
    const auto here = Snapshot(a.Path("InternetGame"));
    answers.Clear();
    form->cmdSendMove->click();
    form->cmdDownloadMove_Click();
    // A preview in a load dialog that is then cancelled leaves the game without an id too.
    {
      app::frmLoadGame dialog(*form);
      dialog.optInternetAction[0]->setChecked(true);
      dialog.cmdCancel_Click();
    }
    form->cmdSendMove->click();
    EXPECT_EQ(Messages(), (std::vector<std::string>{notSent, notFetched, notSent}));
    EXPECT_EQ(ChangedSince(onServer, server.remotePath("")), std::set<std::string>{});
    EXPECT_EQ(ChangedSince(here, a.Path("InternetGame")), std::set<std::string>{});
    EXPECT_EQ(E::gMoveNumber, 1);
  }

  // The correspondence game, resumed and switched to correspondence play
  // once more, keeps its id and sends; the partner takes the move over.
  resume();
  changeModeToInternet(false);
  EXPECT_EQ(C::gInternetGameID, id);
  answers.Clear();
  MoveAndSend("g1", "f3");
  EXPECT_TRUE(answers.Calls().empty()) << answers.Calls().front().text;
  Turn(b, false, nullptr, nullptr);
  EXPECT_EQ(E::gMoveNumber, 3);
  EXPECT_NE(At("f3"), 0);
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
// offer, Cancel). The offer joined on the server is the game fetched and played.
TEST_F(OfferJoinTest, AJoinPlaysTheOfferItJoinedWhateverIsClickedMeanwhile) {
  Installation first("000000001"), second("000000002"), joiner("000000003");
  std::map<std::string, const char*> openingOf;  // game id -> square of the offerer's first move
  for (const auto& [pc, from, to] : {std::tuple{&first, "e2", "e4"}, std::tuple{&second, "d2", "d4"}}) {
    Offer(*pc, true);
    MoveAndSend(from, to);
    openingOf[C::gInternetGameID] = to;
  }
  Open(joiner, "Joe");
  std::string chosen, other;
  bool fired = false;
  NewGameDialog([&](app::frmNewGame* d) {
    d->optMode[3]->click();
    d->cmdUpdateList->click();
    ASSERT_EQ(d->cmbJoinNewGame->count(), 2);
    // The list previews its last entry; the user picks the first.
    chosen = d->cmbJoinNewGame->itemText(0).toStdString();
    other = d->cmbJoinNewGame->itemText(1).toStdString();
    Pick(d->cmbJoinNewGame, Qt::Key_Home);
    ASSERT_EQ(C::gInternetGameID, C::GameIdOfStem(chosen));
    const auto during = Meanwhile(
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
  EXPECT_EQ(G::gGameStopped, 0);
  EXPECT_EQ(G::gGameMode, "OnlinePP");
  EXPECT_TRUE(form->lblWhitesClock->isHidden());  // the main window keeps the correspondence layout
  EXPECT_EQ(FilesIn(server.remotePath("joined")), std::set<std::string>{C::JoinArchiveName(chosen)});
  EXPECT_EQ(C::gInternetGameID, C::GameIdOfStem(chosen));
  EXPECT_EQ(std::abs(At(openingOf[C::GameIdOfStem(chosen)])), E::kPawn);  // the chosen offerer's game was fetched
  EXPECT_EQ(At(openingOf[C::GameIdOfStem(other)]), 0);
  // The reply goes into the chosen game only.
  const std::string chosenGame = server.remotePath("games/" + C::ExchangeArchiveName(chosen));
  const std::string otherGame = server.remotePath("games/" + C::ExchangeArchiveName(other));
  const std::string chosenBefore = testsupport::ReadFile(chosenGame), otherBefore = testsupport::ReadFile(otherGame);
  answers.Clear();
  MoveAndSend("e7", "e5");
  EXPECT_TRUE(answers.Calls().empty()) << answers.Calls().front().text;
  EXPECT_TRUE(testsupport::ReadFile(chosenGame) != chosenBefore);
  EXPECT_TRUE(testsupport::ReadFile(otherGame) == otherBefore);
}

// A list build that a click interrupts and overtakes stays abandoned: what
// the user did meanwhile stands, the list holds every offer once, and the
// preview, the game id and the list's entry belong together.
TEST_F(OfferJoinTest, AnInterruptedListBuildLeavesWhatCameAfterIt) {
  Installation pc("000000009");
  Open(pc, "Dora");
  auto stemOf = [](int k) { return "00000000" + std::to_string(k) + "2612062359" + "0000"; };
  const std::string scratch = pc.Path("scratch/");
  fs::create_directories(server.remotePath("offered"));
  for (const int k : {1, 2}) {
    const std::string stem = stemOf(k);
    C::OfferInfo offer;
    offer.gameId = C::GameIdOfStem(stem);
    offer.nickname = "offerer " + std::to_string(k);
    offer.colour = "0";
    C::WriteOfferInfoFile(scratch + C::OfferInfoName(stem), offer);
    ASSERT_TRUE(C::PackSingleFile(scratch + C::OfferInfoName(stem), scratch + C::OfferArchiveName(stem)));
    fs::copy_file(scratch + C::OfferArchiveName(stem), server.remotePath("offered/" + C::OfferArchiveName(stem)));
  }
  const std::string joinListing = pc.Path("InternetGame/temp/InternetGame_j.tmp");
  using Dialog = app::frmNewGame;
  struct Case {
    const char* name;
    std::vector<int> previewedBefore;  // offers whose details are on this PC from an earlier preview
    std::function<bool(Dialog*)> when;  // the yield of the Update List build that is interrupted
    std::function<void(Dialog*)> act;
    std::vector<std::string> listed;
    bool joining;  // else the user went on to offer a game, as Black
  };
  const Case cases[] = {
      {"another mode and back after the listings came",
       {1, 2},
       [&](Dialog* d) { return d->cmbJoinNewGame->count() == 0 && fs::exists(joinListing); },
       [](Dialog* d) {
         d->optMode[0]->click();
         d->optMode[3]->click();
       },
       {stemOf(1), stemOf(2)},
       true},
      {"the first offer picked while the last one's details download",
       {1},
       [](Dialog* d) { return d->cmbJoinNewGame->count() == 2 && !d->Animation1->isHidden(); },
       [](Dialog* d) { Pick(d->cmbJoinNewGame, Qt::Key_Home); },
       {stemOf(1), stemOf(2)},
       true},
      {"offering a game chosen while the listings download",
       {1, 2},
       [&](Dialog* d) { return d->cmbJoinNewGame->count() == 0 && fs::exists(joinListing); },
       [](Dialog* d) {
         d->optInternetResume[0]->click();
         d->optColor[1]->click();
       },
       {},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(pc.Path("InternetGame/temp"));
    fs::create_directories(pc.Path("InternetGame/temp"));
    for (const int k : c.previewedBefore)
      for (const std::string& name : {C::OfferInfoName(stemOf(k)), C::OfferArchiveName(stemOf(k))})
        fs::copy_file(scratch + name, pc.Path("InternetGame/temp/" + name));
    C::gInternetGameID.clear();
    answers.Clear();
    Dialog dialog(form.get());
    dialog.optMode[3]->click();
    bool fired = false, updateListLive = true;
    {
      const auto during = Meanwhile([&] { return c.when(&dialog); },
                                    [&] {
                                      c.act(&dialog);
                                      // No second build or fetch can start while this one runs.
                                      updateListLive = dialog.cmdUpdateList->isEnabled();
                                    },
                                    fired);
      dialog.cmdUpdateList->click();
    }
    ASSERT_TRUE(fired);
    EXPECT_FALSE(updateListLive);
    EXPECT_TRUE(dialog.cmdUpdateList->isEnabled());
    EXPECT_EQ(Items(dialog.cmbJoinNewGame), c.listed);
    EXPECT_TRUE(answers.Calls().empty()) << answers.Calls().front().text;
    if (c.joining) {
      const std::string shown = dialog.cmbJoinNewGame->currentText().toStdString();
      EXPECT_EQ(C::gInternetGameID, C::GameIdOfStem(shown));
      EXPECT_EQ(dialog.lblName->text().toStdString(), "offerer " + shown.substr(8, 1));
    } else {
      EXPECT_EQ(C::gInternetGameID, "");
      EXPECT_TRUE(dialog.optColor[1]->isChecked() && dialog.optColor[1]->isEnabled());
      EXPECT_TRUE(dialog.cmbJoinNewGame->isHidden());
    }
  }
}

// The offer list built from listing files and previewed from the server.
TEST_F(OfferJoinTest, OfferListCases) {
  Installation pc("000000009");
  Open(pc, "Dora");
  fs::create_directories(server.remotePath("offered"));
  auto stemOf = [](int k) { return "00000000" + std::to_string(k) + "2612062359" + "0000"; };
  // Offers 1, 2 and 3 have archives on the server; offer 4 a damaged one,
  // 7 one too large.
  for (const int k : {1, 2, 3}) {
    const std::string stem = stemOf(k);
    const std::string txt = pc.Path("scratch/" + C::OfferInfoName(stem));
    C::WriteOfferInfoFile(txt, {{}, C::GameIdOfStem(stem), "offerer " + std::to_string(k), "", "", "0"});
    ASSERT_TRUE(C::PackSingleFile(txt, server.remotePath("offered/" + C::OfferArchiveName(stem))));
  }
  testsupport::WriteFile(server.remotePath("offered/" + C::OfferArchiveName(stemOf(4))), "not an archive");
  // Offer 7's "archive" is larger than any offer's.
  testsupport::WriteFile(server.remotePath("offered/" + C::OfferArchiveName(stemOf(7))), "");
  fs::resize_file(server.remotePath("offered/" + C::OfferArchiveName(stemOf(7))), 2u << 20);
  struct Case {
    const char* name;
    std::string offers, joins;  // listings of "offered" and "joined"
    std::vector<std::string> listed, messages;
  };
  const std::string noInfo = "No information available in the moment\r\nPlease try again later.";
  const Case cases[] = {
      {"joined offers hidden, the rest listed, the last selected and previewed",
       stemOf(1) + "n.zip\r\n" + stemOf(2) + "n.zip\r\n" + stemOf(3) + "n.zip\r\n", stemOf(2) + "j.zip\r\n",
       {stemOf(1), stemOf(3)}, {}},
      {"an offer that cannot be previewed after one that can", stemOf(3) + "n.zip\r\n" + stemOf(4) + "n.zip\r\n", "",
       {stemOf(3), stemOf(4)}, {noInfo}},
      {"an archive larger than any offer's is stopped", stemOf(7) + "n.zip\r\n", "", {stemOf(7)}, {noInfo}},
      {"every offer joined: no message without a download", stemOf(1) + "n.zip\r\n", stemOf(1) + "j.zip\r\n", {}, {}},
  };
  app::frmNewGame dialog(form.get());
  dialog.optMode[3]->click();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::WriteFile(pc.Path("InternetGame/temp/InternetGame_n.tmp"), c.offers);
    testsupport::WriteFile(pc.Path("InternetGame/temp/InternetGame_j.tmp"), c.joins);
    answers.Clear();
    dialog.UpdateGameList(false);
    EXPECT_EQ(Items(dialog.cmbJoinNewGame), c.listed);
    EXPECT_EQ(Messages(), c.messages);
    // The last one listed is selected and previewed; nothing of an earlier
    // preview stays when that fails, and it cannot be joined.
    EXPECT_EQ(dialog.cmdOK->isEnabled(), !c.listed.empty() && c.messages.empty());
    if (!c.listed.empty()) {
      EXPECT_EQ(C::gInternetGameID, c.messages.empty() ? C::GameIdOfStem(c.listed.back()) : "");
      EXPECT_EQ(dialog.txtNamePlayer2->text().toStdString(),
                c.messages.empty() ? "offerer " + c.listed.back().substr(8, 1) : "");
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
}

}  // namespace
}  // namespace apptest
