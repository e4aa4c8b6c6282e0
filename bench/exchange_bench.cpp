// Sending and fetching a correspondence move through the main window over a
// loopback FTP server. Every FTP command ends with a fixed one-second wait;
// these benchmarks run the waits' clock fast, so what they measure is the
// time beyond those waits: transfer, packing, files and drawing. Reported per
// FTP command, with the longest gap between two handled ticks of a 1 ms timer
// while the transfer runs (the window's responsiveness). The last benchmark
// keeps the real waits, to show the window stays responsive through them too.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/fMainForm.h"
#include "bench/BenchSupport.h"
#include "board/GameRecord.h"
#include "board/ZVK_Board_Sub.h"
#include "correspondence/ExchangeFiles.h"
#include "correspondence/Naming.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "platform/AppPath.h"
#include "platform/MessageBox.h"
#include "support/AppIdentity.h"
#include "support/ZVK_Time.h"
#include "tests/fixtures/Servers.h"

namespace {

namespace fs = std::filesystem;
namespace G = ZVK_Globals;
namespace C = correspondence;

app::fMainForm* gForm = nullptr;

// Commands of one send (CD www, CD games, PUT, CLOSE) and of one fetch
// (CD www, CD games, GET, CLOSE and the closing CLOSE).
constexpr int kSendCommands = 4;
constexpr int kFetchCommands = 5;

void FastClock(bool fast) {
  if (fast) ZVK_Time::SetClock([now = 1000.0]() mutable { return now += 0.25; });
  else ZVK_Time::SetClock({});
}

// A game at half-move 0 of the joining side, so that a send puts only the
// exchange archive.
void SetUpGame() {
  C::gInternetGameID = "0000001012612062350";
  G::gGameMode = "OnlinePP";
  G::gPlayerColor = G::kBlack;
  G::gBoardSide = -1;
  G::gGameStopped = 0;
  G::gNavigating = 0;
  ZVK_Board_Sub::ClearGameRecord();
  ZVK_Engine::Initial_Game();
  ZVK_Board_Sub::Update_Board();
  const std::string stem = C::ExchangeStem(C::gInternetGameID);
  C::JoinInfo join;
  join.machineId = ZVK_Identity::gMachineID;
  C::WriteJoinInfoFile(C::JoinedDir() + C::JoinInfoName(stem), join);
}

// Runs one transfer `runs` times: the time of each beyond the fixed waits,
// per FTP command, and the longest gap between handled events.
void MeasureTransfer(benchmark::State& state, int commands, const std::function<void()>& before,
                     const std::function<void()>& transfer) {
  double totalMs = 0, worstGapMs = 0;
  long long runs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    before();
    state.ResumeTiming();
    QElapsedTimer timer;
    timer.start();
    const qint64 gap = benchsupport::LongestEventGap(transfer);
    totalMs += static_cast<double>(timer.nsecsElapsed()) / 1e6;
    worstGapMs = std::max(worstGapMs, static_cast<double>(gap) / 1e6);
    ++runs;
  }
  state.counters["ms_per_command"] = totalMs / static_cast<double>(runs * commands);
  state.counters["longest_gap_ms"] = worstGapMs;
}

void BM_SendMove(benchmark::State& state) {
  FastClock(true);
  SetUpGame();
  MeasureTransfer(state, kSendCommands, [] {}, [] { gForm->cmdSendMove_Click(); });
  FastClock(false);
}
BENCHMARK(BM_SendMove)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_FetchMove(benchmark::State& state) {
  FastClock(true);
  SetUpGame();
  gForm->cmdSendMove_Click();  // the server's archive
  const std::string lastGame =
      C::InternetGameDir() + C::LastGameName(C::ExchangeStem(C::gInternetGameID));
  // Without a last exchanged game every fetch takes the game over.
  MeasureTransfer(state, kFetchCommands, [&] { fs::remove(lastGame); }, [] { gForm->cmdDownloadMove_Click(); });
  FastClock(false);
}
BENCHMARK(BM_FetchMove)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_LongestGapThroughRealWaits(benchmark::State& state) {
  SetUpGame();
  double worst = 0;
  for (auto _ : state)
    worst = std::max(worst, static_cast<double>(benchsupport::LongestEventGap([] { gForm->cmdSendMove_Click(); })) / 1e6);
  state.counters["longest_gap_ms"] = worst;
}
BENCHMARK(BM_LongestGapThroughRealWaits)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  benchsupport::WindowBench bench(argc, argv);
  ZVK_Identity::gMachineID = "000000202";
  fixtures::FtpServer server;
  if (!server.running()) {
    std::fprintf(stderr, "exchange_bench: no loopback FTP server (python3-pyftpdlib)\n");
    return 1;
  }
  server.useAsGameServer();
  return bench.Run(argc, argv, gForm);
}
