#pragma once
// The turn-taking of the user's commands. The program yields to the message
// loop inside every move, search and transfer, so a command can be given in
// the middle of another one. The gate decides for each command whether it
// runs at once, waits or is dropped, keeps what waits in the order given and
// runs it, one at a time, at the points where waiting ends. It knows nothing
// of windows: the main window tells it what is under way and hands it every
// command the user gives.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

namespace app {

class CommandGate {
 public:
  enum class Kind {
    // A press on the board. It runs at once or not at all: a press waits for
    // nothing, it would land on a position that the move under way, or a
    // command given before it, is about to change.
    Press,
    // A command that changes the game (New Game, Save, Undo, Edit, ...). It
    // waits while a move is under way, while a transfer with the game server
    // runs, while another such command runs and behind whatever already waits.
    Game,
    // A command that opens a window and changes no game (Help, About, Exit's
    // question, a colour picker). A move under way does not hold it back; a
    // transfer with the game server does (a window opened inside the
    // transfer's wait would hold its next step up until closed), and so does
    // whatever already waits.
    Window,
    // Work of the window of the command that runs (the new-game dialog's
    // list): it waits for the transfer under way only, not for the command
    // whose window it belongs to.
    Own,
  };

  // The status bar's notes.
  static constexpr const char* kPressDropped = "Please wait until the current move is done";
  static constexpr const char* kWaitForTransfer = "Please wait until the Internet transfer has finished";
  static constexpr const char* kCommandWaits =
      "Your command waits: it runs as soon as the current move or command is done";
  // The note for a command that waited and no longer applies when its turn came.
  static std::string NotRunNote(const std::string& name);

  struct Command {
    std::string name;  // as the user knows it, for the note when it is dropped
    Kind kind = Kind::Game;
    std::function<void()> run;
    // Whether the menu entry or button it came from is still on and shown
    // (none: always). A command whose source was already off when it was
    // given (a toolbar button whose menu is switched off) is not held to it.
    std::function<bool()> available;
    // Requests of one source given one after the other while they wait are
    // merged into the first (see MergeWithLastWaiting); nullptr: never.
    const void* mergeKey = nullptr;
  };

  struct Hooks {
    // A transfer with the game server is under way.
    std::function<bool()> transferUnderWay;
    // Tells one game on the board from the next: it changes when a game is
    // set up, loaded or closed, not when it moves on.
    std::function<uint64_t()> gameOnBoard;
    // The status bar's note: shown, or cleared when it still shows the text.
    std::function<void(const std::string&)> showNote;
    std::function<void(const std::string&)> clearNote;
    // True once the user has left: nothing runs any more.
    std::function<bool()> leaving;
  };

  explicit CommandGate(Hooks hooks);

  enum class Outcome { Ran, Waits, Dropped };
  // The user gives a command.
  Outcome Give(Command command);

  // A move is under way while an UnderWay lives (nested moves count).
  // When the last one ends, what waited for it runs.
  class UnderWay {
   public:
    explicit UnderWay(CommandGate& gate);
    ~UnderWay();
    UnderWay(const UnderWay&) = delete;
    UnderWay& operator=(const UnderWay&) = delete;

   private:
    CommandGate& gate_;
  };
  bool MoveUnderWay() const { return moves_ > 0; }

  // Runs what waits, in order, while its turn has come: after a transfer has
  // ended, and wherever else waiting may have ended.
  void Resume();
  // Between two moves of the engines' play against each other: the play is
  // at rest, so everything that waited for it runs now, as if no move were
  // under way; it may end the play (Suspend, Give Up, Edit, Change Mode).
  void BetweenMoves();

  // A request of mergeKey's source given while its last one still waits at
  // the end of the queue: merge adds it to that one and true is returned.
  bool MergeWithLastWaiting(const void* mergeKey, const std::function<void()>& merge);

  size_t Waiting() const { return waiting_.size(); }
  // Nothing that waits runs any more (the user has left).
  void Clear();

 private:
  struct Queued {
    Command command;
    uint64_t game = 0;  // the game it was given for
  };
  bool HeldBack(Kind kind) const;
  // Whether a command of this kind given now would run at once.
  bool WouldRunNow(Kind kind) const;
  bool StillApplies(const Queued& w) const;
  void RunWhatWaits();
  void Run(Command& command);
  void Wait(Command command);
  void ShowWaitingNote();
  void SetNote(const std::string& text);
  void ClearWaitingNote();

  Hooks hooks_;
  std::deque<Queued> waiting_;
  std::deque<Command> own_;
  int moves_ = 0;
  int gameCommands_ = 0;  // commands of Kind::Game running
  bool resuming_ = false;  // Resume is running a command that waited
  std::string note_;  // the waiting note the gate shows, empty when none
};

}  // namespace app
