// The command gate on its own: interleavings of commands, moves, transfers
// and windows left open, as the main window hands them over.
#include "app/CommandGate.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Gate = app::CommandGate;
using Kind = Gate::Kind;

// What the window would be: a transfer flag, the game on the board, the
// status bar's note, and a log of what ran.
struct Desk {
  bool transfer = false;
  uint64_t game = 1;
  bool left = false;
  std::string note;
  std::vector<std::string> log;
  Gate gate{{[this] { return transfer; }, [this] { return game; }, [this](const std::string& t) { note = t; },
             [this](const std::string& t) {
               if (note == t) note.clear();
             },
             [this] { return left; }}};

  // A command that logs its name, then does `then`.
  Gate::Outcome Give(const std::string& name, Kind kind, std::function<void()> then = {},
                     std::function<bool()> available = {}) {
    return gate.Give({name, kind, [this, name, then] {
                        log.push_back(name);
                        if (then) then();
                      },
                      std::move(available)});
  }
  // The transfer ends; the window's release hook resumes the gate.
  void EndTransfer() {
    transfer = false;
    gate.Resume();
  }
};

using Log = std::vector<std::string>;

struct Row {
  const char* what;
  std::function<void(Desk&)> script;
  Log ran;
  std::string note;  // the status bar's note at the end
};

