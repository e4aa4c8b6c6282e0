// Saving, Suspend, Give Up and the connection test through the real main
// window; the correspondence steps against a real FTP server.
#include "support/ZVK_Time.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

class GameClosingTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    ZVK_Identity::gMachineID = "000123456";
  }
  exchangetest::FastWaits waits;
};

// A tree where the games folder cannot be made (a file stands there) and the
// log cannot be written (a folder stands there): a game that cannot be saved
// stays open, and the screen says which file failed. Give Up in a game that
// never got a correspondence id only skips the notice to the partner.
TEST_F(GameClosingTest, AGameThatCannotBeSavedStaysOpenAndOnlyAGameSavedCloses) {
  testsupport::WriteFile(tree.path("Castellan/games"), "x");
  fs::remove(ZVK_ErrorLog::ErrorLogPath());
  fs::create_directories(ZVK_ErrorLog::ErrorLogPath());
  platform::ScriptedFileDialogs dialogs;
  fs::create_directories(tree.path("elsewhere"));
  struct Case {
    QAction* command;
    const char* mode;
    const char* saveAs;  // chosen with Save Game As first ("" none)
    bool closes;
    int answer = platform::vbYes;  // to the question Give Up asks
  } cases[] = {
      {form->mnuSaveGame, "OfflinePP", "", false},
      {form->mnuSuspendGame, "OfflinePP", "", false},
      {form->mnuGiveUp, "OfflinePC", "", false},
      {form->mnuSuspendGame, "OfflinePP", "elsewhere/mine.chs", true},
      {form->mnuGiveUp, "OnlinePP", "elsewhere/theirs.chs", true},  // no game id
      {form->mnuGiveUp, "OfflinePP", "", false, platform::vbNo},      // not even a save is tried
  };
  for (const Case& c : cases) {
    NewGame(c.mode);
    C::gInternetGameID.clear();
    Move("e2", "e4");
    form->SetGameStartCommandsEnabled(false);
    if (*c.saveAs) {
      dialogs.Push(tree.path(c.saveAs));
      ASSERT_TRUE(form->mnuSaveGameAs_Click()) << c.saveAs;
    }
    const int32_t moves = E::gMoveNumber;  // the engine may have replied
    answers.Clear();
    answers.Push(c.answer);
    c.command->trigger();
    EXPECT_EQ(G::gGameStopped == G::kTrue, c.closes) << c.mode;
    EXPECT_EQ(form->mnuNewGame->isEnabled(), c.closes);
    EXPECT_EQ(E::gMoveNumber, c.closes ? 0 : moves);
    const std::string said = answers.Calls().empty() ? "" : answers.Calls().back().text;
    EXPECT_EQ(said.find("The game could not be saved to\r\n" + tree.path("Castellan/games/")) == 0,
              !c.closes && c.answer == platform::vbYes)
        << said;
  }
  EXPECT_EQ(testsupport::ReadFile(tree.path("elsewhere/Standard_mine.chs")).substr(0, 3), "\"1\"");
  EXPECT_FALSE(fs::exists(tree.path("Castellan/InternetGame/closed")));
  EXPECT_FALSE(form->lblError->isVisibleTo(form.get())) << "no indicator for a log that holds nothing";
}

