#pragma once
// Message boxes with the classic style numbers: buttons in the low bits
// (0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No,
// 5 Retry/Cancel), icon (16 stop, 32 question, 48 exclamation, 64 information),
// default button (0, 256, 512) and 4096 for system modal.
// The answer is the pressed button's number (vbOK 1 ... vbNo 7).
// Input boxes (prompt, title, default entry) answer the entry, or nothing
// when the user cancels. Qt-free header.
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

int MsgBox(const std::string& text, int style = 0, const std::string& title = "");

// A message with an OK button that nobody waits for: it is put on screen and
// the call returns at once, so that work the message only comments on (a
// transfer that waits for its server) goes on while it is shown. The icon
// comes from the style; its buttons are always OK alone.
void ShowMessage(const std::string& text, int style = 0, const std::string& title = "");

// An entry line with OK and Cancel; std::nullopt for Cancel.
std::optional<std::string> InputBox(const std::string& prompt, const std::string& title = "",
                                    const std::string& defaultEntry = "");

// One message box as it was asked.
struct MsgBoxCall {
  std::string text;
  int style = 0;
  std::string title;
  int answer = 0;
  bool waited = true;  // false for ShowMessage: the caller went on at once
};

// One input box as it was asked.
struct InputBoxCall {
  std::string prompt;
  std::string title;
  std::string defaultEntry;
  std::optional<std::string> answer;
};

// Tests install a scripted answerer: every message box and input box is
// recorded and answered from its queue (a message box with its first button,
// an input box with OK on its default entry when the queue is empty), and
// nothing is shown. A message of ShowMessage is recorded as answered with OK.
class ScriptedAnswerer {
 public:
  ScriptedAnswerer();
  ~ScriptedAnswerer();
  ScriptedAnswerer(const ScriptedAnswerer&) = delete;
  ScriptedAnswerer& operator=(const ScriptedAnswerer&) = delete;

  void Push(int answer) { answers_.push_back(answer); }
  const std::vector<MsgBoxCall>& Calls() const { return calls_; }
  // The next input box's entry (std::nullopt: the user cancels).
  void PushInput(std::optional<std::string> entry) { inputs_.push_back(std::move(entry)); }
  const std::vector<InputBoxCall>& InputCalls() const { return inputCalls_; }
  // A user who takes his time: a message box with this text stays on screen
  // for the given time before its answer, the message loop running meanwhile
  // as under a real box. A message of ShowMessage holds up nobody.
  void TakeTimeToAnswer(const std::string& text, int milliseconds) { delays_[text] = milliseconds; }
  // The texts of the messages on screen now: a message box until it is
  // answered, a message of ShowMessage until Clear().
  const std::vector<std::string>& OnScreen() const { return onScreen_; }
  // Called with the text of every message as it comes (what else runs then).
  void Watch(std::function<void(const std::string& text)> watcher) { watcher_ = std::move(watcher); }
  void Clear() {
    calls_.clear();
    answers_.clear();
    inputCalls_.clear();
    inputs_.clear();
    delays_.clear();
    onScreen_.clear();
    watcher_ = nullptr;
  }

  int Answer(const std::string& text, int style, const std::string& title);
  void Show(const std::string& text, int style, const std::string& title);
  std::optional<std::string> AnswerInput(const std::string& prompt, const std::string& title,
                                         const std::string& defaultEntry);

 private:
  std::deque<int> answers_;
  std::vector<MsgBoxCall> calls_;
  std::deque<std::optional<std::string>> inputs_;
  std::vector<InputBoxCall> inputCalls_;
  std::map<std::string, int> delays_;
  std::vector<std::string> onScreen_;
  std::function<void(const std::string&)> watcher_;
  ScriptedAnswerer* previous_ = nullptr;
};

// The first button of a style (what a box answers when nothing else decides).
int DefaultAnswer(int style);

// A short beep (illegal move and the like).
void Beep();
long long BeepCount();

}  // namespace platform
