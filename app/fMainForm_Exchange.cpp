// The correspondence exchange on the main window: the FTP connection
// members, the progress animation of a transfer, sending the local move and
// fetching the partner's.
#include <QLabel>
#include <QLineEdit>
#include <QMovie>
#include <QTextEdit>

#include "app/AnimationControl.h"
#include "app/fMainForm.h"
#include "board/GameFile.h"
#include "correspondence/ExchangeFiles.h"
#include "correspondence/Naming.h"
#include "correspondence/NewMove.h"
#include "correspondence/Packing.h"
#include "correspondence/UnsentMove.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "platform/DoEvents.h"
#include "platform/MessageBox.h"
#include "support/AppIdentity.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_File_Dir.h"
#include "support/ZVK_Internet.h"

namespace app {

using namespace ZVK_Globals;
using ZVK_Engine::gMoveNumber;

platform::InetUse fMainForm::ClaimTransfer(platform::InetPurpose purpose) {
  return ZVK_Internet::ClaimTransfer(*Inet1, purpose);
}

void fMainForm::IniFTP(const std::string& folder) { ftp_->IniFTP(folder); }

bool fMainForm::SendCommand(const std::string& cmd) { return ftp_->SendCommand(cmd); }

void fMainForm::Inet1_StateChanged(int16_t state) { ftp_->StateChanged(state); }

bool fMainForm::TraceSwitchOn() const { return CheckValue(chkTestInternetConnection) == 1; }

void fMainForm::ShowTransferState(const std::string& text) {
  lblTestInternetConnection->setText(QString::fromStdString(text));
}

void fMainForm::StartProgressAnimation(const std::string& name) {
  Guarded("StartProgressAnimation of Formular fMainForm", [&] { StartTransferAnimation(Animation1, name); }, false);
}

void fMainForm::StopProgressAnimation() { StopTransferAnimation(Animation1); }

// ------------------------------------------------------------ sending a move

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kMessageTitle = "Castellan";

// The game being exchanged, checked before its stem names any local file
// or FTP command: the id came from another PC's offer or a list entry.
std::string CheckedStem() {
  const std::string stem = correspondence::ExchangeStem(correspondence::gInternetGameID);
  if (!correspondence::IsExchangeStem(stem))
    throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrInvalidCall, "Invalid correspondence game id");
  return stem;
}

// A game that did not come from the game server (a local one, or one
// switched to correspondence play) has no id: nothing of it may be sent or
// fetched, least of all under another game's name. Says so and what to do.
bool RefusedWithoutGameId(const char* what) {
  if (correspondence::IsExchangeStem(correspondence::ExchangeStem(correspondence::gInternetGameID))) return false;
  platform::MsgBox(std::string("This game is not a correspondence game on the game server,") + kCrLf + what + kCrLf +
                       "Please start a correspondence game with New Game or resume one with Load Game.",
                   4144, kMessageTitle);
  return true;
}

bool IsJoiningSide(const std::string& stem) {
  return ZVK_File_Dir::FileExists(correspondence::JoinedDir() + correspondence::JoinInfoName(stem));
}

// Only the PC that made the offer holds it, written by New Game with this
// game's id. A joiner whose join file is missing is not the offering side
// for want of it: its sends must never put anything over the offerer's
// archive in "offered".
bool IsOfferingSide(const std::string& stem) {
  using namespace correspondence;
  const std::string offer = OfferedDir() + OfferInfoName(stem);
  return !IsJoiningSide(stem) && ZVK_File_Dir::FileExists(offer) &&
         ReadOfferInfoFile(offer).gameId == GameIdOfStem(stem);
}

// The offer is completed by the offerer's first move (half-move 1 with
// White, 2 with Black); before that there is no offer archive to put.
int32_t OfferCompletingMove() { return gBoardSide == 1 ? 1 : 2; }

// The half-move whose send failed, kept beside the game: after a restart the
// partner still waits for it.
std::string UnsentMovePath(const std::string& stem) {
  return correspondence::InternetGameDir() + correspondence::UnsentMoveName(stem);
}

bool MoveIsUnsent(const std::string& stem) {
  return correspondence::NotedUnsentMove(UnsentMovePath(stem)) == gMoveNumber;
}

// A note of the same half-move stays as it is: it may say that an upload of
// the move began.
void NoteMoveUnsent(const std::string& stem, int32_t moveNumber) {
  if (correspondence::NotedUnsentMove(UnsentMovePath(stem)) == moveNumber) return;
  ZVK_File_Dir::CreateDirectoryStruct(correspondence::InternetGameDir());
  ZVK_File_Dir::WriteFile(UnsentMovePath(stem), std::to_string(moveNumber), false);
}

