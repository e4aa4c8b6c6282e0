// The load-game dialog over the real main window: local games of the
// profile, browsing, the stored choices, correspondence games with their
// information and the new-move marks fetched from a real FTP server.
#include <QKeyEvent>
#include <QMenu>
#include <algorithm>

#include "app/frmLoadGame.h"
#include "platform/ZipArchive.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

class LoadGameTest : public MainWindowFixture {
 protected:
  // Plays `moves` (pairs of squares) from the start and saves the game to path.
  void SaveGame(const std::string& path, std::initializer_list<std::pair<const char*, const char*>> moves,
                const std::string& comment = "") {
    NewGame("OfflinePP");
    for (const auto& [from, to] : moves) Move(from, to);
    form->txtComment->setText(QString::fromStdString(comment));
    fs::create_directories(fs::path(path).parent_path());
    ASSERT_TRUE(B::SaveCompleteGame(path));
  }
  std::string Games(const std::string& name = "") const { return tree.path("Castellan/games/" + name); }

  platform::ScriptedFileDialogs dialogs;
  exchangetest::FastWaits waits;
};

TEST_F(LoadGameTest, WithoutStoredChoicesTheProfilesLocalGamesAreListedAndOkLoadsTheSelectedOne) {
  SaveGame(Games("20260101_10(2)_Standard.chs"), {{"e2", "e4"}});
  SaveGame(Games("20260102_11_Standard.chs"), {{"d2", "d4"}, {"d7", "d5"}, {"c2", "c4"}}, "queen's gambit");
  const auto log = E::gGameLog;
  const std::string record = Record();
  SaveGame(Games("20260102_11_Other.chs"), {{"a2", "a3"}});
  SaveGame(Games("Standard_saved-as.chs"), {{"a2", "a3"}});
  NewGame("OfflinePC");

  app::frmLoadGame dialog(*form);
  EXPECT_EQ(Items(dialog.cmbGames), (std::vector<std::string>{"20260101_10(2)_Standard.chs", "20260102_11_Standard.chs"}));
  EXPECT_EQ(dialog.cmbGames->currentIndex(), 1);

  dialog.txtNamePlayer2->setText("Partner");
  form->CurrentGameFile = Games("20260101_10(2)_Standard.chs");  // the last game's
  dialog.cmdOK_Click();
  EXPECT_EQ(form->CurrentGameFile, "") << "the loaded game has no file of its own yet";
  EXPECT_EQ(G::gGameMode, "OfflinePP");
  EXPECT_EQ(E::gMoveNumber, 3);
  EXPECT_TRUE(std::equal(log.begin(), log.end(), E::gGameLog.begin()));
  EXPECT_EQ(Record().substr(0, record.size()), record);
  EXPECT_EQ(form->txtComment->text(), "queen's gambit");
  EXPECT_EQ(form->txtNameBlack->text(), "Partner");

  EXPECT_EQ(app::frmLoadGame(*form).txtNamePlayer2->text(), "Partner");  // the next opening starts from it
}

TEST_F(LoadGameTest, BrowsingLoadsAFileAnywhereRefusesOneTooLongAndCancelStartsNothing) {
  const std::string elsewhere = tree.path("elsewhere/my game.chs");
  const std::string refused = tree.path("elsewhere/long comment.chs");
  SaveGame(elsewhere, {{"g1", "f3"}, {"g8", "f6"}});
  B::GameFileContents longComment = B::ReadGameFile(elsewhere);
  longComment.comment.assign(static_cast<size_t>(form->txtComment->maxLength()) + 1, 'c');
  testsupport::WriteFile(refused, B::FormatGameFile(longComment));
  NewGame("OfflinePP");

  {
    app::frmLoadGame dialog(*form);
    // A game the window cannot hold whole is refused: nothing is set up and the dialog stays open.
    dialogs.Push(refused);
    dialog.cmdLoadLocalGame_Click();
    dialog.cmdOK_Click();
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(E::gMoveNumber, 0);
    EXPECT_EQ(Stored("optColor0"), "<none>");
    ASSERT_EQ(answers.Calls().size(), 1u);
    dialogs.Push(elsewhere);
    dialog.optColor[1]->setChecked(true);
    dialog.cmdLoadLocalGame_Click();
    EXPECT_EQ(Items(dialog.cmbGames), std::vector<std::string>{elsewhere});
    dialog.cmdOK_Click();
  }
  EXPECT_EQ(E::gMoveNumber, 2);
  EXPECT_EQ(G::gBoardSide, -1);  // the local player took Black

  // Cancel: no game.
  app::frmLoadGame dialog(*form);
  dialog.cmdCancel_Click();
  EXPECT_EQ(G::gGameStopped, G::kTrue);
}

