#include "app/frmNewGame.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <string_view>
#include <unordered_set>

#include "app/AnimationControl.h"
#include "app/GameModes.h"
#include "app/fMainForm.h"
#include "board/MenuStates.h"
#include "board/TextNumbers.h"
#include "board/ZVK_Board_Sub.h"
#include "correspondence/ExchangeFiles.h"
#include "correspondence/FtpRunner.h"
#include "correspondence/Naming.h"
#include "correspondence/Packing.h"
#include "engine/ZVK_Globals.h"
#include "platform/DoEvents.h"
#include "platform/Inet.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "support/AppIdentity.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_File_Dir.h"
#include "support/ZVK_Registry.h"

namespace app {

using namespace ZVK_Globals;

namespace {

const char* const kSection = ZVK_Registry::kSettingsSection;
const char* const kLoadPlace = "form_load of Formular frmNewGame";
const char* const kModePlace = "optMode_click of Formular frmNewGame";
const char* const kResumePlace = "optInternetResume_Click of Formular frmNewGame";
const char* const kOKPlace = "cmdOK_Click of Formular frmNewGame";
const char* const kCancelPlace = "cmdCancel_Click of Formular frmNewGame";
const char* const kListPlace = "UpdateGameList of Formular frmNewGame";
const char* const kPreviewPlace = "cmbJoinNewGame_Click of Formular frmNewGame";

namespace cor = correspondence;

constexpr int kInternetMode = 3;

std::string Flag(const QRadioButton* option) { return option->isChecked() ? "-1" : "0"; }

QRadioButton* Option(const QString& name, int index, const char* caption) {
  return Named(new QRadioButton(QString::fromLatin1(caption)), QStringLiteral("%1(%2)").arg(name).arg(index));
}

}  // namespace

frmNewGame::frmNewGame(fMainForm* owner) : QDialog(owner), owner_(owner) {
  SetUpDialog(this, QStringLiteral("frmNewGame"), QStringLiteral("   New Game . . ."));

  auto* modes = new QGroupBox(QStringLiteral("Game Mode"));
  auto* ml = new QVBoxLayout(modes);
  for (int i = 0; i < 4; ++i) {
    optMode[i] = Option(QStringLiteral("optMode"), i, kGameModes[static_cast<size_t>(i)].caption);
    ml->addWidget(optMode[i]);
  }

  auto* types = new QGroupBox(QStringLiteral("Game Type"));
  auto* tl = new QVBoxLayout(types);
  optGameType[0] = Option(QStringLiteral("optGameType"), 0, "Training Session");
  optGameType[1] = Option(QStringLiteral("optGameType"), 1, "Tournament");
  tl->addWidget(optGameType[0]);
  tl->addWidget(optGameType[1]);

  auto* player1 = new QGroupBox(QStringLiteral("Player 1 (Me)"));
  auto* p1 = new QGridLayout(player1);
  txtNamePlayer1 = Named(new QLineEdit, QStringLiteral("txtNamePlayer1"));
  optColor[0] = Option(QStringLiteral("optColor"), 0, "White");
  optColor[1] = Option(QStringLiteral("optColor"), 1, "Black");
  p1->addWidget(new QLabel(QStringLiteral("Name :")), 0, 0);
  p1->addWidget(txtNamePlayer1, 0, 1, 1, 2);
  p1->addWidget(optColor[0], 1, 1);
  p1->addWidget(optColor[1], 1, 2);

  // The second player's frame has no title of its own: its heading label
  // changes with the mode.
  auto* player2 = Named(new QGroupBox, QStringLiteral("fraPlayer2"));
  auto* p2 = new QGridLayout(player2);
  lblPlayer2 = HeadingLabel(QStringLiteral("lblPlayer2"), QStringLiteral("Player 2"));
  lblNamePlayer2 = Named(new QLabel(QStringLiteral("Name :")), QStringLiteral("lblNamePlayer2"));
  txtNamePlayer2 = Named(new QLineEdit, QStringLiteral("txtNamePlayer2"));
  optInternetResume[0] = Option(QStringLiteral("optInternetResume"), 0, "Offer a game");
  optInternetResume[1] = Option(QStringLiteral("optInternetResume"), 1, "Join an offered game");
  cmbJoinNewGame = Named(new QComboBox, QStringLiteral("cmbJoinNewGame"));
  cmbJoinNewGame->setMinimumContentsLength(23);
  cmdUpdateList = Named(new QPushButton(QStringLiteral("Update List")), QStringLiteral("cmdUpdateList"));
  p2->addWidget(lblPlayer2, 0, 0, 1, 3);
  p2->addWidget(lblNamePlayer2, 1, 0);
  p2->addWidget(txtNamePlayer2, 1, 1, 1, 2);
  p2->addWidget(optInternetResume[0], 2, 0, 1, 3);
  p2->addWidget(optInternetResume[1], 3, 0, 1, 3);
  p2->addWidget(cmbJoinNewGame, 4, 0, 1, 2);
  p2->addWidget(cmdUpdateList, 4, 2);

  fraNewGame = GameInfoFrame(*this);

  cmdOK = Named(new QPushButton(QStringLiteral("OK")), QStringLiteral("cmdOK"));
  cmdCancel = Named(new QPushButton(QStringLiteral("Cancel")), QStringLiteral("cmdCancel"));
  cmdOK->setDefault(true);
  Animation1 = Named(new QLabel, QStringLiteral("Animation1"));
  Animation1->hide();

  auto* left = new QVBoxLayout;
  left->addWidget(modes);
  left->addWidget(types);
  left->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(player1);
  right->addWidget(player2);
  right->addWidget(fraNewGame);
  // The frames keep their height when the offer preview is hidden.
  right->addStretch(1);
  // Every control the user can change or press lies in one of two panels,
  // which OK switches off while it runs; the animation stays outside them.
  choices_ = new QWidget;
  auto* columns = new QHBoxLayout(choices_);
  columns->setContentsMargins(0, 0, 0, 0);
  columns->addLayout(left);
  columns->addLayout(right, 1);
  okCancel_ = new QWidget;
  auto* pair = new QHBoxLayout(okCancel_);
  pair->setContentsMargins(0, 0, 0, 0);
  pair->addWidget(cmdOK);
  pair->addWidget(cmdCancel);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Animation1);
  buttons->addStretch(1);
  buttons->addWidget(okCancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(choices_);
  layout->addLayout(buttons);
  setMinimumWidth(560);

  // What a fresh dialog shows before anything is restored.
  optColor[0]->setChecked(true);
  optGameType[0]->setChecked(true);
  optInternetResume[1]->setChecked(true);

  // Another mode, or offering instead of joining, ends any list build or
  // preview under way: what it would still show belongs to the choice before.
  for (int i = 0; i < 4; ++i)
    connect(optMode[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (!on) return;
      AbandonListWork();
      optMode_Click(static_cast<int16_t>(i));
    });
  for (int i = 0; i < 2; ++i)
    connect(optInternetResume[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (!on) return;
      AbandonListWork();
      optInternetResume_Click(static_cast<int16_t>(i));
    });
  // activated: a user's pick, also of the entry already selected.
  connect(cmbJoinNewGame, &QComboBox::activated, this, [this] { cmbJoinNewGame_Click(); });
  connect(cmdUpdateList, &QPushButton::clicked, this, [this] { cmdUpdateList_Click(); });
  connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

std::string frmNewGame::SettingsApp() const { return ZVK_Registry::ProfileSettingsApp(owner_->ProfileText()); }

bool frmNewGame::StoredFlag(const std::string& key, bool defaultValue) const {
  return owner_->ProfileFlag(key, defaultValue, kLoadPlace);
}

std::string frmNewGame::StoredText(const std::string& key, const std::string& defaultValue) const {
  return platform::GetSetting(SettingsApp(), kSection, key, defaultValue);
}

bool frmNewGame::Joining() const { return optMode[kInternetMode]->isChecked() && optInternetResume[1]->isChecked(); }

void frmNewGame::Form_Load() {
  Guarded(kLoadPlace, [&] {
    SetOptionValue(optMode[1], StoredFlag("optMode1", true));
    platform::SaveSetting(SettingsApp(), kSection, "optMode1", Flag(optMode[1]));
    for (int i = 0; i < 4; ++i) SetOptionValue(optMode[i], StoredFlag("optMode" + std::to_string(i), false));
    SetOptionValue(optColor[0], StoredFlag("optColor0", true));
    SetOptionValue(optColor[1], StoredFlag("optColor1", false));
    txtNamePlayer1->setText(QString::fromStdString(StoredText("txtNamePlayer1", owner_->txtUserNickName->text().toStdString())));
    txtNamePlayer2->setText(QString::fromStdString(StoredText("txtNamePlayer2", "CPU")));
    SetOptionValue(optGameType[0], StoredFlag("optGameType0", true));
    SetOptionValue(optGameType[1], StoredFlag("optGameType1", false));
    // The caller shows the dialog modally right after loading it.
    if (optMode[kInternetMode]->isChecked()) UpdateGameList(false);
    platform::DoEvents();
  });
}

void frmNewGame::optMode_Click(int16_t index) {
  Guarded(kModePlace, [&] {
    const bool internet = index == kInternetMode;
    // The main window's side of the layout comes first and stays even when
    // the dialog is cancelled.
    lblPlayer2->setText(internet ? QStringLiteral("Player 2 (Internet)") : QStringLiteral("Player 2"));
    owner_->lblWhitesClock->setVisible(!internet);
    owner_->lblBlacksClock->setVisible(!internet);
    owner_->lblMoveControl->setText(internet ? QStringLiteral("Move Comment") : QStringLiteral("Move Control"));
    owner_->txtComment->setEnabled(internet);

    lblNamePlayer2->setVisible(!internet);
    txtNamePlayer2->setEnabled(!internet);
    const QString nick = owner_->txtUserNickName->text();
    txtNamePlayer1->setText(index == 2 ? QStringLiteral("CPU") : nick);
    switch (index) {
      case 0: txtNamePlayer2->setText(QString::fromStdString(StoredText("txtNamePlayer2", ""))); break;
      case 1:
      case 2: txtNamePlayer2->setText(QStringLiteral("CPU")); break;
      default: txtNamePlayer2->clear(); break;
    }
    optGameType[0]->setEnabled(!internet);
    // A correspondence game is always a tournament.
    if (internet) optGameType[1]->setChecked(true);
    optInternetResume[0]->setVisible(internet);
    optInternetResume[1]->setVisible(internet);

    const bool join = optInternetResume[1]->isChecked();
    cmbJoinNewGame->setVisible(internet && join);
    cmdUpdateList->setVisible(internet && join);
    optColor[0]->setEnabled(!(internet && join));
    optColor[1]->setEnabled(!(internet && join));
    if (internet && join) RunListWork([this] {
      UpdateGameList(false);
      // Rebuilt later, behind a fetch, the list leaves OK as the choice of the mode did.
      cmdOK->setEnabled(false);
    });
    fraNewGame->setVisible(internet);
    cmdOK->setEnabled(!internet);
    FitToContents(this);
    platform::DoEvents();
  });
}

void frmNewGame::optInternetResume_Click(int16_t) {
  Guarded(kResumePlace, [&] {
    const bool join = optInternetResume[1]->isChecked();
    cmbJoinNewGame->setVisible(join);
    cmdUpdateList->setVisible(join);
    fraNewGame->setVisible(join);
    optColor[0]->setEnabled(!join);
    optColor[1]->setEnabled(!join);
    // A join is confirmed only through the list: selecting an offer enables OK.
    if (!join) cmdOK->setEnabled(true);
    FitToContents(this);
    platform::DoEvents();
  });
}

void frmNewGame::StoreChoices() {
  const std::string app = SettingsApp();
  auto save = [&](const std::string& key, const std::string& value) { platform::SaveSetting(app, kSection, key, value); };
  for (int i = 0; i < 4; ++i) save("optMode" + std::to_string(i), Flag(optMode[i]));
  save("optColor0", Flag(optColor[0]));
  save("optColor1", Flag(optColor[1]));
  save("txtNamePlayer1", txtNamePlayer1->text().toStdString());
  save("txtNamePlayer2", txtNamePlayer2->text().toStdString());
  save("optGameType0", Flag(optGameType[0]));
  save("optGameType1", Flag(optGameType[1]));
  save("optInternetResume0", Flag(optInternetResume[0]));
  save("optInternetResume1", Flag(optInternetResume[1]));
  save("cmbJoinNewGame", cmbJoinNewGame->currentText().toStdString());
}

void frmNewGame::cmdOK_Click() {
  if (okRunning_) return;
  okRunning_ = true;
  // Nothing in the dialog can change while OK waits for the server: another
  // mode, colour, pick or refresh meanwhile would rebuild the list and
  // preview another offer, so that one offer is joined and another played.
  // The panels keep each control's own state for when they come back.
  for (QWidget* panel : {choices_, okCancel_}) panel->setEnabled(false);
  gGameStopped = kTrue;
  cmdOK->setEnabled(false);
  const bool joining = Joining();
  // The offer joined: fixed before anything is uploaded, and the only id
  // the join and the game it sets up use.
  std::string joinStem;
  OfferCheck offer = OfferCheck::Open;
  const bool done = Guarded(kOKPlace, [&] {
    if (joining) {
      offer = CheckChosenOffer();
      if (offer != OfferCheck::Open) return;
      joinStem = previewed_;
    }
    StoreChoices();
    for (size_t i = 0; i < kGameModes.size(); ++i)
      if (optMode[i]->isChecked()) gGameMode = kGameModes[i].word;
    const bool white = optColor[0]->isChecked();
    owner_->txtNameWhite->setText(white ? txtNamePlayer1->text() : txtNamePlayer2->text());
    owner_->txtNameBlack->setText(white ? txtNamePlayer2->text() : txtNamePlayer1->text());
    gBoardSide = white ? 1 : -1;
    gPlayerColor = white ? kWhite : kBlack;
    owner_->ApplyGameType(optGameType[0]->isChecked());
    owner_->SetGameStartCommandsEnabled(false);
    if (!joinStem.empty()) JoinChosenOffer(joinStem);
  }, false);
  if (!done) {
    // The connection a failure left open is closed; the game is set up with
    // whatever OK reached.
    Guarded(kOKPlace, [&] {
      // Only when no other transfer's session is there to be closed.
      if (const platform::InetUse transfer{*owner_->Inet1}) owner_->SendCommand("CLOSE");
    }, false);
    StopTransferAnimation(Animation1);
  }
  if (!joinStem.empty()) cor::gInternetGameID = cor::GameIdOfStem(joinStem);
  okRunning_ = false;
  // A dialog kept after OK (the offer was taken meanwhile) opens live next time.
  for (QWidget* panel : {choices_, okCancel_}) panel->setEnabled(true);
  if (offer == OfferCheck::Unchecked && done) {
    // Nothing was learnt about the offer: the dialog stays for another try.
    cmdOK->setEnabled(true);
    return;
  }
  if (offer == OfferCheck::Gone && done) {
    hide();
    return;
  }
  gGameStopped = kFalse;
  hide();
  platform::DoEvents();
}

frmNewGame::OfferCheck frmNewGame::CheckChosenOffer() {
  const QString chosen = cmbJoinNewGame->currentText();
  QStringList listed;
  for (int i = 0; i < cmbJoinNewGame->count(); ++i) listed.push_back(cmbJoinNewGame->itemText(i));
  const int selected = cmbJoinNewGame->currentIndex();
  const ListFetch fetch = UpdateGameList(true);
  if (fetch != ListFetch::Fetched) {
    // A list that did not come says nothing about the offer: it is shown and
    // chosen as before (its preview's details, id and colour never went).
    cmbJoinNewGame->addItems(listed);
    cmbJoinNewGame->setCurrentIndex(selected);
    if (fetch == ListFetch::Unreachable)
      platform::MsgBox("The list of offered games could not be fetched from the game server,\r\n"
                       "so the chosen game could not be checked.\r\n"
                       "Please check the Internet connection and press OK again.",
                       4144, ZVK_ErrorLog::ApplicationTitle());
    return OfferCheck::Unchecked;
  }
  const int found = chosen.isEmpty() ? -1 : cmbJoinNewGame->findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (found >= 0) {
    // The preview runs again, so that id, colour and details are the chosen offer's.
    cmbJoinNewGame->setCurrentIndex(found);
    cmbJoinNewGame_Click();
    // An offer whose details cannot be read cannot be joined; its preview has said so.
    return previewed_ == chosen.toStdString() ? OfferCheck::Open : OfferCheck::Gone;
  }
  platform::MsgBox("The game has already been joined\r\nPlease select another one.", 4160,
                   ZVK_ErrorLog::ApplicationTitle());
  return OfferCheck::Gone;
}

void frmNewGame::JoinChosenOffer(const std::string& stem) {
  const platform::InetUse transfer = owner_->ClaimTransfer();
  Guarded(kOKPlace, [&] {
    if (!transfer) throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrPathAccess, "The join waits for another transfer");
    // The list holds only stems; anything else never becomes a path or a command.
    if (!cor::IsExchangeStem(stem)) throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrInvalidCall, "No offer chosen");
    const std::string dir = cor::JoinedDir();
    ZVK_File_Dir::CreateDirectoryStruct(dir);
    cor::JoinInfo info;
    info.machineId = ZVK_Identity::gMachineID;
    info.nickname = owner_->txtUserNickName->text().toStdString();
    info.country = owner_->cmbCountry->currentText().toStdString();
    info.language = owner_->cmbLanguage->currentText().toStdString();
    info.offererColour = lblPlayer1Color->text() == QLatin1String("White") ? "0" : "16777215";
    info.gender = owner_->GenderText();
    info.age = owner_->txtAge->text().toStdString();
    const std::string txt = dir + cor::JoinInfoName(stem);
    const std::string zip = dir + cor::JoinArchiveName(stem);
    cor::WriteJoinInfoFile(txt, info);
    if (!cor::PackSingleFile(txt, zip))
      throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrPathAccess, "The join archive could not be made");
    StartTransferAnimation(Animation1, cor::kSendAnimation);
    owner_->IniFTP(cor::kRemoteJoined);
    owner_->SendCommand(cor::PutCommand(zip, cor::JoinArchiveName(stem)));
    // Nobody else looks at the upload's outcome: a join that did not reach
    // the server is at least in the log.
    if (const std::string failure = owner_->Inet1->LastError(); !failure.empty())
      throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrPathAccess, "The join could not be uploaded: " + failure);
  });
  if (transfer) Guarded(kOKPlace, [&] { owner_->SendCommand("CLOSE"); }, false);
  StopTransferAnimation(Animation1);
}

