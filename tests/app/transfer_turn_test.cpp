// Windows and commands that meet an Internet transfer under way: they wait
// for it or stay out of its way, so that the transfer runs to its end, and a
// list or a download that did not come whole is never taken for one that did.
#include "app/frmLoadGame.h"
#include "support/ZVK_Internet.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

class TransferTurnTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    TEST_NEEDS(server.running(), fixtures::kFtpDown);
    TEST_NEEDS(web.running(), fixtures::kHttpDown);
    server.useAsGameServer();
    setenv(ZVK_Internet::kWebSiteVariable, ("127.0.0.1:" + std::to_string(web.port())).c_str(), 1);
  }

  // An offer of another PC on the server, nickname "Olga", playing White.
  void OfferOnServer() {
    const std::string txt = tree.path("scratch/" + C::OfferInfoName(kStem));
    C::WriteOfferInfoFile(txt, {{}, C::GameIdOfStem(kStem), "Olga", "Norway", "english", "16777215", "", "", ""});
    ASSERT_TRUE(C::PackSingleFile(txt, server.remotePath("offered/" + C::OfferArchiveName(kStem))));
  }

  std::string Tutorial() const { return tree.path("Castellan/help/ChessTrl.chm"); }

  static constexpr const char* kStem = "00012345626020314100000";
  exchangetest::FastWaits waits;
  fixtures::FtpServer server;
  fixtures::HttpServer web;
};

// New Game, Load Game and Exit given while the connection test, the
// tutorial download or the update check waits for its server open their
// window once that transfer is over, and what the window then fetches comes.
// Opened inside the transfer's wait, the dialog held the transfer up, and its
// own list build and check for new moves were refused as another transfer.
TEST_F(TransferTurnTest, AWindowAskedForDuringATransferOpensAfterItAndItsOwnTransfersWork) {
  OfferOnServer();
  // This PC's own offered game, at half-move 2 here; the partner has moved on the server.
  const std::string mine = C::ExchangeStem("0000000092602031410");
  C::WriteOfferInfoFile(C::OfferedDir() + C::OfferInfoName(mine), {{}, C::GameIdOfStem(mine), "Me", "", "", "16777215", "", "", ""});
  ASSERT_TRUE(C::PackSingleFile(C::OfferedDir() + C::OfferInfoName(mine), C::OfferedDir() + C::OfferArchiveName(mine)));
  NewGame("OfflinePP");
  Move("e2", "e4");
  Move("e7", "e5");
  ASSERT_TRUE(B::SaveCompleteGame(C::InternetGameDir() + C::LastGameName(mine)));
  Move("g1", "f3");
  fs::create_directories(tree.path("partner"));
  ASSERT_TRUE(B::SaveCompleteGame(tree.path("partner/x.chi")));
  ASSERT_TRUE(C::PackSingleFile(tree.path("partner/x.chi"), server.remotePath("games/" + C::ExchangeArchiveName(mine))));
  web.putPaused("help/ChessTrl.chm", std::string(20000, 't'), 0.5);
  web.put("help/ChessTrl.chi", "index");
  web.putPaused("versions.txt", "\"nobody\",\"1.0.0\"\r\n", 0.5);
  ZVK_Internet::gUrlVersions = web.url("versions.txt");

  const std::pair<const char*, std::function<void()>> transfers[] = {
      {"connection test", [&] { form->cmdTestInternetConnection->click(); }},
      {"tutorial download", [&] { form->mnuChessTutorial->trigger(); }},
      {"update check", [&] { form->mnuUpdates->trigger(); }},
  };
  // What the window found: "" until it opened.
  std::string found;
  bool transferRanWhenOpened = false;
  const auto opened = [&] { transferRanWhenOpened = form->TransferUnderWay(); };
  const std::tuple<const char*, std::function<void()>, std::string> commands[] = {  // command, given by, found
      {"New Game", [&] {
         WhenModal([&](QWidget* modal) {
           opened();
           auto* d = qobject_cast<app::frmNewGame*>(modal);
           d->optMode[3]->click();
           d->cmdUpdateList->click();
           found = d->cmbJoinNewGame->currentText().toStdString() + " " + d->lblName->text().toStdString();
           d->cmdCancel->click();
         });
         form->mnuNewGame->trigger();
       }, std::string(kStem) + " Olga"},
      {"Load Game", [&] {
         WhenModal([&](QWidget* modal) {
           opened();
           auto* d = qobject_cast<app::frmLoadGame*>(modal);
           d->optInternetAction[0]->setChecked(true);
           d->cmdNewMove_Click();
           found = d->cmbGames->itemText(0).toStdString() + " " + std::to_string(d->GamePicture(0));
           d->cmdCancel_Click();
         });
         form->mnuLoadGameStart->trigger();
       }, mine + " " + std::to_string(app::frmLoadGame::kNewMovePicture)},
      {"Exit", [&] {
         // No to the question (the transfer's own message, if it comes first, has OK alone).
         answers.Push(platform::vbNo);
         answers.Push(platform::vbNo);
         answers.Watch([&](const std::string& text) {
           if (text != "Are you sure that you wish to leave now ?") return;
           opened();
           found = "asked";
         });
         form->mnuExit->trigger();
       }, "asked"},
  };
  for (const auto& [transfer, run] : transfers) {
    for (const auto& [command, give, expected] : commands) {
      SCOPED_TRACE(std::string(command) + " during the " + transfer);
      Reopen();
      fs::remove(Tutorial());
      found.clear();
      bool given = false;
      const auto during = Meanwhile([&] { return form->TransferUnderWay(); }, give, given);

      run();

      ASSERT_TRUE(given);
      EXPECT_TRUE(WaitUntil([&] { return !found.empty(); }));
      EXPECT_FALSE(transferRanWhenOpened);
      EXPECT_EQ(found, expected);
      const std::vector<std::string> said = Messages();
      EXPECT_EQ(std::count(said.begin(), said.end(), std::string(ZVK_Internet::kTransferBusyText)), 0);
      if (std::string(transfer) == "tutorial download") {
        EXPECT_EQ(testsupport::ReadFile(Tutorial()).size(), 20000u);
      }
    }
  }
}

