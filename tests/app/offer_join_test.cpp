// Offering and joining correspondence games through the new-game dialog,
// between separate installations and a real FTP server on loopback.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "app/frmNewGame.h"
#include "correspondence/ExchangeFiles.h"
#include "correspondence/FtpRunner.h"
#include "correspondence/Naming.h"
#include "correspondence/Packing.h"
#include "platform/AppPath.h"
#include "platform/SettingsStore.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_Registry.h"
#include "support/ZVK_Time.h"
#include "tests/app/AppTestSupport.h"
#include "tests/correspondence/ExchangeTestKit.h"
#include "tests/fixtures/Servers.h"

namespace apptest {
namespace {

namespace fs = std::filesystem;
namespace cor = correspondence;

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
  void TearDown() override {
    MainWindowFixture::TearDown();
    cor::gFtpResponseFile.clear();
    cor::gInternetGameID.clear();
  }

  // Opens the main window of an installation (closing any other first).
  void Open(const Installation& pc, const char* nickname) {
    form.reset();
    cor::gFtpResponseFile.clear();
    setenv("XDG_CONFIG_HOME", pc.tree.path("config").c_str(), 1);
    setenv("CASTELLAN_MACHINE_DIR", pc.tree.path("machine").c_str(), 1);
    platform::SetAppPath(pc.tree.programDir());
    ZVK_Identity::gMachineID = pc.machine;
    form = std::make_unique<app::fMainForm>();
    form->Form_Initialize();
    app::SetCheckValue(form->chkMoveAnimation, 0);
    form->txtUserNickName->setText(nickname);
    form->cmbCountry->setCurrentText("Norway");
    form->optGender[1]->setChecked(true);
    form->txtAge->setText("41");
    answers.Clear();
  }

  // New Game with the dialog worked by `act` from inside its loop.
  void NewGameDialog(std::function<void(app::frmNewGame*)> act) {
    WhenModal([act](QWidget* modal) {
      auto* dialog = qobject_cast<app::frmNewGame*>(modal);
      ASSERT_NE(dialog, nullptr);
      act(dialog);
      // A failed expectation must not leave the test waiting on the dialog.
      if (dialog->isVisible()) dialog->cmdCancel_Click();
    });
    form->mnuNewGame_Click();
  }

  std::vector<std::string> Remote(const char* folder) const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(server.remotePath(folder))) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& call : answers.Calls()) texts.push_back(call.text);
    return texts;
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

  void MoveAndSend(const char* from, const char* to) {
    const int before = E::gMoveNumber;
    Move(from, to);
    ASSERT_EQ(E::gMoveNumber, before + 1) << from << "-" << to;
    form->cmdSendMove->click();
  }

  exchangetest::FastWaits waits;
  fixtures::FtpServer server;
};