// Every way out of the dialog unloads it: no game is left selected, and the
// ways that cancel do all that Cancel does.
TEST_F(LoadGameTest, EveryWayOutUnloadsTheDialogAndTheCancellingOnesStartNothing) {
  SaveGame(Games("20260101_10_Standard.chs"), {{"e2", "e4"}});
  SaveGame(Games("20260102_11_Standard.chs"), {{"d2", "d4"}});
  const std::tuple<const char*, std::function<void(app::frmLoadGame*)>, bool> ways[] = {  // way, leave, loads
      {"OK", [](app::frmLoadGame* d) { d->cmdOK->click(); }, true},
      {"the window's close button", [](app::frmLoadGame* d) { d->close(); }, false},
      {"Escape", [](app::frmLoadGame* d) {
         QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
         QApplication::sendEvent(d, &escape);
       }, false},
      // After the cancelling ways: the dialog opened again after a cancel.
      {"OK on a listed game picked after a search given up", [&](app::frmLoadGame* d) {
         dialogs.Push("");
         d->cmdLoadLocalGame->click();
         Pick(d->cmbGames, Qt::Key_Home);
         EXPECT_TRUE(d->cmdOK->isEnabled());
         d->cmdOK->click();
       }, true},
  };
  for (const auto& [way, leave, loads] : ways) {
    SCOPED_TRACE(way);
    NewGame("OfflinePC");
    form->SetGameStartCommandsEnabled(false);
    app::frmLoadGame dialog(*form, form.get());
    ASSERT_EQ(dialog.cmbGames->currentIndex(), 1);
    // A way that failed to close the dialog is followed by Cancel, so that the test goes on.
    WhenModal([&, leave = leave](QWidget*) {
      leave(&dialog);
      if (dialog.isVisible()) dialog.cmdCancel_Click();
    });
    dialog.exec();
    EXPECT_EQ(dialog.cmbGames->currentIndex(), -1);
    EXPECT_EQ(G::gGameStopped, loads ? 0 : G::kTrue);
    EXPECT_EQ(form->mnuNewGame->isEnabled(), !loads);
  }
}

// Three correspondence games this PC offered, each with its last exchanged
// game at half-move 2; the server holds newer games for some of them.
class LoadCorrespondenceTest : public LoadGameTest {
 protected:
  void SetUp() override {
    LoadGameTest::SetUp();
    TEST_NEEDS(server.running(), fixtures::kFtpDown);
    server.useAsGameServer();
    for (int i = 0; i < 3; ++i) {
      const std::string stem = C::ExchangeStem("00012345626020314" + std::to_string(10 + i));
      stems.push_back(stem);
      C::OfferInfo offer{{}, C::GameIdOfStem(stem), "Offerer" + std::to_string(i), "Norway", "english",
                         i == 1 ? "0" : "16777215", "female", "33", "1. e2-e4 <b>bold</b>"};
      C::WriteOfferInfoFile(C::OfferedDir() + C::OfferInfoName(stem), offer);
      C::AppendOfferOpeningMove(C::OfferedDir() + C::OfferInfoName(stem), offer.openingMove);
      ASSERT_TRUE(C::PackSingleFile(C::OfferedDir() + C::OfferInfoName(stem), C::OfferedDir() + C::OfferArchiveName(stem)));
      SaveGame(C::InternetGameDir() + C::LastGameName(stem), {{"e2", "e4"}, {"e7", "e5"}});
    }
  }
  // Puts a game of three half-moves for the stem into the server's games folder.
  void PartnerMoved(const std::string& stem) {
    const std::string scratch = tree.path("partner/" + C::LastGameName(stem));
    SaveGame(scratch, {{"e2", "e4"}, {"e7", "e5"}, {"g1", "f3"}});
    ASSERT_TRUE(C::PackSingleFile(scratch, server.remotePath("games/" + C::ExchangeArchiveName(stem))));
  }

