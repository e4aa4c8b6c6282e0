#include "app/frmLoadGame.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/AnimationControl.h"
#include "app/fMainForm.h"
#include "board/GameFile.h"
#include "board/MenuStates.h"
#include "board/TakenPieces.h"
#include "board/TextNumbers.h"
#include "board/ZVK_Board_Sub.h"
#include "correspondence/ExchangeFiles.h"
#include "correspondence/FtpRunner.h"
#include "correspondence/Naming.h"
#include "correspondence/Packing.h"
#include "engine/ZVK_Globals.h"
#include "platform/AppPath.h"
#include "platform/DoEvents.h"
#include "platform/Inet.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_File_Dir.h"

namespace app {

using namespace ZVK_Globals;
namespace C = correspondence;

namespace {

constexpr const char* kSection = "Settings";
constexpr int kLocal = 2;   // optInternetAction index of the local games
constexpr int kJoined = 1;  // ... of the joined correspondence games


void ShowPlain(QLabel* label, const std::string& text) { label->setText(QString::fromStdString(text)); }

std::string ProgramDir() { return ZVK_File_Dir::sFixDirString(platform::AppPath()); }

}  // namespace

frmLoadGame::frmLoadGame(fMainForm& main, QWidget* parent)
    : QDialog(parent), main_(main), idAtOpen_(C::gInternetGameID) {
  SetUpDialog(this, QStringLiteral("frmLoadGame"), QStringLiteral(" Load & Resume Game  . . ."));

  auto* layout = new QVBoxLayout(this);
  auto* kinds = new QGroupBox;
  auto* kv = new QVBoxLayout(kinds);
  const char* kindCaptions[] = {"Resume an offered game", "Resume a joined game", "Load a local stored game"};
  for (int i = 0; i < 3; ++i) {
    optInternetAction[i] = Named(new QRadioButton(QString::fromLatin1(kindCaptions[i])), Indexed("optInternetAction", i));
    kv->addWidget(optInternetAction[i]);
    // Choosing an option, by hand or by program, fills the list at once.
    connect(optInternetAction[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) optInternetAction_Click(i);
    });
  }
  layout->addWidget(kinds);

  auto* listRow = new QHBoxLayout;
  cmbGames = Named(new QComboBox, QStringLiteral("cmbGames"));
  cmbGames->setMinimumWidth(280);
  connect(cmbGames, &QComboBox::activated, this, [this] { cmbGames_Click(); });
  listRow->addWidget(cmbGames, 1);
  cmdLoadLocalGame = Named(new GxButton(QStringLiteral("Search for Game")), QStringLiteral("cmdLoadLocalGame"));
  connect(cmdLoadLocalGame, &QPushButton::clicked, this, [this] { cmdLoadLocalGame_Click(); });
  listRow->addWidget(cmdLoadLocalGame);
  cmdNewMove = Named(new GxButton(QStringLiteral("Check for New Moves")), QStringLiteral("cmdNewMove"));
  connect(cmdNewMove, &QPushButton::clicked, this, [this] { cmdNewMove_Click(); });
  listRow->addWidget(cmdNewMove);
  layout->addLayout(listRow);

  fraNewGame = GameInfoFrame(*this);
  layout->addWidget(fraNewGame);

  auto* players = new QHBoxLayout;
  auto* me = new QGroupBox(QStringLiteral("Player 1 (Me)"));
  auto* mv = new QGridLayout(me);
  optColor[0] = Named(new QRadioButton(QStringLiteral("White")), Indexed("optColor", 0));
  optColor[1] = Named(new QRadioButton(QStringLiteral("Black")), Indexed("optColor", 1));
  mv->addWidget(optColor[0], 0, 0);
  mv->addWidget(optColor[1], 0, 1);
  mv->addWidget(new QLabel(QStringLiteral("Name :")), 1, 0);
  txtNamePlayer1 = Named(new QLineEdit, QStringLiteral("txtNamePlayer1"));
  mv->addWidget(txtNamePlayer1, 1, 1);
  players->addWidget(me);
  auto* partner = new QGroupBox(QStringLiteral("Player 2"));
  auto* pv = new QGridLayout(partner);
  pv->addWidget(new QLabel(QStringLiteral("Name :")), 0, 0);
  txtNamePlayer2 = Named(new QLineEdit, QStringLiteral("txtNamePlayer2"));
  pv->addWidget(txtNamePlayer2, 0, 1);
  players->addWidget(partner);
  layout->addLayout(players);

