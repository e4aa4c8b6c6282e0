#pragma once
// The new-game dialog: game mode, own colour, both players' names, game type
// and, for a correspondence game, whether to offer a game or to join one of
// the offers on the server. Its OK settles the shared game state and stores
// every choice in the current profile, from where the next opening restores
// them. New Game shows it modally and reads gGameStopped afterwards.
#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "app/Controls.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace app {

class fMainForm;

class frmNewGame : public QDialog, public GameInfoLabels {
  Q_OBJECT
 public:
  explicit frmNewGame(fMainForm* owner);

  void Form_Load();
  void optMode_Click(int16_t index);
  void optInternetResume_Click(int16_t index);
  void cmdOK_Click();
  void cmdCancel_Click();
  // What a list build got of the server's listings.
  enum class ListFetch {
    NotAsked,     // built from the listings on disk
    Fetched,      // both listings came
    Refused,      // another transfer held the control (the user has been told)
    Unreachable,  // the server was out of reach or refused them
  };
  // The offer list: rebuilt from the server's listings (fetched afresh with
  // download), every offer nobody has joined yet, the last one selected.
  ListFetch UpdateGameList(bool download);
  void cmdUpdateList_Click();
  // The preview of the selected offer: its details, the game id and the
  // joiner's colour (the one the offerer left).
  void cmbJoinNewGame_Click();

  // True once Cancel has unloaded the dialog: its owner deletes it.
  bool Unloaded() const { return unloaded_; }

  // ---- controls
  std::array<QRadioButton*, 4> optMode{};
  QLineEdit* txtNamePlayer1 = nullptr;
  std::array<QRadioButton*, 2> optColor{};
  QLabel* lblPlayer2 = nullptr;
  QLabel* lblNamePlayer2 = nullptr;
  QLineEdit* txtNamePlayer2 = nullptr;
  std::array<QRadioButton*, 2> optInternetResume{};
  QComboBox* cmbJoinNewGame = nullptr;
  QPushButton* cmdUpdateList = nullptr;
  QGroupBox* fraNewGame = nullptr;
  std::array<QRadioButton*, 2> optGameType{};
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdCancel = nullptr;
  QLabel* Animation1 = nullptr;

 protected:
  // Escape and the window's close button cancel, except while OK runs:
  // closing must not cut OK's steps in half.
  void reject() override;

 private:
  std::string SettingsApp() const;
  // A stored option or text of the current profile; a value that cannot be
  // read as a Boolean is logged and gives the default.
  bool StoredFlag(const std::string& key, bool defaultValue) const;
  std::string StoredText(const std::string& key, const std::string& defaultValue) const;
  void StoreChoices();
  bool Joining() const;
  // OK's re-check of the chosen offer against a fresh download.
  enum class OfferCheck {
    Open,       // still listed, and its preview succeeded again
    Gone,       // not in the listings that came (or its details unreadable)
    Unchecked,  // no listings came: the list and the offer stay as they were
  };
  OfferCheck CheckChosenOffer();
  // Join file, archive and upload into "joined" for the offer with this stem.
  void JoinChosenOffer(const std::string& stem);
  // One get in its own connection, with the dialog's animation.
  void FTPfileDownload(const std::string& dir, const std::string& getCommand);

  // Makes any list build or preview under way stop at its next step.
  void AbandonListWork();
  // Runs a list build asked for by a choice now, or, while a fetch of this
  // dialog still waits for the server below it, once that fetch is over:
  // started inside the fetch's wait, it would find the control held by that
  // fetch and be refused.
  void RunListWork(std::function<void()> work);
  // Keeps the list and Update List off while a list build or a preview runs,
  // so that neither starts a second fetch inside the first.
  class ListWork;

  fMainForm* owner_;
  QWidget* choices_ = nullptr;   // every control above the OK row
  QWidget* okCancel_ = nullptr;  // OK and Cancel
  // The offer whose preview succeeded last; only it can be joined.
  std::string previewed_;
  bool unloaded_ = false;
  bool okRunning_ = false;
  // Builds and previews yield while they wait; one that another has
  // overtaken meanwhile (its counter moved on) writes nothing more.
  uint64_t listBuilds_ = 0;
  uint64_t previews_ = 0;
  int listWork_ = 0;               // builds and previews under way
  bool listBuildFailed_ = false;   // Update List stays off until the next build
};

}  // namespace app
