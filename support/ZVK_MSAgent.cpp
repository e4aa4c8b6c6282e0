#include "support/ZVK_MSAgent.h"

#include <cmath>
#include <random>

#include "platform/AppPath.h"
#include "support/ErrorGuard.h"
#include "support/MainWindowLinks.h"
#include "support/ZVK_File_Dir.h"

namespace ZVK_MSAgent {
namespace {

std::unique_ptr<platform::AssistantCharacter> gCharacter;

double Rnd() {
  static std::mt19937 engine(std::random_device{}());
  return std::uniform_real_distribution<double>(0.0, 1.0)(engine);
}

ZVK_ErrorLog::RuntimeError NoObject() {
  return ZVK_ErrorLog::RuntimeError(91, "Object variable or With block variable not set");
}

}  // namespace

platform::AssistantCharacter* gAgentChar() { return gCharacter.get(); }

bool LoadAgentCharacterFrom(const std::string& iniFile) {
  gCharacter = platform::AssistantCharacter::Load(iniFile);
  gAgentAnimations = gCharacter ? gCharacter->Animations() : std::vector<std::string>();
  return gCharacter != nullptr;
}

bool LoadAgentCharacter() {
  const char sep = platform::kSep;
  return LoadAgentCharacterFrom(ZVK_File_Dir::sFixDirString(platform::AppPath()) + ".." + sep + "Common" + sep +
                                "agent" + sep + kCharacterName + ".ini");
}

void ReleaseAgentCharacter() {
  gCharacter.reset();
  gAgentAnimations.clear();
}

int16_t MyAgentSpeakText(const std::string& text, int16_t useSpeechTags) {
  if (ZVK_File_Dir::Trim(text).empty()) return 0;
  int16_t result = 0;
  Guarded("MyAgentSpeakText of Formular frmMain_Pakwell", [&] {
    ZVK_MainWindow::VoiceBox* voice = ZVK_MainWindow::GetVoiceBox();
    if (voice != nullptr && voice->chkEnableVoiceValue() == 1) {
      if (!gCharacter) throw NoObject();
      gCharacter->Show();
      gCharacter->Speak(useSpeechTags != 0 ? kSpeechTags + text : text);
    } else {
      if (!gCharacter) throw NoObject();
      gCharacter->Think(text);
    }
    result = -1;
  });
  return result;
}

void PlayRandomAnimation() {
  const long n = static_cast<long>(gAgentAnimations.size()) - 1;
  const long k = std::lrint(static_cast<double>(n) * Rnd());
  if (k < 0 || k > n) throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrSubscript, "Subscript out of range");
  if (!gCharacter) throw NoObject();
  gCharacter->StopAll();
  gCharacter->Play(gAgentAnimations[static_cast<size_t>(k)]);
}

}  // namespace ZVK_MSAgent
