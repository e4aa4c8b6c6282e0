// A human move of the negative side: castling, the checked move and the
// unchecked move of the editing mode. A Black move arrives on the mirrored board.
#include <string>

#include "engine/EngineInternal.h"
#include "engine/EngineWindow.h"
#include "engine/ZVK_Engine.h"
#include "support/ErrorGuard.h"

namespace ZVK_Engine {

using detail::Yield;

namespace {

struct Cell {
  int x, y;
};

// Square n (row * 8 + column, White at the bottom) is file n mod 8 + 1, rank 8 - n div 8.
// A square outside 0..63 falls off the board and fails at the first checked access.
Cell CellOfSquare(int32_t square) {
  if (square < 0 || square > 63) return Cell{-2, -2};
  return Cell{square % 8 + 1, 8 - square / 8};
}

struct CellValue {
  int x, y;
  int32_t value;
};

struct CastlingCase {
  int32_t from, to;
  Cell tested[3];           // king's start, passing and target squares
  CellValue required[5];
  int requiredCount;
  CellValue result[5];
  int resultCount;
};

constexpr int32_t K = kKingNegative;
constexpr int32_t R = -kRook;

// Black's rows are written for the mirrored board, where its king starts on (4, 1).
constexpr CastlingCase kCastlings[4] = {
    {60, 62, {{5, 1}, {6, 1}, {7, 1}},
     {{5, 1, K}, {6, 1, 0}, {7, 1, 0}, {8, 1, R}}, 4,
     {{5, 1, 0}, {6, 1, R}, {7, 1, K}, {8, 1, 0}}, 4},
    {60, 58, {{5, 1}, {4, 1}, {3, 1}},
     {{5, 1, K}, {4, 1, 0}, {3, 1, 0}, {2, 1, 0}, {1, 1, R}}, 5,
     {{5, 1, 0}, {4, 1, R}, {3, 1, K}, {2, 1, 0}, {1, 1, 0}}, 5},
    {4, 2, {{6, 1}, {5, 1}, {4, 1}},
     {{4, 1, K}, {5, 1, 0}, {6, 1, 0}, {7, 1, 0}, {8, 1, R}}, 5,
     {{4, 1, 0}, {5, 1, R}, {6, 1, K}, {8, 1, 0}}, 4},
    {4, 6, {{4, 1}, {3, 1}, {2, 1}},
     {{4, 1, K}, {3, 1, 0}, {2, 1, 0}, {1, 1, R}}, 4,
     {{4, 1, 0}, {3, 1, R}, {2, 1, K}, {1, 1, 0}}, 4},
};

}  // namespace

void Check4Castle(int32_t fromSquare, int32_t toSquare) {
  Guarded("Check4Castle of Modul ZVK_Engine", [&] {
    gCastled = 0;
    Reset_VirtualBoard();
    gTestKind = 2;
    gGenMode = 3;
    for (int y = 1; y <= 8; ++y)
      for (int x = 1; x <= 8; ++x) Move_Black(gVirtualBoard, x, y);
    for (const CastlingCase& c : kCastlings) {
      if (c.from != fromSquare || c.to != toSquare) continue;
      for (const Cell& t : c.tested)
        if (gAttackMap(t.x, t.y) != 0) {
          Reset_VirtualBoard();
          return;
        }
      bool placed = true;
      for (int i = 0; i < c.requiredCount; ++i)
        if (gVirtualBoard(c.required[i].x, c.required[i].y) != c.required[i].value) placed = false;
      if (!placed) continue;
      for (int i = 0; i < c.resultCount; ++i) gVirtualBoard(c.result[i].x, c.result[i].y) = c.result[i].value;
      gMoveNumber += 1;
      Log_Play();
      gCastled = -1;
    }
    Reset_VirtualBoard();
    Yield();
  });
}

void Movement_us(int32_t fromSquare, int32_t toSquare) {
  Guarded("Movement_us of Modul ZVK_Engine", [&] {
    gUserMoveAccepted = 0;
    gKingCapturable = 0;
    Reset_VirtualBoard();
    const Cell from = CellOfSquare(fromSquare), to = CellOfSquare(toSquare);
    gGenMode = 3;
    Move_White(gVirtualBoard, from.x, from.y);  // marks exactly this piece's targets
    gBoardPly2 = gVirtualBoard;
    gBoardPly2.at(to.x, to.y) = gBoardPly2.at(from.x, from.y);
    gBoardPly2.at(from.x, from.y) = 0;
    gTestKind = 3;
    gGenMode = 3;
    for (int x = 1; x <= 8; ++x)
      for (int y = 1; y <= 8; ++y) Move_Black(gBoardPly2, x, y);
    if (gAttackMap.at(to.x, to.y) != 0 && gKingCapturable == 0) {
      gUserMoveAccepted = -1;
      gVirtualBoard.at(to.x, to.y) = gVirtualBoard.at(from.x, from.y);
      gVirtualBoard.at(from.x, from.y) = 0;
      gMoveNumber += 1;
      Window().SetLblPlayCaption(std::to_string(gMoveNumber));
      Log_Play();
    }
    Yield();
  });
}

void Movement_us2(int32_t fromSquare, int32_t toSquare) {
  Guarded("Movement_us2 of Modul ZVK_Engine", [&] {
    const Cell from = CellOfSquare(fromSquare), to = CellOfSquare(toSquare);
    gVirtualBoard.at(to.x, to.y) = gVirtualBoard.at(from.x, from.y);
    gVirtualBoard.at(from.x, from.y) = 0;
    Yield();
  });
}

}  // namespace ZVK_Engine