// A offers, B joins through the list, C comes too late; for either colour of
// the offerer.
TEST_F(OfferJoinTest, OfferJoinAndALateThirdPlayer) {
  for (const bool offererWhite : {true, false}) {
    SCOPED_TRACE(offererWhite);
    for (const char* folder : {"offered", "joined", "games"}) {
      fs::remove_all(server.remotePath(folder));
      fs::create_directories(server.remotePath(folder));
    }
    Installation a("000000001"), b("000000002"), c("000000003");

    Offer(a, offererWhite);
    EXPECT_EQ(G::gGameType, "Tournament");
    const std::string id = cor::gInternetGameID;
    EXPECT_EQ(id.substr(0, 9), "000000001");
    const std::string stem = cor::ExchangeStem(id);
    EXPECT_EQ(Lines(testsupport::ReadFile(a.Path("InternetGame/offered/" + stem + "n.txt"))),
              (std::vector<std::string>{ZVK_Time::DateText(), id, "Alice", "Norway",
                                        form->cmbLanguage->currentText().toStdString(),
                                        offererWhite ? "16777215" : "0", "female", "41"}));
    EXPECT_TRUE(Remote("offered").empty());  // nothing uploaded before the first send
    // The first send takes the offer along (a Black offerer opens with both
    // colours' first moves).
    MoveAndSend("e2", "e4");
    if (!offererWhite) MoveAndSend("e7", "e5");
    EXPECT_EQ(Remote("offered"), std::vector<std::string>{stem + "n.zip"});
    EXPECT_EQ(Remote("games"), std::vector<std::string>{stem + "g.zip"});

    Open(b, "Bob");
    NewGameDialog([&](app::frmNewGame* d) {
      d->optMode[3]->click();
      EXPECT_FALSE(d->cmdOK->isEnabled());
      d->cmdUpdateList->click();
      ASSERT_EQ(d->cmbJoinNewGame->count(), 1);
      EXPECT_EQ(d->cmbJoinNewGame->currentText().toStdString(), stem);
      EXPECT_EQ(d->lblDate->text().toStdString(), ZVK_Time::DateText());
      EXPECT_EQ((QStringList{d->txtNamePlayer2->text(), d->lblCountry->text(), d->lblGender->text(), d->lblAge->text()}),
                (QStringList{"Alice", "Norway", "female", "41"}));
      // The opening move is the record line of the first send.
      const char* opening = offererWhite ? "White Pawn at E:2 to E:4" : "Black Pawn at E:7 to E:5";
      EXPECT_NE(d->lblMove->text().toStdString().find(opening), std::string::npos) << d->lblMove->text().toStdString();
      EXPECT_TRUE(d->optColor[offererWhite ? 1 : 0]->isChecked());
      d->cmdOK->click();
    });
    EXPECT_EQ(G::gGameStopped, 0);
    EXPECT_EQ(cor::gInternetGameID, id);
    EXPECT_EQ(G::gPlayerColor, offererWhite ? G::kBlack : G::kWhite);
    EXPECT_EQ(Remote("joined"), std::vector<std::string>{stem + "j.zip"});
    const std::vector<std::string> join = Lines(testsupport::ReadFile(b.Path("InternetGame/joined/" + stem + "j.txt")));
    ASSERT_EQ(join.size(), 8u);
    EXPECT_EQ(join[1] + join[2] + join[5], "000000002Bob" + std::string(offererWhite ? "16777215" : "0"));
    EXPECT_EQ(platform::GetSetting(ZVK_Registry::ProfileSettingsApp("Standard"), "Settings", "cmbJoinNewGame"), stem);
    // The offerer's game was fetched and is shown in B's orientation.
    EXPECT_EQ(E::gMoveNumber, offererWhite ? 1 : 2);
    const B::Square e4 = B::EngineToView(5, 4);
    EXPECT_EQ(B::gViewBoard.at(e4.c, e4.r), 16);
    // The joined game is ready to play and send.
    MoveAndSend(offererWhite ? "e7" : "d2", offererWhite ? "e5" : "d4");
    EXPECT_TRUE(answers.Calls().empty()) << answers.Calls().front().text;
    EXPECT_EQ(Remote("offered"), std::vector<std::string>{stem + "n.zip"});

    // C listed the offer while it was open (its listing files are still on
    // disk) and presses OK now: the re-check finds it joined.
    testsupport::WriteFile(c.Path("InternetGame/temp/InternetGame_n.tmp"), stem + "n.zip\r\n");
    testsupport::WriteFile(c.Path("InternetGame/temp/InternetGame_j.tmp"), "");
    Open(c, "Carl");
    const std::string modeBefore = G::gGameMode;
    NewGameDialog([&](app::frmNewGame* d) {
      d->optMode[3]->click();  // the list from the listing files on disk
      ASSERT_EQ(d->cmbJoinNewGame->count(), 1);
      d->cmbJoinNewGame_Click();  // the user picks it
      d->cmdOK->click();
    });
    EXPECT_EQ(G::gGameStopped, G::kTrue);
    EXPECT_EQ(G::gGameMode, modeBefore);
    // No offer is listed any more: the refresh says so, then the join is refused.
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "No info about new offered games available in the moment.\r\nPlease try again later.",
                            "The game has already been joined\r\nPlease select another one."}));
    EXPECT_FALSE(fs::exists(c.Path("InternetGame/joined/" + stem + "j.txt")));
    // The next New Game shows the dialog as it was left: an empty list, OK off.
    NewGameDialog([](app::frmNewGame* d) { EXPECT_FALSE(d->cmbJoinNewGame->count() > 0 || d->cmdOK->isEnabled()); });
    EXPECT_EQ(form->NewGameForm(), nullptr);
  }
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
  EXPECT_TRUE(Remote("joined").empty());
  EXPECT_NE(testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()).find("cmdOK_Click of Formular frmNewGame"),
            std::string::npos);
  EXPECT_FALSE(form->lblError->isHidden());
}

