// How long the window waits for its events while the engine replies: the
// longest gap between two handled ticks of a 1 ms timer during a full-level
// engine reply through the main window, over middlegame positions.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/fMainForm.h"
#include "bench/BenchPositions.h"
#include "board/GameRecord.h"
#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "platform/AppPath.h"
#include "platform/MessageBox.h"

namespace {

using namespace ZVK_Engine;
namespace G = ZVK_Globals;

app::fMainForm* gForm = nullptr;

void SetUpReply(const benchpositions::SuitePosition& p) {
  const EngineBoard board = benchpositions::Diagram(p.rows);
  const bool blackToMove = p.moveNumber % 2 == 1;
  G::gGameMode = "OfflinePC";
  G::gPlayerColor = blackToMove ? G::kWhite : G::kBlack;  // the engine plays the side to move
  G::gBoardSide = 1;
  G::gGameStopped = 0;
  G::gNavigating = 0;
  ZVK_Board_Sub::ClearGameRecord();
  gGameLog.assign(static_cast<size_t>(p.moveNumber) + 1, board);
  gVirtualBoard = board;
  gMoveNumber = p.moveNumber;
  gForm->HScroll1->setMaximum(p.moveNumber);
  gForm->HScroll1->setValue(p.moveNumber);
  G::gColorToMove = blackToMove ? G::kBlack : G::kWhite;
  ZVK_Board_Sub::Update_Board();
}

void BM_LongestEventGapDuringEngineReply(benchmark::State& state) {
  const auto& p = *benchpositions::Middlegames().at(static_cast<size_t>(state.range(0)));
  state.SetLabel(p.name);
  double worstMs = 0;
  long long ticks = 0;
  for (auto _ : state) {
    state.PauseTiming();
    SetUpReply(p);
    QElapsedTimer clock;
    qint64 last = -1;
    qint64 longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
      const qint64 now = clock.nsecsElapsed();
      if (last >= 0) longest = std::max(longest, now - last);
      last = now;
      ++ticks;
    });
    tick.start();
    clock.start();
    state.ResumeTiming();
    gForm->ExecuteMoveBW(G::kTrue);
    state.PauseTiming();
    // The gap that ends with the reply counts too.
    longest = std::max(longest, clock.nsecsElapsed() - std::max<qint64>(last, 0));
    worstMs = std::max(worstMs, static_cast<double>(longest) / 1e6);
    tick.stop();
    state.ResumeTiming();
  }
  state.counters["longest_gap_ms"] = worstMs;
  state.counters["ticks"] = static_cast<double>(ticks);
}
BENCHMARK(BM_LongestEventGapDuringEngineReply)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  // A private program tree and settings, so the measurement writes nothing of the user's.
  QTemporaryDir tree;
  const std::string root = tree.path().toStdString();
  setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
  setenv("CASTELLAN_MACHINE_DIR", (root + "/machine").c_str(), 1);
  QDir().mkpath(tree.path() + "/Castellan");
  QDir().mkpath(tree.path() + "/Common");
  platform::SetAppPath(root + "/Castellan");
  platform::ScriptedAnswerer answers;  // a resignation must not wait for a hand
  auto form = std::make_unique<app::fMainForm>();
  form->Form_Initialize();
  form->sldLevel->setValue(2);  // full level: no early stop
  gForm = form.get();

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  gForm = nullptr;
  form.reset();
  return 0;
}
