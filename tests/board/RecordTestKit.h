#pragma once
// Shared set-up of the record, taken-pieces, profile, menu and game-file
// tests: a private program tree, a window without widgets, the engine tests'
// recording window for the move slider, a clock that moves a quarter second
// per reading (so waits end at once), and the game back at the start.
#include <gtest/gtest.h>

#include <string>

#include "board/GameRecord.h"
#include "board/RecordWindow.h"
#include "board/TakenPieces.h"
#include "support/ZVK_Time.h"
#include "tests/engine/EngineTestKit.h"

namespace recordtest {

using enginetest::Diagram;  // rank 8 first; upper case White, lower case Black
using enginetest::StartBoard;

// Moves a piece on a board by square names ("e2", "e4").
inline void MovePiece(ZVK_Engine::EngineBoard& board, const char* from, const char* to) {
  board(to[0] - 'a' + 1, to[1] - '0') = board(from[0] - 'a' + 1, from[1] - '0');
  board(from[0] - 'a' + 1, from[1] - '0') = 0;
}

class RecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ZVK_Board_Sub::SetRecordWindow(&window);
    ZVK_Engine::SetEngineWindow(&engine);
    ZVK_Time::SetClock([now = 1000.0]() mutable { return now += 0.25; });
    ZVK_Globals::gNavigating = 0;
    ZVK_Globals::gColorToMove = ZVK_Globals::kWhite;
    ZVK_Globals::gGameMode.clear();
    ZVK_Engine::gVirtualBoard = ZVK_Globals::gPrevBoard = StartBoard();
    ZVK_Engine::gMoveNumber = 0;
    ZVK_Engine::gGameLog.assign(1, ZVK_Engine::gVirtualBoard);
    ZVK_Board_Sub::ClearGameRecord();
    ZVK_Board_Sub::Reset_TakenPieces_Board();
  }

  void TearDown() override {
    ZVK_Board_Sub::SetRecordWindow(nullptr);
    ZVK_Engine::SetEngineWindow(nullptr);
    ZVK_Time::SetClock({});
  }

  std::string ErrorLog() const { return testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()); }

  testsupport::ProgramTree tree;
  ZVK_Board_Sub::HeadlessRecordWindow window;
  enginetest::FakeWindow engine;
};

}  // namespace recordtest