  fixtures::FtpServer server;
  std::vector<std::string> stems;
};

TEST_F(LoadCorrespondenceTest, OfferedGamesShowTheirInformationAsPlainText) {
  NewGame("OfflinePP");
  app::frmLoadGame dialog(*form);
  dialog.optInternetAction[0]->setChecked(true);
  EXPECT_EQ(Items(dialog.cmbGames), stems);
  // The last game is selected and shown: its offerer (this PC) plays White.
  EXPECT_EQ(dialog.lblName->text() + dialog.lblPlayer1Color->text(), "Offerer2Black");
  EXPECT_EQ(dialog.lblMove->textFormat(), Qt::PlainText);
  EXPECT_EQ(C::gInternetGameID, C::GameIdOfStem(stems[2]));

  // The offerer of the second game plays Black.
  dialog.cmbGames->setCurrentIndex(1);
  dialog.cmbGames_Click();
  EXPECT_TRUE(dialog.optColor[1]->isChecked());

  // An archive from another PC that carries more than its information file
  // leaves the other games' files alone.
  const std::string stranger = tree.path("stranger/" + C::OfferInfoName(stems[0]));
  testsupport::WriteFile(stranger, "forged\r\n");
  {
    platform::ZipArchive zip;
    zip.SetPassword(C::kArchivePassword);
    ASSERT_TRUE(zip.Create(C::OfferedDir() + "two.zip"));
    ASSERT_TRUE(zip.AddFile(C::OfferedDir() + C::OfferInfoName(stems[1]), 9));
    ASSERT_TRUE(zip.AddFile(stranger, 9));
    ASSERT_TRUE(zip.Close());
  }
  const std::string firstInfo = testsupport::ReadFile(C::OfferedDir() + C::OfferInfoName(stems[0]));
  fs::rename(C::OfferedDir() + "two.zip", C::OfferedDir() + C::OfferArchiveName(stems[1]));
  dialog.cmbGames_Click();
  EXPECT_EQ(testsupport::ReadFile(C::OfferedDir() + C::OfferInfoName(stems[0])), firstInfo);
  EXPECT_EQ(dialog.lblName->text(), "Offerer1");
}

// A correspondence game is resumed as a tournament whatever the game type
// shows: taking back the partner's move, by the Move menu or the slider, or
// asking the engine is off. A local game still takes Training, also after
// the dialog showed correspondence games.
TEST_F(LoadCorrespondenceTest, ACorrespondenceGameIsResumedAsATournamentALocalGameStillAsTraining) {
  SaveGame(Games("20260101_10_Standard.chs"), {{"e2", "e4"}});
  for (const int kind : {0, 2}) {
    SCOPED_TRACE(kind);
    NewGame("OfflinePP");
    form->ApplyGameType(true);
    app::frmLoadGame dialog(*form);
    dialog.optInternetAction[2 - kind]->setChecked(true);  // the other kind first
    dialog.optInternetAction[kind]->setChecked(true);
    EXPECT_EQ(dialog.optGameType[0]->isEnabled(), kind == 2);
    dialog.optGameType[0]->click();
    dialog.optGameType[0]->setChecked(true);  // as a stale choice would leave it
    dialog.cmdOK_Click();
    const bool training = kind == 2;
    EXPECT_EQ(G::gGameType, training ? "Training" : "Tournament");
    EXPECT_EQ(form->mnuMove->menuAction()->isEnabled(), training);
    EXPECT_EQ(form->tb->button(5)->isEnabled() || form->tb->button(11)->isEnabled(), training);  // Undo, Hint
    // Nor does the move slider take a move back in the correspondence game.
    const int loaded = E::gMoveNumber;
    const E::EngineBoard board = E::gVirtualBoard;
    UserTakesTheMoveSliderBack(*form);
    EXPECT_EQ(E::gMoveNumber, training ? 0 : loaded);
    if (!training) {
      EXPECT_EQ(E::gVirtualBoard, board);
    }
  }
}

