// The engine's move: root candidates (with castling), ordering, a fixed
// four-half-move search on material, the repetition veto and the commit.
#include <cmath>
#include <cstdio>
#include <string>

#include "engine/EngineInternal.h"
#include "engine/EngineWindow.h"
#include "engine/MirrorBoard.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "platform/MessageBox.h"
#include "support/ErrorGuard.h"

namespace ZVK_Engine {

using detail::Yield;

namespace {

// What a search started from. Window events run inside every yield; a new
// game, a navigation, a load, a nested search or a mode change in there would
// make a commit write into a game it was not searched for.
struct PositionStamp {
  uint64_t epoch = 0;
  int32_t moveNumber = 0;
  EngineBoard board;
  std::string mode;
};

PositionStamp TakeStamp() {
  return PositionStamp{PositionEpoch(), gMoveNumber, gVirtualBoard, ZVK_Globals::gGameMode};
}

bool StillTheSame(const PositionStamp& stamp) {
  return stamp.epoch == PositionEpoch() && stamp.moveNumber == gMoveNumber &&
         stamp.board == gVirtualBoard && stamp.mode == ZVK_Globals::gGameMode;
}

// Candidate count / 10, halves to the even number (5 -> 0, 15 -> 2, 25 -> 2, 35 -> 4).
int32_t LevelOneStopPoint(int32_t candidates) {
  int32_t k = candidates / 10;
  const int32_t rest = candidates % 10;
  if (rest > 5 || (rest == 5 && k % 2 == 1)) ++k;
  // A stop point of 1 would end the search before its first candidate, leaving
  // only king moves to play; the first (best-ordered) candidate is always searched.
  if (k == 1) k = 2;
  return k;
}

std::string EvaluatedMovesText(float value) {
  if (std::fabs(value) < 1e7f && value == std::floor(value))
    return std::to_string(static_cast<long long>(value));
  char text[32];
  std::snprintf(text, sizeof text, "%.7G", static_cast<double>(value));
  return text;
}

void MarkOpponentSquares(EngineBoard& board) {
  Reset_VirtualBoard();
  calcular_rey(board);
  gGenMode = 3;
  for (int y = 1; y <= 8; ++y)
    for (int x = 1; x <= 8; ++x) Move_White(board, x, y);
}

// True when the move was committed.
bool UpdateGameFrom(const PositionStamp& stamp) {
  bool committed = false;
  Guarded("UpdateGame of Modul ZVK_Engine", [&] {
    Window().SetProgresoValue(0);
    MarkOpponentSquares(gBestBoard);
    if (gAttackMap.at(gBlackKingX, gBlackKingY) != 0 || gMoveFound == 0) {
      // The chosen move leaves the king attacked (or nothing was chosen): only a king move may save it.
      gTestKind = 5;
      gGenMode = 3;
      calcular_rey(gVirtualBoard);
      Move_Black(gVirtualBoard, gBlackKingX, gBlackKingY);
    }
    MarkOpponentSquares(gBestBoard);
    if (!StillTheSame(stamp)) {
      // The game changed under the search: its move belongs to no position on the board now.
      Yield();
      return;
    }
    if (gAttackMap.at(gBlackKingX, gBlackKingY) == 0 && gMoveFound != 0) {
      gVirtualBoard = gBestBoard;
      committed = true;
      gMoveNumber += 1;
      Window().SetLblPlayCaption(std::to_string(gMoveNumber));
      detail::gLoggingEngineMove = true;
      Log_Play();
      detail::gLoggingEngineMove = false;
      platform::Beep();
      Yield();
    } else {
      Window().MsgBox("Computer Resigns  or  Check Mate", 4096, "Castellan Quarto");
      Window().SetMnuNewGameEnabled(true);
      Window().SetMnuLoadGameStartEnabled(true);
      Window().SetTbButtonEnabled(1, true);
      Window().SetTbButtonEnabled(2, true);
      ZVK_Globals::gGameStopped = -1;
      Yield();
    }
  });
  detail::gLoggingEngineMove = false;
  return committed;
}

}  // namespace

void Ini_Search() {
  Guarded("Ini_Search of Modul ZVK_Engine", [] {
    calcular_rey(gVirtualBoard);
    EvaluateGame(gVirtualBoard);
    gMoveFound = 0;
    gCandCount = 0;
    gGenMode = 1;
    for (int y = 8; y >= 1; --y)
      for (int x = 1; x <= 8; ++x) Move_Black(gVirtualBoard, x, y);
    ch_Castle();
    Window().SetProgresoMax(gCandCount);
    Window().SetProgresoValue(0);
    gEvaluatedMoves = 0;
    gBestValue = -32000;
    gCutoff = 0;
    gBestBoard = gVirtualBoard;
  });
}

void ch_Castle() {
  Guarded("ch_Castle of Modul ZVK_Engine", [] {
    gCastled = 0;
    Reset_VirtualBoard();
    gGenMode = 3;
    for (int y = 1; y <= 8; ++y)
      for (int x = 1; x <= 8; ++x) Move_White(gVirtualBoard, x, y);
    gBoardPly1 = gVirtualBoard;
    EngineBoard& b = gBoardPly1;
    if (b(5, 8) == kKingPositive && b(6, 8) == 0 && b(7, 8) == 0 && b(8, 8) == kRook) {
      if (gAttackMap(8, 8) || gAttackMap(6, 8) || gAttackMap(5, 8) || gAttackMap(7, 8)) {
        Reset_VirtualBoard();
        return;
      }
      b(7, 8) = kKingPositive;
      b(5, 8) = 0;
      b(6, 8) = kRook;
      b(8, 8) = 0;
      detail::StoreEntry(gCandBoards, ++gCandCount, b);
      gCastled = -1;
    }
    // Examined on the same board: after a short castling the king has left (5, 8).
    if (b(1, 8) == kRook && b(2, 8) == 0 && b(3, 8) == 0 && b(4, 8) == 0 && b(5, 8) == kKingPositive &&
        !gAttackMap(5, 8) && !gAttackMap(4, 8) && !gAttackMap(3, 8)) {
      b(1, 8) = 0;
      b(2, 8) = 0;
      b(3, 8) = kKingPositive;
      b(5, 8) = 0;
      b(4, 8) = kRook;
      detail::StoreEntry(gCandBoards, ++gCandCount, b);
      gCastled = -1;
    }
    Reset_VirtualBoard();
  });
}

void RefreshGame() {
  Guarded("RefreshGame of Modul ZVK_Engine", [] {
    Window().SetProgresoValue(Window().ProgresoValue() + 1);
    Window().SetLblJpenCaption(EvaluatedMovesText(gEvaluatedMoves));
    Window().RefreshLblJpen();
    platform::DoEvents();
    platform::DoEvents();
  });
}

int16_t Check4RepMoves(const EngineBoard& candidate) {
  int16_t result = 0;
  Guarded("Check4RepMoves of Modul ZVK_Engine", [&] {
    const int32_t m = gMoveNumber;
    if (m < 10) return;
    EngineBoard before2 = gGameLog.at(static_cast<size_t>(m - 2));
    EngineBoard before3 = gGameLog.at(static_cast<size_t>(m - 3));
    EngineBoard before6 = gGameLog.at(static_cast<size_t>(m - 6));
    if (ZVK_Globals::gColorToMove == ZVK_Globals::kWhite) {
      // The search runs mirrored: compare with the engine's pieces positive on both sides.
      MirroredCopy(before2, gGameLog.at(static_cast<size_t>(m - 2)));
      MirroredCopy(before3, gGameLog.at(static_cast<size_t>(m - 3)));
      MirroredCopy(before6, gGameLog.at(static_cast<size_t>(m - 6)));
    }
    for (int y = 1; y <= 8; ++y)
      for (int x = 1; x <= 8; ++x)
        if (candidate(x, y) > 0 && before2(x, y) != candidate(x, y)) return;
    for (int y = 1; y <= 8; ++y)
      for (int x = 1; x <= 8; ++x)
        if (before3(x, y) > 0 && before6(x, y) != before3(x, y)) return;
    result = -1;
  });
  Yield();
  return result;
}

void UpdateGame() { UpdateGameFrom(TakeStamp()); }

bool SearchBestMove() {
  bool committed = false;
  NotePositionChanged();  // a search running underneath must not commit after this one
  const PositionStamp stamp = TakeStamp();
  Guarded("SearchBestMove of Modul ZVK_Engine", [&] {
    Ini_Search();
    MoveEvaluationBlack();
    const int32_t candidates = detail::StoredEntries(gCandCount);
    const int32_t stopPoint = LevelOneStopPoint(gCandCount);
    for (int32_t i = 1; i <= candidates; ++i) {
      RefreshGame();
      if (!StillTheSame(stamp)) break;
      if (Window().ProgresoValue() == stopPoint && Window().SldLevelValue() == 1 &&
          !Window().LblwwCheckVisible() && !Window().LblbbCheckVisible())
        break;

      // The opponent's replies to candidate i, the most capturing first.
      gReplyCount = 0;
      gBoardPly1 = gCandBoards[static_cast<size_t>(i)];
      gPly2Min = 32000;
      gGenMode = 1;
      for (int y = 1; y <= 8; ++y)
        for (int x = 1; x <= 8; ++x) Move_White(gBoardPly1, x, y);
      MoveEvaluationWhite();

      const int32_t replies = detail::StoredEntries(gReplyCount);
      for (int32_t j = 1; j <= replies; ++j) {
        gBoardPly2 = gReplyBoards[static_cast<size_t>(j)];
        gPly3Max = -32000;
        gGenMode = 2;
        Move_Black_UntilWarning();
        if (gPly3Max <= gPly2Min) {
          gPly2Min = gPly3Max;
          if (gPly3Max <= gBestValue) break;  // this candidate cannot beat the best any more
        }
      }
      // Strictly better only: of equal values the earlier candidate in the order stays.
      if (gPly2Min > gBestValue && Check4RepMoves(gBoardPly1) == 0) {
        gBestValue = gPly2Min;
        gMoveFound = 1;
        gBestBoard = gBoardPly1;
      }
    }
    committed = UpdateGameFrom(stamp);
    gCastled = 0;
    Yield();
  });
  return committed;
}

}  // namespace ZVK_Engine
