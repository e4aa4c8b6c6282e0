#pragma once
// What the engine needs of the main window, and nothing more. The main window
// implements it and installs it with SetEngineWindow; with none installed every
// call does nothing (reads give 0 / false, the message box answers OK).
//
// HScroll1: SetHScroll1Value must run the slider's change handler at once
// (synchronously) when the value changes; the handler calls
// ZVK_Engine::ApplyMoveSliderValue inside its own error handler. Log_Play
// relies on that to reload the logged position and to change the side to move.
//
// Re-entrancy: window events run inside the engine's yields. A running search
// notices on its own when the game position, the move number or the game mode
// changed under it and then commits nothing. Code that replaces the game log
// wholesale (loading a game) calls ZVK_Engine::NotePositionChanged afterwards.
// Qt-free header.
#include <cstdint>
#include <string>

namespace ZVK_Engine {

class EngineWindow {
 public:
  virtual ~EngineWindow() = default;

  // progreso (progress bar)
  virtual void SetProgresoMax(int32_t max) = 0;
  virtual void SetProgresoValue(int32_t value) = 0;
  virtual int32_t ProgresoValue() = 0;

  // lbl_jpen (evaluated moves): caption, then an immediate redraw
  virtual void SetLblJpenCaption(const std::string& caption) = 0;
  virtual void RefreshLblJpen() = 0;

  // lbl_Play (half-move number)
  virtual void SetLblPlayCaption(const std::string& caption) = 0;

  // lblwwCheck, lblbbCheck (check warnings): visibility
  virtual bool LblwwCheckVisible() = 0;
  virtual bool LblbbCheckVisible() = 0;

  // sldLevel (playing level): 1 Beginner, 2 Intermediate
  virtual int32_t SldLevelValue() = 0;

  // HScroll1 (move slider): maximum first, then value; a changed value runs
  // the change handler before SetHScroll1Value returns.
  virtual void SetHScroll1Max(int16_t max) = 0;
  virtual void SetHScroll1Value(int16_t value) = 0;

  // mnuNewGame, mnuLoadGameStart and the toolbar tb's buttons (1-based)
  virtual void SetMnuNewGameEnabled(bool enabled) = 0;
  virtual void SetMnuLoadGameStartEnabled(bool enabled) = 0;
  virtual void SetTbButtonEnabled(int index, bool enabled) = 0;

  // Message box with the classic style numbers; returns the pressed button.
  virtual int MsgBox(const std::string& text, int style, const std::string& title) = 0;
};

// Installs the window (nullptr: back to the do-nothing window). The caller keeps ownership.
void SetEngineWindow(EngineWindow* window);
EngineWindow& Window();

}  // namespace ZVK_Engine
