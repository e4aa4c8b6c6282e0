#include <cmath>
#include <string>

#include "board/BoardDrawing.h"
#include "board/BoardView.h"
#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Globals.h"
#include "platform/DoEvents.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_Time.h"

namespace ZVK_Board_Sub {

namespace {

// The distance per frame in squares. The list offers whole pixel counts; an
// entry that is not a positive number would never reach the target, so it
// ends the animation before its first frame.
float StepInSquares(const std::string& entry) {
  size_t used = 0;
  double pixels = 0;
  try {
    pixels = std::stod(entry, &used);
  } catch (...) {
    used = 0;
  }
  while (used < entry.size() && entry[used] == ' ') ++used;
  if (used == 0 || used != entry.size())
    throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrTypeMismatch, "Type mismatch");
  if (!(pixels > 0) || !std::isfinite(pixels))
    throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrInvalidCall, "Invalid procedure call or argument");
  return static_cast<float>(pixels / kSquarePixels);
}

// Whether a coordinate still has a step to make towards its target.
bool StepLeft(float position, float step, int target) {
  if (step > 0) return position * kSquarePixels < static_cast<float>(target * kSquarePixels);
  return position * kSquarePixels > static_cast<float>(target * kSquarePixels);
}

int ToPixels(float position) { return static_cast<int>(std::nearbyint(position * kSquarePixels)); }

}  // namespace

void MoveAniPiece(int16_t& fromX, int16_t& fromY, int16_t& toX, int16_t& toY) {
  Guarded("MoveAniPiece of Modul ZVK_Board_Sub", [&] {
    BoardView& view = TheBoardView();
    if (view.chkMoveAnimationValue() == 0) return;

    if (ZVK_Globals::gBoardSide != 1) {
      fromX = static_cast<int16_t>(7 - fromX);
      fromY = static_cast<int16_t>(7 - fromY);
      toX = static_cast<int16_t>(7 - toX);
      toY = static_cast<int16_t>(7 - toY);
    }

    const int piece = gViewBoard.at(fromX, fromY);
    if (piece == kEmpty) return;
    // The piece leaves its square until the next board update draws the final position.
    gViewBoard.at(fromX, fromY) = kEmpty;

    const float step = StepInSquares(view.lstMoveIncrementationText());
    const float sx = toX < fromX ? -step : step;
    const float sy = toY < fromY ? -step : step;
    float x = fromX, y = fromY;

    RenderBoard(ZVK_Globals::kFalse);
    view.picFrontTempBuffer() = view.picFrontBuffer();

    for (;;) {
      if (StepLeft(x, sx, toX)) x += sx;
      if (StepLeft(y, sy, toY)) y += sy;

      QImage& front = view.picFrontBuffer();
      front = view.picFrontTempBuffer();
      DrawPiece(front, view, piece, ToPixels(x), ToPixels(y));
      view.RefreshFrontBuffer();
      platform::DoEvents();

      ZVK_Time::WaitMilliseconds(static_cast<float>((100 - view.HScrollAnimationSpeedValue()) * 10));
      if (!StepLeft(x, sx, toX) && !StepLeft(y, sy, toY)) break;
    }
    platform::DoEvents();
  });
}

}  // namespace ZVK_Board_Sub