void frmNewGame::cmdUpdateList_Click() { UpdateGameList(true); }

void frmNewGame::AbandonListWork() {
  ++listBuilds_;
  ++previews_;
}

void frmNewGame::RunListWork(std::function<void()> work) {
  // The main window's turn for work that waits for a transfer: run now, or
  // once the transfer under way (a fetch of this dialog's) has ended.
  const QPointer<frmNewGame> self(this);
  owner_->RunAfterTransfer([self, work = std::move(work)] {
    if (self != nullptr && !self->unloaded_) work();
  });
}

class frmNewGame::ListWork {
 public:
  explicit ListWork(frmNewGame& d) : d_(d) {
    ++d_.listWork_;
    d_.cmbJoinNewGame->setEnabled(false);
    d_.cmdUpdateList->setEnabled(false);
  }
  ~ListWork() {
    if (--d_.listWork_ > 0) return;
    d_.cmbJoinNewGame->setEnabled(true);
    d_.cmdUpdateList->setEnabled(!d_.listBuildFailed_);
  }
  ListWork(const ListWork&) = delete;
  ListWork& operator=(const ListWork&) = delete;

 private:
  frmNewGame& d_;
};

frmNewGame::ListFetch frmNewGame::UpdateGameList(bool download) {
  // A download counts as come only once both listings are there.
  ListFetch fetch = download ? ListFetch::Unreachable : ListFetch::NotAsked;
  // A build or preview still under way belongs to the list this one replaces.
  AbandonListWork();
  const uint64_t build = listBuilds_;
  ListWork work(*this);
  // Overtaken by a newer build or another choice, or cancelled: what came after stands.
  auto abandoned = [&] { return build != listBuilds_ || unloaded_; };
  listBuildFailed_ = !Guarded(kListPlace, [&] {
    cmbJoinNewGame->clear();
    // An emptied list has nothing to confirm until an offer is selected again.
    cmdOK->setEnabled(false);
    const std::string temp = cor::TempDir();
    ZVK_File_Dir::CreateDirectoryStruct(temp);
    const std::string offers = temp + cor::kOfferListingName;
    const std::string joins = temp + cor::kJoinListingName;
    if (download) {
      // Listings left from before must not stand in for a failed download.
      std::error_code ignored;
      std::filesystem::remove(offers, ignored);
      std::filesystem::remove(joins, ignored);
      const platform::InetUse transfer = owner_->ClaimTransfer();
      if (!transfer) {
        fetch = ListFetch::Refused;
        return;
      }
      StartTransferAnimation(Animation1, cor::kDownloadAnimation);
      // Every command waits for the server: an abandoned build asks nothing more.
      bool listed = true;
      auto step = [&](const std::string& command) {
        if (!abandoned()) listed = owner_->SendCommand(command) && listed;
      };
      cor::gFtpResponseFile = offers;
      owner_->IniFTP(cor::kRemoteOffered);
      step("LS *.*");
      step("CD ..");
      step(std::string("CD ") + cor::kRemoteJoined);
      cor::gFtpResponseFile = joins;
      step("LS *.*");
      owner_->SendCommand("CLOSE");
      StopTransferAnimation(Animation1);
      if (listed && ZVK_File_Dir::FileExists(offers) && ZVK_File_Dir::FileExists(joins)) fetch = ListFetch::Fetched;
      if (abandoned()) return;
    }
    if (ZVK_File_Dir::FileExists(offers) && ZVK_File_Dir::FileExists(joins)) {
      // A busy account lists many thousand names: the window keeps running
      // while they are read, and each is looked up, never compared with
      // every other.
      auto goOn = [&] {
        platform::DoEvents();
        return !abandoned();
      };
      size_t steps = 0;
      auto now = [&] { return ++steps % cor::kListingLinesBetweenCalls != 0 || goOn(); };
      const std::vector<std::string> joined = cor::ReadGameListingFile(joins, goOn);
      std::unordered_set<std::string_view> taken;
      taken.reserve(joined.size());
      for (size_t i = 0; i < joined.size() && now(); ++i)
        taken.insert(std::string_view(joined[i]).substr(0, cor::kStemLength));
      if (abandoned()) return;
      const std::vector<std::string> offered = cor::ReadGameListingFile(offers, goOn);
      std::unordered_set<std::string_view> seen;
      seen.reserve(offered.size());
      QStringList open;
      for (size_t i = 0; i < offered.size() && now(); ++i) {
        const std::string_view stem = std::string_view(offered[i]).substr(0, cor::kStemLength);
        // The same offer listed twice (its archive under two names) is one entry.
        if (taken.count(stem) == 0 && seen.insert(stem).second)
          open.push_back(QString::fromUtf8(stem.data(), static_cast<qsizetype>(stem.size())));
      }
      if (abandoned()) return;
      cmbJoinNewGame->addItems(open);
      if (!open.isEmpty()) {
        // Only the offer left selected is previewed: previewing each in turn
        // fetched every listed archive and showed a message for each one
        // that could not be read.
        cmbJoinNewGame->setCurrentIndex(cmbJoinNewGame->count() - 1);
        cmbJoinNewGame_Click();  // enables OK when the offer can be joined
        if (abandoned()) return;
      }
      if (cmbJoinNewGame->count() == 0 && download)
        platform::MsgBox("No info about new offered games available in the moment.\r\nPlease try again later.", 4160,
                         ZVK_ErrorLog::ApplicationTitle());
    }
  });
  return fetch;
}

