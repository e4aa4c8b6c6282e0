// Wiring of the menu entries to their commands, and the small window states
// that several commands share (side panels, two-state toolbar buttons).
#include <QAbstractSlider>
#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>

#include "app/fMainForm.h"
#include "app/frmLoadGame.h"

namespace app {

void fMainForm::OnCommand(QAction* action, std::function<void()> handler) {
  connect(action, &QAction::triggered, this, [action, handler = std::move(handler)](bool checked) {
    if (action->isCheckable()) {
      // Qt has already flipped the mark; the handler decides from the old one.
      const QSignalBlocker quiet(action);
      action->setChecked(!checked);
    }
    handler();
  });
}

namespace {

// An entry still applies while it is on, and so is every menu it is shown in
// (a whole menu is switched off on its own).
bool EntryAvailable(const QAction* action) {
  if (!action->isEnabled() || !action->isVisible()) return false;
  for (const QObject* holder : action->associatedObjects())
    if (const auto* menu = qobject_cast<const QMenu*>(holder); menu != nullptr && !menu->isEnabled()) return false;
  return true;
}

}  // namespace

void fMainForm::OnGameCommand(QAction* action, std::function<void()> handler) {
  OnCommand(action, [this, action, handler = std::move(handler)] {
    GiveCommand(CommandGate::Kind::Game, action->text(), handler, [action] { return EntryAvailable(action); });
  });
}

void fMainForm::OnWindowCommand(QAction* action, std::function<void()> handler) {
  OnCommand(action, [this, action, handler = std::move(handler)] {
    GiveCommand(CommandGate::Kind::Window, action->text(), handler, [action] { return EntryAvailable(action); });
  });
}

void fMainForm::OnGameButton(QAbstractButton* button, std::function<void()> handler) {
  connect(button, &QAbstractButton::clicked, this, [this, button, handler = std::move(handler)] {
    GiveCommand(CommandGate::Kind::Game, button->text(), handler,
                [button] { return button->isEnabled() && !button->isHidden(); });
  });
}

void fMainForm::OnSliderAction(QAbstractSlider* slider, std::function<void(int)> setValue) {
  // A user's action has moved only the thumb when this runs; the slider sets
  // its value from the thumb right after. The thumb goes back, so that the
  // value changes only through the command, which may wait for a move.
  connect(slider, &QAbstractSlider::actionTriggered, this, [this, slider, setValue = std::move(setValue)](int action) {
    if (action == QAbstractSlider::SliderNoAction) return;
    const int wanted = slider->sliderPosition();
    const int step = wanted - slider->value();
    slider->setSliderPosition(slider->value());
    // A slider switched off takes no request, whatever triggered the action.
    if (!slider->isEnabled()) return;
    // A drag asks for the place where it was let go; a step (arrow, page,
    // key) for one step from wherever the slider stands when it runs.
    const bool drag = action == QAbstractSlider::SliderMove;
    GiveSliderRequest({slider, drag, drag ? wanted : step}, setValue);
  });
}

void fMainForm::ConnectMenus() {
  OnGameCommand(mnuLoadGameStart, [this] { mnuLoadGameStart_Click(); });
  // Both wait for the disk (Save As for the user too) before they read the
  // game: a command let in there would have them save a game nobody played.
  OnGameCommand(mnuSaveGame, [this] { mnuSaveGame_Click(); });
  OnGameCommand(mnuSaveGameAs, [this] { mnuSaveGameAs_Click(); });
  OnWindowCommand(mnuAddProfile, [this] { mnuAddProfile_Click(); });
  OnWindowCommand(mnuDleteProfile, [this] { mnuDleteProfile_Click(); });
  OnWindowCommand(mnuImportPGN, [this] { mnuImportPGN_Click(); });
  OnCommand(mnuOptions, [this] { mnuOptions_Click(); });
  // Through the window's close, which gives Exit's question its turn.
  OnCommand(mnuExit, [this] { mnuExit_Click(); });
  OnCommand(mnuPause, [this] { mnuPause_Click(); });
  OnGameCommand(mnuSuspendGame, [this] { mnuSuspendGame_Click(); });
  OnGameCommand(mnuGiveUp, [this] { mnuGiveUp_Click(); });
  OnGameCommand(mnuNewGame, [this] { mnuNewGame_Click(); });
  OnGameButton(cmdSuspend, [this] { cmdSuspend_Click(); });
  // Pressed while another transfer runs it is refused at once (its refusal
  // holds nothing up), so it needs no turn of its own.
  connect(cmdTestInternetConnection, &QPushButton::clicked, this, [this] { cmdTestInternetConnection_Click(); });
}

QIcon fMainForm::ImageList2(int index) {
  // Drawn rather than loaded: a board square for a game, a green mark for a
  // game whose partner has moved.
  QPixmap picture(16, 16);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  if (index == 7) {
    painter.setBrush(QColor(0x20, 0xA0, 0x40));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(2, 2, 12, 12);
  } else {
    painter.fillRect(1, 1, 7, 7, QColor(0xF0, 0xD9, 0xB5));
    painter.fillRect(8, 8, 7, 7, QColor(0xF0, 0xD9, 0xB5));
    painter.fillRect(8, 1, 7, 7, QColor(0xB5, 0x88, 0x63));
    painter.fillRect(1, 8, 7, 7, QColor(0xB5, 0x88, 0x63));
  }
  return QIcon(picture);
}

void fMainForm::ShowLoadGameDialog() {
  frmLoadGame dialog(*this, this);
  dialog.exec();
}

}  // namespace app
