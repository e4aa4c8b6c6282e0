// The steps of the main window's creation that fill its lists and read the
// user's stored choices.
#include <QComboBox>
#include <QDir>
#include <QStringList>

#include "app/fMainForm.h"
#include "app/WindowBridges.h"
#include "board/Profiles.h"
#include "board/TakenPieces.h"
#include "board/TextNumbers.h"
#include "support/ZVK_Language.h"
#include "platform/AppPath.h"
#include "platform/DoEvents.h"
#include "platform/SettingsStore.h"
#include "support/AppIdentity.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_File_Dir.h"
#include "support/ZVK_Registry.h"

namespace app {

namespace {

// Names of a folder's files matching a pattern, in the folder's own order.
QStringList ListFiles(const std::string& folder, const QString& pattern) {
  QDir dir(QString::fromStdString(folder));
  if (!dir.exists()) return {};
  return dir.entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Unsorted);
}

}  // namespace

std::string fMainForm::ProfileText() const {
  // Before the list is filled the combo shows its initial text.
  return cmbProfiles->count() == 0 ? std::string("Standard") : cmbProfiles->currentText().toStdString();
}

std::string fMainForm::ProfileApplicationName() const { return ZVK_Registry::ProfileSettingsApp(ProfileText()); }

void fMainForm::SetHelpFile() { helpFile_ = SetHelpStrings(1); }

std::string fMainForm::SetHelpStrings(int16_t helpNumber) const {
  const std::string help = ZVK_File_Dir::sFixDirString(platform::AppPath()) + "help" + platform::kSep;
  if (helpNumber == 1) return help + "Castellan.chm";
  if (helpNumber == 2) return help + "ChessTrl.chm";
  return "";
}

void fMainForm::FillLanguageList() {
  cmbLanguage->clear();
  const std::string folder = ZVK_File_Dir::sFixDirString(platform::AppPath()) + ".." + platform::kSep + "Common" +
                             platform::kSep + "language";
  for (const QString& name : ListFiles(folder, QStringLiteral("*.lng"))) {
    cmbLanguage->addItem(name.left(name.size() - 4));
    platform::DoEvents();
  }
  cmbLanguage->setCurrentIndex(-1);  // listing chooses nothing; the stored choice does
}

void fMainForm::SelectStoredLanguage() {
  try {
    const int16_t position = ZVK_Board_Sub::RoundToInt16(
        ZVK_Board_Sub::ParseNumber(platform::GetSetting(ProfileApplicationName(), "Settings", "cmbLanguage", "1")));
    if (position < 1 || position > cmbLanguage->count())
      throw ZVK_ErrorLog::RuntimeError(35600, "Index out of bounds");
    cmbLanguage->setCurrentIndex(position - 1);
  } catch (...) {
    // A damaged or stale position falls back to the default, the first
    // language, so that the next save stores a position the next start
    // accepts; the failure itself is still logged by the caller.
    if (cmbLanguage->count() > 0) cmbLanguage->setCurrentIndex(0);
    throw;
  }
}

void fMainForm::SetLanguageNameFromList() {
  ZVK_Language::gLanguageName =
      cmbLanguage->currentIndex() < 0 ? std::string() : cmbLanguage->currentText().toStdString();
}

void fMainForm::FillBoardList() {
  const QStringList names = ListFiles(ZVK_File_Dir::sFixDirString(platform::AppPath()) + "board", QStringLiteral("*.JPG"));
  for (const QString& name : names) {
    // The listing ends at the first name too short to carry an extension.
    if (name.size() < 5) break;
    cmbBoard->addItem(name.left(name.size() - 4));
    platform::DoEvents();
  }
}

void fMainForm::FillProfileList() {
  gProfiles = ZVK_Board_Sub::ListStoredProfiles("Form_Initialize of Formular fMainForm");
}

void fMainForm::ShowEmptyBoard() {
  // No game is set up yet: the board picture shows the empty board rather
  // than a blank area until the first game draws its pieces.
  if (bridges_ != nullptr && bridges_->board.Reset_Backgroud_BordPattern(picFrontBuffer->image()))
    picFrontBuffer->update();
}

}  // namespace app
