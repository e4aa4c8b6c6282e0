// The move rules of the displayed board. They judge the shape of a move and
// the squares it passes, not the position as a whole: the engine refuses a
// move that leaves the own king attacked afterwards.
#include <cmath>
#include <cstdlib>
#include <optional>

#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Globals.h"
#include "platform/DoEvents.h"
#include "support/ErrorGuard.h"

namespace ZVK_Board_Sub {

namespace {

enum class Colour { None, Black, White };

Colour ColourOf(int picture) {
  if (IsBlackPicture(picture)) return Colour::Black;
  if (IsWhitePicture(picture)) return Colour::White;
  return Colour::None;
}

// Direction codes of the path walk.
constexpr int kNoShape = 0;
constexpr int kDown = -1;
constexpr int kUp = 1;
constexpr int kRight = 2;
constexpr int kLeft = 4;
constexpr int kDiagonalOrStep = 5;
constexpr int kJump = 6;
constexpr int kCastle = 7;

int RookCode(int dx, int dy) {
  if (dy == 0 && dx < 0) return kLeft;
  if (dy == 0 && dx > 0) return kRight;
  if (dx == 0 && dy < 0) return kUp;
  if (dx == 0 && dy > 0) return kDown;
  return kNoShape;
}

// The rook column of a castling comes from a formula in gBoardSide; anything
// but a whole column on the board holds no rook.
bool OwnRookAt(double column, int row, int ownRook) {
  if (column != std::floor(column) || column < 0 || column > 7) return false;
  return gViewBoard.at(static_cast<int>(column), row) == ownRook;
}

int ChooseCode(int piece, int offset, bool capture, bool emptyTarget, int fromX, int fromY, int toX,
               int toY) {
  const int dx = toX - fromX;
  const int dy = toY - fromY;
  const int kind = piece - offset;
  const double side = ZVK_Globals::gBoardSide;
  const bool white = offset == kWhiteOffset;
  switch (kind) {
    case kRook:
      return RookCode(dx, dy);
    case kKnight:
      return (std::abs(dx) == 2 && std::abs(dy) == 1) || (std::abs(dx) == 1 && std::abs(dy) == 2) ? kJump
                                                                                                  : kNoShape;
    case kBishop:
      return std::abs(dx) == std::abs(dy) ? kDiagonalOrStep : kNoShape;
    case kQueen:
      return std::abs(dx) == std::abs(dy) ? kDiagonalOrStep : RookCode(dx, dy);
    case kKing: {
      int code = std::abs(dx) <= 1 && std::abs(dy) <= 1 ? kDiagonalOrStep : kNoShape;
      if (toY == fromY && (toY == 0 || toY == 7)) {
        const int ownRook = offset + kRook;
        if (toX < 0.5 * side + 6.5 && toX == fromX + 2 && OwnRookAt(toX + 1.5 - 0.5 * side, toY, ownRook) &&
            gViewBoard.at(6, toY) == kEmpty)
          code = kCastle;
        if (toX > 0.5 * side + 0.5 && toX == fromX - 2 && OwnRookAt(toX - 1.5 - 0.5 * side, toY, ownRook) &&
            gViewBoard.at(1, toY) == kEmpty)
          code = kCastle;
      }
      return code;
    }
    case kPawn: {
      // Rows grow downwards; White moves up when it plays from the bottom.
      const double forward = white ? -side : side;
      if (capture) return toY == fromY + forward && std::abs(dx) == 1 ? kDiagonalOrStep : kNoShape;
      if (!emptyTarget || dx != 0) return kNoShape;
      if (toY == fromY + forward) return white ? kUp : kDown;
      const double startRow = white ? 2.5 * side + 3.5 : 3.5 - 2.5 * side;
      if (fromY == startRow && toY == fromY + 2 * forward) return static_cast<int>(white ? side : -side);
      return kNoShape;
    }
    default:
      return kNoShape;
  }
}

int16_t JudgeMove(int fromX, int fromY, int toX, int toY, bool kingSafety) {
  constexpr int16_t no = ZVK_Globals::kFalse, yes = ZVK_Globals::kTrue;
  const int piece = gViewBoard.at(fromX, fromY);
  if (piece == kEmpty) return no;
  if (toX >= 8 || toY >= 8) return no;
  if (fromX == toX && fromY == toY) return no;
  const int target = gViewBoard.at(toX, toY);
  const Colour mover = ColourOf(piece);
  if (ColourOf(target) == mover) return no;
  const int offset = mover == Colour::White ? kWhiteOffset : kBlackOffset;

  // The king is tested on its target while it still stands on its from-square.
  if (kingSafety && piece == offset + kKing) {
    if (CheckPosition(static_cast<int16_t>(toX), static_cast<int16_t>(toY), static_cast<uint8_t>(piece)) != 0)
      return no;
  }

  const bool capture = target != kEmpty;
  const bool emptyTarget = target == kEmpty;
  const int code = ChooseCode(piece, offset, capture, emptyTarget, fromX, fromY, toX, toY);

  auto blocks = [&](int c, int r) {
    if (gViewBoard.at(c, r) == kEmpty) return false;
    return emptyTarget || !(c == toX && r == toY);
  };

  switch (code) {
    case kDown:
      for (int r = fromY + 1; r <= toY; ++r)
        if (blocks(fromX, r)) return no;
      return yes;
    case kUp:
      for (int r = fromY - 1; r >= toY; --r)
        if (blocks(fromX, r)) return no;
      return yes;
    case kRight:
      for (int c = fromX + 1; c <= toX; ++c)
        if (blocks(c, fromY)) return no;
      return yes;
    case kLeft:
      for (int c = fromX - 1; c >= toX; --c)
        if (blocks(c, fromY)) return no;
      return yes;
    case kDiagonalOrStep: {
      const int dx = toX - fromX, dy = toY - fromY;
      if (std::abs(dx) != std::abs(dy)) return yes;  // a king's straight step passes nothing
      const int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
      for (int k = 1; k <= std::abs(dx); ++k)
        if (blocks(fromX + k * sx, fromY + k * sy)) return no;
      return yes;
    }
    case kJump:
      return yes;
    case kCastle:
      if (target != kEmpty) return no;
      for (int c = fromX - 1; c >= toX; --c)
        if (gViewBoard.at(c, fromY) != kEmpty) return no;
      for (int c = fromX + 1; c <= toX; ++c)
        if (gViewBoard.at(c, fromY) != kEmpty) return no;
      return yes;
    default:
      return no;
  }
}

// Puts a value on a square for the length of a test and always takes it
// away again, also when the test fails half-way.
int gSquaresUnderTest = 0;

class TemporarySquare {
 public:
  TemporarySquare(int c, int r, uint8_t value) : c_(c), r_(r), saved_(gViewBoard.at(c, r)) {
    gViewBoard.at(c, r) = value;
    ++gSquaresUnderTest;
  }
  ~TemporarySquare() {
    gViewBoard(c_, r_) = saved_;
    --gSquaresUnderTest;
  }
  TemporarySquare(const TemporarySquare&) = delete;
  TemporarySquare& operator=(const TemporarySquare&) = delete;

