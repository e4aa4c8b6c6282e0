#pragma once
// Helpers of the engine tests: a recording main window whose move slider runs
// the change handler synchronously, boards from diagrams, and the road of a
// move as the main window drives it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/BenchPositions.h"
#include "engine/EngineWindow.h"
#include "engine/MirrorBoard.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_ErrorLog.h"
#include "tests/main/TestSupport.h"

namespace enginetest {

using namespace ZVK_Engine;
using ZVK_Globals::kBlack;
using ZVK_Globals::kWhite;

class FakeWindow : public EngineWindow {
 public:
  int32_t progresoMax = 0, progresoValue = 0;
  std::string lblPlay;
  int32_t level = 2;
  int16_t sliderMax = 0, sliderValue = 0;
  // Message boxes ("text|style|title") and enabled controls, in the order they came.
  std::vector<std::string> events;

  void SetProgresoMax(int32_t max) override { progresoMax = max; }
  void SetProgresoValue(int32_t value) override { progresoValue = value; }
  int32_t ProgresoValue() override { return progresoValue; }
  void SetLblJpenCaption(const std::string&) override {}
  void RefreshLblJpen() override {}
  void SetLblPlayCaption(const std::string& caption) override { lblPlay = caption; }
  bool LblwwCheckVisible() override { return false; }
  bool LblbbCheckVisible() override { return false; }
  int32_t SldLevelValue() override { return level; }
  // Like a scroll bar: a maximum below the value pulls the value down.
  void SetHScroll1Max(int16_t max) override {
    sliderMax = max;
    if (sliderValue > max) Change(max);
  }
  void SetHScroll1Value(int16_t value) override {
    value = std::clamp<int16_t>(value, 0, sliderMax);
    if (value != sliderValue) Change(value);
  }
  void SetMnuNewGameEnabled(bool enabled) override { events.push_back("mnuNewGame " + std::to_string(enabled)); }
  void SetMnuLoadGameStartEnabled(bool enabled) override { events.push_back("mnuLoadGameStart " + std::to_string(enabled)); }
  void SetTbButtonEnabled(int i, bool enabled) override { events.push_back("tb(" + std::to_string(i) + ") " + std::to_string(enabled)); }
  int MsgBox(const std::string& text, int style, const std::string& title) override {
    return events.push_back(text + "|" + std::to_string(style) + "|" + title), 1;
  }

  void Change(int16_t value) {
    sliderValue = value;
    Guarded("HScroll1_Change of Formular fMainForm", [&] { ApplyMoveSliderValue(sliderValue); });
  }
};

// Boards from eight rows, rank 8 first: lower case the positive side (Black in
// the game position), upper case the negative side; '.' empty.
using benchpositions::Diagram;

// `rows` with one file opened and attacked: the castling side's pawn on it
// removed and a rook of the other side put on it.
inline std::vector<std::string> AttackFile(std::vector<std::string> rows, char file, bool blackCastles) {
  const auto x = static_cast<size_t>(file - 'a');
  rows[blackCastles ? 1 : 6][x] = '.';
  rows[blackCastles ? 4 : 3][x] = blackCastles ? 'R' : 'r';
  return rows;
}

inline EngineBoard StartBoard() { return Ini_VirtualBoard(), gVirtualBoard; }

inline EngineBoard Mirrored(EngineBoard b) { return MirroredCopy(b, EngineBoard(b)), b; }

// Square number of an algebraic square ("e2" -> 52), White at the bottom.
inline int32_t Sq(const char* name) { return (8 - (name[1] - '0')) * 8 + (name[0] - 'a'); }

inline std::string ErrorLogText() { return testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()); }

// Installs a fresh fake window and a new game in `mode`.
class EngineTest : public ::testing::Test {
 protected:
  FakeWindow window;

  void SetUp() override {
    SetEngineWindow(&window);
    NewGame("OfflinePC", kWhite);  // the engine plays Black: nothing is stored mirrored
  }
  void TearDown() override { SetEngineWindow(nullptr); }

  void NewGame(const std::string& mode, int32_t playerColor) {
    ZVK_Globals::gGameMode = mode;
    ZVK_Globals::gPlayerColor = playerColor;
    ZVK_Globals::gGameStopped = 0;
    Initial_Game();
    ZVK_Globals::gColorToMove = kWhite;  // the board reset's part
  }

  // A game that continues from `position` (White negative) at half-move `moveNumber`.
  void SetPosition(const EngineBoard& position, int32_t moveNumber) {
    gGameLog.assign(static_cast<size_t>(moveNumber) + 1, position);
    window.sliderMax = static_cast<int16_t>(moveNumber);
    window.Change(static_cast<int16_t>(moveNumber));
    NotePositionChanged();
  }

  // The road of a move: the engine plays the side to move.
  void EngineMove() {
    CopyBoard(ZVK_Globals::gPrevBoard, gVirtualBoard);
    if (ZVK_Globals::gColorToMove == kWhite) ZVK_Board_Sub::MirrorBoard();
    SearchBestMove();
  }

  // The road of a human move for the side to move; true when it was applied.
  bool HumanMove(const char* from, const char* to) {
    const bool black = ZVK_Globals::gColorToMove == kBlack;
    const int32_t f = Sq(from), t = Sq(to);
    if (black) ZVK_Board_Sub::MirrorBoard();
    Check4Castle(f, t);  // unmirrored numbers: its Black rows are written for the mirrored board
    if (gCastled == 0) Movement_us(black ? 63 - f : f, black ? 63 - t : t);
    if (gCastled == -1 || gUserMoveAccepted == -1) return true;
    if (black) ZVK_Board_Sub::MirrorBoard();
    return false;
  }
};

}  // namespace enginetest