// The next send judges the server's copy of the game before it puts
// anything over it.
void NoteServerToBeChecked(const std::string& stem, int32_t moveNumber) {
  ZVK_File_Dir::CreateDirectoryStruct(correspondence::InternetGameDir());
  correspondence::NoteUploadBegun(UnsentMovePath(stem), moveNumber);
}

// Whether the game on the board may go to a partner who has the last
// exchanged game (less its half-move still to be sent).
correspondence::Continuation ContinuesPartnersGame(const std::string& stem) {
  return correspondence::ContinuesExchangedGame(correspondence::InternetGameDir() + correspondence::LastGameName(stem),
                                                correspondence::NotedUnsentMove(UnsentMovePath(stem)),
                                                ZVK_Engine::gGameLog, gMoveNumber);
}

void SayMoveNotSent() {
  platform::MsgBox(std::string("Your move could not be sent to the game server.") + kCrLf + "Please try again later",
                   4144, kMessageTitle);
}

// A file of this PC, not the game server, stood in the way: trying the
// server again would not help.
void SayMoveNotSaved(const std::string& path) {
  platform::MsgBox("Your move could not be saved on this PC: " + path + " could not be written." + kCrLf +
                       "Please check that the disk has room and the file may be written, then send the move again.",
                   4144, kMessageTitle);
}

void SayGameBreaksPartners() {
  platform::MsgBox(std::string("Your move was not sent: this game no longer continues the game your chess partner "
                               "already has,") +
                       kCrLf + "a half-move the partner has was taken back or changed." + kCrLf +
                       "Please suspend the game and resume it with Load Game to go on from the last exchanged "
                       "position.",
                   4144, kMessageTitle);
}

// The record line of the last move as one line of a file.
std::string LastRecordLine(const QTextEdit* staging) {
  std::string line = staging->toPlainText().toStdString();
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

}  // namespace

fMainForm::GameInHand fMainForm::CurrentGame() {
  return {ZVK_Engine::PositionEpoch(), gMoveNumber, correspondence::gInternetGameID, gGameMode};
}

correspondence::GetOutcome fMainForm::FetchGameArchive(const std::string& zip, const std::string& localPath) {
  // No file of an earlier fetch may pass for this one's.
  ZVK_File_Dir::DeleteFiles(localPath, 0);
  IniFTP(correspondence::kRemoteGames);
  const correspondence::GetOutcome got = ftp_->Get(zip, localPath);
  SendCommand("CLOSE");
  return got;
}

bool fMainForm::KeepMoveToSend() {
  using namespace correspondence;
  if (gGameMode != "OnlinePP" || cmdSendMove->isHidden()) return true;
  const std::string stem = ExchangeStem(gInternetGameID);
  // A game without an id is sent nowhere.
  if (!IsExchangeStem(stem)) return true;
  bool kept = false;
  Guarded("KeepMoveToSend of Formular fMainForm", [&] {
    // One that drops or changes what the partner has is never sent: the last
    // exchanged game stays as the partner has it, to be resumed from.
    const Continuation continuation = ContinuesPartnersGame(stem);
    if (continuation == Continuation::Breaks) {
      kept = true;
      return;
    }
    // The note first: without it, a last exchanged game that already holds
    // the move would read as the game the partner has. One that could not be
    // read (damaged from outside) told nothing: the server's copy will.
    if (continuation == Continuation::Unknown) NoteServerToBeChecked(stem, gMoveNumber);
    else NoteMoveUnsent(stem, gMoveNumber);
    kept = ZVK_Board_Sub::SaveCompleteGame(InternetGameDir() + LastGameName(stem));
  });
  return kept;
}

