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

  // An offer of the game `stem` by `nick` (playing White): its info file, and its archive.
  void PackOffer(const std::string& stem, const char* nick, const std::string& txtDir, const std::string& archiveDir) {
    C::WriteOfferInfoFile(txtDir + C::OfferInfoName(stem),
                          {{}, C::GameIdOfStem(stem), nick, "Norway", "english", "16777215", "", "", ""});
    ASSERT_TRUE(C::PackSingleFile(txtDir + C::OfferInfoName(stem), archiveDir + C::OfferArchiveName(stem)));
  }
  // Another PC's offer on the server.
  void OfferOnServer() { PackOffer(kStem, "Olga", tree.path("scratch/"), server.remotePath("offered/")); }

  std::string Tutorial() const { return tree.path("Castellan/help/ChessTrl.chm"); }

  static constexpr const char* kStem = "00012345626020314100000";
  exchangetest::FastWaits waits;
  fixtures::FtpServer server;
  fixtures::HttpServer web;
};

// New Game, Load Game and Exit given while the connection test waits for the
// game server open their window once that transfer is over (not inside its
// wait, holding it up), and what the window then fetches comes (not refused
// as another transfer). Web downloads hold nothing back (command_turns_test).
TEST_F(TransferTurnTest, AWindowAskedForDuringATransferOpensAfterItAndItsOwnTransfersWork) {
  OfferOnServer();
  // This PC's own offered game, at half-move 2 here; the partner has moved on the server.
  const std::string mine = C::ExchangeStem("0000000092602031410");
  PackOffer(mine, "Me", C::OfferedDir(), C::OfferedDir());
  NewGame("OfflinePP");
  Move("e2", "e4");
  Move("e7", "e5");
  ASSERT_TRUE(B::SaveCompleteGame(C::InternetGameDir() + C::LastGameName(mine)));
  Move("g1", "f3");
  ASSERT_TRUE(B::SaveCompleteGame(tree.path("scratch/x.chi")));
  ASSERT_TRUE(C::PackSingleFile(tree.path("scratch/x.chi"), server.remotePath("games/" + C::ExchangeArchiveName(mine))));

  // The transfer, started by, and the server it waits for.
  const std::tuple<const char*, std::function<void()>, fixtures::LoopbackServer&> transfers[] = {
      {"connection test", [&] { form->cmdTestInternetConnection->click(); }, server},
  };
  // What the window found ("" until it did), marked if the transfer was still under way then.
  std::string found;
  const auto note = [&](const std::string& what) { found = what + (form->TransferUnderWay() ? " inside" : ""); };
  const std::tuple<const char*, std::function<void()>, std::string> commands[] = {  // command, given by, found
      {"New Game", [&] {
         NewGameDialog([&](app::frmNewGame* d) {
           d->optMode[3]->click();
           d->cmdUpdateList->click();
           note(d->cmbJoinNewGame->currentText().toStdString() + " " + d->lblName->text().toStdString());
         }, true);
       }, std::string(kStem) + " Olga"},
      {"Load Game", [&] {
         WhenModal([&](QWidget* modal) {
           auto* d = qobject_cast<app::frmLoadGame*>(modal);
           d->optInternetAction[0]->setChecked(true);
           d->cmdNewMove_Click();
           note(d->cmbGames->itemText(0).toStdString() + " " + std::to_string(d->GamePicture(0)));
           d->cmdCancel_Click();
         });
         form->mnuLoadGameStart->trigger();
       }, mine + " " + std::to_string(app::frmLoadGame::kNewMovePicture)},
      {"Exit", [&] {
         // No, twice: the transfer's own message, if it comes first, has OK alone.
         for (int i = 0; i < 2; ++i) answers.Push(platform::vbNo);
         answers.Watch([&](const std::string& text) {
           if (text == "Are you sure that you wish to leave now ?") note("asked");
         });
         form->mnuExit->trigger();
       }, "asked"},
  };
  for (const auto& [transfer, run, waitsFor] : transfers) {
    for (const auto& [command, give, expected] : commands) {
      SCOPED_TRACE(std::string(command) + " during the " + transfer);
      Reopen();
      found.clear();
      bool given = false;
      const auto during = DuringTransfer(waitsFor, [&] { return form->TransferUnderWay(); }, give, given);
      run();
      ASSERT_TRUE(given);
      WaitUntil([&] { return !found.empty(); });
      EXPECT_EQ(found, expected);
      const std::vector<std::string> said = Messages();
      EXPECT_EQ(std::count(said.begin(), said.end(), std::string(ZVK_Internet::kTransferBusyText)), 0);
    }
  }
}

