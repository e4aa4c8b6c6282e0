#pragma once
// Which commands a game type leaves available: a training game keeps every
// help; a tournament game disables taking back, looking ahead, hints, board
// editing, changing side or mode and switching profile. The move slider
// follows the Move menu.
namespace ZVK_Board_Sub {

void SetTrainingMenu();
void SetTournamentMenu();  // reads gGameMode: pause is off in a correspondence game

}  // namespace ZVK_Board_Sub