fMainForm::SendReadiness fMainForm::Prepare_MoveTransmit() {
  sendingGame_ = CurrentGame();
  SendReadiness readiness = SendReadiness::Failed;
  Guarded("Prepare_MoveTransmit of Formular fMainForm", [&] {
    using namespace correspondence;
    const std::string stem = CheckedStem();
    // Checked before anything is written: the offer's opening move too is
    // what the partner already has.
    const Continuation continuation = ContinuesPartnersGame(stem);
    if (continuation == Continuation::Breaks) {
      readiness = SendReadiness::BreaksPartnersGame;
      return;
    }
    // An unreadable last exchanged game blocks nothing: it is written anew
    // below, and the send judges the server's copy instead.
    if (continuation == Continuation::Unknown) NoteServerToBeChecked(stem, gMoveNumber);
    const std::string recordLine = LastRecordLine(RTB2);
    // The offerer's first send completes the offer, which only now becomes
    // visible to other players.
    if (gMoveNumber == OfferCompletingMove() && IsOfferingSide(stem)) {
      AppendOfferOpeningMove(OfferedDir() + OfferInfoName(stem), recordLine);
      PackSingleFile(OfferedDir() + OfferInfoName(stem), OfferedDir() + OfferArchiveName(stem));
      platform::DoEvents();
    }
    // The files below are read from the game on the board, after waits in
    // which the window ran: a game that changed meanwhile is not this send's.
    readiness = SendReadiness::GameChanged;
    if (!StillSendingTheSameGame()) return;
    readiness = SendReadiness::Failed;
    ZVK_File_Dir::CreateDirectoryStruct(InternetGameDir());
    MoveNote note;
    note.machineId = ZVK_Identity::gMachineID;
    note.comment = txtComment->text().toStdString();
    note.recordLine = recordLine;
    WriteMoveNoteFile(InternetGameDir() + MoveNoteName(gInternetGameID, gMoveNumber), note);
    readiness = SendReadiness::GameChanged;
    if (!StillSendingTheSameGame()) return;
    readiness = SendReadiness::Failed;
    // The archive is packed from this file: unsaved, it still holds the
    // previous exchange, which the partner already has.
    if (!ZVK_Board_Sub::SaveCompleteGame(InternetGameDir() + LastGameName(stem))) {
      unwritable_ = InternetGameDir() + LastGameName(stem);
      readiness = SendReadiness::DiskFailed;
      return;
    }
    platform::DoEvents();
    readiness = SendReadiness::GameChanged;
    if (!StillSendingTheSameGame()) return;
    cmdSendMove->setVisible(true);
    cmdDownloadMove->setVisible(false);
    cmdSuspend->setVisible(false);
    if (gMoveNumber == 1 && gBoardSide == -1) cmdSendMove->setVisible(false);
    readiness = SendReadiness::Ready;
  });
  return readiness;
}

void fMainForm::RefuseSend(SendReadiness readiness) {
  Guarded("cmdSendMove_Click of Formular fMainForm", [&] {
    if (readiness == SendReadiness::GameChanged) return;
    if (readiness == SendReadiness::BreaksPartnersGame) {
      // Nothing of this game can be sent; the last exchanged game is still
      // the one the partner has, and Load Game resumes it.
      cmdSendMove->setVisible(false);
      cmdDownloadMove->setVisible(false);
      cmdSuspend->setVisible(true);
      SayGameBreaksPartners();
      return;
    }
    // As a send the server did not take: the move stays to be sent.
    cmdSendMove->setVisible(true);
    cmdDownloadMove->setVisible(false);
    cmdSuspend->setVisible(true);
    Guarded("cmdSendMove_Click of Formular fMainForm", [&] { NoteMoveUnsent(CheckedStem(), gMoveNumber); });
    if (readiness == SendReadiness::DiskFailed) SayMoveNotSaved(unwritable_);
    else SayMoveNotSent();
  });
}

