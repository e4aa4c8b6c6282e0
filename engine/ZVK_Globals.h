#pragma once
// Game state shared by the engine, the board, the main window and the
// correspondence exchange. It lives for the whole run; the main window and the
// dialogs set it, the engine and the board read it.
#include <cstdint>
#include <string>

#include "engine/EngineBoard.h"

namespace ZVK_Globals {

inline constexpr int32_t kWhite = 16777215;  // &HFFFFFF
inline constexpr int32_t kBlack = 0;
inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;

inline std::string gGameMode;      // "OfflinePP", "OfflinePC", "OfflineCC", "OnlinePP" or empty
inline std::string gGameType;      // "Training" or "Tournament"
inline int32_t gColorToMove = 0;   // side to move: kWhite or kBlack
inline int32_t gPlayerColor = 0;   // the human player's colour
inline int16_t gBoardSide = 1;     // 1: White plays from the bottom, -1: board turned
inline int16_t gGameStopped = 0;   // -1 after suspend, give up, resignation, cancelled dialog
inline int16_t gNavigating = 0;    // -1 while a navigation command moves the move slider

// The position before the move being made (the record compares it with the game position).
inline ZVK_Engine::EngineBoard gPrevBoard;

// Square numbers 0..63 of the move being made (63 - n when the board is turned).
inline int32_t gIposFrom = 0;
inline int32_t gIposTo = 0;

}  // namespace ZVK_Globals
