// Full-level engine replies over a fixed suite of positions. The search is
// fixed-depth and deterministic, so the suite's total of evaluated moves is an
// exact signature of the engine's play: a change that alters it changes the play.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/EngineWindow.h"
#include "engine/MirrorBoard.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "platform/DoEvents.h"

namespace {

using namespace ZVK_Engine;

struct SuitePosition {
  const char* name;
  std::vector<std::string> rows;  // rank 8 first; lower case Black (positive), upper case White
  int32_t moveNumber;             // even: the engine plays White
};

const std::vector<SuitePosition> kSuite = {
    {"opening_black_after_e4", {"rnbqkbnr", "pppppppp", "........", "........", "....P...", "........", "PPPP.PPP", "RNBQKBNR"}, 1},
    {"opening_white_start", {"rnbqkbnr", "pppppppp", "........", "........", "........", "........", "PPPPPPPP", "RNBQKBNR"}, 0},
    {"middlegame_italian_black", {"r.bqk..r", "pppp.ppp", "..n..n..", "..b.p...", "..B.P...", "..NP.N..", "PPP..PPP", "R.BQK..R"}, 9},
    {"middlegame_queens_gambit_white", {"r....rk.", "pp..qppp", "..p.bn..", "...p....", "...P....", "..NBPN..", "PP...PPP", "R..Q.RK."}, 14},
    {"middlegame_london_black", {"r..q.rk.", "pp..bppp", "..n.pn..", "...p.b..", "...P.B..", "..PBPN..", "PP.N.PPP", "R..QK..R"}, 21},
    {"middlegame_fianchetto_white", {"..rq.rk.", "pb..bppp", ".p..pn..", "...p....", "..PP....", ".PN.PN..", "PB..BPPP", "..RQ.RK."}, 24},
    {"endgame_pawns_black", {"........", ".....k..", "..p.....", "...p.p..", "...P.P..", "....K...", "........", "........"}, 51},
    {"endgame_queen_vs_rook_white", {"...r..k.", "......pp", "........", "........", "........", "........", "Q.....PP", "......K."}, 60},
    {"endgame_bishop_vs_knight_black", {"......k.", ".p...ppp", "..n.....", "........", "..B.....", "......P.", ".P...P.P", "......K."}, 45},
};

EngineBoard Diagram(const std::vector<std::string>& rows) {
  EngineBoard b;
  b.cells.fill(kOffBoard);
  const std::string letters = "pnbrqk";
  const int32_t codes[] = {kPawn, kKnight, kBishop, kRook, kQueen, kKingPositive};
  for (int r = 0; r < 8; ++r)
    for (int x = 1; x <= 8; ++x) {
      const char c = rows[static_cast<size_t>(r)][static_cast<size_t>(x - 1)];
      int32_t code = 0;
      if (const auto lower = letters.find(c); lower != std::string::npos) code = codes[lower];
      else if (const auto upper = letters.find(static_cast<char>(c + 32)); c != '.' && upper != std::string::npos)
        code = codes[upper] == kKingPositive ? kKingNegative : -codes[upper];
      b(x, 8 - r) = code;
    }
  return b;
}

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
