// The assistant character's events: a click makes it play and say its text,
// its command menu hides it or makes it ask what the user wants, and a drag
// makes it tell its name.
#include "app/fMainForm.h"
#include "platform/AssistantCharacter.h"
#include "platform/DoEvents.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_MSAgent.h"
#include "support/ZVK_WindowHelpers.h"

namespace app {

// Passes the character's events on to the main window's handlers.
class AgentEvents final : public platform::AgentListener {
 public:
  explicit AgentEvents(fMainForm& form) : f_(form) {}
  void Click(const std::string& character, int button, int shift, int x, int y) override {
    f_.MyAgent_Click(character, static_cast<int16_t>(button), static_cast<int16_t>(shift), x, y);
  }
  void DblClick(const std::string& character, int button, int shift, int x, int y) override {
    f_.MyAgent_DblClick(character, static_cast<int16_t>(button), static_cast<int16_t>(shift), x, y);
  }
  void DragComplete(const std::string& character, int button, int shift, int x, int y) override {
    f_.MyAgent_DragComplete(character, static_cast<int16_t>(button), static_cast<int16_t>(shift), x, y);
  }
  void Command(const std::string& name) override { f_.MyAgent_Command(name); }
  void Hide(const std::string& character, int cause) override {
    f_.MyAgent_Hide(character, static_cast<int16_t>(cause));
  }

 private:
  fMainForm& f_;
};

namespace {

std::string Place(const char* handler) { return std::string(handler) + " of Formular fMainForm"; }

ZVK_ErrorLog::RuntimeError NoCharacter() {
  return ZVK_ErrorLog::RuntimeError(91, "Object variable or With block variable not set");
}

// The loaded character; with none the event fails as any character call would.
platform::AssistantCharacter& Character() {
  platform::AssistantCharacter* character = ZVK_MSAgent::gAgentChar();
  if (character == nullptr) throw NoCharacter();
  return *character;
}

}  // namespace

void fMainForm::LoadAssistant() {
  if (!ZVK_MSAgent::LoadAgentCharacter()) return;
  if (!agentEvents_) agentEvents_ = std::make_unique<AgentEvents>(*this);
  ZVK_MSAgent::gAgentChar()->SetListener(agentEvents_.get());
}

void fMainForm::MyAgent_Click(const std::string& character, int16_t button, int16_t, int32_t, int32_t) {
  Guarded(Place("MyAgent_Click").c_str(), [&] {
    if (button == 1 && character == ZVK_MSAgent::kCharacterName) {
      Character().StopAll();
      ZVK_MSAgent::PlayRandomAnimation();
      ZVK_MSAgent::MyAgentSpeakText(ZVK_MSAgent::gAgentText, ZVK_PlaySoundFile::gHasSound);
    }
    platform::DoEvents();
  });
}

void fMainForm::MyAgent_Command(const std::string& name) {
  Guarded(Place("MyAgent_Command").c_str(), [&] {
    if (name == "Hide") {
      Character().Hide();
    } else if (name == "Speak Any Text") {
      Character().StopAll();
    } else if (!name.empty()) {
      Character().StopAll();
      ZVK_MSAgent::MyAgentSpeakText("What do you want to do ?", ZVK_PlaySoundFile::gHasSound);
    }
    platform::DoEvents();
  });
}

void fMainForm::MyAgent_DblClick(const std::string&, int16_t, int16_t, int32_t, int32_t) { platform::DoEvents(); }

void fMainForm::MyAgent_DragComplete(const std::string& character, int16_t, int16_t, int32_t, int32_t) {
  Guarded(Place("MyAgent_DragComplete").c_str(), [&] {
    // The character is looked up by the name the event gives, as in the
    // control's collection: an unknown name is an error.
    platform::AssistantCharacter& loaded = Character();
    if (loaded.Name() != character)
      throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrInvalidCall, "Unknown character: " + character);
    loaded.Think("I am " + loaded.Name());
    platform::DoEvents();
  });
}

void fMainForm::MyAgent_Hide(const std::string&, int16_t) { platform::DoEvents(); }

}  // namespace app
