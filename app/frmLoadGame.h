#pragma once
// The load-game dialog: resumes a game saved on this computer, or a
// correspondence game this computer offered or joined. It lists the games of
// the chosen kind, shows what the partner's information file says about the
// selected correspondence game, remembers the choices in the profile, and on
// OK sets up the game in the main window and loads it.
#include <QDialog>
#include <array>
#include <memory>
#include <string>

#include "app/Controls.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace app {

class fMainForm;

class frmLoadGame : public QDialog, public GameInfoLabels {
  Q_OBJECT
 public:
  explicit frmLoadGame(fMainForm& main, QWidget* parent = nullptr);
  ~frmLoadGame() override;

  void Form_Load();
  // Runs as the dialog closes, by OK, Cancel, Escape or the window's close
  // button: the list is left with no game selected.
  void Form_Unload();
  void cmdOK_Click();
  void cmdCancel_Click();
  void optInternetAction_Click(int index);
  void cmdLoadLocalGame_Click();
  void cmbGames_Click();
  void cmdNewMove_Click();

  // Picture numbers of the game list: every game is listed with the first;
  // a correspondence game with a new move waiting gets the second.
  static constexpr int kGamePicture = 31;
  static constexpr int kNewMovePicture = 7;
  int GamePicture(int item) const;

  std::array<QRadioButton*, 3> optInternetAction{};
  QComboBox* cmbGames = nullptr;
  GxButton* cmdLoadLocalGame = nullptr;
  GxButton* cmdNewMove = nullptr;
  QGroupBox* fraNewGame = nullptr;
  std::array<QRadioButton*, 2> optColor{};
  QLineEdit* txtNamePlayer1 = nullptr;
  QLineEdit* txtNamePlayer2 = nullptr;
  std::array<QRadioButton*, 2> optGameType{};
  GxButton* cmdOK = nullptr;
  GxButton* cmdCancel = nullptr;
  QLabel* Animation1 = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Escape and the window's close button are Cancel, except while OK sets
  // the game up: closing must not cut its steps in half.
  void reject() override;
  void done(int result) override;

 private:
  void LoadLocalGame();
  void UpdateLocalGameList();
  void UpdateGameList();
  // One GET in a connection of its own, with the dialog's animation; false
  // when the server could not be reached.
  bool FTPfileDownload(const std::string& folder, const std::string& remoteName, const std::string& localPath);
  void AddGame(const QString& text);
  void SetGamePicture(int item, int picture);
  void ClearInformation();
  bool ReadFlag(const char* key, bool defaultValue) const;
  std::string ReadText(const char* key, const std::string& defaultValue) const;
  void SaveText(const char* key, const std::string& value) const;
  void SaveFlag(const char* key, bool value) const { SaveText(key, value ? "-1" : "0"); }

  fMainForm& main_;
  bool done_ = false;  // OK or Cancel has run: closing the window is no cancel
  bool okRunning_ = false;
  // The id of the game on the board as the dialog opened: previewing a
  // correspondence game sets the id, Cancel gives the game back its own.
  std::string idAtOpen_;
  // Check for New Moves or a transfer is running: the dialog stays as it is.
  bool keepStill_ = false;
};

}  // namespace app
