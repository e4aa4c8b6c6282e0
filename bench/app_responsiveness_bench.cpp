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
#include "bench/BenchSupport.h"
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
    state.ResumeTiming();
    const qint64 longest = benchsupport::LongestEventGap([] { gForm->ExecuteMoveBW(G::kTrue); }, &ticks);
    worstMs = std::max(worstMs, static_cast<double>(longest) / 1e6);
  }
  state.counters["longest_gap_ms"] = worstMs;
  state.counters["ticks"] = static_cast<double>(ticks);
}
BENCHMARK(BM_LongestEventGapDuringEngineReply)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  // A resignation must not wait for a hand: the bench answers every box.
  benchsupport::WindowBench bench(argc, argv);
  return bench.Run(argc, argv, gForm, [](app::fMainForm& form) {
    form.sldLevel->setValue(2);  // full level: no early stop
  });
}
