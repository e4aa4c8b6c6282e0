#pragma once
// What the support library needs from the main window, as small interfaces
// the main window implements and installs. Nothing installed is safe: help
// has no file, the boxes read as unticked and there is no window to pin.
// Qt-free header (the window is only named).
#include <cstdint>
#include <string>

class QWidget;

namespace ZVK_MainWindow {

// fMainForm.SetHelpStrings: help number 1 the program's help, 2 the tutorial.
class HelpSource {
 public:
  virtual ~HelpSource() = default;
  virtual std::string SetHelpStrings(int16_t helpNumber) = 0;
};

// The "Window allways on top" box and the window it pins.
class TopMostBox {
 public:
  virtual ~TopMostBox() = default;
  virtual int16_t chkWinOnTopValue() const = 0;  // 1 ticked
  virtual QWidget* MainWindow() = 0;
};

// The "Enable Voice" box.
class VoiceBox {
 public:
  virtual ~VoiceBox() = default;
  virtual int16_t chkEnableVoiceValue() const = 0;  // 1 speak aloud, 0 thoughts only
};

void SetHelpSource(HelpSource* source);
void SetTopMostBox(TopMostBox* box);
void SetVoiceBox(VoiceBox* box);
HelpSource* GetHelpSource();
TopMostBox* GetTopMostBox();
VoiceBox* GetVoiceBox();

}  // namespace ZVK_MainWindow
