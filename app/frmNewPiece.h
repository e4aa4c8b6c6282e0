#pragma once
// The promotion dialog: the user picks the piece a pawn on the last row
// becomes; OK writes it straight into the engine board. Closed any other way
// (Escape, the window's close button, the program ending) it writes the
// piece it shows selected, the queen unless another was chosen: a pawn never
// stays on the last row.
#include <QDialog>
#include <array>

#include "app/Controls.h"

class QRadioButton;
class QLabel;
class QPushButton;

namespace app {

class fMainForm;

class frmNewPiece : public QDialog {
  Q_OBJECT
 public:
  explicit frmNewPiece(fMainForm* owner);

  void form_load();
  void optPiece_Click(int index);
  void cmdOK_Click();
  void reject() override;

  // Black when the pawn stands on the far row of a Black pawn; 0 or 10.
  static int PromotingOffset();

  std::array<QRadioButton*, 4> optPiece{};
  std::array<PictureBox*, 3> picPiece{};  // element 2 is the preview
  QLabel* lblNewPiece = nullptr;
  QLabel* lblPlayer2 = nullptr;
  QPushButton* cmdOK = nullptr;

 private:
  void ShowPreview(int picture);
  fMainForm* owner_;
  bool written_ = false;  // the piece is on the board: a second close writes nothing
};

}  // namespace app