  auto* type = new QGroupBox(QStringLiteral("Game Type"));
  auto* tv = new QHBoxLayout(type);
  optGameType[0] = Named(new QRadioButton(QStringLiteral("Training Session")), Indexed("optGameType", 0));
  optGameType[1] = Named(new QRadioButton(QStringLiteral("Tournament")), Indexed("optGameType", 1));
  optGameType[0]->setChecked(true);
  tv->addWidget(optGameType[0]);
  tv->addWidget(optGameType[1]);
  layout->addWidget(type);

  auto* buttons = new QHBoxLayout;
  // The transfer picture shows beside the buttons, where there is room for
  // it: in the list's row it would widen the dialog for good.
  Animation1 = Named(new QLabel, QStringLiteral("Animation1"));
  Animation1->hide();
  buttons->addWidget(Animation1);
  buttons->addStretch(1);
  cmdOK = Named(new GxButton(QStringLiteral("OK")), QStringLiteral("cmdOK"));
  cmdOK->setEnabled(false);
  cmdCancel = Named(new GxButton(QStringLiteral("Cancel")), QStringLiteral("cmdCancel"));
  connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);
  layout->addLayout(buttons);

  Form_Load();
}

frmLoadGame::~frmLoadGame() = default;

// ---- settings of the profile

bool frmLoadGame::ReadFlag(const char* key, bool defaultValue) const {
  return main_.ProfileFlag(key, defaultValue, "form_load of Formular frmLoadGame");
}

std::string frmLoadGame::ReadText(const char* key, const std::string& defaultValue) const {
  return platform::GetSetting(main_.ProfileApplicationName(), kSection, key, defaultValue);
}

void frmLoadGame::SaveText(const char* key, const std::string& value) const {
  platform::SaveSetting(main_.ProfileApplicationName(), kSection, key, value);
}

void frmLoadGame::Form_Load() {
  Guarded("form_load of Formular frmLoadGame", [&] {
    // The list is filled by the stored choice: each option fills it as it is chosen.
    if (ReadFlag("optInternetAction2", true)) optInternetAction[kLocal]->setChecked(true);
    SaveFlag("optInternetAction2", optInternetAction[kLocal]->isChecked());
    optColor[ReadFlag("optColor0", true) ? 0 : 1]->setChecked(true);
    if (ReadFlag("optColor1", false)) optColor[1]->setChecked(true);
    for (int i = 0; i < 2; ++i) {
      if (ReadFlag(i == 0 ? "optInternetAction0" : "optInternetAction1", false)) optInternetAction[i]->setChecked(true);
    }
    txtNamePlayer1->setText(
        QString::fromStdString(ReadText("txtNamePlayer1", main_.txtUserNickName->text().toStdString())));
    txtNamePlayer2->setText(QString::fromStdString(ReadText("txtNamePlayer2", "CPU")));
  });
}

// ---- the list of games

int frmLoadGame::GamePicture(int item) const { return cmbGames->itemData(item).toInt(); }

void frmLoadGame::SetGamePicture(int item, int picture) {
  cmbGames->setItemData(item, picture);
  cmbGames->setItemIcon(item, fMainForm::ImageList2(picture));
}

void frmLoadGame::AddGame(const QString& text) {
  cmbGames->addItem(text);
  SetGamePicture(cmbGames->count() - 1, kGamePicture);
}

