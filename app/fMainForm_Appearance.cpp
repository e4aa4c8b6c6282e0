// The options panel's look-and-feel commands: window and coordinate colours
// through the colour picker, the board picture, the animation speed, the
// interface language and the record copied to the clipboard. The profile
// settings restore all of them at start-up through the same handlers.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QTextEdit>

#include "app/WindowBridges.h"
#include "app/fMainForm.h"
#include "app/frmColorPicker.h"
#include "board/BoardView.h"
#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Globals.h"
#include "platform/DoEvents.h"
#include "platform/SettingsStore.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_Language.h"

namespace app {

namespace {

constexpr int32_t kDefaultBackground = 0x800000;
constexpr int32_t kDefaultCoordinates = 0xDF996F;

// The colour commands skip a failing step and go on with the next.
template <class F>
void Skipping(F&& step) {
  try {
    step();
  } catch (...) {
  }
}

// A plain board of two wood tones, for an installation without board pictures.
QImage PlainBoard() {
  QImage plain(ZVK_Board_Sub::kBoardPixels, ZVK_Board_Sub::kBoardPixels, QImage::Format_RGB32);
  QPainter painter(&plain);
  const int s = ZVK_Board_Sub::kSquarePixels;
  for (int c = 0; c < 8; ++c)
    for (int r = 0; r < 8; ++r)
      painter.fillRect(c * s, r * s, s, s, (c + r) % 2 == 0 ? QColor(240, 217, 181) : QColor(181, 136, 99));
  return plain;
}

}  // namespace

void fMainForm::ConnectAppearance() {
  // The colour pickers are windows: after a transfer with the game server.
  for (const auto& [button, handler] : {std::pair{cmdChangeBackgroundColor, &fMainForm::cmdChangeBackgroundColor_Click},
                                        std::pair{cmdChangeBordCoordinateColor, &fMainForm::cmdChangeBordCoordinateColor_Click}})
    connect(button, &QPushButton::clicked, this, [this, button = button, handler = handler] {
      GiveCommand(CommandGate::Kind::Window, button->text(), [this, handler] { (this->*handler)(); });
    });
  connect(cmdSetDefaultColor, &QPushButton::clicked, this, [this] { cmdSetDefaultColor_Click(); });
  connect(cmdCopy2Clipboard, &QPushButton::clicked, this, [this] { cmdCopy2Clipboard_Click(); });
  // A board chosen by the profile settings is shown at once, as one the user picks.
  connect(cmbBoard, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0) cmbBoard_Click();
  });
  // Only the user's choice is stored: filling and restoring the list store
  // nothing. The choice changes no game and waits for nothing.
  connect(cmbLanguage, &QComboBox::activated, this, [this] { cmbLanguage_Click(); });
  connect(HScrollAnimationSpeed, &QScrollBar::valueChanged, this, [this] { HScrollAnimationSpeed_Change(); });
}

void fMainForm::cmdChangeBackgroundColor_Click() {
  Skipping([&] { PickedColor = BackgroundColor(); });
  Skipping([&] {
    frmColorPicker picker(this, PickedColor);
    picker.exec();
  });
  Skipping([&] { ChangeBackgroundColor(PickedColor); });
}

void fMainForm::cmdChangeBordCoordinateColor_Click() {
  Skipping([&] { PickedColor = ForeColor(lblFile[0]); });
  Skipping([&] {
    frmColorPicker picker(this, PickedColor);
    picker.exec();
  });
  Skipping([&] { ChangeBordCoordinateColor(PickedColor); });
}

void fMainForm::cmdSetDefaultColor_Click() {
  Skipping([&] { ChangeBackgroundColor(kDefaultBackground); });
  Skipping([&] { ChangeBordCoordinateColor(kDefaultCoordinates); });
}

bool fMainForm::Reset_Backgroud_BordPattern(QImage& target) {
  bool loaded = false;
  Guarded("Set_Backgroud_BordPattern of Formular fMainForm", [&] {
    const QString name = cmbBoard->currentText();
    if (name.isEmpty()) {
      // With no board pictures installed a plain board of two wood tones serves.
      target = PlainBoard();
      loaded = true;
      return;
    }
    QImage picture = ZVK_Board_Sub::LoadBoardPicture(name.toStdString());
    if (picture.isNull())
      throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrFileNotFound,
                                       "File not found: " + ZVK_Board_Sub::BoardPicturePath(name.toStdString()));
    target = picture;
    loaded = true;
    platform::DoEvents();
  });
  return loaded;
}

void fMainForm::cmbBoard_Click() {
  Guarded("cmbBoard_Click of Formular fMainForm", [&] {
    if (Reset_Backgroud_BordPattern(picFrontBuffer->image())) picFrontBuffer->update();
    ZVK_Board_Sub::RenderBoard(ZVK_Globals::kTrue);
  });
}

void fMainForm::HScrollAnimationSpeed_Change() {
  Guarded("HScrollAnimationSpeed_Change of Formular fMainForm", [&] {
    lblAnimationMoveSpeed->setText(QString::number(HScrollAnimationSpeed->value()));
    platform::DoEvents();
  });
}

void fMainForm::cmbLanguage_Click() {
  Guarded("cmbLanguage_Click of Formular fMainForm", [&] {
    // The interface texts stay as loaded at start-up; the stored position
    // only brings the list's choice back at the next start.
    platform::SaveSetting(ProfileApplicationName(), "Settings", "cmbLanguage",
                          std::to_string(cmbLanguage->currentIndex() + 1));
    ZVK_Language::gLanguageName = cmbLanguage->currentText().toStdString();
  });
}

void fMainForm::cmdCopy2Clipboard_Click() {
  Guarded("cmdCopy2Clipboard_Click of Formular fMainForm", [&] {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(txtMoveList->toPlainText());
  });
}

}  // namespace app