// OK's check of the chosen offer against a fresh list: with the server out
// of reach no list came, which says nothing about the offer. The user is told
// so; the dialog stays with the offer chosen and shown, and OK joins it once
// the server is back. It used to say the offer had been joined and go.
TEST_F(TransferTurnTest, OkWithTheServerOutOfReachSaysSoKeepsTheDialogAndJoinsOnTheNextTry) {
  OfferOnServer();
  const std::string unchecked =
      "The list of offered games could not be fetched from the game server,\r\n"
      "so the chosen game could not be checked.\r\nPlease check the Internet connection and press OK again.";
  bool kept = false;
  NewGameDialog([&](app::frmNewGame* d) {
    d->optMode[3]->click();
    d->cmdUpdateList->click();
    ASSERT_EQ(d->lblName->text(), "Olga");
    answers.Clear();
    NoServer();
    d->cmdOK->click();
    EXPECT_EQ(Messages(), std::vector<std::string>{unchecked});
    kept = d->isVisible() && Items(d->cmbJoinNewGame) == std::vector<std::string>{kStem} &&
           d->cmbJoinNewGame->currentText() == kStem && d->lblName->text() == "Olga" && d->cmdOK->isEnabled() &&
           d->cmdCancel->isEnabled() && C::gInternetGameID == C::GameIdOfStem(kStem);
    EXPECT_EQ(G::gGameStopped, G::kTrue);
    server.useAsGameServer();
    d->cmdOK->click();
  });
  EXPECT_TRUE(kept);
  EXPECT_EQ(G::gGameStopped, 0);
  EXPECT_EQ(FilesIn(server.remotePath("joined")), std::set<std::string>{C::JoinArchiveName(kStem)});
}

// Another mode and back while the listed offer's details download: the new
// list waits for the dialog's own fetch, and the offer shows its details.
// The abandoned fetch used to refuse the new one ("Another Internet transfer
// is still running", then "No information available in the moment").
TEST_F(TransferTurnTest, AnotherModeAndBackDuringAPreviewShowsTheOffersDetails) {
  OfferOnServer();
  bool fired = false;
  NewGameDialog([&](app::frmNewGame* d) {
    d->optMode[3]->click();
    const auto during = Meanwhile([&] { return d->cmbJoinNewGame->count() == 1 && !d->Animation1->isHidden(); },
                                  [&] {
                                    d->optMode[0]->click();
                                    d->optMode[3]->click();
                                  },
                                  fired);
    d->cmdUpdateList->click();
    EXPECT_TRUE(WaitUntil([&] { return d->lblName->text() == "Olga"; }));
    EXPECT_EQ(Items(d->cmbJoinNewGame), std::vector<std::string>{kStem});
    EXPECT_EQ(C::gInternetGameID, C::GameIdOfStem(kStem));
  });
  EXPECT_TRUE(fired);
  EXPECT_EQ(Messages(), std::vector<std::string>{});
}

// Leaving ends every running message loop, the tutorial's wait among them:
// the half that had come is not stored as the tutorial, and the next start
// offers the download again instead of opening a broken file.
TEST_F(TransferTurnTest, ATutorialDownloadCutShortByLeavingStoresNothingAndIsOfferedAgain) {
  web.putPaused("help/ChessTrl.chm", std::string(200000, 't'), 3);
  bool left = false;
  const auto leave = Meanwhile([&] { return form->TransferUnderWay(); },
                               [] { QTimer::singleShot(1000, [] { QCoreApplication::exit(0); }); }, left);
  QTimer::singleShot(0, form.get(), [&] { form->mnuChessTutorial->trigger(); });
  QCoreApplication::exec();
  ASSERT_TRUE(left);
  EXPECT_FALSE(fs::exists(Tutorial()));
  EXPECT_FALSE(fs::exists(Tutorial() + ".part"));

  Reopen();
  answers.Push(platform::vbNo);
  form->mnuChessTutorial->trigger();
  EXPECT_EQ(Messages(), std::vector<std::string>{"The tutorial is not installed on your PC!\r\nWould you like to download it now ?"});
}

}  // namespace
}  // namespace apptest