void frmLoadGame::optInternetAction_Click(int index) {
  Guarded("optInternetAction_Change of Formular frmLoadGame", [&] {
    const bool local = index == kLocal;
    main_.lblMoveControl->setText(local ? QStringLiteral("Move Control") : QStringLiteral("Move Comment"));
    main_.txtComment->setEnabled(!local);
    cmdLoadLocalGame->setVisible(local);
    fraNewGame->setVisible(!local);
    cmdNewMove->setVisible(!local);
    // A correspondence game's colours come from its information file.
    optColor[0]->setEnabled(local);
    optColor[1]->setEnabled(local);
    // A correspondence game is always a tournament: taking a move back or
    // asking the engine would play another game than the partner's.
    optGameType[0]->setEnabled(local);
    // Without the information panel, back to the size of what is shown.
    FitToContents(this);
    if (local) {
      UpdateLocalGameList();
    } else {
      UpdateGameList();
      optGameType[1]->setChecked(true);
    }
  });
}

void frmLoadGame::UpdateLocalGameList() {
  Guarded("UpdateLocalGameList of Formular frmLoadGame", [&] {
    cmbGames->clear();
    // The games of the current profile: "<anything>_<profile>.chs". The profile
    // name is matched as text, never as a pattern.
    const QString tail = QStringLiteral("_%1.chs").arg(QString::fromStdString(main_.ProfileText()));
    const QDir games(QString::fromStdString(ProgramDir() + "games"));
    for (const QString& name : games.entryList({QStringLiteral("*.chs")}, QDir::Files, QDir::Name)) {
      if (!name.endsWith(tail) || name.size() == tail.size() - 1) continue;
      AddGame(name);
      cmbGames->setCurrentIndex(cmbGames->count() - 1);
      cmdOK->setEnabled(true);
      platform::DoEvents();
    }
  });
}

void frmLoadGame::cmdLoadLocalGame_Click() {
  Guarded("cmdLoadLocalGame_Click of Formular frmLoadGame", [&] {
    if (!optInternetAction[kLocal]->isChecked()) return;
    cmdOK->setEnabled(false);
    LoadLocalGame();
  });
}

void frmLoadGame::LoadLocalGame() {
  Guarded("LoadLocalGame of Formular frmLoadGame", [&] {
    platform::CommonDialog& dialog = main_.Ccmd;
    dialog.Filter = "Chess Games (*.chs)|*.chs|All Files (*.*)|*.*";
    dialog.InitDir = ProgramDir() + "games" + platform::kSep;
    // Made when missing, so that the search starts there and not wherever
    // the program was started from.
    ZVK_File_Dir::CreateDirectoryStruct(dialog.InitDir);
    dialog.DefaultExt.clear();
    dialog.FileName.clear();
    if (!dialog.ShowOpen()) return;
    cmbGames->clear();
    AddGame(QString::fromStdString(dialog.FileName));
    cmbGames->setCurrentIndex(0);
    cmdOK->setEnabled(true);
  });
}

void frmLoadGame::UpdateGameList() {
  Guarded("UpdateGameList of Formular frmLoadGame", [&] {
    cmbGames->clear();
    const bool joined = optInternetAction[kJoined]->isChecked();
    const QDir folder(QString::fromStdString(joined ? C::JoinedDir() : C::OfferedDir()));
    const QString pattern = joined ? QStringLiteral("*j.txt") : QStringLiteral("*n.txt");
    for (const QString& name : folder.entryList({pattern}, QDir::Files, QDir::Name)) {
      // Only an exchange stem may later become part of a path or a command.
      const std::string stem = name.left(static_cast<qsizetype>(C::kStemLength)).toStdString();
      if (!C::IsExchangeStem(stem)) continue;
      AddGame(QString::fromStdString(stem));
      platform::DoEvents();
    }
    if (cmbGames->count() > 0) {
      cmdOK->setEnabled(true);
      cmdNewMove->show();
      cmbGames->setCurrentIndex(cmbGames->count() - 1);
      cmbGames_Click();
    }
  });
}