void fMainForm::cmdSendMove_Click() {
  if (RefusedWithoutGameId("so there is no game to send its move to.")) return;
  // Both connections of the send in one hold: nothing may run between them.
  const platform::InetUse transfer = ClaimTransfer();
  if (!transfer) return;
  if (const SendReadiness readiness = Prepare_MoveTransmit(); readiness != SendReadiness::Ready) {
    RefuseSend(readiness);
    return;
  }
  Guarded("cmdSendMove_Click of Formular fMainForm", [&] {
    using namespace correspondence;
    const std::string stem = CheckedStem();
    // Every step waits for the disk or the server while the window runs, so
    // a step goes on only while the game is still the one this send began
    // with. A send cut short writes no file and shows no button for whatever
    // game is there now; its move stays noted as unsent.
    bool same = true;
    const auto step = [&](const std::function<void()>& work) {
      same = same && StillSendingTheSameGame();
      if (same) work();
    };
    // The half-move this send is about, whatever the move slider shows
    // once the transfers are over.
    const int32_t moveNumber = sendingGame_.moveNumber;
    // Judged by what this send had to put.
    bool sent = true;
    // An earlier send of this move began its upload and never learnt that it
    // landed (the program ended in the wait): the server may hold the move,
    // and the partner's answer after it, which another put would wipe out.
    // So too when the last exchanged game could not be read.
    const bool mayBeOnServer = NotedUnsentMove(UnsentMovePath(stem)) == moveNumber &&
                               NotedUploadBegun(UnsentMovePath(stem));
    ServerCopy onServer = ServerCopy::Lacks;
    // A file of this PC that could not be written.
    std::string unwritable;
    step([&] { ZVK_File_Dir::CreateDirectoryStruct(TempDir()); });
    step([&] {
      cmdSendMove->setDisplayState(0);
      cmdSendMove->setVisible(false);
      // Unsent until the server has it, also when the program ends meanwhile:
      // after a restart the partner still waits for it.
      NoteMoveUnsent(stem, moveNumber);
      StartProgressAnimation(kSendAnimation);
    });
    step([&] {
      if (!mayBeOnServer) return;
      const std::string fetched = TempDir() + ExchangeArchiveName(stem);
      const GetOutcome got = FetchGameArchive(ExchangeArchiveName(stem), fetched);
      // A look that failed is not an empty folder: what the server holds
      // stays unknown, and nothing is put over it.
      if (got == GetOutcome::Fetched) onServer = ServerCopyOfGame(fetched, TempDir(), ZVK_Engine::gGameLog, moveNumber);
      else onServer = got == GetOutcome::NotOnServer ? ServerCopy::Lacks : ServerCopy::Unknown;
      ZVK_File_Dir::DeleteFiles(fetched, 0);
      // Anything there that does not continue this game is not put over.
      if (onServer == ServerCopy::Conflicts || onServer == ServerCopy::Unknown) sent = false;
    });
    // The offer goes with every send before the offerer's second move, also
    // when the game is on the server already: an earlier send may have put
    // the game and failed on the offer, which nobody could join then.
    step([&] {
      if (onServer != ServerCopy::Lacks && onServer != ServerCopy::Holds) return;
      if (moveNumber < 3 && moveNumber >= OfferCompletingMove() && IsOfferingSide(stem)) {
        IniFTP(kRemoteOffered);
        sent = SendCommand(PutCommand(OfferedDir() + OfferArchiveName(stem), OfferArchiveName(stem))) && !ending_;
        SendCommand("CLOSE");
      }
      // Already there, the move is sent once the offer is.
      if (onServer == ServerCopy::Holds && sent) ZVK_File_Dir::DeleteFiles(UnsentMovePath(stem), 0);
    });
    // Only a game the server lacks is put.
    const auto put = [&](const std::function<void()>& work) {
      step([&] {
        if (onServer == ServerCopy::Lacks) work();
      });
    };
    const std::string archive = InternetGameDir() + ExchangeArchiveName(stem);
    put([&] {
      ZVK_File_Dir::DeleteFiles(archive, 0);
      if (!PackSingleFile(InternetGameDir() + LastGameName(stem), archive)) unwritable = archive;
      platform::DoEvents();
    });
    put([&] {
      if (!unwritable.empty()) {
        sent = false;
        return;
      }
      NoteUploadBegun(UnsentMovePath(stem), moveNumber);
      IniFTP(kRemoteGames);
      sent = SendCommand(PutCommand(archive, ExchangeArchiveName(stem))) && sent;
      // Leaving the program ends the transfer's wait, whatever the server got
      // by then: a send cut short is not a send.
      sent = sent && !ending_;
      // Noted as sent at once: the sooner the note goes, the less can leave
      // it behind for a move the partner may already have answered.
      if (sent) ZVK_File_Dir::DeleteFiles(UnsentMovePath(stem), 0);
    });
    step([&] {
      ZVK_Board_Sub::SaveCompleteGame(InternetGameDir() + LocalCopyName(gInternetGameID));
      platform::DoEvents();
    });
    step([&] {
      // A move that did not reach the server stays to be sent: waiting for
      // the partner's answer to it would wait for ever.
      // A game on the server that does not continue this one is the
      // partner's to fetch, not this send's to overwrite.
      cmdDownloadMove->setVisible(sent || onServer == ServerCopy::Conflicts);
      cmdSuspend->setVisible(true);
      cmdSendMove->setVisible(!sent);
    });
    SendCommand("CLOSE");
    StopProgressAnimation();
    if (same && onServer == ServerCopy::Conflicts)
      platform::MsgBox(std::string("Your move was not sent: the game server holds a game that does not continue "
                                   "yours,") +
                           kCrLf + "Please download your partner's move first.",
                       4144, kMessageTitle);
    else if (same && !unwritable.empty()) SayMoveNotSaved(unwritable);
    else if (same && !sent && !ending_) SayMoveNotSent();
  });
}