// The correspondence kinds' information panel makes the dialog taller; back
// at local games it is as small as before, with no empty space in its frames.
TEST_F(LoadCorrespondenceTest, TheDialogShrinksBackWhenItsInformationPanelGoes) {
  app::frmLoadGame dialog(*form);
  dialog.show();
  const int local = dialog.height();
  dialog.optInternetAction[0]->setChecked(true);
  EXPECT_GT(dialog.height(), local);
  dialog.optInternetAction[2]->setChecked(true);
  EXPECT_EQ(dialog.height(), local);
}

// The choices a correspondence game does not take look switched off, as
// the program shows the dialog (over the main window, in its look), and
// come back at local games: their captions are drawn lighter, not in the
// ink of the choices that can be clicked.
TEST_F(LoadCorrespondenceTest, ChoicesACorrespondenceGameDoesNotTakeLookSwitchedOff) {
  // The darkest ink of a control's caption.
  auto ink = [](QWidget* w) {
    const QImage image = w->grab().toImage();
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return darkest;
  };
  app::frmLoadGame dialog(*form, form.get());
  dialog.show();
  QWidget* const choices[] = {dialog.optGameType[0], dialog.optColor[0], dialog.optColor[1]};
  std::map<QWidget*, int> clickable;
  for (QWidget* choice : choices) clickable[choice] = ink(choice);
  for (const int kind : {0, 2, 1, 2}) {
    SCOPED_TRACE(kind);
    dialog.optInternetAction[kind]->setChecked(true);
    const bool local = kind == 2;
    for (QWidget* choice : choices) {
      SCOPED_TRACE(choice->objectName().toStdString());
      EXPECT_EQ(choice->isEnabled(), local);
      if (local) EXPECT_EQ(ink(choice), clickable[choice]);
      else EXPECT_GT(ink(choice), clickable[choice] + 40);
    }
  }
}

TEST_F(LoadCorrespondenceTest, NewMovesAreMarkedPastMissingArchivesAndAMarkedGameIsTakenOverWithoutAnotherTransfer) {
  PartnerMoved(stems[0]);
  PartnerMoved(stems[2]);  // the second game has no archive on the server
  NewGame("OfflinePP");
  app::frmLoadGame dialog(*form);
  dialog.optInternetAction[0]->setChecked(true);
  // With the server out of reach the first failed fetch ends the marking.
  NoServer();
  app::SetCheckValue(form->chkTestInternetConnection, 1);
  fs::remove(ZVK_ErrorLog::ErrorLogPath());
  dialog.cmdNewMove_Click();
  const std::vector<std::string> trace = testsupport::Lines(testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()));
  EXPECT_EQ(std::count_if(trace.begin(), trace.end(), [](const std::string& l) { return l.rfind("GET ", 0) == 0; }), 1);
  EXPECT_EQ(dialog.GamePicture(0), app::frmLoadGame::kGamePicture);
  app::SetCheckValue(form->chkTestInternetConnection, 0);
  server.useAsGameServer();

  dialog.cmdNewMove_Click();
  EXPECT_EQ(dialog.GamePicture(0) + dialog.GamePicture(2), 2 * app::frmLoadGame::kNewMovePicture);
  EXPECT_EQ(dialog.GamePicture(1), app::frmLoadGame::kGamePicture);

  // A game on the server that is not newer is not marked.
  SaveGame(tree.path("same/x.chi"), {{"e2", "e4"}, {"e7", "e5"}});
  ASSERT_TRUE(C::PackSingleFile(tree.path("same/x.chi"), server.remotePath("games/" + C::ExchangeArchiveName(stems[1]))));
  dialog.cmdNewMove_Click();
  EXPECT_EQ(dialog.GamePicture(1), app::frmLoadGame::kGamePicture);

  // The first game loads at its last exchanged half-move; the download then
  // takes the waiting move over from the archive already fetched.
  dialog.cmbGames->setCurrentIndex(0);
  dialog.cmbGames_Click();
  dialog.cmdOK_Click();
  EXPECT_EQ(G::gGameMode, "OnlinePP");
  EXPECT_EQ(E::gMoveNumber, 2);
  fs::remove(server.remotePath("games/" + C::ExchangeArchiveName(stems[0])));
  answers.Clear();
  form->cmdDownloadMove_Click();
  EXPECT_TRUE(answers.Calls().empty()) << answers.Calls()[0].text;
  EXPECT_EQ(E::gMoveNumber, 3);
}