void frmLoadGame::ClearInformation() {
  for (QLabel* label : {lblDate, lblName, lblCountry, lblPlayer1Color, lblGender, lblAge, lblMove}) label->clear();
  txtNamePlayer1->clear();
  txtNamePlayer2->clear();
}

void frmLoadGame::cmbGames_Click() {
  const bool done = Guarded("cmbJoinNewGame_Change of Formular frmLoadGame", [&] {
    // A game picked from the list can be loaded, also when a search given
    // up has left OK off.
    if (cmbGames->currentIndex() >= 0 && !okRunning_) cmdOK->setEnabled(true);
    if (optInternetAction[kLocal]->isChecked()) return;
    const bool joined = optInternetAction[kJoined]->isChecked();
    const std::string stem = cmbGames->currentText().toStdString();
    if (!C::IsExchangeStem(stem)) return;
    const std::string dir = joined ? C::JoinedDir() : C::OfferedDir();
    const std::string archive = joined ? C::JoinArchiveName(stem) : C::OfferArchiveName(stem);
    const std::string infoName = joined ? C::JoinInfoName(stem) : C::OfferInfoName(stem);
    const std::string infoFile = dir + infoName;
    ZVK_File_Dir::CreateDirectoryStruct(dir);
    if (!ZVK_File_Dir::FileExists(dir + archive)) {
      FTPfileDownload(joined ? C::kRemoteJoined : C::kRemoteOffered, archive, dir + archive);
      if (!ZVK_File_Dir::FileExists(dir + archive)) {
        platform::MsgBox("No information available in the moment\r\nPlease try again later.", 4160,
                         ZVK_ErrorLog::ApplicationTitle());
        return;
      }
    }
    // Only the information file is taken out: an archive from another PC
    // must not replace other games' files in this folder.
    C::UnpackNamedEntry(dir + archive, dir, infoName);
    ClearInformation();
    // Both files share their first eight lines' meaning; only an offer has a ninth.
    const C::OfferInfo info = C::ReadOfferInfoFile(infoFile);
    ShowPlain(lblDate, info.date);
    // A joiner's file holds a machine number where an offer holds the game's id.
    if (C::IsInternetGameId(info.gameId)) C::gInternetGameID = info.gameId;
    ShowPlain(lblName, info.nickname);
    if (joined) {
      txtNamePlayer1->setText(main_.txtUserNickName->text());
      txtNamePlayer2->setText(QString::fromStdString(info.nickname));
    } else {
      txtNamePlayer1->setText(QString::fromStdString(info.nickname));
      txtNamePlayer2->clear();
    }
    ShowPlain(lblCountry, info.country);
    const int32_t offerer = ZVK_Board_Sub::RoundToInt32(ZVK_Board_Sub::ParseNumber(info.colour));
    const bool offererWhite = offerer == C::kWhiteColour;
    ShowPlain(lblPlayer1Color, offererWhite ? "Black" : "White");
    // The local player is the joiner in a joined game and the offerer in an offered one.
    const bool localWhite = joined ? !offererWhite : offererWhite;
    optColor[localWhite ? 0 : 1]->setChecked(true);
    ShowPlain(lblGender, info.gender);
    ShowPlain(lblAge, info.age);
    ShowPlain(lblMove, joined ? std::string() : info.openingMove);
  }, false);
  if (!done) update();
  update();
  platform::DoEvents();
}

