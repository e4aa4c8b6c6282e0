#include "app/CommandGate.h"

#include <utility>

namespace app {

namespace {

// Counts one running command for its lifetime, also when it throws.
class Counted {
 public:
  Counted(int& count, bool counts) : count_(counts ? &count : nullptr) {
    if (count_ != nullptr) ++*count_;
  }
  ~Counted() {
    if (count_ != nullptr) --*count_;
  }
  Counted(const Counted&) = delete;
  Counted& operator=(const Counted&) = delete;

 private:
  int* count_;
};

}  // namespace

std::string CommandGate::NotRunNote(const std::string& name) {
  return "\"" + name + "\" was not run: it no longer applies to the game on the board";
}

CommandGate::CommandGate(Hooks hooks) : hooks_(std::move(hooks)) {}

bool CommandGate::HeldBack(Kind kind) const {
  if (hooks_.transferUnderWay()) return true;
  switch (kind) {
    case Kind::Press:
    case Kind::Game:
      return moves_ > 0 || gameCommands_ > 0;
    case Kind::Window:
    case Kind::Own:
      return false;
  }
  return false;
}

bool CommandGate::WouldRunNow(Kind kind) const {
  if (hooks_.leaving()) return false;
  return !HeldBack(kind) && (kind == Kind::Own || waiting_.empty());
}

CommandGate::Outcome CommandGate::Give(Command command) {
  if (hooks_.leaving()) return Outcome::Dropped;
  // Held to the state that let it be given, not to one it never had.
  if (command.available && !command.available()) command.available = nullptr;
  switch (command.kind) {
    case Kind::Own:
      if (HeldBack(Kind::Own)) {
        own_.push_back(std::move(command));
        return Outcome::Waits;
      }
      Run(command);
      return Outcome::Ran;
    case Kind::Press:
      if (!WouldRunNow(Kind::Press)) {
        // Said until the board takes presses again, so that a dropped click
        // is not taken for a refused move (a move the engine refuses is silent).
        SetNote(hooks_.transferUnderWay() ? kWaitForTransfer : kPressDropped);
        return Outcome::Dropped;
      }
      Run(command);
      return Outcome::Ran;
    case Kind::Game:
    case Kind::Window:
      if (!WouldRunNow(command.kind)) {
        Wait(std::move(command));
        return Outcome::Waits;
      }
      Run(command);
      // What was given while it ran has its turn now.
      Resume();
      return Outcome::Ran;
  }
  return Outcome::Dropped;
}

void CommandGate::Wait(Command command) {
  waiting_.push_back({std::move(command), hooks_.gameOnBoard()});
  // A click that seems to do nothing would otherwise be taken for a lost one.
  ShowWaitingNote();
}

void CommandGate::Run(Command& command) {
  const Counted running(gameCommands_, command.kind == Kind::Game);
  command.run();
}

bool CommandGate::StillApplies(const Queued& w) const {
  if (w.command.available && !w.command.available()) return false;
  return w.command.kind != Kind::Game || hooks_.gameOnBoard() == w.game;
}

void CommandGate::Resume() {
  if (hooks_.leaving()) {
    Clear();
    return;
  }
  // A dialog's own work first: the command whose window it belongs to is
  // still running and cannot end before it.
  while (!own_.empty() && !HeldBack(Kind::Own)) {
    Command next = std::move(own_.front());
    own_.pop_front();
    Run(next);
  }
  // One at a time: a command that waited runs only once the one before it
  // has returned, its windows and questions answered; a Resume from inside
  // it (a transfer of its own ending) leaves the rest to this loop.
  if (resuming_) return;
  resuming_ = true;
  {
    // Reset however the loop is left: a gate stuck in it would run nothing again.
    struct Reset {
      bool& flag;
      ~Reset() { flag = false; }
    } reset{resuming_};
    RunWhatWaits();
  }
  if (hooks_.leaving()) Clear();
  if (waiting_.empty()) ClearWaitingNote();
  else ShowWaitingNote();
}

void CommandGate::RunWhatWaits() {
  while (!waiting_.empty() && !hooks_.leaving()) {
    if (HeldBack(waiting_.front().command.kind)) break;
    Queued next = std::move(waiting_.front());
    waiting_.pop_front();
    if (!StillApplies(next)) {
      hooks_.showNote(NotRunNote(next.command.name));  // stays until another note replaces it
      note_.clear();
      continue;
    }
    // Whatever it waited for is over: the note goes with its cause.
    ClearWaitingNote();
    Run(next.command);
  }
}

void CommandGate::BetweenMoves() {
  if (hooks_.leaving()) return;
  // The play runs as a command (and a move) of its own: at rest between two
  // moves neither holds anything back. Whatever runs here balances its own
  // counts, so the play's are put back as they were.
  const int moves = std::exchange(moves_, 0);
  const int gameCommands = std::exchange(gameCommands_, 0);
  const bool resuming = std::exchange(resuming_, false);
  Resume();
  moves_ = moves;
  gameCommands_ = gameCommands;
  resuming_ = resuming;
}

bool CommandGate::MergeWithLastWaiting(const void* mergeKey, const std::function<void()>& merge) {
  if (mergeKey == nullptr || waiting_.empty() || waiting_.back().command.mergeKey != mergeKey) return false;
  merge();
  return true;
}

void CommandGate::Clear() {
  waiting_.clear();
  own_.clear();
}

void CommandGate::ShowWaitingNote() {
  if (hooks_.transferUnderWay()) SetNote(kWaitForTransfer);
  else SetNote(kCommandWaits);
}

void CommandGate::SetNote(const std::string& text) {
  note_ = text;
  hooks_.showNote(note_);
}

void CommandGate::ClearWaitingNote() {
  if (note_.empty()) return;
  hooks_.clearNote(note_);
  note_.clear();
}

CommandGate::UnderWay::UnderWay(CommandGate& gate) : gate_(gate) { ++gate_.moves_; }

CommandGate::UnderWay::~UnderWay() {
  // What waited for the move runs once it is done, unless a command it is
  // part of still runs (that one's end lets them run).
  if (--gate_.moves_ != 0 || gate_.gameCommands_ != 0) return;
  try {
    gate_.Resume();
  } catch (...) {
    // Every command logs its own failures; none may escape a destructor.
  }
}

}  // namespace app