// A last exchanged game damaged while the program was closed: Load Game
// says so instead of leaving the board as it was without a word, and the
// download takes the game over from the server.
TEST_F(LoadCorrespondenceTest, ADamagedLastExchangedGameIsTakenOverFromTheServer) {
  PartnerMoved(stems[0]);
  testsupport::WriteFile(C::InternetGameDir() + C::LastGameName(stems[0]), "\"2\"\r\ndamaged\r\n");
  NewGame("OfflinePP");
  Move("d2", "d4");
  app::frmLoadGame dialog(*form);
  dialog.optInternetAction[0]->setChecked(true);
  dialog.cmbGames->setCurrentIndex(0);
  dialog.cmbGames_Click();
  answers.Clear();
  dialog.cmdOK_Click();
  EXPECT_EQ(Messages(), std::vector<std::string>{"Game File not available, please download again"});
  ASSERT_FALSE(form->cmdDownloadMove->isHidden());
  answers.Clear();
  form->cmdDownloadMove->click();
  EXPECT_EQ(Messages(), std::vector<std::string>{});
  EXPECT_EQ(E::gMoveNumber, 3);
  EXPECT_EQ(At("f3"), -E::kKnight);
}

// The games are marked by their place in the list, and a preview sets the
// game's id once its offer has come: while either waits for the server, no
// kind, pick, OK or Cancel may change the list or end the dialog under it
// (a local game loaded meanwhile would be given the previewed game's id).
TEST_F(LoadCorrespondenceTest, TheDialogKeepsStillWhileItsTransfersRun) {
  PartnerMoved(stems[0]);
  SaveGame(Games("20260101_10_Standard.chs"), {{"e2", "e4"}});
  const std::string offer = C::OfferArchiveName(stems[0]);
  const std::tuple<const char*, std::function<void(app::frmLoadGame&)>, bool> rows[] = {  // what runs, started by, marks
      {"Check for New Moves", [](app::frmLoadGame& d) { d.cmdNewMove_Click(); }, true},
      {"a preview whose offer is fetched", [&](app::frmLoadGame& d) {
         fs::copy_file(C::OfferedDir() + offer, server.remotePath("offered/" + offer), fs::copy_options::overwrite_existing);
         fs::remove(C::OfferedDir() + offer);
         d.cmbGames->setCurrentIndex(0);
         d.cmbGames_Click();
       }, false},
  };
  for (const auto& [what, start, marks] : rows) {
    SCOPED_TRACE(what);
    NewGame("OfflinePP");
    G::gGameStopped = 0;
    app::frmLoadGame dialog(*form);
    dialog.optInternetAction[0]->setChecked(true);
    const std::vector<QWidget*> controls = {dialog.optInternetAction[0], dialog.optInternetAction[2], dialog.cmbGames,
                                            dialog.cmdNewMove, dialog.cmdOK, dialog.cmdCancel, dialog.optGameType[1]};
    const auto live = [&] { return std::count_if(controls.begin(), controls.end(), [](QWidget* c) { return c->isEnabled(); }); };
    ASSERT_EQ(live(), 7);
    long liveDuring = -1;
    ClickDuringTransfer(*form, [&] {  // what a user could do while the first archive comes
      liveDuring = live();
      dialog.optInternetAction[2]->click();
      dialog.cmdOK->click();
      dialog.cmdCancel->click();
      dialog.close();
    });

    start(dialog);

    EXPECT_EQ(liveDuring, 0);
    EXPECT_TRUE(dialog.optInternetAction[0]->isChecked());
    EXPECT_EQ(Items(dialog.cmbGames), stems);
    EXPECT_EQ(dialog.GamePicture(0) == app::frmLoadGame::kNewMovePicture, marks);
    EXPECT_EQ(G::gGameStopped, 0);  // not cancelled
    EXPECT_EQ(E::gMoveNumber, 0);   // nor the local game loaded
    EXPECT_EQ(C::gInternetGameID, C::GameIdOfStem(stems[marks ? 2 : 0]));  // the game shown
    EXPECT_EQ(live(), 7);
  }
}

}  // namespace
}  // namespace apptest
