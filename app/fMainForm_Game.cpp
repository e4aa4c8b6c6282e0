// Pausing, suspending and giving up a game.
#include <QLabel>
#include <QLineEdit>

#include "app/fMainForm.h"
#include "board/ZVK_Board_Sub.h"
#include "correspondence/ExchangeFiles.h"
#include "correspondence/FtpRunner.h"
#include "correspondence/Naming.h"
#include "correspondence/Packing.h"
#include "engine/ZVK_Globals.h"
#include "platform/AppPath.h"
#include "platform/DoEvents.h"
#include "platform/MessageBox.h"
#include "support/AppIdentity.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_File_Dir.h"

namespace app {

using namespace ZVK_Globals;
namespace C = correspondence;

void fMainForm::mnuPause_Click() {
  Guarded("mnuPause_Click of Formular fMainForm", [&] {
    // The menu mark, the toolbar button and the clock switch move together.
    const bool pause = !mnuPause->isChecked();
    mnuPause->setChecked(pause);
    SetCheckValue(chkEnableClock, pause ? 0 : 1);
  });
  platform::DoEvents();
}

void fMainForm::mnuSuspendGame_Click() {
  Guarded("mnuSuspendGame_Click of Formular fMainForm", [&] { cmdSuspend_Click(); });
  platform::DoEvents();
}

void fMainForm::cmdSuspend_Click() { CloseGame(); }

bool fMainForm::CloseGame() {
  bool closed = false;
  Guarded("Close_Game of Formular fMainForm", [&] {
    // Stopped first, so that the engine does not move while the game is saved.
    const int16_t wasStopped = gGameStopped;
    gGameStopped = kTrue;
    ZVK_Board_Sub::gPieceSelected = kFalse;
    // A correspondence move not sent yet goes with the last exchanged game,
    // which Load Game resumes; one that cannot be kept keeps the game open.
    if (!KeepMoveToSend()) {
      gGameStopped = wasStopped;
      platform::MsgBox("Your move could not be kept to be sent later.\r\n"
                       "The game is still open: please send the move with Send Move Now.",
                       4112, ZVK_ErrorLog::ApplicationTitle());
      return;
    }
    // Saved before the reset, so the file holds the game as it was. A game
    // that could not be saved stays open (the save said why on screen), so
    // that the user can save it elsewhere.
    if (!mnuSaveGame_Click()) {
      gGameStopped = wasStopped;
      return;
    }
    SetGameStartCommandsEnabled(true);
    Reset_Board();
    // The status line spoke of the closed game's last move.
    lblStatus->setText(QStringLiteral("No Game Currently in Session"));
    // The send as well: pressed for the empty board, it would write that
    // over the closed game's exchange file.
    HideExchangeButtons();
    closed = true;
  });
  platform::DoEvents();
  return closed;
}

std::string fMainForm::GiveUpQuestion() const {
  const std::string base = "Player are you sure that you wish to throw in\r\nthe towel and afford victory to the Enemy";
  const bool white = gColorToMove == kWhite;
  if (gGameMode == "OfflinePP" || gGameMode == "OnlinePP")
    return std::string(white ? "White" : "Black") + " " + base + " " + (white ? "Black" : "White") + " ?";
  if (gGameMode == "OfflinePC") return std::string(white ? "White" : "Black") + " " + base + " CPU ?";
  if (gGameMode == "OfflineCC") return "Are you sure that you wish to end the game ?";
  return base;
}

void fMainForm::mnuGiveUp_Click() {
  Guarded("mnuGiveUp_Click of Formular fMainForm", [&] {
    if (platform::MsgBox(GiveUpQuestion(), 4132, ZVK_ErrorLog::ApplicationTitle()) != platform::vbYes) return;
    const std::string stem = C::ExchangeStem(C::gInternetGameID);
    // The partner learns of it from the closed-game archive on the server. A
    // game switched to correspondence play has no id and so no partner to
    // tell; the id is checked before it names a file or an FTP command.
    const bool tellPartner = gGameMode == "OnlinePP" && C::IsExchangeStem(stem);
    // A game that cannot tell its partner now stays open: closed here alone,
    // the partner would wait for its next move for ever. Told only once the
    // game is closed here: one that could not be saved stays open, and its
    // partner must not hold it as given up meanwhile.
    platform::InetUse transfer;
    if (tellPartner && !(transfer = ClaimTransfer())) return;
    if (CloseGame() && tellPartner) {
      const std::string folder = C::ClosedDir();
      ZVK_File_Dir::CreateDirectoryStruct(folder);
      C::WriteClosedGameFile(folder + C::ClosedInfoName(stem),
                             {{}, ZVK_Identity::gMachineID, txtUserNickName->text().toStdString()});
      C::PackSingleFile(folder + C::ClosedInfoName(stem), folder + C::ClosedArchiveName(stem));
      StartProgressAnimation(C::kSendAnimation);
      IniFTP(C::kRemoteClosed);
      const bool told = SendCommand(C::PutCommand(folder + C::ClosedArchiveName(stem), C::ClosedArchiveName(stem)));
      SendCommand("CLOSE");
      StopProgressAnimation();  // the transfer is over before its message
      // Closed here, the game is still listed by Load Game: given up again
      // from there, its notice is sent once more.
      if (!told)
        platform::MsgBox("Your giving up could not be sent to the game server,\r\n"
                         "Please resume the game with Load Game later and give it up again",
                         4144, ZVK_ErrorLog::ApplicationTitle());
    }
    ZVK_File_Dir::CreateDirectoryStruct(ZVK_File_Dir::sFixDirString(platform::AppPath()) + "games" +
                                        platform::kSep + "closed");
  });
  StopProgressAnimation();
  platform::DoEvents();
}

}  // namespace app
