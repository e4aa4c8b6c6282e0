#include "engine/EngineWindow.h"

namespace ZVK_Engine {
namespace {

// Stands in while no main window exists (start-up, tests, benchmarks).
class NoWindow final : public EngineWindow {
 public:
  void SetProgresoMax(int32_t) override {}
  void SetProgresoValue(int32_t) override {}
  int32_t ProgresoValue() override { return 0; }
  void SetLblJpenCaption(const std::string&) override {}
  void RefreshLblJpen() override {}
  void SetLblPlayCaption(const std::string&) override {}
  bool LblwwCheckVisible() override { return false; }
  bool LblbbCheckVisible() override { return false; }
  int32_t SldLevelValue() override { return 0; }
  void SetHScroll1Max(int16_t) override {}
  void SetHScroll1Value(int16_t) override {}
  void SetMnuNewGameEnabled(bool) override {}
  void SetMnuLoadGameStartEnabled(bool) override {}
  void SetTbButtonEnabled(int, bool) override {}
  int MsgBox(const std::string&, int, const std::string&) override { return 1; }
};

NoWindow gNoWindow;
EngineWindow* gWindow = &gNoWindow;

}  // namespace

void SetEngineWindow(EngineWindow* window) { gWindow = window != nullptr ? window : &gNoWindow; }
EngineWindow& Window() { return *gWindow; }

}  // namespace ZVK_Engine
