// Offering and joining correspondence games through the new-game dialog,
// between separate installations and a real FTP server on loopback.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/frmNewGame.h"
#include "correspondence/ExchangeFiles.h"
#include "correspondence/FtpRunner.h"
#include "correspondence/Naming.h"
#include "correspondence/Packing.h"
#include "platform/AppPath.h"
#include "platform/SettingsStore.h"
#include "support/ZVK_Registry.h"
#include "support/ZVK_Time.h"
#include "tests/app/AppTestSupport.h"
#include "tests/correspondence/ExchangeTestKit.h"
#include "tests/fixtures/Servers.h"

namespace apptest {
namespace {

namespace fs = std::filesystem;
namespace cor = correspondence;

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::istringstream in(bytes);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// One PC: its own program tree, settings roots and machine number.
struct Installation {
  explicit Installation(std::string machine) : machine(std::move(machine)) {}
  void Activate() const {
    setenv("XDG_CONFIG_HOME", tree.path("config").c_str(), 1);
    setenv("CASTELLAN_MACHINE_DIR", tree.path("machine").c_str(), 1);
    platform::SetAppPath(tree.programDir());
    ZVK_Identity::gMachineID = machine;
  }
  std::string Path(const std::string& relative) const { return tree.path("Castellan/" + relative); }

  testsupport::ProgramTree tree;
  std::string machine;
};

class OfferJoinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!server.running()) GTEST_SKIP() << "no FTP server";
    server.useAsGameServer();
    ZVK_Identity::gUserName = "TESTER";
  }
  void TearDown() override {
    form.reset();
    G::gGameMode.clear();
    G::gGameStopped = 0;
    cor::gFtpResponseFile.clear();
    cor::gInternetGameID.clear();
  }

  // Opens the main window of an installation (closing any other first).
  void Open(const Installation& pc, const char* nickname) {
    form.reset();
    cor::gFtpResponseFile.clear();
    pc.Activate();
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
  void NewGame(std::function<void(app::frmNewGame*)> act) {
    WhenModal([act](QWidget* modal) {
      auto* dialog = qobject_cast<app::frmNewGame*>(modal);
      ASSERT_NE(dialog, nullptr);
      act(dialog);
      // A failed expectation must not leave the test waiting on the dialog.
      if (dialog->isVisible()) dialog->cmdCancel_Click();
    });
    form->mnuNewGame_Click();
  }

  // An offer on the server as the offerer's first send leaves it.
  void PutOffer(const Installation& offerer, const std::string& stem, const char* openingMove) {
    const std::string txt = offerer.Path("InternetGame/offered/" + cor::OfferInfoName(stem));
    cor::AppendOfferOpeningMove(txt, openingMove);
    ASSERT_TRUE(cor::PackSingleFile(txt, server.remotePath("offered/" + cor::OfferArchiveName(stem))));
  }

  std::vector<std::string> Remote(const char* folder) const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(server.remotePath(folder))) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  exchangetest::FastWaits waits;
  fixtures::FtpServer server;
  platform::ScriptedAnswerer answers;
  std::unique_ptr<app::fMainForm> form;
};

