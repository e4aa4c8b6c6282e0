#include <cmath>

#include "board/BoardView.h"
#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "support/ErrorGuard.h"

namespace ZVK_Board_Sub {

namespace {
bool Turned() { return ZVK_Globals::gBoardSide == -1; }

[[noreturn]] void SubscriptError() {
  throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrSubscript, "Subscript out of range");
}
}  // namespace

uint8_t& ViewBoard::at(int c, int r) {
  if (c < 0 || c > 7 || r < 0 || r > 7) SubscriptError();
  return (*this)(c, r);
}

uint8_t ViewBoard::at(int c, int r) const {
  if (c < 0 || c > 7 || r < 0 || r > 7) SubscriptError();
  return (*this)(c, r);
}

uint8_t ConvertFigureNumber(const int32_t& code) {
  switch (code) {
    case 50: return 1;
    case 30: return 2;
    case 32: return 3;
    case 90: return 4;
    case 15000: return 5;
    case 10: return 6;
    case -50: return 11;
    case -30: return 12;
    case -32: return 13;
    case -90: return 14;
    case -10000: return 15;
    case -10: return 16;
    default: return 0;
  }
}

int MaskNumber(int picture) {
  if (picture <= 0) return 0;
  int mask = picture + 10;
  if (mask < 20) mask += 10;
  return mask;
}

Square EngineToView(int x, int y) {
  if (Turned()) return {8 - x, y - 1};
  return {x - 1, 8 - y};
}

Cell ViewToEngine(int c, int r) {
  if (Turned()) return {8 - c, r + 1};
  return {c + 1, 8 - r};
}

int SquareNumber(int c, int r) {
  const int n = r * 8 + c;
  return Turned() ? 63 - n : n;
}

int16_t MouseToSquare(double pixels) {
  // Int() floors, so a point left of or above the board lands below 0 first.
  const double square = std::floor(pixels / kSquarePixels);
  if (!(square >= 0)) return 0;  // also NaN
  if (square > 7) return 7;
  return static_cast<int16_t>(square);
}

void FillViewBoard(const ZVK_Engine::EngineBoard& board) {
  for (int y = 1; y <= 8; ++y) {
    for (int x = 1; x <= 8; ++x) {
      const Square s = EngineToView(x, y);
      gViewBoard.at(s.c, s.r) = ConvertFigureNumber(board.at(x, y));
    }
  }
}

void Update_Board() {
  Guarded("Update_Board of Modul ZVK_Board_Sub", [] {
    FillViewBoard(ZVK_Engine::gVirtualBoard);
    RenderBoard(ZVK_Globals::kTrue);
    TheBoardView().SetFrontBufferEnabled(true);
  });
}

void Convert2IposBoard() {
  Guarded("Convert2IposBoard of Formular fMainForm", [] {
    int32_t from = gFromY * 8 + gFromX;
    int32_t to = gToY * 8 + gToX;
    if (ZVK_Globals::gBoardSide == -1) {
      from = 63 - from;
      to = 63 - to;
    }
    ZVK_Globals::gIposFrom = from;
    ZVK_Globals::gIposTo = to;
  });
}

}  // namespace ZVK_Board_Sub
