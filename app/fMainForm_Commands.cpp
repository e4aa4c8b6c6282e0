// Wiring of the menu entries to their commands, and the small window states
// that several commands share (side panels, two-state toolbar buttons).
#include <QAction>
#include <QSignalBlocker>

#include "app/fMainForm.h"

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

void fMainForm::ConnectMenus() {
  OnCommand(mnuLoadGameStart, [this] { mnuLoadGameStart_Click(); });
  OnCommand(mnuSaveGame, [this] { mnuSaveGame_Click(); });
  OnCommand(mnuSaveGameAs, [this] { mnuSaveGameAs_Click(); });
  OnCommand(mnuAddProfile, [this] { mnuAddProfile_Click(); });
  OnCommand(mnuDleteProfile, [this] { mnuDleteProfile_Click(); });
  OnCommand(mnuImportPGN, [this] { mnuImportPGN_Click(); });
  OnCommand(mnuOptions, [this] { mnuOptions_Click(); });
  OnCommand(mnuExit, [this] { mnuExit_Click(); });
  OnCommand(mnuPause, [this] { mnuPause_Click(); });
  OnCommand(mnuChangeSide, [this] { mnuChangeSide_Click(); });
}

void fMainForm::ShowSidePanel(int index) {
  for (int i = 0; i < static_cast<int>(picGameControl.size()); ++i) picGameControl[i]->setVisible(i == index);
}

void fMainForm::SetToolbarPressed(const char* key, bool pressed) {
  if (QAction* button = tb->buttonByKey(QString::fromLatin1(key))) {
    const QSignalBlocker quiet(button);
    button->setChecked(pressed);
  }
}

void fMainForm::ShowLoadGameDialog() {}

}  // namespace app