// Another mode and back while the listed offer's details download: the new
// list waits for the dialog's own fetch instead of being refused by it, and
// the offer shows its details. Then OK with the server out of reach checks
// nothing about the offer: the user is told so, the dialog stays with the
// offer shown, and OK joins it once the server is back (instead of saying it
// was joined and going).
TEST_F(TransferTurnTest, APreviewOvertakenByTheDialogAndAnOkWithoutTheServerStillJoinTheOffer) {
  OfferOnServer();
  bool fired = false;
  NewGameDialog([&](app::frmNewGame* d) {
    d->optMode[3]->click();
    const auto during =
        DuringTransfer(server, [&] { return d->cmbJoinNewGame->count() == 1 && !d->Animation1->isHidden(); },
                       [&] { for (const int mode : {0, 3}) d->optMode[mode]->click(); }, fired);
    d->cmdUpdateList->click();
    EXPECT_TRUE(WaitUntil([&] { return d->lblName->text() == "Olga"; }));
    EXPECT_TRUE(fired);
    EXPECT_EQ(Messages(), std::vector<std::string>{});
    d->cmdUpdateList->click();  // the list again, as the user would, to choose the offer
    NoServer();
    d->cmdOK->click();
    EXPECT_EQ(Messages(), std::vector<std::string>{
                              "The list of offered games could not be fetched from the game server,\r\nso the chosen game "
                              "could not be checked.\r\nPlease check the Internet connection and press OK again."});
    EXPECT_TRUE(d->isVisible() && d->lblName->text() == "Olga" && d->cmdCancel->isEnabled());  // kept for another try
    server.useAsGameServer();
    d->cmdOK->click();
  });
  EXPECT_EQ(G::gGameStopped, 0);
  EXPECT_EQ(FilesIn(server.remotePath("joined")), std::set<std::string>{C::JoinArchiveName(kStem)});
}

// Leaving ends every running message loop, the tutorial's wait among them:
// the half that had come is not stored as the tutorial, and the next start
// offers the download again instead of opening a broken file.
TEST_F(TransferTurnTest, ATutorialDownloadCutShortByLeavingStoresNothingAndIsOfferedAgain) {
  // Held after its first half until the program has left: the rest never comes in time.
  web.putPaused("help/ChessTrl.chm", std::string(200000, 't'), 0);
  web.hold();
  bool left = false;
  // The pause only gives the first half time to arrive; the download cannot end meanwhile.
  const auto leave = Meanwhile([&] { return form->TransferUnderWay() && web.waiting() > 0; },
                               [] { QTimer::singleShot(300, [] { QCoreApplication::exit(0); }); }, left);
  QTimer::singleShot(0, form.get(), [&] { form->mnuChessTutorial->trigger(); });
  QTimer giveUp;  // for a download that never reaches its hold point
  giveUp.callOnTimeout([] { QCoreApplication::exit(0); });
  giveUp.start(30000);
  QCoreApplication::exec();
  web.release();
  ASSERT_TRUE(left);
  EXPECT_FALSE(fs::exists(Tutorial()) || fs::exists(Tutorial() + ".part"));

  Reopen();
  answers.Push(platform::vbNo);
  form->mnuChessTutorial->trigger();
  EXPECT_EQ(Messages(), std::vector<std::string>{"The tutorial is not installed on your PC!\r\nWould you like to download it now ?"});
}

}  // namespace
}  // namespace apptest
