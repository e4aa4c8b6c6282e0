// The File menu: load and save games, the profile entries, Preferences and Exit.
#include <QDateTime>
#include <QFileInfo>

#include "app/fMainForm.h"
#include "board/GameFile.h"
#include "board/Profiles.h"
#include "platform/AppPath.h"
#include "platform/DoEvents.h"
#include "platform/MessageBox.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_File_Dir.h"

namespace app {

namespace {
constexpr const char* kSavePlace = "mnuSaveGame_Click of Formular fMainForm";
constexpr const char* kGameExtension = ".chs";

std::string GamesFolder() { return ZVK_File_Dir::sFixDirString(platform::AppPath()) + "games"; }

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}
}  // namespace

std::string fMainForm::DatedGameFileName(const QDateTime& when, int copy) const {
  std::string hour = when.toString(QStringLiteral("yyyyMMdd_HH")).toStdString();
  // The load dialog lists games by name and preselects the last one, so a
  // later game of the hour must sort after the earlier ones: "~" sorts after
  // the "_" that follows the hour in the first save's name, and one "~" per
  // digit puts copy 10 after copy 9.
  if (copy > 1) {
    const std::string count = std::to_string(copy);
    hour += std::string(count.size(), '~') + count;
  }
  return ZVK_File_Dir::sFixDirString(GamesFolder()) + hour + "_" + ProfileText() + kGameExtension;
}

bool fMainForm::SaveGameTo(const std::string& path) {
  if (ZVK_Board_Sub::SaveCompleteGame(path)) {
    // From now on this game's saves go here.
    CurrentGameFile = path;
    return true;
  }
  // Said on screen as well: the log may be just as unwritable as the file.
  platform::MsgBox("The game could not be saved to\r\n" + path +
                       "\r\n\r\nIt is still open: save it elsewhere with Save Game As.",
                   4112, ZVK_ErrorLog::ApplicationTitle());
  return false;
}

void fMainForm::mnuLoadGameStart_Click() {
  Guarded("mnuLoadGameStart_Click of Formular fMainForm", [&] { ShowLoadGameDialog(); });
  platform::DoEvents();
}

bool fMainForm::mnuSaveGame_Click() {
  bool saved = false;
  Guarded(kSavePlace, [&] {
    ZVK_File_Dir::CreateDirectoryStruct(GamesFolder());
    std::string file = CurrentGameFile;
    if (file.empty() || file == kGameExtension) {
      // The game's first save: a file of the same hour may hold an earlier
      // game, which must stay as it is.
      const QDateTime now = QDateTime::currentDateTime();
      int copy = 1;
      do file = DatedGameFileName(now, copy++);
      while (QFileInfo::exists(QString::fromStdString(file)));
    }
    saved = SaveGameTo(file);
  });
  platform::DoEvents();
  return saved;
}

bool fMainForm::mnuSaveGameAs_Click() {
  bool saved = false;
  Guarded(kSavePlace, [&] {
    ZVK_File_Dir::CreateDirectoryStruct(GamesFolder());
    Ccmd.Filter = "Chess Games (*.chs)|*.chs|All Files (*.*)|*.*";
    Ccmd.InitDir = GamesFolder();
    Ccmd.DefaultExt = "chs";
    Ccmd.FileName = ProfileText();
    if (!Ccmd.ShowSave()) return;
    std::string chosen = Ccmd.FileName;
    // Compared exactly: "GAME.CHS" becomes "GAME.CHS.chs", as the saved-games
    // list only picks up names ending in the lower-case extension.
    if (!EndsWith(chosen, kGameExtension)) chosen += kGameExtension;
    // The profile's name leads the file name, so that the load dialog lists
    // the game under that profile.
    const std::string file = ZVK_File_Dir::sFixDirString(ZVK_File_Dir::sParsePath(chosen)) + ProfileText() + "_" +
                             ZVK_File_Dir::sParseFile(chosen);
    // The dialog asked about the name as chosen, not about the one written:
    // another game's file is replaced only when the user says so.
    if (file != CurrentGameFile && QFileInfo::exists(QString::fromStdString(file)) &&
        platform::MsgBox(file + "\r\nalready holds a game. Do you want to replace it?", 4388,
                         ZVK_ErrorLog::ApplicationTitle()) != platform::vbYes)
      return;
    saved = SaveGameTo(file);
  });
  platform::DoEvents();
  return saved;
}

void fMainForm::mnuAddProfile_Click() {
  Guarded("mnuAddProfile_Click of Formular fMainForm", [&] { ZVK_ErrorLog::InNextVersion(); });
  platform::DoEvents();
}

void fMainForm::mnuImportPGN_Click() {
  Guarded("mnuImportPGN_Click of Formular fMainForm", [&] { ZVK_ErrorLog::InNextVersion(); });
  platform::DoEvents();
}

void fMainForm::mnuDleteProfile_Click() {
  Guarded("mnuDleteProfile_Click of Formular fMainForm", [&] {
    platform::MsgBox("The Standard Profile can't be deleted", 4160, "Castellan Quarto");
  });
  platform::DoEvents();
}

void fMainForm::mnuOptions_Click() {
  Guarded("mnuOptions_Click of Formular fMainForm", [&] {
    const bool show = !mnuOptions->isChecked();
    mnuOptions->setChecked(show);
    if (show) {
      mnuTakenPieces->setChecked(false);
    }
    ShowSidePanel(show ? 1 : 0);
    ZVK_Board_Sub::Save2Registry();
  });
  platform::DoEvents();
}

void fMainForm::mnuExit_Click() {
  // The closing question decides; errors here are of no interest to anyone.
  try {
    close();
  } catch (...) {
  }
}

}  // namespace app
