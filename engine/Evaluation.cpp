// Material sums for the search, and the positional score that only orders the
// root candidates (best-looking first: it wins ties and the level-1 stop).
#include <cmath>
#include <utility>

#include "engine/EngineInternal.h"
#include "engine/ZVK_Engine.h"
#include "support/ErrorGuard.h"

namespace ZVK_Engine {

using detail::Yield;

float Valuer(const EngineBoard& board) {
  float result = 0;
  Guarded("Valuer of Modul ZVK_Engine", [&] {
    int32_t sum = 0;  // whole numbers well inside single precision: the same sum
    for (int y = 1; y <= 8; ++y)
      for (int x = 1; x <= 8; ++x) sum += board(x, y);
    result = static_cast<float>(sum);
    Yield();
  });
  return result;
}

void EvaluateGame(const EngineBoard& board) {
  Guarded("EvaluateGame of Modul ZVK_Engine", [&] {
    gWhitePieces = 0;
    gBlackPieces = 0;
    for (int y = 1; y <= 8; ++y)
      for (int x = 1; x <= 8; ++x) {
        if (board(x, y) < 0) ++gWhitePieces;
        if (board(x, y) > 0) ++gBlackPieces;
      }
    switch (gMoveNumber) {
      case 1: gGamePhase = 1; break;
      case 3: gGamePhase = 2; break;
      case 5:
      case 7: gGamePhase = 3; break;
      default:
        if (gBlackPieces > 3 && gWhitePieces > 8) gGamePhase = 5;
        else if (gBlackPieces > 3) gGamePhase = 6;
        else gGamePhase = 7;
        break;
    }
    Yield();
  });
}

namespace {

// Adds a double-precision term to the single-precision score as the score's
// own type rounds it.
inline void AddTerm(float& s, double term) { s = static_cast<float>(static_cast<double>(s) + term); }

inline double Closeness(double x, double y, double toX, double toY) {
  return 1.0 / (1.0 + std::sqrt((toX - x) * (toX - x) + (toY - y) * (toY - y)));
}

}  // namespace

float Valuer2(const EngineBoard& b) {
  float result = 0;
  Guarded("Valuer2 of Modul ZVK_Engine", [&] {
    float s = 0;
    for (int y = 1; y <= 8; ++y)
      for (int x = 1; x <= 8; ++x) {
        const int32_t c = b(x, y);
        s += static_cast<float>(c);
        switch (gGamePhase) {
          case 1:
          case 2:
          case 3:  // keep the enemy away from the middle of our back rank
            if (c < 0) AddTerm(s, -Closeness(x, y, 4.5, 8));
            break;
          case 5:
            if (c == kBishop) AddTerm(s, 1.0 / (1.0 + std::fabs(3.5 - y)));
            if (c == kKnight) AddTerm(s, 1.0 / (1.0 + std::fabs(3.5 - y)));
            if (c > 10) AddTerm(s, Closeness(x, y, 4.5, 4.5));
            if (c == kKingPositive) AddTerm(s, y);
            break;
          case 6:
            if (c == kPawn) AddTerm(s, 2.0 / y);
            if (c > 10 && c < 100) AddTerm(s, Closeness(x, y, gWhiteKingX, gWhiteKingY));
            break;
          case 7:
            if (c == kPawn) AddTerm(s, 2.0 / y);
            if (c >= 11) AddTerm(s, Closeness(x, y, gWhiteKingX, gWhiteKingY));
            break;
          default:
            break;
        }
      }
    switch (gGamePhase) {
      case 1:
        if (b(4, 5) == kPawn) s += 1.0f;
        if (b(5, 5) == kPawn) s += 1.0f;
        if (b(4, 6) == kPawn) s += 0.8f;
        if (b(5, 6) == kPawn) s += 0.8f;
        if (b(4, 5) == kPawn && b(4, 4) == -kPawn) s += 0.2f;
        if (b(5, 5) == kPawn && b(5, 4) == -kPawn) s += 0.2f;
        if (b(6, 6) == kKnight) s += 0.9f;
        if (b(3, 6) == kKnight) s += 0.9f;
        break;
      case 2:
        if (b(4, 6) == kPawn) s += 1.0f;
        if (b(5, 6) == kPawn) s += 1.0f;
        if (b(6, 6) == kKnight) s += 0.5f;
        if (b(3, 6) == kKnight) s += 0.5f;
        break;
      case 3:
        if (b(6, 6) == kKnight) s += 1.2f;
        if (b(3, 6) == kKnight) s += 1.0f;
        break;
      case 5:
        if (b(6, 6) == kKnight) s += 1.2f;
        if (b(3, 6) == kKnight) s += 1.0f;
        if (b(4, 5) == kPawn) s += 1.0f;
        if (b(5, 5) == kPawn) s += 1.0f;
        if (b(4, 6) == kPawn) s += 1.0f;
        if (b(5, 6) == kPawn) s += 1.0f;
        if (b(7, 8) == kKingPositive && b(6, 8) == kRook) s += 5.0f;  // castled short
        if (b(3, 8) == kKingPositive && b(4, 8) == kRook) s += 5.0f;  // castled long
        break;
      default:
        break;
    }
    result = s < 0 ? -30000.0f : s;  // only a board without our king gets below 0
    Yield();
  });
  return result;
}

namespace {

// Exchange sort over entries 1..n; equal scores are never exchanged directly.
template <class Before>
void ExchangeSort(BoardList& boards, int32_t n, Before before) {
  for (int32_t i = 1; i <= n - 1; ++i)
    for (int32_t j = i + 1; j <= n; ++j)
      if (before(gMoveScores[static_cast<size_t>(j)], gMoveScores[static_cast<size_t>(i)])) {
        std::swap(gMoveScores[static_cast<size_t>(i)], gMoveScores[static_cast<size_t>(j)]);
        gTempBoard = boards[static_cast<size_t>(i)];
        boards[static_cast<size_t>(i)] = boards[static_cast<size_t>(j)];
        boards[static_cast<size_t>(j)] = gTempBoard;
      }
}

}  // namespace

void MoveEvaluationBlack() {
  Guarded("MoveEvaluationBlack of Modul ZVK_Engine", [] {
    gTestKind = 1;
    gGenMode = 3;
    const int32_t n = detail::StoredEntries(gCandCount);
    for (int32_t i = 1; i <= n; ++i) {
      gTempBoard = gCandBoards[static_cast<size_t>(i)];
      float score = Valuer2(gTempBoard);
      if (gGamePhase == 5) {  // our own mobility after the move, a fiftieth per move
        gMobility = 0;
        for (int y = 1; y <= 8; ++y)
          for (int x = 1; x <= 8; ++x) Move_Black(gTempBoard, x, y);
        score += gMobility / 50;
      }
      gMoveScores[static_cast<size_t>(i)] = score;
    }
    ExchangeSort(gCandBoards, n, [](float j, float i) { return i < j; });
    Yield();
  });
}

void MoveEvaluationWhite() {
  Guarded("MoveEvaluationWhite of Modul ZVK_Engine", [] {
    const int32_t n = detail::StoredEntries(gReplyCount);
    for (int32_t j = 1; j <= n; ++j) gMoveScores[static_cast<size_t>(j)] = Valuer(gReplyBoards[static_cast<size_t>(j)]);
    ExchangeSort(gReplyBoards, n, [](float j, float i) { return i > j; });
    Yield();
  });
}

}  // namespace ZVK_Engine
