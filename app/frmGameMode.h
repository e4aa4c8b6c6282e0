#pragma once
// The game-mode dialog: switches the mode of the game in progress and
// nothing else; board, log, colours, names, clocks and menus stay as they are.
#include <QDialog>
#include <array>

class QLabel;
class QPushButton;
class QRadioButton;

namespace app {

class fMainForm;
class PictureBox;

class frmNewMode : public QDialog {
  Q_OBJECT
 public:
  explicit frmNewMode(fMainForm* owner);

  void Form_Load();
  void cmdOK_Click();
  void cmdCancel_Click();

  QLabel* lblGameMode = nullptr;
  std::array<QRadioButton*, 4> optMode{};
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdCancel = nullptr;
  PictureBox* picPiece = nullptr;

 protected:
  void reject() override;
};

}  // namespace app