bool frmLoadGame::FTPfileDownload(const std::string& folder, const std::string& remoteName,
                                  const std::string& localPath) {
  bool reached = false;
  const platform::InetUse transfer = main_.ClaimTransfer();
  if (!transfer) return false;
  // The dialog stays as it is while the window runs during the wait: a
  // preview goes on to set the id of the game it fetched, which a kind, a
  // pick or OK meanwhile would give to another game, a local one included.
  const bool wasStill = keepStill_;
  keepStill_ = true;
  setEnabled(false);
  Guarded("FTPfileDownload of Formular frmLoadGame", [&] {
    StartTransferAnimation(Animation1, C::kDownloadAnimation);
    main_.IniFTP(folder);
    main_.SendCommand(C::GetCommand(remoteName, localPath));
    reached = main_.Inet1->Connected();
    main_.SendCommand("CLOSE");
  });
  StopTransferAnimation(Animation1);
  keepStill_ = wasStill;
  setEnabled(!keepStill_);
  // Back to its size without the picture.
  FitToContents(this);
  return reached;
}

void frmLoadGame::cmdNewMove_Click() {
  if (cmbGames->count() == 0 || keepStill_) return;
  Guarded("cmdNewMove_Click of Formular frmLoadGame", [&] { cmdOK->setEnabled(false); }, false);
  // The games are marked by their place in the list: another kind, a pick or
  // Cancel meanwhile would mark or drop the wrong ones.
  keepStill_ = true;
  setEnabled(false);
  for (int i = 0; i < cmbGames->count(); ++i) {
    bool stop = false;
    Guarded("cmdNewMove_Click of Formular frmLoadGame", [&] {
      const std::string stem = cmbGames->itemText(i).toStdString();
      if (!C::IsExchangeStem(stem)) return;
      const std::string id = C::GameIdOfStem(stem);
      const std::string dir = C::InternetGameDir();
      ZVK_File_Dir::CreateDirectoryStruct(dir);
      const std::string chiG = C::LastGameName(stem);
      const std::string chiR = C::ReceivedGameName(C::ExchangeStem(id));
      const std::string zip = C::ExchangeArchiveName(C::ExchangeStem(id));
      ZVK_File_Dir::DeleteFiles(dir + zip, 0);
      const bool reached = FTPfileDownload(C::kRemoteGames, C::ExchangeArchiveName(stem), dir + zip);
      if (!ZVK_File_Dir::FileExists(dir + zip)) {
        // A game whose archive is not on the server (an offer never sent)
        // has nothing new; only a server out of reach stops the rest.
        stop = !reached;
        return;
      }
      if (main_.Check4MewMove(dir, zip, chiG, chiR)) SetGamePicture(i, kNewMovePicture);
    }, false);
    if (stop) break;
  }
  setEnabled(true);
  keepStill_ = false;
  Guarded("cmdNewMove_Click of Formular frmLoadGame", [&] {
    if (cmbGames->count() > 0) cmdOK->setEnabled(true);
  }, false);
}

// ---- OK and Cancel