// The partner is told only once the game is closed here; a notice that does
// not reach the server is not taken for one that did.
TEST_F(GameClosingTest, GivingUpACorrespondenceGamePutsTheClosedGameOnTheServer) {
  fixtures::FtpServer server;
  TEST_NEEDS(server.running(), fixtures::kFtpDown);
  const std::string id = "0001234562602031405", stem = C::ExchangeStem(id);
  const std::string remote = server.remotePath("closed/" + C::ClosedArchiveName(stem));
  const std::string games = tree.path("Castellan/games");
  const std::string notTold = "Your giving up could not be sent to the game server,\r\n"
                              "Please resume the game with Load Game later and give it up again";
  const std::tuple<const char*, bool, bool> rows[] = {  // what, games folder usable, server up
      {"a file where the games folder belongs", false, true},  // stays open, nobody told
      {"server down", true, false},
      {"saved and sent", true, true},
  };
  for (const auto& [what, saves, up] : rows) {
    SCOPED_TRACE(what);
    NewGame("OnlinePP");
    C::gInternetGameID = id;
    form->txtUserNickName->setText("Quitter");
    Move("e2", "e4");
    fs::remove_all(games);
    fs::remove_all(C::ClosedDir());  // each Give Up appends its lines to the game's closed file
    if (!saves) testsupport::WriteFile(games, "x");
    up ? server.useAsGameServer() : NoServer();
    answers.Clear();
    answers.Push(platform::vbYes);
    form->mnuGiveUp->trigger();
    EXPECT_EQ(G::gGameStopped == G::kTrue && E::gMoveNumber == 0, saves);
    EXPECT_EQ(fs::exists(remote), saves && up);
    const std::vector<std::string> said = Messages();
    EXPECT_EQ(std::count(said.begin(), said.end(), notTold), saves && !up ? 1 : 0);
  }

  const std::string out = tree.path("unpacked/");
  fs::create_directories(out);
  ASSERT_TRUE(C::UnpackAll(remote, out));
  EXPECT_EQ(testsupport::ReadFile(out + C::ClosedInfoName(stem)), ZVK_Time::DateText() + "\r\n000123456\r\nQuitter\r\n");
}

// A command given while Save or Save As waits for the disk runs after it:
// the file saved holds the game, not the board the command left.
TEST_F(GameClosingTest, ACommandGivenWhileASaveWaitsRunsAfterIt) {
  platform::ScriptedFileDialogs dialogs;
  const std::string games = tree.path("Castellan/games/"), chosen = tree.path("elsewhere/Standard_chosen.chs");
  fs::create_directories(tree.path("elsewhere"));
  for (QAction* save : {form->mnuSaveGame, form->mnuSaveGameAs}) {
    SCOPED_TRACE(save->text().toStdString());
    fs::remove_all(games);
    NewGame("OfflinePP");
    Move("e2", "e4");
    dialogs.Push(tree.path("elsewhere/chosen.chs"));
    bool fired = false;
    QTimer::singleShot(0, [&] {
      fired = true;
      form->mnuSuspendGame->trigger();
    });
    EveryWaitYields([&] { save->trigger(); });  // the save's first wait lets the command in
    ASSERT_TRUE(fired);
    EXPECT_EQ(G::gGameStopped, G::kTrue);
    // Save: one dated file, which Suspend saves again; Save As: only the chosen one.
    const std::set<std::string> dated = FilesIn(games);
    EXPECT_EQ(dated.size(), save == form->mnuSaveGame ? 1u : 0u);
    const std::string file = save == form->mnuSaveGameAs ? chosen : dated.empty() ? "" : games + *dated.begin();
    EXPECT_EQ(testsupport::ReadFile(file).substr(0, 3), "\"1\"");
  }
}

// The user hears whether the server can be reached; the test file is gone on
// both sides afterwards, and a failed connection deletes nothing.
TEST_F(GameClosingTest, ConnectionTestWithAndWithoutAServer) {
  fixtures::FtpServer server;
  TEST_NEEDS(server.running(), fixtures::kFtpDown);
  server.useAsGameServer();
  const std::pair<bool, const char*> cases[] = {
      {true, "The Internet connection is ok"},
      {false, "There was a fault in the Internet connection\r\nPlease correct the problem."},
  };
  for (const auto& [up, message] : cases) {
    if (!up) NoServer();
    answers.Clear();
    form->cmdTestInternetConnection->click();
    ASSERT_EQ(Messages(), std::vector<std::string>{message});
    EXPECT_FALSE(fs::exists(tree.path("Castellan/InternetGame/temp/000123456.tst")) ||
                 fs::exists(server.remotePath("test/000123456.tst")));
  }
}

}  // namespace
}  // namespace apptest