// The offer list built from listing files and previewed from the server.
TEST_F(OfferJoinTest, OfferListCases) {
  Installation pc("000000009");
  Open(pc, "Dora");
  fs::create_directories(server.remotePath("offered"));
  auto stemOf = [](int k) { return "00000000" + std::to_string(k) + "2612062359" + "0000"; };
  // Offers 1 to 3 have archives on the server; offer 4 has none.
  for (int k = 1; k <= 3; ++k) {
    const std::string stem = stemOf(k);
    const std::string txt = pc.Path("scratch/" + cor::OfferInfoName(stem));
    cor::OfferInfo info;
    info.gameId = cor::GameIdOfStem(stem);
    info.nickname = "offerer " + std::to_string(k);
    info.colour = "0";
    cor::WriteOfferInfoFile(txt, info);
    ASSERT_TRUE(cor::PackSingleFile(txt, server.remotePath("offered/" + cor::OfferArchiveName(stem))));
  }
  struct Case {
    const char* name;
    std::string offers, joins;  // listings of "offered" and "joined"
    std::vector<std::string> listed, messages;
  };
  const std::string noInfo = "No information available in the moment\r\nPlease try again later.";
  const Case cases[] = {
      {"dots, short lines and names that are no stems skipped",
       ".\r\n..\r\nabc\r\n" + std::string("0000000X12612062359000n.zip\r\n") + "<b>" + stemOf(3).substr(3) + "n.zip\r\n" +
           stemOf(3) + "n.zip\r\n",
       "", {stemOf(3)}, {}},
      {"joined offers hidden, the rest previewed in turn, the last selected",
       stemOf(1) + "n.zip\r\n" + stemOf(2) + "n.zip\r\n" + stemOf(3) + "n.zip\r\n", stemOf(2) + "j.zip\r\n",
       {stemOf(1), stemOf(3)}, {}},
      {"an offer whose archive cannot be fetched", stemOf(4) + "n.zip\r\n", "", {stemOf(4)}, {noInfo}},
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
    std::vector<std::string> listed;
    for (int i = 0; i < dialog.cmbJoinNewGame->count(); ++i) listed.push_back(dialog.cmbJoinNewGame->itemText(i).toStdString());
    EXPECT_EQ(listed, c.listed);
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(dialog.cmdOK->isEnabled(), !c.listed.empty());
    if (!c.listed.empty() && c.messages.empty()) {  // the last one listed is selected and previewed
      EXPECT_EQ(cor::gInternetGameID, cor::GameIdOfStem(c.listed.back()));
      EXPECT_EQ(dialog.txtNamePlayer2->text().toStdString(), "offerer " + c.listed.back().substr(8, 1));
    }
    for (const std::string& stem : c.listed)
      EXPECT_EQ(fs::exists(pc.Path("InternetGame/temp/" + stem + "n.txt")), stem != stemOf(4)) << stem;
  }
}

}  // namespace
}  // namespace apptest
