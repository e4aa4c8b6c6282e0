#include "board/MenuStates.h"

#include "board/RecordWindow.h"
#include "engine/ZVK_Globals.h"
#include "support/ErrorGuard.h"

namespace ZVK_Board_Sub {
namespace {

// The menu entries a game type governs (pause is handled on its own in a
// tournament game).
const char* const kGovernedMenus[] = {"mnuChangeMode", "mnuAddProfile", "mnuDleteProfile", "mnuMove",
                                      "mnuDangerShow", "mnuEdit",       "mnuChangeSide",  "mnuLoadGameStart",
                                      "mnuImportPGN"};

// Toolbar positions (separators count) closed in a tournament game: NEWGAME,
// LOAD, UNDO, REDO, GOTOBEGIN, GOTOEND, HINT, EDIT, CHANGESIDE, the separator
// before the profile buttons, ADDPROFILE, DELETEPROFILE.
const int kTournamentClosedButtons[] = {1, 2, 5, 6, 7, 8, 11, 12, 15, 17, 18, 19};
const int kPauseButton = 13;

}  // namespace

void SetTrainingMenu() {
  Guarded("SetTrainingMenu of Modul ZVK_Board_Sub", [] {
    RecordWindow& w = TheRecordWindow();
    w.SetMenuEnabled("mnuPause", true);
    for (const char* menu : kGovernedMenus) w.SetMenuEnabled(menu, true);
    w.SetMoveSliderEnabled(true);
    const int count = w.ToolbarButtonCount();
    for (int position = 1; position <= count; ++position) w.SetToolbarButtonEnabled(position, true);
  });
}

void SetTournamentMenu() {
  Guarded("SetTournamentMenu of Modul ZVK_Board_Sub", [] {
    RecordWindow& w = TheRecordWindow();
    // The move slider goes with the Move menu: a move made on a position it
    // went back to would replace the moves after it, in a correspondence game
    // also moves the partner already has. It goes first, so that no failure
    // further on leaves it usable.
    w.SetMoveSliderEnabled(false);
    const bool correspondence = ZVK_Globals::gGameMode == "OnlinePP";
    w.SetMenuEnabled("mnuPause", !correspondence);
    w.SetToolbarButtonEnabled(kPauseButton, !correspondence);
    for (const char* menu : kGovernedMenus) w.SetMenuEnabled(menu, false);
    for (const int position : kTournamentClosedButtons) w.SetToolbarButtonEnabled(position, false);
  });
}

}  // namespace ZVK_Board_Sub