TEST(CommandGateTest, Interleavings) {
  const Row rows[] = {
      // Given during a send: run after it, strictly in the order given,
      // windows (About, Exit) no earlier than the game commands before them.
      {"order kept across kinds",
       [](Desk& d) {
         d.transfer = true;
         d.Give("New Game", Kind::Game);
         d.Give("Load Game", Kind::Game);
         d.Give("About", Kind::Window);
         d.Give("Exit", Kind::Window);
         EXPECT_EQ(d.log, Log{});
         EXPECT_EQ(d.note, Gate::kWaitForTransfer);
         d.EndTransfer();
       },
       {"New Game", "Load Game", "About", "Exit"}, ""},
      // Give Up's question stays open (a nested loop in which the transfer's
      // release comes again): Exit's question does not open on top of it.
      {"one at a time while a window stays open",
       [](Desk& d) {
         d.transfer = true;
         d.Give("Give Up", Kind::Game, [&d] {
           d.gate.Resume();  // the open question's loop runs a release
           d.log.push_back("Give Up answered");
         });
         d.Give("Exit", Kind::Window);
         d.EndTransfer();
       },
       {"Give Up", "Give Up answered", "Exit"}, ""},
      // New Game replaced the game: Change Side was given for the old one.
      {"a command for a game that is gone",
       [](Desk& d) {
         d.transfer = true;
         d.Give("New Game", Kind::Game, [&d] { ++d.game; });
         d.Give("Change side", Kind::Game);
         d.Give("About", Kind::Window);  // not bound to a game
         d.EndTransfer();
       },
       {"New Game", "About"}, Gate::NotRunNote("Change side")},
      // Suspend hid Download Move: it does not bring the game back.
      {"a command whose button went off",
       [](Desk& d) {
         auto shown = std::make_shared<bool>(true);
         d.transfer = true;
         d.Give("Suspend Game", Kind::Game, [shown] { *shown = false; });
         d.Give("Download Move", Kind::Game, {}, [shown] { return *shown; });
         d.EndTransfer();
       },
       {"Suspend Game"}, Gate::NotRunNote("Download Move")},
      // A toolbar button can be on while its menu is off: it is held to what
      // let it be given.
      {"a source already off when given",
       [](Desk& d) {
         d.transfer = true;
         d.Give("Undo", Kind::Game, {}, [] { return false; });
         d.EndTransfer();
       },
       {"Undo"}, ""},
      // During a move: a window opens at once, a game command waits for the
      // move, a press is dropped with a note; the move's end runs what waits.
      {"during a move",
       [](Desk& d) {
         auto move = std::make_unique<Gate::UnderWay>(d.gate);
         d.Give("About", Kind::Window);
         d.Give("Save", Kind::Game);
         EXPECT_EQ(d.note, Gate::kCommandWaits);
         EXPECT_EQ(d.Give("press", Kind::Press), Gate::Outcome::Dropped);
         EXPECT_EQ(d.note, Gate::kPressDropped);
         d.Give("Help", Kind::Window);  // behind Save, though a move lets windows through
         move.reset();
       },
       {"About", "Save", "Help"}, ""},
      // A press is dropped while commands still wait, also once the move is over.
      {"a press behind waiting commands",
       [](Desk& d) {
         d.transfer = true;
         d.Give("Save", Kind::Game);
         EXPECT_EQ(d.Give("press", Kind::Press), Gate::Outcome::Dropped);
         EXPECT_EQ(d.note, Gate::kWaitForTransfer);
         d.EndTransfer();
         EXPECT_EQ(d.Give("press", Kind::Press), Gate::Outcome::Ran);
       },
       {"Save", "press"}, ""},
      // The engines' play is one move from start to end; between two engine
      // moves what waited runs, in order, and may stop the play.
      {"between two moves of the engines",
       [](Desk& d) {
         bool stopped = false;
         d.Give("engines", Kind::Game, [&d, &stopped] {
           const Gate::UnderWay play(d.gate);
           for (int half = 1; half <= 50 && !stopped; ++half) {
             if (half == 2) {
               d.Give("Save", Kind::Game);
               d.Give("About", Kind::Window);  // behind Save, though a move lets windows through
               d.Give("Suspend Game", Kind::Game, [&stopped] { stopped = true; });
             }
             d.log.push_back("move");
             d.gate.BetweenMoves();
           }
         });
       },
       {"engines", "move", "move", "Save", "About", "Suspend Game"}, ""},
      // A command that runs between two engine moves is one at a time too:
      // what is given while its window is open runs after it.
      {"given while a command between two moves runs",
       [](Desk& d) {
         d.Give("engines", Kind::Game, [&d] {
           const Gate::UnderWay play(d.gate);
           d.Give("Change Mode", Kind::Game, [&d] {
             d.Give("Save", Kind::Game);  // from the open dialog's loop
             d.log.push_back("mode chosen");
           });
           d.gate.BetweenMoves();
           d.log.push_back("engines stop");
         });
       },
       {"engines", "Change Mode", "mode chosen", "Save", "engines stop"}, ""},
      // The note of the transfer goes when the transfer does, not when the
      // windows of the commands that waited for it are closed.
      {"the note goes with its cause",
       [](Desk& d) {
         d.transfer = true;
         d.Give("About", Kind::Window, [&d] { d.log.push_back("note: " + d.note); });
         d.EndTransfer();
       },
       {"About", "note: "}, ""},
      // The new-game dialog's own list waits for its own fetch only, while
      // the New Game command whose window it is still runs.
      {"a dialog's own work",
       [](Desk& d) {
         d.Give("New Game", Kind::Game, [&d] {
           d.transfer = true;
           d.Give("list", Kind::Own);
           d.Give("Save", Kind::Game);  // waits for New Game
           d.EndTransfer();
           d.log.push_back("dialog closed");
         });
       },
       {"New Game", "list", "dialog closed", "Save"}, ""},
      // Yes to Exit: nothing given before or after it runs any more.
      {"leaving",
       [](Desk& d) {
         d.transfer = true;
         d.Give("Exit", Kind::Window, [&d] { d.left = true; });
         d.Give("Save", Kind::Game);
         d.EndTransfer();
         EXPECT_EQ(d.Give("About", Kind::Window), Gate::Outcome::Dropped);
         EXPECT_EQ(d.gate.Waiting(), 0u);
       },
       {"Exit"}, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Desk desk;
    row.script(desk);
    EXPECT_EQ(desk.log, row.ran);
    EXPECT_EQ(desk.note, row.note);
    EXPECT_EQ(desk.gate.Waiting(), 0u);
    EXPECT_FALSE(desk.gate.MoveUnderWay());
  }
}

// Steps of one slider given while they wait are one request: a wheel spun
// during a move is replayed as the place it ends on.
TEST(CommandGateTest, RequestsOfOneSliderWaitAsOne) {
  Desk d;
  int value = 10;
  auto step = std::make_shared<int>(0);
  const int key = 0;
  auto move = std::make_unique<Gate::UnderWay>(d.gate);
  for (int i = 0; i < 3; ++i) {
    if (d.gate.MergeWithLastWaiting(&key, [step] { *step -= 1; })) continue;
    *step = -1;
    d.gate.Give({"slider", Kind::Game, [&value, step] { value += *step; }, {}, &key});
  }
  d.Give("Save", Kind::Game);
  EXPECT_FALSE(d.gate.MergeWithLastWaiting(&key, [step] { *step -= 100; }));  // Save stands between
  EXPECT_EQ(d.gate.Waiting(), 2u);
  move.reset();
  EXPECT_EQ(value, 7);
  EXPECT_EQ(d.log, Log{"Save"});
}

}  // namespace