 private:
  int c_, r_;
  uint8_t saved_;
};

}  // namespace

bool ViewBoardUnderTest() { return gSquaresUnderTest > 0; }

int16_t MoveAlright(int16_t fromX, int16_t fromY, int16_t toX, int16_t toY, int16_t kingSafety) {
  int16_t result = ZVK_Globals::kFalse;
  Guarded("MoveAlright of Modul ZVK_Board_Sub", [&] {
    result = JudgeMove(fromX, fromY, toX, toY, kingSafety != 0);
    platform::DoEvents();
  });
  return result;
}

int16_t CheckPosition(int16_t x, int16_t y, uint8_t code) {
  int16_t result = ZVK_Globals::kFalse;
  Guarded("CheckPosition of Modul ZVK_Board_Sub", [&] {
    const bool put = code == kBlackKing || code == kWhiteKing || gViewBoard.at(x, y) == kEmpty;
    std::optional<TemporarySquare> placed;
    if (put) placed.emplace(x, y, code);
    const int tested = gViewBoard.at(x, y);
    for (int16_t i = 0; i < 8; ++i) {
      for (int16_t j = 0; j < 8; ++j) {
        const int other = gViewBoard(i, j);
        const bool opposite = (tested >= 11 && other < 10) || (tested < 10 && other >= 11);
        if (opposite && MoveAlright(i, j, x, y, ZVK_Globals::kFalse) != 0) {
          result = ZVK_Globals::kTrue;
          return;
        }
      }
    }
  });
  return result;
}

int16_t IsKingMated(const std::string& colour) {
  int16_t result = ZVK_Globals::kFalse;
  Guarded("IsKingMated of Modul ZVK_Board_Sub", [&] {
    int offset;
    if (colour == "White") offset = kWhiteOffset;
    else if (colour == "Black") offset = kBlackOffset;
    else return;
    const int king = offset + kKing;

    int kingC = -1, kingR = -1;
    for (int c = 0; c < 8 && kingC < 0; ++c)
      for (int r = 0; r < 8; ++r)
        if (gViewBoard(c, r) == king) {
          kingC = c;
          kingR = r;
          break;
        }
    if (kingC < 0) return;
    if (CheckPosition(kingC, kingR, 0) == 0) return;

    for (int i = 0; i < 8; ++i) {
      for (int j = 0; j < 8; ++j) {
        const int piece = gViewBoard(i, j);
        if (piece <= offset || piece > offset + kPawn) continue;
        for (int c = 0; c < 8; ++c) {
          for (int r = 0; r < 8; ++r) {
            if (MoveAlright(i, j, c, r, ZVK_Globals::kTrue) == 0) continue;
            // Castling is no way out of check.
            if (piece == king && std::abs(c - i) == 2) continue;
            bool stillAttacked;
            {
              TemporarySquare vacated(i, j, kEmpty);
              TemporarySquare occupied(c, r, static_cast<uint8_t>(piece));
              stillAttacked = piece == king ? CheckPosition(c, r, 0) != 0 : CheckPosition(kingC, kingR, 0) != 0;
            }
            if (!stillAttacked) return;
          }
        }
      }
    }
    result = ZVK_Globals::kTrue;
  });
  return result;
}

}  // namespace ZVK_Board_Sub
