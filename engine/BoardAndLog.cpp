// Board primitives, the game log and the move slider it drives.
#include <limits>
#include <stdexcept>
#include <string>

#include "engine/EngineWindow.h"
#include "engine/EngineInternal.h"
#include "engine/MirrorBoard.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "support/ErrorGuard.h"

namespace ZVK_Engine {

using detail::Yield;

namespace {
uint64_t gPositionEpoch = 0;
}  // namespace


uint64_t PositionEpoch() { return gPositionEpoch; }
void NotePositionChanged() { ++gPositionEpoch; }

void Ini_VirtualBoard() {
  Guarded("Ini_VirtualBoard of Modul ZVK_Engine", [] {
    gVirtualBoard.cells.fill(kOffBoard);
    for (int y = 3; y <= 6; ++y)
      for (int x = 1; x <= 8; ++x) gVirtualBoard(x, y) = 0;
    for (int x = 1; x <= 8; ++x) {
      gVirtualBoard(x, 2) = -kPawn;
      gVirtualBoard(x, 7) = kPawn;
    }
    const int32_t backRank[8] = {kRook, kKnight, kBishop, kQueen, 0, kBishop, kKnight, kRook};
    for (int x = 1; x <= 8; ++x) {
      gVirtualBoard(x, 1) = -backRank[x - 1];
      gVirtualBoard(x, 8) = backRank[x - 1];
    }
    gVirtualBoard(5, 1) = kKingNegative;
    gVirtualBoard(5, 8) = kKingPositive;
    Yield();
  });
}

void CopyBoard(EngineBoard& destination, const EngineBoard& source) {
  Guarded("CopyBoard of Modul ZVK_Engine", [&] {
    destination = source;
    Yield();
  });
}

void Movement_comp(EngineBoard& board, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
  Guarded("Movement_comp of Modul ZVK_Engine", [&] {
    board.at(toX, toY) = board.at(fromX, fromY);
    board.at(fromX, fromY) = 0;
    Yield();
  });
}

void calcular_rey(const EngineBoard& board) {
  Guarded("calcular_rey of Modul ZVK_Engine", [&] {
    for (int y = 1; y <= 8; ++y)
      for (int x = 1; x <= 8; ++x) {
        if (board(x, y) == kKingNegative) {
          gWhiteKingX = x;
          gWhiteKingY = y;
        } else if (board(x, y) == kKingPositive) {
          gBlackKingX = x;
          gBlackKingY = y;
        }
      }
    Yield();
  });
}

void Reset_VirtualBoard() {
  Guarded("Reset_VirtualBoard of Modul ZVK_Engine", [] {
    gAttackMap.cells.fill(0);
    Yield();
  });
}

void Initial_Game() {
  Guarded("Initial_Game of Modul ZVK_Engine", [] {
    ++gPositionEpoch;
    gMoveNumber = 0;
    Window().SetLblPlayCaption(std::to_string(gMoveNumber));
    Ini_VirtualBoard();
    Log_Play();
    Yield();
  });
}

namespace {

// Whether the position just made was made on the mirrored board and must be
// turned back before it is stored.
bool MadeOnMirroredBoard() {
  using namespace ZVK_Globals;
  if (gMoveNumber < 1) return false;
  // The engine searches White's moves on the turned board whoever asked for
  // them: its reply, the engines' play, the start button, and a hint in a
  // game between two players as well.
  if (detail::gLoggingEngineMove) return gColorToMove == kWhite;
  if (gMoveNumber == 1) return false;  // the first move by hand is White's, made upright
  if (gGameMode == "OfflinePP" || gGameMode == "OnlinePP") return gColorToMove == kBlack;
  if (gGameMode == "OfflinePC") return gPlayerColor == kBlack;
  if (gGameMode == "OfflineCC") return gColorToMove == kWhite;
  return false;
}

}  // namespace

void Log_Play() {
  Guarded("Log_Play of Modul ZVK_Engine", [] {
    ++gPositionEpoch;
    if (gMoveNumber < 0) throw std::out_of_range("Subscript out of range");
    gGameLog.resize(static_cast<size_t>(gMoveNumber) + 1);
    if (MadeOnMirroredBoard()) ZVK_Board_Sub::MirrorBoard();
    gGameLog[static_cast<size_t>(gMoveNumber)] = gVirtualBoard;
    if (gMoveNumber > std::numeric_limits<int16_t>::max()) throw std::overflow_error("Overflow");
    const auto sliderValue = static_cast<int16_t>(gMoveNumber);
    Window().SetHScroll1Max(sliderValue);
    Window().SetHScroll1Value(sliderValue);
    Yield();
  });
}

void ApplyMoveSliderValue(int16_t value) {
  using namespace ZVK_Globals;
  gMoveNumber = value;
  Window().SetLblPlayCaption(std::to_string(gMoveNumber));
  gColorToMove = (gMoveNumber % 2 == 0) ? kWhite : kBlack;
  if (gMoveNumber < 0 || static_cast<size_t>(gMoveNumber) >= gGameLog.size())
    throw std::out_of_range("Subscript out of range");
  gVirtualBoard = gGameLog[static_cast<size_t>(gMoveNumber)];
}

}  // namespace ZVK_Engine
