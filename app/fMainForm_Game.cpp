// Pausing, suspending and giving up a game.
#include "app/fMainForm.h"
#include "platform/DoEvents.h"
#include "support/ErrorGuard.h"

namespace app {

void fMainForm::mnuPause_Click() {
  Guarded("mnuPause_Click of Formular fMainForm", [&] {
    // The menu mark, the toolbar button and the clock switch move together.
    const bool pause = !mnuPause->isChecked();
    mnuPause->setChecked(pause);
    SetToolbarPressed("PAUSE", pause);
    SetCheckValue(chkEnableClock, pause ? 0 : 1);
  });
  platform::DoEvents();
}

}  // namespace app