void frmLoadGame::cmdOK_Click() {
  if (okRunning_) return;
  okRunning_ = true;
  bool stayOpen = false;
  Guarded("cmdOK_Click of Formular frmLoadGame", [&] {
    cmdOK->setEnabled(false);
    const std::string text = cmbGames->currentText().trimmed().toStdString();
    if (text.empty()) {
      stayOpen = true;
      platform::DoEvents();
      return;
    }
    const bool internet = !optInternetAction[kLocal]->isChecked();
    if (!internet) {
      std::string path = text;
      if (!QDir::isAbsolutePath(QString::fromStdString(text))) {
        // A listed game is a plain name in the games folder, nothing more.
        if (text != ZVK_File_Dir::sParseFile(text) || text == "." || text == "..")
          throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrPathNotFound, "Path not found");
        path = ProgramDir() + "games" + platform::kSep + text;
      }
      // Read before anything is set up: a game that is refused (missing,
      // damaged, or with a comment the box cannot hold) leaves the window as
      // it was and the dialog open for another choice.
      if (!ZVK_Board_Sub::LoadCompleteGame(path)) {
        cmdOK->setEnabled(true);
        stayOpen = true;
        return;
      }
    }
    gGameStopped = kFalse;
    // Saving the loaded game never writes over the file it came from or the last game's file.
    main_.CurrentGameFile.clear();
    main_.NoteAnotherGame();
    for (int i = 0; i < 3; ++i) {
      SaveFlag(i == 0 ? "optInternetAction0" : i == 1 ? "optInternetAction1" : "optInternetAction2",
               optInternetAction[i]->isChecked());
    }
    SaveFlag("optColor0", optColor[0]->isChecked());
    SaveFlag("optColor1", optColor[1]->isChecked());
    SaveText("txtNamePlayer1", txtNamePlayer1->text().toStdString());
    SaveText("txtNamePlayer2", txtNamePlayer2->text().toStdString());

    if (internet) {
      if (!C::IsExchangeStem(text)) throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrFileNotFound, "File not found");
      C::gInternetGameID = C::GameIdOfStem(text);
    } else {
      // A local game has no game on the server: it keeps neither the id of
      // the last correspondence game nor that of one previewed here, and
      // none of that game's exchange buttons.
      C::gInternetGameID.clear();
      main_.HideExchangeButtons();
    }
    if (optColor[0]->isChecked()) {
      main_.txtNameWhite->setText(txtNamePlayer1->text());
      main_.txtNameBlack->setText(txtNamePlayer2->text());
      gBoardSide = 1;
      gPlayerColor = kWhite;
    } else {
      main_.txtNameWhite->setText(txtNamePlayer2->text());
      main_.txtNameBlack->setText(txtNamePlayer1->text());
      gBoardSide = -1;
      gPlayerColor = kBlack;
    }
    // The labels turn with the board, also when the last game was seen from the other side.
    main_.ShowCoordinateCaptions();
    if (internet) {
      gGameMode = "OnlinePP";
      main_.cmdDownloadMove->show();
      main_.cmdSuspend->show();
      main_.cmdSendMove->hide();
      main_.LoadInternetPlay(C::InternetGameDir() + C::LastGameName(C::ExchangeStem(C::gInternetGameID)));
    } else {
      gGameMode = "OfflinePP";
      main_.cmdStartCPUMove->show();
    }
    main_.ApplyGameType(!internet && optGameType[0]->isChecked());
    main_.SetGameStartCommandsEnabled(false);
    ZVK_Board_Sub::Update_Board();
    ZVK_Board_Sub::Correct_TakenPieces();
    // The status line and the mode panel name the loaded game, not the last one.
    main_.StatusReport();
  });
  okRunning_ = false;
  if (stayOpen) return;
  // Unloaded also after an error: the game is as far set up as it got.
  done_ = true;
  accept();
  platform::DoEvents();
}

void frmLoadGame::cmdCancel_Click() {
  // Nor while the check marks the list (its games are marked by their
  // place) or a transfer waits.
  if (okRunning_ || keepStill_) return;
  Guarded("cmdCancel_Click of Formular frmLoadGame", [&] {
    ZVK_Board_Sub::gPieceSelected = kFalse;
    main_.SetGameStartCommandsEnabled(true);
    gGameStopped = kTrue;
    C::gInternetGameID = idAtOpen_;
  });
  done_ = true;
  QDialog::reject();
}

void frmLoadGame::reject() {
  if (!done_) cmdCancel_Click();
}

void frmLoadGame::closeEvent(QCloseEvent* event) {
  // Closing the window is the same as Cancel.
  reject();
  if (done_) event->accept();
  else event->ignore();
}

void frmLoadGame::done(int result) {
  Form_Unload();
  QDialog::done(result);
}

void frmLoadGame::Form_Unload() {
  Guarded("form_unload of Formular frmLoadGame", [&] { cmbGames->setCurrentIndex(-1); });
}

}  // namespace app
