#pragma once
// The colour picker: a palette of 40 swatches, a colour chart, the preview of
// the current colour beside the one the picker was opened with, and the
// current colour as a decimal &HBBGGRR number. Moving over a swatch or the
// chart previews its colour; clicking accepts the preview and hands it back
// through the colour the caller passed in. Closing without a click leaves
// that colour as it was.
#include <QDialog>
#include <array>
#include <cstdint>
#include <optional>

#include "app/Controls.h"

class QLabel;
class QLineEdit;

namespace app {

class frmColorPicker : public QDialog {
  Q_OBJECT
 public:
  // `pickedColor` is read when the picker opens and written when a colour is accepted.
  frmColorPicker(QWidget* owner, int32_t& pickedColor);

  void Form_Load();
  void MiniPicker_MouseMove(int index);
  void MiniPicker_Click(int index);
  void Picker_MouseMove(double x, double y);
  void Picker_Click();
  void CurColor_Click();
  void CurColorOld_Click();
  void txtColorCode_Change();
  void ApplyColor();

  // The palette colour of swatch 0-39.
  static int32_t PaletteColor(int index);
  // A typed code as a colour: a decimal number from 0 to &HFFFFFF; anything
  // else (letters, blanks inside, out of range) is no colour.
  static std::optional<int32_t> ParseColorCode(const QString& text);

  int32_t CurrentColor() const;  // the preview's colour

  std::array<PictureBox*, 40> MiniPicker{};
  PictureBox* Picker = nullptr;
  PictureBox* CurColor = nullptr;
  PictureBox* CurColorOld = nullptr;
  QLineEdit* txtColorCode = nullptr;
  QLabel* Label1 = nullptr;

 private:
  void Preview(int32_t bgr, bool showCode);
  int32_t& picked_;
};

}  // namespace app
