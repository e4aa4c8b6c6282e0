// New Game: the new-game dialog, then the board reset and the start of the
// game by its mode.
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "app/fMainForm.h"
#include "app/frmNewGame.h"
#include "board/GameRecord.h"
#include "board/MenuStates.h"
#include "board/TakenPieces.h"
#include "board/TextNumbers.h"
#include "board/ZVK_Board_Sub.h"
#include "correspondence/ExchangeFiles.h"
#include "correspondence/Naming.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "platform/DoEvents.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "support/AppIdentity.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_File_Dir.h"
#include "support/ZVK_Registry.h"

namespace app {

using namespace ZVK_Globals;
namespace Board = ZVK_Board_Sub;
namespace Engine = ZVK_Engine;

frmNewGame* fMainForm::NewGameForm() const { return newGameForm_; }

bool fMainForm::ProfileFlag(const std::string& key, bool defaultValue, const char* place) const {
  const std::string stored = platform::GetSetting(ZVK_Registry::ProfileSettingsApp(ProfileText()),
                                                  ZVK_Registry::kSettingsSection, key, defaultValue ? "-1" : "0");
  bool value = defaultValue;
  Guarded(place, [&] { value = Board::ParseBoolean(stored); }, false);
  return value;
}

std::string fMainForm::GenderText() const {
  if (optGender[0]->isChecked()) return "male";
  if (optGender[1]->isChecked()) return "female";
  return "";
}

void fMainForm::SetGameStartCommandsEnabled(bool enabled) {
  mnuNewGame->setEnabled(enabled);
  mnuLoadGameStart->setEnabled(enabled);
  for (int position : {1, 2})
    if (QAction* button = tb->button(position)) button->setEnabled(enabled);
}

void fMainForm::ApplyGameType(bool training) {
  gGameType = training ? "Training" : "Tournament";
  if (training) {
    ZVK_Board_Sub::SetTrainingMenu();
  } else {
    // Edit mode left on from before would move pieces without rules in a game
    // that forbids editing, with no way to switch it off. It ends without
    // the lines of leaving it: the record is the new game's, and in a
    // correspondence game the partner's too.
    if (mnuEdit->isChecked()) {
      mnuEdit->setChecked(false);
      const QSignalBlocker quiet(setup);
      SetCheckValue(setup, 0);
      StatusBar->panel(2)->clear();
    }
    ZVK_Board_Sub::SetTournamentMenu();
  }
  StatusBar->panel(3)->setText(QString::fromStdString(gGameType));
}

void fMainForm::HideExchangeButtons() {
  for (GxButton* button : {cmdSendMove, cmdDownloadMove, cmdSuspend}) button->hide();
}

void fMainForm::mnuNewGame_Click() {
  if (!Guarded("mnuNewGame_Click of Formular fMainForm", [&] {
        if (newGameForm_ == nullptr) {
          newGameForm_ = new frmNewGame(this);
          newGameForm_->Form_Load();
        }
        // The dialog's previews set the id of the offer they show: a game
        // left on the board (one that ended in a mate can still have its
        // last move to send) keeps its own when no game is started.
        const std::string idBefore = correspondence::gInternetGameID;
        newGameForm_->exec();
        // Cancel unloads the dialog; a vanished offer keeps it, hidden, as it was left.
        if (newGameForm_ != nullptr && newGameForm_->Unloaded()) delete newGameForm_.data();
        if (gGameStopped == kTrue) {
          correspondence::gInternetGameID = idBefore;
          return;
        }
        delete newGameForm_.data();
        Reset_Board();

        const char* place = "mnuNewGame_Click of Formular fMainForm";
        const bool online = gGameMode == "OnlinePP";
        // Only a correspondence game has an id on the game server: a game
        // of any other mode keeping the last one's would be sent, fetched or
        // given up under that game's name.
        HideExchangeButtons();
        if (!online) correspondence::gInternetGameID.clear();
        if (online && ProfileFlag("optInternetResume0", false, place)) WriteOffer();
        const bool joined = online && ProfileFlag("optInternetResume1", false, place);
        // The fetch takes the offerer's game over and reports its own problems.
        if (joined) cmdDownloadMove_Click();
        if (!joined)
          platform::MsgBox("Start the game by selecting the first white move", 4160, "Castellan Quarto");
        // The status line and the mode panel name the new game, not the last one.
        StatusReport();
      }))
    return;
  platform::DoEvents();
}

void fMainForm::WriteOffer() {
  namespace cor = correspondence;
  ZVK_File_Dir::CreateDirectoryStruct(cor::OfferedDir());
  cor::gInternetGameID = cor::InternetGameId(ZVK_Identity::gMachineID, QDateTime::currentDateTime());
  cor::OfferInfo offer;
  offer.gameId = cor::gInternetGameID;
  offer.nickname = txtUserNickName->text().toStdString();
  offer.country = cmbCountry->currentText().toStdString();
  offer.language = cmbLanguage->currentText().toStdString();
  offer.colour = std::to_string(gPlayerColor);
  offer.gender = GenderText();
  offer.age = txtAge->text().toStdString();
  // Nothing is uploaded yet: the offer goes to the server with the first send.
  cor::WriteOfferInfoFile(cor::OfferedDir() + cor::OfferInfoName(cor::ExchangeStem(cor::gInternetGameID)), offer);
}

void fMainForm::Reset_Board() {
  if (!Guarded("Reset_Board of Formular fMainForm", [&] {
        // The next game gets a file of its own at its first save.
        CurrentGameFile.clear();
        NoteAnotherGame();
        gColorToMove = kWhite;
        Engine::gMoveNumber = 0;
        Engine::Initial_Game();
        Board::gPieceSelected = kFalse;
        picFrontBuffer->setToolTip(QString());
        Board::Update_Board();
        Board::Reset_TakenPieces_Board();
        ResetClock();
        Board::ClearGameRecord();
        // The orientation stays what the caller left; the labels follow it.
        ShowCoordinateCaptions();
        HScroll1->setValue(0);
        HScroll1->setMaximum(0);
        lbl_Play->setText(QStringLiteral("0"));
      }))
    return;
  platform::DoEvents();
}

void fMainForm::ShowCoordinateCaptions() {
  const bool turned = gBoardSide == -1;
  for (int k = 0; k < 8; ++k) {
    const QString file(QChar(turned ? 'H' - k : 'A' + k));
    const QString rank = QString::number(turned ? 8 - k : k + 1);
    lblFile[k]->setText(file);
    lblFile[k + 8]->setText(file);
    lblRank[k]->setText(rank);
    lblRank[k + 8]->setText(rank);
  }
}

}  // namespace app