void frmNewGame::cmbJoinNewGame_Click() {
  const uint64_t preview = ++previews_;
  ListWork work(*this);
  // Overtaken by another preview, a list build or another choice, or
  // cancelled: what came after stands.
  auto abandoned = [&] { return preview != previews_ || unloaded_; };
  Guarded(kPreviewPlace, [&] {
    cmdOK->setEnabled(false);
    optInternetResume_Click(1);
    if (abandoned()) return;
    // Nothing of an earlier preview may stand in for an offer that cannot
    // be read: OK would join this one with the other's game.
    previewed_.clear();
    cor::gInternetGameID.clear();
    for (QLabel* l : {lblDate, lblName, lblCountry, lblPlayer1Color, lblGender, lblAge, lblMove}) l->clear();
    txtNamePlayer2->clear();
    const std::string stem = cmbJoinNewGame->currentText().toStdString();
    if (!cor::IsExchangeStem(stem)) return;
    const std::string temp = cor::TempDir();
    const std::string zip = temp + cor::OfferArchiveName(stem);
    const std::string txt = temp + cor::OfferInfoName(stem);
    if (!ZVK_File_Dir::FileExists(txt)) {
      std::error_code ignored;
      std::filesystem::remove(zip, ignored);
      FTPfileDownload(cor::kRemoteOffered, cor::GetCommand(cor::OfferArchiveName(stem), zip));
      if (abandoned()) return;
    }
    // The offer file is taken out under the name it must have: another PC's
    // archive decides nothing about the names written here.
    bool readable = ZVK_File_Dir::FileExists(zip) && cor::UnpackFirstEntry(zip, temp, cor::OfferInfoName(stem));
    const cor::OfferInfo info = readable ? cor::ReadOfferInfoFile(txt) : cor::OfferInfo{};
    // The game id must be the one the offer's name carries: the join and the
    // fetch that follows address the game by it.
    readable = readable && info.gameId == cor::GameIdOfStem(stem);
    if (!readable) {
      platform::MsgBox("No information available in the moment\r\nPlease try again later.", 4160,
                       ZVK_ErrorLog::ApplicationTitle());
      return;
    }
    lblDate->setText(QString::fromStdString(info.date));
    cor::gInternetGameID = info.gameId;
    lblName->setText(QString::fromStdString(info.nickname));
    txtNamePlayer2->setText(QString::fromStdString(info.nickname));
    lblCountry->setText(QString::fromStdString(info.country));
    // The offerer's colour decides the joiner's. A line that is no number is
    // a runtime error for the handler: logged, the preview ends with the
    // lines before it shown, and OK stays off: the joiner's colour is
    // unknown, and only an offer previewed to its end is joined, whatever
    // game id it showed.
    const int32_t offerer = ZVK_Board_Sub::RoundToInt32(ZVK_Board_Sub::ParseNumber(info.colour));
    const bool joinerWhite = offerer != kWhite;
    lblPlayer1Color->setText(joinerWhite ? QStringLiteral("White") : QStringLiteral("Black"));
    SetOptionValue(optColor[joinerWhite ? 0 : 1], true);
    lblGender->setText(QString::fromStdString(info.gender));
    lblAge->setText(QString::fromStdString(info.age));
    lblMove->setText(QString::fromStdString(info.openingMove));
    previewed_ = stem;
    cmdOK->setEnabled(true);
  });
}

void frmNewGame::FTPfileDownload(const std::string& dir, const std::string& getCommand) {
  const platform::InetUse transfer = owner_->ClaimTransfer();
  if (!transfer) return;
  StartTransferAnimation(Animation1, cor::kDownloadAnimation);
  owner_->IniFTP(dir);
  owner_->SendCommand(getCommand);
  owner_->SendCommand("CLOSE");
  StopTransferAnimation(Animation1);
}

void frmNewGame::cmdCancel_Click() {
  Guarded(kCancelPlace, [&] {
    ZVK_Board_Sub::gPieceSelected = kFalse;
    owner_->SetGameStartCommandsEnabled(true);
    gGameStopped = kTrue;
    unloaded_ = true;
    hide();
    platform::DoEvents();
  });
}

void frmNewGame::reject() {
  if (okRunning_) return;
  cmdCancel_Click();
}

}  // namespace app
