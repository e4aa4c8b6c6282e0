#pragma once
// Shared set-up of the record, taken-pieces, profile, menu and game-file
// tests: a private program tree, a window without widgets, a clock that
// moves a quarter second per reading (so waits end at once), and the game
// state back at the start position.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "board/GameRecord.h"
#include "board/RecordWindow.h"
#include "board/TakenPieces.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_Time.h"
#include "tests/main/TestSupport.h"

namespace recordtest {

// An engine board from eight rows of text, rank 8 first: upper case White
// (negative codes), lower case Black, '.' empty; the rings hold 2.
inline ZVK_Engine::EngineBoard Position(const char* const (&rows)[8]) {
  ZVK_Engine::EngineBoard board;
  board.cells.fill(ZVK_Engine::kOffBoard);
  for (int r = 0; r < 8; ++r) {
    for (int f = 0; f < 8; ++f) {
      const char ch = rows[r][f];
      int32_t code = 0;
      switch (std::tolower(static_cast<unsigned char>(ch))) {
        case 'p': code = 10; break;
        case 'n': code = 30; break;
        case 'b': code = 32; break;
        case 'r': code = 50; break;
        case 'q': code = 90; break;
        case 'k': code = std::isupper(static_cast<unsigned char>(ch)) ? 10000 : 15000; break;
        default: code = 0;
      }
      board(f + 1, 8 - r) = std::isupper(static_cast<unsigned char>(ch)) ? -code : code;
    }
  }
  return board;
}

inline ZVK_Engine::EngineBoard StartPosition() {
  ZVK_Engine::Ini_VirtualBoard();
  return ZVK_Engine::gVirtualBoard;
}

// Moves a piece on a board by square names ("e2", "e4").
inline void MovePiece(ZVK_Engine::EngineBoard& board, const char* from, const char* to) {
  const int fx = from[0] - 'a' + 1, fy = from[1] - '0';
  const int tx = to[0] - 'a' + 1, ty = to[1] - '0';
  board(tx, ty) = board(fx, fy);
  board(fx, fy) = 0;
}

class RecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ZVK_Board_Sub::SetRecordWindow(&window);
    double now = 1000.0;
    ZVK_Time::SetClock([now, this]() mutable {
      ++clockReads;
      return now += 0.25;
    });
    ZVK_Globals::gNavigating = 0;
    ZVK_Globals::gColorToMove = ZVK_Globals::kWhite;
    ZVK_Globals::gGameMode.clear();
    ZVK_Engine::gVirtualBoard = StartPosition();
    ZVK_Globals::gPrevBoard = ZVK_Engine::gVirtualBoard;
    ZVK_Engine::gMoveNumber = 0;
    ZVK_Engine::gGameLog.assign(1, ZVK_Engine::gVirtualBoard);
    ZVK_Board_Sub::ClearGameRecord();
    ZVK_Board_Sub::Reset_TakenPieces_Board();
    ZVK_Board_Sub::gLastMoveFromX = ZVK_Board_Sub::gLastMoveFromY = 0;
    ZVK_Board_Sub::gLastMoveToX = ZVK_Board_Sub::gLastMoveToY = 0;
  }

  void TearDown() override {
    ZVK_Board_Sub::SetRecordWindow(nullptr);
    ZVK_Time::SetClock({});
  }

  // The error log's text so far ("" while nothing was logged).
  std::string ErrorLog() const { return testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()); }

  testsupport::ProgramTree tree;
  ZVK_Board_Sub::HeadlessRecordWindow window;
  int clockReads = 0;
};

}  // namespace recordtest
