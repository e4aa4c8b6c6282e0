// The File menu through the real main window: where games are saved, what
// Save As makes of a chosen name, and the profile and pause state a reset leaves.
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "app/frmLoadGame.h"

#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

class FileMenuTest : public MainWindowFixture {
 protected:
  std::string Games() const { return tree.path("Castellan/games"); }
  std::string InGames(const std::string& name) const { return Games() + "/" + name; }

  // A short game with a record, so that a saved file differs from the start.
  void PlayAFewMoves() {
    NewGame("OfflinePP");
    Move("e2", "e4");
    Move("e7", "e5");
    Move("g1", "f3");
  }

  platform::ScriptedFileDialogs dialogs;
};

// A session of three games in one hour: each game's saves, the one at
// Suspend included, stay in the game's own file, and no game's first save
// lands in an earlier game's file.
TEST_F(FileMenuTest, EachGameOfASessionSavesToItsOwnFile) {
  PlayAFewMoves();
  const QDateTime before = QDateTime::currentDateTime();
  form->mnuSaveGame->trigger();
  const std::string first = form->CurrentGameFile;
  // The name carries the hour the save ran in (the test may straddle one).
  EXPECT_TRUE(first == form->DatedGameFileName(before) ||
              first == form->DatedGameFileName(QDateTime::currentDateTime()))
      << first;
  Move("b8", "c6");
  const auto log = E::gGameLog;
  const std::string record = Record();
  form->SetGameStartCommandsEnabled(false);
  form->mnuSuspendGame->trigger();
  EXPECT_TRUE(G::gGameStopped == G::kTrue && E::gMoveNumber == 0 && form->mnuNewGame->isEnabled());

  std::string own;
  for (int game = 2; game <= 3; ++game) {
    NewGame("OfflinePP");
    Move("e2", "e4");
    form->mnuSaveGame->trigger();
    own = form->CurrentGameFile;
    Move("e7", "e5");
    form->mnuSuspendGame->trigger();
    EXPECT_EQ(testsupport::ReadFile(own).substr(0, 3), "\"2\"") << game;
  }
  EXPECT_EQ(QDir(QString::fromStdString(Games())).entryList(QDir::Files).size(), 3);
  // The load dialog offers the session's last game first.
  EXPECT_EQ(app::frmLoadGame(*form).cmbGames->currentText().toStdString(),
            QFileInfo(QString::fromStdString(own)).fileName().toStdString());

  ASSERT_TRUE(B::LoadCompleteGame(first));
  EXPECT_EQ(E::gMoveNumber, 4);
  EXPECT_TRUE(std::equal(log.begin(), log.end(), E::gGameLog.begin()));
  EXPECT_EQ(Record().substr(0, record.size()), record);
}

// The games of one hour, in the order they were first saved: their names
// sort in that order in the load dialog, which preselects the newest.
TEST_F(FileMenuTest, LaterGamesOfAnHourSortAfterEarlierOnes) {
  const QDateTime hour(QDate(2026, 2, 3), QTime(14, 5));
  const std::tuple<QDateTime, int, const char*> cases[] = {  // when, copy, name below the games folder
      {hour, 1, "20260203_14_Standard.chs"},  // a first save, named as files of earlier versions are
      {hour, 9, "20260203_14~9_Standard.chs"},
      {hour, 10, "20260203_14~~10_Standard.chs"},  // not between copies 1 and 9
      {hour, 100, "20260203_14~~~100_Standard.chs"},
      {hour.addSecs(3600), 1, "20260203_15_Standard.chs"},  // the next hour after every copy of this one
  };
  std::vector<std::string> names;
  for (const auto& [when, copy, expected] : cases) {
    const std::string file = form->DatedGameFileName(when, copy);
    EXPECT_EQ(file, InGames(expected)) << copy;
    testsupport::WriteFile(file, "");
    names.push_back(expected);
  }
  const app::frmLoadGame dialog(*form);
  EXPECT_EQ(Items(dialog.cmbGames), names);
  EXPECT_EQ(dialog.cmbGames->currentIndex(), dialog.cmbGames->count() - 1);
}

TEST_F(FileMenuTest, SaveAsPutsTheProfileAheadOfTheChosenNameAndLaterSavesFollowIt) {
  struct Case {
    const char* chosen;    // what the dialog answers, below the games folder ("" cancels)
    const char* expected;  // the file written, below the games folder
  } cases[] = {
      {"mygame", "Standard_mygame.chs"},
      {"mygame.chs", "Standard_mygame.chs"},
      {"sub/deep.chs", "sub/Standard_deep.chs"},
  };
  PlayAFewMoves();
  for (const Case& c : cases) {
    fs::create_directories(fs::path(InGames(c.chosen)).parent_path());
    dialogs.Push(InGames(c.chosen));
    form->mnuSaveGameAs->trigger();
    EXPECT_EQ(form->CurrentGameFile, InGames(c.expected)) << c.chosen;
    EXPECT_TRUE(fs::exists(InGames(c.expected))) << c.chosen;
    EXPECT_EQ(dialogs.Calls().back().fileName, "Standard");
  }

  // Cancel writes nothing and keeps the chosen file; Save Game goes on using it.
  const std::string chosen = form->CurrentGameFile;
  const std::set<std::string> files = FilesIn(Games());
  dialogs.Push("");
  form->mnuSaveGameAs->trigger();
  EXPECT_EQ(form->CurrentGameFile, chosen);
  EXPECT_EQ(FilesIn(Games()), files);
  Move("b8", "c6");
  form->mnuSaveGame->trigger();
  EXPECT_EQ(form->CurrentGameFile, chosen);
  EXPECT_EQ(testsupport::ReadFile(chosen).substr(0, 3), "\"4\"");

  // The next game (New Game resets the board) saves elsewhere, and into the
  // last game's file only when the user agrees.
  form->Reset_Board();
  Move("e2", "e4");
  form->mnuSaveGame->trigger();
  EXPECT_NE(form->CurrentGameFile, chosen);
  answers.Push(platform::vbNo);
  dialogs.Push(InGames("sub/deep.chs"));
  form->mnuSaveGameAs->trigger();
  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_EQ(answers.Calls()[0].text, chosen + "\r\nalready holds a game. Do you want to replace it?");
  EXPECT_EQ(testsupport::ReadFile(chosen).substr(0, 3), "\"4\"");
}

TEST_F(FileMenuTest, AFailedSaveIsReportedAndWritesNothing) {
  PlayAFewMoves();
  // Save As does not make the chosen folder: a folder that is gone fails the save.
  dialogs.Push(InGames("gone/mygame.chs"));
  EXPECT_FALSE(form->mnuSaveGameAs_Click());
  EXPECT_FALSE(fs::exists(InGames("gone")));
  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_EQ(answers.Calls()[0].text.rfind("The game could not be saved to\r\n" + InGames("gone/Standard_mygame.chs"), 0),
            0u);
  EXPECT_TRUE(form->CurrentGameFile.empty());
  EXPECT_TRUE(form->lblError->isVisibleTo(form.get()));  // logged
}

// The profile every user has stays: deleting it only says so.
TEST_F(FileMenuTest, TheStandardProfileCannotBeDeleted) {
  form->mnuDleteProfile->trigger();
  EXPECT_EQ(Messages(), std::vector<std::string>{"The Standard Profile can't be deleted"});
  EXPECT_EQ(form->cmbProfiles->count(), 1);
}

}  // namespace
}  // namespace apptest
