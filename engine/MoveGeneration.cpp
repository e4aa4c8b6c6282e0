// Pseudo-legal move generation, one piece at a time. Every move goes straight
// to its side's sink, which does what gGenMode (and gTestKind) asks: collect,
// search, mark an attack map, count mobility or test king safety. The outer two
// rings of kOffBoard let every step and jump land on a real cell.
#include <stdexcept>

#include "engine/EngineInternal.h"
#include "engine/ZVK_Engine.h"
#include "support/ErrorGuard.h"

namespace ZVK_Engine {

using detail::Yield;

namespace {

struct Step {
  int dx, dy;
};

// Emission orders; they decide list order and which find wins where the last one does.
constexpr Step kQueenRays[8] = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}, {0, 1}, {0, -1}, {1, 0}, {-1, 0}};
constexpr Step kKingSteps[8] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}, {0, -1}, {0, 1}, {-1, 0}, {1, 0}};
constexpr Step kRookRays[4] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}};
constexpr Step kKnightJumps[8] = {{2, 1}, {2, -1}, {-2, -1}, {-2, 1}, {1, 2}, {-1, 2}, {1, -2}, {-1, -2}};
constexpr Step kBishopRays[4] = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}};

// A target is free for the positive side when empty or negative (the border's 2 is positive).
inline bool OpenForPositive(int32_t cell) { return cell <= 0; }
inline bool OpenForNegative(int32_t cell) { return cell != kOffBoard && cell >= 0; }

inline void MakeMove(EngineBoard& board, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
  board(toX, toY) = board(fromX, fromY);
  board(fromX, fromY) = 0;
}

// The rings of kOffBoard end every ray; a board whose rings were overwritten
// (a damaged game file) must still never make a ray leave the board's cells.
inline void CheckRayCell(int32_t x, int32_t y) {
  if (static_cast<uint32_t>(x + 1) > 11u || static_cast<uint32_t>(y + 1) > 11u)
    throw std::out_of_range("Subscript out of range");
}

inline float PlayingSum(const EngineBoard& board) {
  // Every partial sum is a whole number far below 2^24, so summing in integers
  // gives exactly the single-precision sum.
  int32_t sum = 0;
  for (int y = 1; y <= 8; ++y)
    for (int x = 1; x <= 8; ++x) sum += board(x, y);
  return static_cast<float>(sum);
}

}  // namespace

void gen_black(int32_t fromX, int32_t fromY, EngineBoard& board, int32_t dx, int32_t dy) {
  Guarded("gen_black of Modul ZVK_Engine", [&] {
    int32_t x = fromX + dx, y = fromY + dy;
    for (;;) {
      CheckRayCell(x, y);
      const int32_t cell = board(x, y);
      if (cell == kOffBoard || cell > 0) break;
      PossibleBlackMoves(x, y, fromX, fromY);
      if (cell < 0) break;
      x += dx;
      y += dy;
    }
    Yield();
  });
}

void gen_bl(int32_t fromX, int32_t fromY, EngineBoard& board, int32_t dx, int32_t dy) {
  Guarded("gen_bl of Modul ZVK_Engine", [&] {
    int32_t x = fromX + dx, y = fromY + dy;
    for (;;) {
      CheckRayCell(x, y);
      const int32_t cell = board(x, y);
      if (cell == kOffBoard || cell < 0) break;
      PossibleWhiteMoves(x, y, fromX, fromY);
      if (cell > 0) break;
      x += dx;
      y += dy;
    }
    Yield();
  });
}

void Move_Black(EngineBoard& board, int32_t x, int32_t y) {
  Guarded("Move_Black of Modul ZVK_Engine", [&] {
    switch (board.at(x, y)) {
      case kQueen:
        for (const Step& s : kQueenRays) gen_black(x, y, board, s.dx, s.dy);
        break;
      case kKingPositive:
        for (const Step& s : kKingSteps)
          if (OpenForPositive(board(x + s.dx, y + s.dy))) PossibleBlackMoves(x + s.dx, y + s.dy, x, y);
        break;
      case kRook:
        for (const Step& s : kRookRays) gen_black(x, y, board, s.dx, s.dy);
        break;
      case kPawn:  // moves towards rank 1
        if (y == 7 && board(x, y - 1) == 0 && board(x, y - 2) == 0) PossibleBlackMoves(x, y - 2, x, y);
        if (board(x, y - 1) == 0) PossibleBlackMoves(x, y - 1, x, y);
        if (board(x + 1, y - 1) < 0) PossibleBlackMoves(x + 1, y - 1, x, y);
        if (board(x - 1, y - 1) < 0) PossibleBlackMoves(x - 1, y - 1, x, y);
        break;
      case kKnight:
        for (const Step& s : kKnightJumps)
          if (OpenForPositive(board(x + s.dx, y + s.dy))) PossibleBlackMoves(x + s.dx, y + s.dy, x, y);
        break;
      case kBishop:
        for (const Step& s : kBishopRays) gen_black(x, y, board, s.dx, s.dy);
        break;
      default:
        break;
    }
    Yield();
  });
}

