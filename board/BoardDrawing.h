#pragma once
// The drawing primitives of the board: a marker blended at half strength and
// a piece laid in through its mask, the way the board and the animation
// compose their frames.
#include <QImage>

namespace ZVK_Board_Sub {

class BoardView;

// Constant alpha of the square markers (half strength, no per-pixel alpha).
inline constexpr int kMarkerAlpha = 128;

// Blends the top-left 48 x 48 pixels of marker onto target at (x, y):
// target := marker * 128 / 255 + target * (1 - 128 / 255).
void BlendMarker(QImage& target, const QImage& marker, int x, int y);

// Lays picture number p into target at (x, y): its mask turns the piece's
// shape white (target OR NOT mask), then its sprite is ANDed in, so the
// ground around the piece stays as it was. Empty pictures are skipped.
void DrawPiece(QImage& target, BoardView& view, int picture, int x, int y);

}  // namespace ZVK_Board_Sub
