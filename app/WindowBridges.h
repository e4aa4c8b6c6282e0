#pragma once
// The main window seen from the lower layers: the engine's progress and move
// slider, the board's pictures and switches, the record's controls. Each
// bridge forwards to the window's controls; creating WindowBridges installs
// them, destroying it puts the stand-ins back.
#include <QImage>
#include <memory>

#include "board/BoardView.h"
#include "board/RecordWindow.h"
#include "engine/EngineWindow.h"
#include "support/MainWindowLinks.h"

namespace app {

class fMainForm;

class EngineBridge final : public ZVK_Engine::EngineWindow {
 public:
  explicit EngineBridge(fMainForm& form) : f_(form) {}
  void SetProgresoMax(int32_t max) override;
  void SetProgresoValue(int32_t value) override;
  int32_t ProgresoValue() override;
  void SetLblJpenCaption(const std::string& caption) override;
  void RefreshLblJpen() override;
  void SetLblPlayCaption(const std::string& caption) override;
  bool LblwwCheckVisible() override;
  bool LblbbCheckVisible() override;
  int32_t SldLevelValue() override;
  void SetHScroll1Max(int16_t max) override;
  void SetHScroll1Value(int16_t value) override;
  void SetMnuNewGameEnabled(bool enabled) override;
  void SetMnuLoadGameStartEnabled(bool enabled) override;
  void SetTbButtonEnabled(int index, bool enabled) override;
  int MsgBox(const std::string& text, int style, const std::string& title) override;

 private:
  fMainForm& f_;
};

class BoardBridge final : public ZVK_Board_Sub::BoardView {
 public:
  explicit BoardBridge(fMainForm& form);
  QImage& picFrontBuffer() override;
  void RefreshFrontBuffer() override;
  QImage& picFrontTempBuffer() override;
  void SetFrontBufferEnabled(bool enabled) override;
  const QImage& picPiece(int index) override;
  const QImage& picEffector(int index) override;
  bool Reset_Backgroud_BordPattern(QImage& target) override;
  void SetCheckLabelVisible(ZVK_Board_Sub::CheckLabel label, bool visible) override;
  bool mnuShowPossibleMovesChecked() override;
  bool mnuDangerShowChecked() override;
  int chkMoveAnimationValue() override;
  std::string lstMoveIncrementationText() override;
  int HScrollAnimationSpeedValue() override;
  void EnableGameStartCommands() override;

 private:
  fMainForm& f_;
  QImage empty_;
};

class RecordBridge final : public ZVK_Board_Sub::RecordWindow {
 public:
  explicit RecordBridge(fMainForm& form) : f_(form) {}
  void MoveListAppended(const std::string& text, int32_t color) override;
  void MoveListReplaced(const platform::RichTextDocument& record) override;
  std::string lbl_PlayCaption() override;
  void SetTakenPicture(ZVK_Board_Sub::TakenStrip strip, int k, int picture) override;
  std::string txtCommentText() override;
  void SetTxtCommentText(const std::string& text) override;
  size_t txtCommentCapacity() override;
  int32_t ControlValue(const std::string& name) override;
  void SetControlValue(const std::string& name, int32_t value) override;
  std::string ControlText(const std::string& name) override;
  void SetControlText(const std::string& name, const std::string& text) override;
  int32_t BackgroundColor() override;
  void ChangeBackgroundColor(int32_t color) override;
  int32_t BordCoordinateColor() override;
  void ChangeBordCoordinateColor(int32_t color) override;
  int ProfileCount() override;
  std::string ProfileItem(int index) override;
  void AddProfileItem(const std::string& name) override;
  void SetMenuEnabled(const std::string& name, bool enabled) override;
  int ToolbarButtonCount() override;
  void SetToolbarButtonEnabled(int position, bool enabled) override;
  void SetMoveSliderEnabled(bool enabled) override;
  void HScroll1_Change() override;

 private:
  fMainForm& f_;
};

class SupportBridge final : public ZVK_MainWindow::HelpSource,
                            public ZVK_MainWindow::TopMostBox,
                            public ZVK_MainWindow::VoiceBox {
 public:
  explicit SupportBridge(fMainForm& form) : f_(form) {}
  std::string SetHelpStrings(int16_t helpNumber) override;
  int16_t chkWinOnTopValue() const override;
  QWidget* MainWindow() override;
  int16_t chkEnableVoiceValue() const override;

 private:
  fMainForm& f_;
};

class WindowBridges {
 public:
  explicit WindowBridges(fMainForm& form);
  ~WindowBridges();
  WindowBridges(const WindowBridges&) = delete;
  WindowBridges& operator=(const WindowBridges&) = delete;

  EngineBridge engine;
  BoardBridge board;
  RecordBridge record;
  SupportBridge support;
};

}  // namespace app