void Move_White(EngineBoard& board, int32_t x, int32_t y) {
  Guarded("Move_White of Modul ZVK_Engine", [&] {
    switch (board.at(x, y)) {
      case -kQueen:
        for (const Step& s : kQueenRays) gen_bl(x, y, board, s.dx, s.dy);
        break;
      case kKingNegative:
        for (const Step& s : kKingSteps)
          if (OpenForNegative(board(x + s.dx, y + s.dy))) PossibleWhiteMoves(x + s.dx, y + s.dy, x, y);
        break;
      case -kRook:
        for (const Step& s : kRookRays) gen_bl(x, y, board, s.dx, s.dy);
        break;
      case -kPawn: {  // moves towards rank 8
        if (y == 2 && board(x, y + 1) == 0 && board(x, y + 2) == 0) PossibleWhiteMoves(x, y + 2, x, y);
        if (board(x, y + 1) == 0) PossibleWhiteMoves(x, y + 1, x, y);
        const int32_t right = board(x + 1, y + 1), left = board(x - 1, y + 1);
        if (right > 0 && right != kOffBoard) PossibleWhiteMoves(x + 1, y + 1, x, y);
        if (left > 0 && left != kOffBoard) PossibleWhiteMoves(x - 1, y + 1, x, y);
        break;
      }
      case -kKnight:
        for (const Step& s : kKnightJumps)
          if (OpenForNegative(board(x + s.dx, y + s.dy))) PossibleWhiteMoves(x + s.dx, y + s.dy, x, y);
        break;
      case -kBishop:
        for (const Step& s : kBishopRays) gen_bl(x, y, board, s.dx, s.dy);
        break;
      default:
        break;
    }
    Yield();
  });
}

void PossibleBlackMoves(int32_t toX, int32_t toY, int32_t fromX, int32_t fromY) {
  Guarded("PossibleBlackMoves of Modul ZVK_Engine", [&] {
    gEvaluatedMoves += 1;
    switch (gGenMode) {
      case 1:  // a root candidate, always built on the game position
        ++gCandCount;
        gBoardPly1 = gVirtualBoard;
        MakeMove(gBoardPly1, fromX, fromY, toX, toY);
        if (gBoardPly1(toX, 1) == kPawn) gBoardPly1(toX, 1) = kQueen;
        detail::StoreEntry(gCandBoards, gCandCount, gBoardPly1);
        return;
      case 2:  // third half-move: the best of the engine's answers, cut off at the reply bound
        gBoardPly3 = gBoardPly2;
        MakeMove(gBoardPly3, fromX, fromY, toX, toY);
        if (gBoardPly3(toX, 1) == kPawn) gBoardPly3(toX, 1) = kQueen;
        gPly4Min = 32000;
        Move_White_UntilWarning();
        if (gPly4Min >= gPly3Max) {
          gPly3Max = gPly4Min;
          if (gPly4Min >= gPly2Min) gCutoff = -1;
        }
        return;
      case 3:
        switch (gTestKind) {
          case 1:
            gMobility += 1;
            break;
          case 2:
            gAttackMap.at(toX, toY) = 1;
            break;
          case 3:  // a sum above 10000 means the negative king is gone
            gBoardPly1 = gBoardPly2;
            Movement_comp(gBoardPly1, fromX, fromY, toX, toY);
            if (Valuer(gBoardPly1) > 10000) gKingCapturable = -1;
            break;
          case 5:  // king escape: keep the move after which the king's square is not reached
            Reset_VirtualBoard();
            gBoardPly1 = gVirtualBoard;
            Movement_comp(gBoardPly1, fromX, fromY, toX, toY);
            gGenMode = 3;
            for (int y = 1; y <= 8; ++y)
              for (int x = 1; x <= 8; ++x) Move_White(gBoardPly1, x, y);
            if (gAttackMap.at(toX, toY) == 0) {
              gBestBoard = gBoardPly1;
              gMoveFound = 1;
            }
            break;
          default:
            break;
        }
        Yield();
        return;
      default:
        Yield();
        return;
    }
  });
}

void PossibleWhiteMoves(int32_t toX, int32_t toY, int32_t fromX, int32_t fromY) {
  Guarded("PossibleWhiteMoves of Modul ZVK_Engine", [&] {
    gEvaluatedMoves += 1;
    switch (gGenMode) {
      case 1:  // a reply to the candidate on gBoardPly1
        ++gReplyCount;
        gBoardPly2 = gBoardPly1;
        MakeMove(gBoardPly2, fromX, fromY, toX, toY);
        if (gBoardPly2(toX, 8) == -kPawn) gBoardPly2(toX, 8) = -kQueen;
        detail::StoreEntry(gReplyBoards, gReplyCount, gBoardPly2);
        return;
      case 2: {  // fourth half-move, a leaf: material only
        gBoardPly4 = gBoardPly3;
        MakeMove(gBoardPly4, fromX, fromY, toX, toY);
        if (gBoardPly4(toX, 8) == -kPawn) gBoardPly4(toX, 8) = -kQueen;
        const float sum = PlayingSum(gBoardPly4);
        if (sum < gPly4Min) gPly4Min = sum;
        return;
      }
      case 3:
        gAttackMap.at(toX, toY) = 1;
        Yield();
        return;
      default:
        Yield();
        return;
    }
  });
}

void Move_Black_UntilWarning() {
  Guarded("Move_Black_UntilWarning of Modul ZVK_Engine", [] {
    for (int y = 1; y <= 8; ++y)
      for (int x = 1; x <= 8; ++x) {
        Move_Black(gBoardPly2, x, y);
        if (gCutoff == -1) {
          gCutoff = 0;
          return;
        }
      }
    Yield();
  });
}

void Move_White_UntilWarning() {
  Guarded("Move_White_UntilWarning of Modul ZVK_Engine", [] {
    for (int y = 1; y <= 8; ++y)
      for (int x = 1; x <= 8; ++x) {
        Move_White(gBoardPly3, x, y);
        if (gCutoff == -1) {
          gCutoff = 0;
          return;
        }
      }
    Yield();
  });
}

}  // namespace ZVK_Engine
