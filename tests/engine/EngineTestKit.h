#pragma once
// Helpers of the engine tests: a recording main window whose move slider runs
// the change handler synchronously, boards from diagrams, and the road of a
// move as the main window drives it.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

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

struct Box {
  std::string text;
  int style;
  std::string title;
};

class FakeWindow : public EngineWindow {
 public:
  int32_t progresoMax = 0, progresoValue = 0;
  std::string lblJpen, lblPlay;
  int jpenRefreshes = 0;
  bool wwCheck = false, bbCheck = false;
  int32_t level = 2;
  int16_t sliderMax = 0, sliderValue = 0;
  int handlerRuns = 0;
  bool mnuNewGame = false, mnuLoadGameStart = false;
  std::map<int, bool> tbEnabled;
  std::vector<Box> boxes;
  // Runs once per searched candidate, inside the search: a window event.
  std::function<void()> duringSearch;

  void SetProgresoMax(int32_t max) override { progresoMax = max; }
  void SetProgresoValue(int32_t value) override { progresoValue = value; }
  int32_t ProgresoValue() override { return progresoValue; }
  void SetLblJpenCaption(const std::string& caption) override { lblJpen = caption; }
  void RefreshLblJpen() override {
    ++jpenRefreshes;
    if (duringSearch) duringSearch();
  }
  void SetLblPlayCaption(const std::string& caption) override { lblPlay = caption; }
  bool LblwwCheckVisible() override { return wwCheck; }
  bool LblbbCheckVisible() override { return bbCheck; }
  int32_t SldLevelValue() override { return level; }
  // Like a scroll bar: a maximum below the value pulls the value down.
  void SetHScroll1Max(int16_t max) override {
    sliderMax = max;
    if (sliderValue > max) {
      sliderValue = max;
      Change();
    }
  }
  void SetHScroll1Value(int16_t value) override {
    if (value > sliderMax) value = sliderMax;
    if (value < 0) value = 0;
    if (value == sliderValue) return;
    sliderValue = value;
    Change();
  }
  void SetMnuNewGameEnabled(bool enabled) override { mnuNewGame = enabled; }
  void SetMnuLoadGameStartEnabled(bool enabled) override { mnuLoadGameStart = enabled; }
  void SetTbButtonEnabled(int index, bool enabled) override { tbEnabled[index] = enabled; }
  int MsgBox(const std::string& text, int style, const std::string& title) override {
    boxes.push_back({text, style, title});
    return 1;
  }

  void Change() {
    ++handlerRuns;
    Guarded("HScroll1_Change of Formular fMainForm", [&] { ApplyMoveSliderValue(sliderValue); });
  }
};

// Board from eight rows, rank 8 first: lower case the positive side (Black in
// the game position), upper case the negative side; '.' empty.
inline EngineBoard Diagram(const std::vector<std::string>& rows) {
  EngineBoard b;
  b.cells.fill(kOffBoard);
  for (int r = 0; r < 8; ++r)
    for (int x = 1; x <= 8; ++x) {
      const char c = rows.at(static_cast<size_t>(r)).at(static_cast<size_t>(x - 1));
      int32_t code = 0;
      switch (c) {
        case 'p': code = kPawn; break;
        case 'n': code = kKnight; break;
        case 'b': code = kBishop; break;
        case 'r': code = kRook; break;
        case 'q': code = kQueen; break;
        case 'k': code = kKingPositive; break;
        case 'P': code = -kPawn; break;
        case 'N': code = -kKnight; break;
        case 'B': code = -kBishop; break;
        case 'R': code = -kRook; break;
        case 'Q': code = -kQueen; break;
        case 'K': code = kKingNegative; break;
        default: code = 0; break;
      }
      b(x, 8 - r) = code;
    }
  return b;
}

inline EngineBoard StartBoard() {
  Ini_VirtualBoard();
  return gVirtualBoard;
}

inline EngineBoard Mirrored(const EngineBoard& b) {
  EngineBoard out = b;
  MirroredCopy(out, b);
  return out;
}

// Square number of an algebraic square ("e2" -> 52), White at the bottom.
inline int32_t Sq(const char* name) { return (8 - (name[1] - '0')) * 8 + (name[0] - 'a'); }

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
    window.sliderValue = static_cast<int16_t>(moveNumber);
    window.Change();
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
    const int32_t f = Sq(from), t = Sq(to);
    if (ZVK_Globals::gColorToMove == kWhite) {
      Check4Castle(f, t);
      if (gCastled == 0) Movement_us(f, t);
      return gCastled == -1 || gUserMoveAccepted == -1;
    }
    ZVK_Board_Sub::MirrorBoard();
    Check4Castle(f, t);
    if (gCastled == 0) Movement_us(63 - f, 63 - t);
    if (gCastled == -1 || gUserMoveAccepted == -1) return true;
    ZVK_Board_Sub::MirrorBoard();
    return false;
  }
};

}  // namespace enginetest
