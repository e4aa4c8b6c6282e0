// The toolbar's two events: a button click and a click on an entry of the
// HELP button's drop-down menu. Keys are compared exactly. Most keys run their
// menu entry's command through the entry itself, so the toolbar and the menu
// can never drift apart; the four two-state buttons are handled here, from the
// pressed state the toolbar has already given them.
#include <QAction>
#include <QCheckBox>
#include <QLabel>

#include "app/fMainForm.h"
#include "board/Profiles.h"
#include "engine/ZVK_Globals.h"
#include "platform/DoEvents.h"
#include "support/ErrorGuard.h"

namespace app {

using namespace ZVK_Globals;

namespace {

using Entry = QAction* fMainForm::*;

// Button keys that run a menu entry's command (the two-state keys are not here).
const std::pair<const char*, Entry> kButtonEntries[] = {
    {"NEWGAME", &fMainForm::mnuNewGame},
    {"LOAD", &fMainForm::mnuLoadGameStart},
    {"SAVE", &fMainForm::mnuSaveGame},
    {"UNDO", &fMainForm::mnuUndo},
    {"REDO", &fMainForm::mnuRedo},
    {"MOVEBACK", &fMainForm::mnuMoveBack},
    {"MOVEFORWARD", &fMainForm::mnuMoveForward},
    {"GOTOBEGIN", &fMainForm::mnuGotoBegin},
    {"GOTOEND", &fMainForm::mnuGotoLastMove},
    {"HINT", &fMainForm::mnuGiveHint},
    {"ROTATE", &fMainForm::mnuRotate},
    {"CHANGESIDE", &fMainForm::mnuChangeSide},
    {"ADDPROFILE", &fMainForm::mnuAddProfile},
    {"DELETEPROFILE", &fMainForm::mnuDleteProfile},
    {"HELP", &fMainForm::mnuHelpContent},
    {"HOME", &fMainForm::mnuHomepage},
    {"UPDATE", &fMainForm::mnuUpdates},
    {"EXIT", &fMainForm::mnuExit},
};

// Drop-down entry keys of the HELP button.
const std::pair<const char*, Entry> kDropDownEntries[] = {
    {"HELPCONTENT", &fMainForm::mnuHelpContent},
    {"CHESSTUTORIAL", &fMainForm::mnuChessTutorial},
    {"ONLINEHELP", &fMainForm::mnuOnlineHelp},
    {"ONLINEFORUM", &fMainForm::mnuForum},
    {"ONLINEFAQ", &fMainForm::mnuFAQ},
    {"SENDBUGREPORT", &fMainForm::mnuSendBugReport},
    {"HOMEPAGE", &fMainForm::mnuHomepage},
    {"OTHERPRODUCTS", &fMainForm::mnuOtherProducts},
    {"SALESPARTNER", &fMainForm::mnuSalesPartner},
    {"ABOUT", &fMainForm::mnuAbout},
};

template <size_t N>
QAction* Find(const std::pair<const char*, Entry> (&table)[N], fMainForm& form, const QString& key) {
  for (const auto& [name, entry] : table)
    if (key == QLatin1String(name)) return form.*entry;  // exact, case-sensitive
  return nullptr;
}

// Runs the command behind a menu entry. The toolbar button's own enabled
// state decides whether it may run; the menu entry may be disabled on its own
// (a whole menu switched off), so the entry's signal is raised directly
// rather than through trigger(), which a disabled entry ignores.
void RunEntry(QAction* entry) { emit entry->triggered(entry->isChecked()); }

}  // namespace

void fMainForm::ConnectToolbar() {
  connect(tb, &Toolbar::buttonClick, this, [this](const QString& key) {
    if (key != QLatin1String("EDIT")) {
      tb_ButtonClick(key);  // the menu entries it runs go through the gate themselves
      return;
    }
    // The button keeps showing edit mode as it is until the command runs.
    const bool pressed = ButtonPressed("EDIT");
    SetButtonPressed("EDIT", !pressed);
    GiveCommand(CommandGate::Kind::Game, QStringLiteral("Edit"), [this, pressed] {
      SetButtonPressed("EDIT", pressed);
      tb_ButtonClick(QStringLiteral("EDIT"));
    }, [this] {
      const QAction* button = tb->buttonByKey(QStringLiteral("EDIT"));
      return tb->isEnabled() && button != nullptr && button->isEnabled();
    });
  });
  connect(tb, &Toolbar::buttonMenuClick, this, [this](const QString& key) { tb_ButtonMenuClick(key); });
  // A two-state button shows its menu entry's check mark, whoever set it
  // (the menu command, a stored setting, the end of a game). Setting the
  // pressed state raises no click, so nothing runs twice.
  for (const auto& [mark, key] : {std::pair{mnuTakenPieces, "TAKENPIECES"}, std::pair{mnuEdit, "EDIT"},
                                  std::pair{mnuPause, "PAUSE"}, std::pair{mnuOptions, "OPTIONS"}})
    connect(mark, &QAction::toggled, this, [this, key = key](bool on) { SetButtonPressed(key, on); });
}

void fMainForm::ShowSidePanel(int index) {
  for (int i = 0; i < static_cast<int>(picGameControl.size()); ++i) picGameControl[i]->setVisible(i == index);
}

bool fMainForm::ButtonPressed(const char* key) const {
  const QAction* button = tb->buttonByKey(QLatin1String(key));
  return button != nullptr && button->isChecked();
}

void fMainForm::SetButtonPressed(const char* key, bool pressed) {
  if (QAction* button = tb->buttonByKey(QLatin1String(key))) button->setChecked(pressed);
}

void fMainForm::PanelButtonClicked(const char* key, QAction* mark, int panel,
                                   QAction* otherMark) {
  // The taken-pieces and options buttons share one place beside the board:
  // pressing one releases the other; releasing it brings the game panel back.
  const bool pressed = ButtonPressed(key);
  mark->setChecked(pressed);
  if (pressed) otherMark->setChecked(false);  // its button follows the mark
  ShowSidePanel(pressed ? panel : 0);
}

void fMainForm::tb_ButtonClick(const QString& key) {
  if (!Guarded("tb_ButtonClick of Formular fMainForm", [&] {
        if (QAction* entry = Find(kButtonEntries, *this, key)) {
          RunEntry(entry);
        } else if (key == QLatin1String("TAKENPIECES")) {
          PanelButtonClicked("TAKENPIECES", mnuTakenPieces, 2, mnuOptions);
        } else if (key == QLatin1String("EDIT")) {
          const bool pressed = ButtonPressed("EDIT");
          mnuEdit->setChecked(pressed);
          SetCheckValue(setup, pressed ? 1 : 0);
          StatusBar->panel(2)->setText(pressed ? QStringLiteral("Edit Mode") : QString::fromStdString(gGameMode));
        } else if (key == QLatin1String("PAUSE")) {
          const bool pressed = ButtonPressed("PAUSE");
          SetCheckValue(chkEnableClock, pressed ? 0 : 1);
          mnuPause->setChecked(pressed);
        } else if (key == QLatin1String("OPTIONS")) {
          PanelButtonClicked("OPTIONS", mnuOptions, 1, mnuTakenPieces);
          ZVK_Board_Sub::Save2Registry();
        }
      }))
    return;
  platform::DoEvents();
}

void fMainForm::tb_ButtonMenuClick(const QString& key) {
  if (!Guarded("tb_ButtonMenuClick of Formular fMainForm", [&] {
        if (QAction* entry = Find(kDropDownEntries, *this, key)) RunEntry(entry);
      }))
    return;
  platform::DoEvents();
}

}  // namespace app
