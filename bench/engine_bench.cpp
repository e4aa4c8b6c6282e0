// Full-level engine replies over a fixed suite of positions. The search is
// fixed-depth and deterministic, so the suite's total of evaluated moves is an
// exact signature of the engine's play: a change that alters it changes the play.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdio>
#include <string>

#include "bench/BenchPositions.h"
#include "engine/EngineWindow.h"
#include "engine/MirrorBoard.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "platform/DoEvents.h"

namespace {

using namespace ZVK_Engine;
using benchpositions::Diagram;
using benchpositions::kSuite;
using benchpositions::SuitePosition;

// The main window as far as a search needs it: full level, and the move slider's handler.
class BenchWindow final : public EngineWindow {
 public:
  void SetProgresoMax(int32_t) override {}
  void SetProgresoValue(int32_t value) override { progress_ = value; }
  int32_t ProgresoValue() override { return progress_; }
  void SetLblJpenCaption(const std::string&) override {}
  void RefreshLblJpen() override {}
  void SetLblPlayCaption(const std::string&) override {}
  bool LblwwCheckVisible() override { return false; }
  bool LblbbCheckVisible() override { return false; }
  int32_t SldLevelValue() override { return 2; }
  void SetHScroll1Max(int16_t max) override { max_ = max; }
  void SetHScroll1Value(int16_t value) override {
    if (value == value_) return;
    value_ = value;
    ApplyMoveSliderValue(value);
  }
  void SetMnuNewGameEnabled(bool) override {}
  void SetMnuLoadGameStartEnabled(bool) override {}
  void SetTbButtonEnabled(int, bool) override {}
  int MsgBox(const std::string&, int, const std::string&) override { return 1; }
  void Reset(int16_t value) { max_ = value_ = value; }

 private:
  int32_t progress_ = 0;
  int16_t max_ = 0, value_ = 0;
};

BenchWindow gWindow;

// Puts the game at the suite position, the engine to move (mirrored when it plays White).
void SetUpPosition(const SuitePosition& p, const EngineBoard& board) {
  const bool engineWhite = p.moveNumber % 2 == 0;
  ZVK_Globals::gGameMode = "OfflinePC";
  ZVK_Globals::gPlayerColor = engineWhite ? ZVK_Globals::kBlack : ZVK_Globals::kWhite;
  ZVK_Globals::gColorToMove = engineWhite ? ZVK_Globals::kWhite : ZVK_Globals::kBlack;
  ZVK_Globals::gGameStopped = 0;
  gGameLog.assign(static_cast<size_t>(p.moveNumber) + 1, board);
  gMoveNumber = p.moveNumber;
  gVirtualBoard = board;
  gWindow.Reset(static_cast<int16_t>(p.moveNumber));
  if (engineWhite) ZVK_Board_Sub::MirrorBoard();
}

void BM_SearchBestMove(benchmark::State& state, const SuitePosition* p) {
  platform::SetYieldEnabled(state.range(0) != 0);
  const EngineBoard board = Diagram(p->rows);
  double evaluated = 0;
  for (auto _ : state) {
    SetUpPosition(*p, board);
    SearchBestMove();
    evaluated = gEvaluatedMoves;
    benchmark::DoNotOptimize(gVirtualBoard);
  }
  platform::SetYieldEnabled(true);
  state.counters["evaluated"] = evaluated;
  state.counters["moves_per_s"] =
      benchmark::Counter(evaluated * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  SetEngineWindow(&gWindow);

  double signature = 0;
  for (const SuitePosition& p : kSuite) {
    SetUpPosition(p, Diagram(p.rows));
    SearchBestMove();
    signature += gEvaluatedMoves;
  }

  for (const SuitePosition& p : kSuite) {
    benchmark::RegisterBenchmark((std::string("SearchBestMove/") + p.name).c_str(), BM_SearchBestMove, &p)
        ->ArgName("yields")
        ->Arg(1)
        ->Arg(0)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("suite signature (evaluated moves): %.0f\n", signature);
  return 0;
}
