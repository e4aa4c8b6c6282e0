#include "support/MainWindowLinks.h"

namespace ZVK_MainWindow {
namespace {
HelpSource* gHelp = nullptr;
TopMostBox* gTopMost = nullptr;
VoiceBox* gVoice = nullptr;
}  // namespace

void SetHelpSource(HelpSource* source) { gHelp = source; }
void SetTopMostBox(TopMostBox* box) { gTopMost = box; }
void SetVoiceBox(VoiceBox* box) { gVoice = box; }
HelpSource* GetHelpSource() { return gHelp; }
TopMostBox* GetTopMostBox() { return gTopMost; }
VoiceBox* GetVoiceBox() { return gVoice; }

}  // namespace ZVK_MainWindow