// A offers, B joins through the list, C comes too late; for either colour of
// the offerer.
TEST_F(OfferJoinTest, OfferJoinAndALateThirdPlayer) {
  for (const bool offererWhite : {true, false}) {
    SCOPED_TRACE(offererWhite);
    fs::remove_all(server.remotePath("offered"));
    fs::remove_all(server.remotePath("joined"));
    fs::create_directories(server.remotePath("offered"));
    fs::create_directories(server.remotePath("joined"));
    Installation a("000000001"), b("000000002"), c("000000003");

    Open(a, "Alice");
    NewGame([offererWhite](app::frmNewGame* d) {
      d->optMode[3]->click();
      d->optInternetResume[0]->click();
      d->optColor[offererWhite ? 0 : 1]->click();
      d->cmdOK->click();
    });
    EXPECT_EQ(G::gGameMode, "OnlinePP");
    EXPECT_EQ(G::gGameType, "Tournament");
    const std::string id = cor::gInternetGameID;
    ASSERT_TRUE(cor::IsInternetGameId(id)) << id;
    EXPECT_EQ(id.substr(0, 9), "000000001");
    const std::string stem = cor::ExchangeStem(id);
    const std::vector<std::string> offer = Lines(testsupport::ReadFile(a.Path("InternetGame/offered/" + stem + "n.txt")));
    const std::vector<std::string> expectedOffer = {ZVK_Time::DateText(), id, "Alice", "Norway",
                                                    form->cmbLanguage->currentText().toStdString(),
                                                    offererWhite ? "16777215" : "0", "female", "41"};
    EXPECT_EQ(offer, expectedOffer);
    EXPECT_TRUE(Remote("offered").empty());  // nothing uploaded before the first send
    ASSERT_EQ(answers.Calls().size(), 1u);
    EXPECT_EQ(answers.Calls()[0].text, "Start the game by selecting the first white move");
    PutOffer(a, stem, "1  White Pawn at E:2 to E:4");

    Open(b, "Bob");
    NewGame([&](app::frmNewGame* d) {
      d->optMode[3]->click();
      EXPECT_FALSE(d->cmdOK->isEnabled());
      d->cmdUpdateList->click();
      ASSERT_EQ(d->cmbJoinNewGame->count(), 1);
      EXPECT_EQ(d->cmbJoinNewGame->currentText().toStdString(), stem);
      EXPECT_EQ(d->lblDate->text().toStdString(), ZVK_Time::DateText());
      EXPECT_EQ(d->lblName->text(), "Alice");
      EXPECT_EQ(d->txtNamePlayer2->text(), "Alice");
      EXPECT_EQ(d->lblCountry->text(), "Norway");
      EXPECT_EQ(d->lblGender->text(), "female");
      EXPECT_EQ(d->lblAge->text(), "41");
      EXPECT_EQ(d->lblMove->text(), "1  White Pawn at E:2 to E:4");
      EXPECT_EQ(d->lblPlayer1Color->text(), offererWhite ? "Black" : "White");
      EXPECT_TRUE(d->optColor[offererWhite ? 1 : 0]->isChecked());
      EXPECT_TRUE(d->cmdOK->isEnabled());
      d->cmdOK->click();
    });
    EXPECT_EQ(G::gGameStopped, 0);
    EXPECT_EQ(G::gGameMode, "OnlinePP");
    EXPECT_EQ(cor::gInternetGameID, id);
    EXPECT_EQ(G::gBoardSide, offererWhite ? -1 : 1);
    EXPECT_EQ(G::gPlayerColor, offererWhite ? G::kBlack : G::kWhite);
    EXPECT_EQ(form->lblFile[0]->text(), offererWhite ? "H" : "A");
    EXPECT_EQ(Remote("joined"), std::vector<std::string>{stem + "j.zip"});
    const std::vector<std::string> join = Lines(testsupport::ReadFile(b.Path("InternetGame/joined/" + stem + "j.txt")));
    ASSERT_EQ(join.size(), 8u);
    EXPECT_EQ(join[1], "000000002");
    EXPECT_EQ(join[2], "Bob");
    EXPECT_EQ(join[5], offererWhite ? "16777215" : "0");
    EXPECT_EQ(platform::GetSetting(ZVK_Registry::ProfileSettingsApp("Standard"), "Settings", "cmbJoinNewGame"), stem);
    for (const auto& call : answers.Calls()) EXPECT_NE(call.text, "Start the game by selecting the first white move");

    // C listed the offer while it was open (its listing files are still on
    // disk) and presses OK now: the re-check finds it joined.
    testsupport::WriteFile(c.Path("InternetGame/temp/InternetGame_n.tmp"), stem + "n.zip\r\n");
    testsupport::WriteFile(c.Path("InternetGame/temp/InternetGame_j.tmp"), "");
    Open(c, "Carl");
    const std::string modeBefore = G::gGameMode;
    NewGame([&](app::frmNewGame* d) {
      d->optMode[3]->click();  // the list from the listing files on disk
      ASSERT_EQ(d->cmbJoinNewGame->count(), 1);
      d->cmbJoinNewGame_Click();  // the user picks it
      d->cmdOK->click();
    });
    EXPECT_EQ(G::gGameStopped, G::kTrue);
    EXPECT_EQ(G::gGameMode, modeBefore);
    ASSERT_GE(answers.Calls().size(), 1u);
    EXPECT_EQ(answers.Calls().back().text, "The game has already been joined\r\nPlease select another one.");
    EXPECT_FALSE(fs::exists(c.Path("InternetGame/joined/" + stem + "j.txt")));
    // The next New Game shows the dialog as it was left: an empty list, OK off.
    ASSERT_NE(form->NewGameForm(), nullptr);
    NewGame([](app::frmNewGame* d) {
      EXPECT_EQ(d->cmbJoinNewGame->count(), 0);
      EXPECT_FALSE(d->cmdOK->isEnabled());
      d->cmdCancel->click();
    });
    EXPECT_EQ(form->NewGameForm(), nullptr);
  }
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
    std::string offers;  // listing of "offered"
    std::string joins;   // listing of "joined"
    std::vector<std::string> listed;
    std::vector<std::string> messages;
  };
  const std::string noInfo = "No information available in the moment\r\nPlease try again later.";
  const Case cases[] = {
      {"joined offers hidden", stemOf(1) + "n.zip\r\n" + stemOf(2) + "n.zip\r\n", stemOf(1) + "j.zip\r\n", {stemOf(2)}, {}},
      {"dots, short lines and names that are no stems skipped",
       ".\r\n..\r\nabc\r\n" + std::string("0000000X12612062359000n.zip\r\n") + "<b>" + stemOf(3).substr(3) + "n.zip\r\n" +
           stemOf(3) + "n.zip\r\n",
       "", {stemOf(3)}, {}},
      {"three offers previewed in turn, the last selected",
       stemOf(1) + "n.zip\r\n" + stemOf(2) + "n.zip\r\n" + stemOf(3) + "n.zip\r\n", "", {stemOf(1), stemOf(2), stemOf(3)}, {}},
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
    std::vector<std::string> messages;
    for (const auto& call : answers.Calls()) messages.push_back(call.text);
    EXPECT_EQ(messages, c.messages);
    EXPECT_EQ(dialog.cmdOK->isEnabled(), !c.listed.empty());
    if (!c.listed.empty()) {
      EXPECT_EQ(dialog.cmbJoinNewGame->currentIndex(), dialog.cmbJoinNewGame->count() - 1);
      if (c.messages.empty()) {
        EXPECT_EQ(cor::gInternetGameID, cor::GameIdOfStem(c.listed.back()));
        EXPECT_EQ(dialog.txtNamePlayer2->text().toStdString(), "offerer " + c.listed.back().substr(8, 1));
        EXPECT_EQ(dialog.lblPlayer1Color->text(), "White");  // a Black offerer leaves White
      }
    }
    for (const std::string& stem : c.listed)
      EXPECT_EQ(fs::exists(pc.Path("InternetGame/temp/" + stem + "n.txt")), stem != stemOf(4)) << stem;
  }
  // With a download and no open offer on the server, the user is told.
  fs::remove_all(server.remotePath("offered"));
  fs::create_directories(server.remotePath("offered"));
  answers.Clear();
  dialog.cmdUpdateList->click();
  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_EQ(answers.Calls()[0].text, "No info about new offered games available in the moment.\r\nPlease try again later.");
  EXPECT_FALSE(dialog.cmdOK->isEnabled());
}

}  // namespace
}  // namespace apptest
