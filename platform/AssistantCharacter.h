#pragma once
// The assistant character: a small figure in a window of its own that says a
// text in a speech balloon (aloud through espeak-ng where the machine can
// play sound) or shows it in a thought balloon, plays named animations and
// reports clicks, drags and menu commands to a listener.
//
// A character is installed as an INI file (Common/agent/<name>.ini):
//   [Character]
//   Name=DailyCharacter
//   Glyph=<text drawn as the figure>
//   Animations=Greet,Wave,...
//   Commands=Hide,Speak Any Text
// Qt-free header.
#include <memory>
#include <string>
#include <vector>

namespace platform {

class AgentListener {
 public:
  virtual ~AgentListener() = default;
  virtual void Click(const std::string& character, int button, int shift, int x, int y) = 0;
  virtual void DblClick(const std::string& character, int button, int shift, int x, int y) = 0;
  virtual void DragComplete(const std::string& character, int button, int shift, int x, int y) = 0;
  virtual void Command(const std::string& name) = 0;
  virtual void Hide(const std::string& character, int cause) = 0;
};

// Pitch, speed and volume tags ("\Pit=110\", "\Spd=150\", "\Vol=65535\") taken
// off a text; -1 where the text sets none.
struct SpeechRequest {
  int pitch = -1;   // Hz
  int speed = -1;   // words per minute
  int volume = -1;  // 0..65535
  std::string text;
};
SpeechRequest ParseSpeechTags(const std::string& text);
// The espeak-ng arguments for a request (the text goes on standard input).
std::vector<std::string> SpeechArguments(const SpeechRequest& request);

class AssistantCharacter {
 public:
  // nullptr when the file is missing or names no character.
  static std::unique_ptr<AssistantCharacter> Load(const std::string& iniFile);
  ~AssistantCharacter();

  std::string Name() const;
  const std::vector<std::string>& Animations() const;
  const std::vector<std::string>& Commands() const;

  void Show();
  void Hide(bool fast = false);
  bool Visible() const;
  void Speak(const std::string& text);
  void Think(const std::string& text);
  void StopAll();
  void Play(const std::string& animation);

  // What the character shows now (for the window and for tests).
  std::string BalloonText() const;
  bool BalloonIsThought() const;
  std::string CurrentAnimation() const;
  // The arguments of the last spoken text, whether or not it was heard.
  const std::vector<std::string>& LastSpeechArguments() const;
  // Aloud only with espeak-ng installed and a sound device present.
  bool CanSpeakAloud() const;
  void SetAloudAllowed(bool allowed);  // tests keep the machine quiet

  void SetListener(AgentListener* listener);

  struct Impl;  // shared with the character's window

 private:
  AssistantCharacter();
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