// ------------------------------------------------------------ fetching a move

void fMainForm::cmdDownloadMove_Click() {
  if (RefusedWithoutGameId("so there is no move of a partner to download for it.")) return;
  using namespace correspondence;
  const char* place = "cmdDownloadMove_Click of Formular fMainForm";
  const platform::InetUse transfer = ClaimTransfer();
  if (!transfer) return;
  // Each step goes on after a failure of the one before, so that the
  // connection is closed and the animation stopped in any case.
  Guarded(place, [&] {
    picFrontBuffer->setEnabled(false);
    cmdDownloadMove->setVisible(false);
    cmdSuspend->setVisible(false);
  }, false);
  const std::string dir = InternetGameDir();
  std::string stem;
  const bool known = Guarded(place, [&] {
    ZVK_File_Dir::CreateDirectoryStruct(dir);
    stem = CheckedStem();
  }, false);
  const std::string chiG = LastGameName(stem), chiR = ReceivedGameName(stem), zip = ExchangeArchiveName(stem);
  auto tryAgainLater = [&](const std::string& what) {
    platform::MsgBox(what + kCrLf + "Please try again later", 4144, kMessageTitle);
    cmdDownloadMove->setVisible(true);
    cmdSuspend->setVisible(true);
  };
  enum class Outcome { TakeOver, Missing, NotNew } outcome = Outcome::Missing;
  Guarded(place, [&] {
    // An archive the load dialog fetched a moment ago needs no transfer.
    if (known && ZVK_File_Dir::FileExists(dir + zip) && ZVK_File_Dir::FileExists(dir + chiG) &&
        Check4MewMove(dir, zip, chiG, chiR)) {
      outcome = Outcome::TakeOver;
      return;
    }
    StartProgressAnimation(kDownloadAnimation);
    if (known) {
      FetchGameArchive(zip, dir + zip);
    }
    if (!known || !ZVK_File_Dir::FileExists(dir + zip)) outcome = Outcome::Missing;
    else outcome = Check4MewMove(dir, zip, chiG, chiR) ? Outcome::TakeOver : Outcome::NotNew;
  }, false);
  // Unpacking, checking and copying the game each take a few milliseconds
  // (safe writes wait for the disk): the window runs between them.
  platform::DoEvents();
  Guarded(place, [&] {
    if (outcome == Outcome::Missing) {
      tryAgainLater("There was a download problem,");
    } else if (outcome == Outcome::NotNew) {
      tryAgainLater("No new move from your chess partner is currently available,");
    } else if (!TakeOverReceivedGame(dir, chiG, chiR, zip)) {
      // The partner's file would not load: the game stays as it was.
      tryAgainLater("There was a download problem,");
    } else {
      platform::DoEvents();
      LoadInternetPlay(dir + chiG);
    }
  }, false);
  Guarded(place, [&] { SendCommand("CLOSE"); }, false);
  Guarded(place, [&] { StopProgressAnimation(); }, false);
}

bool fMainForm::Check4MewMove(const std::string& dir, const std::string& zipName, const std::string& chiG,
                              const std::string& chiR) {
  bool isNew = false;
  Guarded("Check4MewMove of Formular fMainForm",
          [&] { isNew = correspondence::HasNewMove(dir, zipName, chiG, chiR); });
  return isNew;
}

void fMainForm::LoadInternetPlay(const std::string& path) {
  Guarded("LoadInternetPlay of Formular fMainForm", [&] {
    // A file damaged from outside the program is as good as none: the
    // user is told to take the game over from the server instead of being
    // left with the board as it was.
    if (ZVK_File_Dir::FileExists(path) && ZVK_Board_Sub::LoadCompleteGame(path)) {
      // On the local player's turn there is nothing to fetch or suspend
      // meanwhile, whichever colour he plays.
      const bool whiteToMove = gMoveNumber % 2 == 0;
      if (whiteToMove == (gPlayerColor == kWhite)) {
        cmdDownloadMove->setVisible(false);
        cmdSuspend->setVisible(false);
      } else if (MoveIsUnsent(CheckedStem())) {
        // As the failed send left it: the move is to be sent, not answered.
        cmdSendMove->setVisible(true);
        cmdDownloadMove->setVisible(false);
        cmdSuspend->setVisible(true);
      }
    } else {
      platform::MsgBox("Game File not available, please download again", 4112, ZVK_ErrorLog::ApplicationTitle());
    }
  });
}

}  // namespace app
