// Sending and fetching a correspondence move through the main window over a
// loopback FTP server. Every FTP command ends with a fixed one-second wait;
// these benchmarks run the waits' clock fast, so what they measure is the
// time beyond those waits: transfer, packing, files and drawing. Reported per
// FTP command, with the longest gap between two handled ticks of a 1 ms timer
// while the transfer runs (the window's responsiveness). The last benchmark
// keeps the real waits, to show the window stays responsive through them too.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "app/fMainForm.h"
#include "app/frmNewGame.h"
#include "bench/BenchSupport.h"
#include "board/GameFile.h"
#include "board/GameRecord.h"
#include "board/ZVK_Board_Sub.h"
#include "correspondence/ExchangeFiles.h"
#include "correspondence/Naming.h"
#include "correspondence/Packing.h"
#include "engine/ZVK_Engine.h"
#include "platform/RichText.h"
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

// The offer list built from listings of state.range(0) MiB each on disk (no
// download). Every offer but the last is joined; with state.range(1) set
// none is. The one offer left selected is previewed from its archive in the
// temporary folder, so no transfer runs.
void BM_OfferList(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(0)) << 20;
  const bool noneJoined = state.range(1) != 0;
  std::string offers, joins;
  std::string last;
  // Just below the size, so that the reader's cap on a listing cuts nothing.
  for (long long k = 0; offers.size() + 30 <= bytes; ++k) {
    char stem[48];
    std::snprintf(stem, sizeof stem, "%09lld26120623590000", k);
    last = stem;
    offers += last + "n.zip\r\n";
    joins += last + "j.zip\r\n";
  }
  if (noneJoined) joins = "";
  else joins.resize(joins.size() - (last.size() + 7));  // the last offer is open
  const std::string temp = C::TempDir();
  fs::create_directories(temp);
  const std::string txt = temp + C::OfferInfoName(last);
  C::OfferInfo info;
  info.gameId = C::GameIdOfStem(last);
  info.colour = "0";
  C::WriteOfferInfoFile(txt, info);
  C::PackSingleFile(txt, temp + C::OfferArchiveName(last));
  app::frmNewGame dialog(gForm);
  dialog.optMode[3]->click();
  double worstGapMs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::ofstream(temp + C::kOfferListingName, std::ios::binary) << offers;
    std::ofstream(temp + C::kJoinListingName, std::ios::binary) << joins;
    state.ResumeTiming();
    const qint64 gap = benchsupport::LongestEventGap([&] { dialog.UpdateGameList(false); });
    worstGapMs = std::max(worstGapMs, static_cast<double>(gap) / 1e6);
  }
  state.counters["listed"] = dialog.cmbJoinNewGame->count();
  state.counters["longest_gap_ms"] = worstGapMs;
}
BENCHMARK(BM_OfferList)->Args({1, 0})->Args({8, 0})->Args({1, 1})->Args({8, 1})->Unit(benchmark::kMillisecond)->Iterations(1);

// A line of /proc/self/status in KiB ("VmHWM", the peak since the last
// reset, or "VmRSS").
double StatusMiB(const std::string& key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(key + ":", 0) == 0) return std::stod(line.substr(key.size() + 1)) / 1024;
  return 0;
}

// Starts a new peak at the present resident size.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// Taking over the largest game archive the exchange lets in: a game file as
// large as may be unpacked (32767 half-moves, a king on every square, the
// rest a record of move lines), taken over from an archive already fetched.
// The peak is the process's resident high-water mark during the take-over.
void BM_TakeOverLargestArchive(benchmark::State& state) {
  SetUpGame();
  ZVK_Board_Sub::GameFileContents game;
  game.moveNumber = ZVK_Board_Sub::kMaxGameFileMove;
  ZVK_Engine::EngineBoard board;
  board.cells.fill(2);
  for (int y = 1; y <= 8; ++y)
    for (int x = 1; x <= 8; ++x) board(x, y) = (x + y) % 2 == 0 ? -10000 : 15000;
  game.log.assign(static_cast<size_t>(game.moveNumber) + 1, board);
  const size_t positions = ZVK_Board_Sub::FormatGameFile(game).size();
  platform::RichTextDocument record;
  const std::string line = "32767  White Knight at G:1 to F:3\r\n";
  const size_t room = static_cast<size_t>(ZVK_Board_Sub::kMaxGameFileBytes) - positions - 1024;
  // Filled up to the cap (a record of many board edits), or with state.range(0)
  // set one line per half-move, as a long game without edits has.
  const size_t lines = state.range(0) != 0 ? static_cast<size_t>(game.moveNumber) : room / (line.size() + 10);
  for (size_t k = 0; k < lines; ++k) record.Append(line, (k % 2) * 0x80);
  game.recordRtf = record.ToRtf();
  const std::string stem = C::ExchangeStem(C::gInternetGameID);
  const std::string dir = C::InternetGameDir();
  const std::string scratch = dir + C::ReceivedGameName(stem) + ".big";
  std::ofstream(scratch, std::ios::binary) << ZVK_Board_Sub::FormatGameFile(game);
  game = {};
  record.Clear();
  const std::string zip = dir + C::ExchangeArchiveName(stem);
  double rss = 0, peak = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ZVK_Engine::Initial_Game();
    ZVK_Board_Sub::SaveCompleteGame(dir + C::LastGameName(stem));  // half-move 0 was exchanged last
    C::PackSingleFile(scratch, zip);
    state.counters["archive_KiB"] = static_cast<double>(fs::file_size(zip)) / 1024;
    rss = StatusMiB("VmRSS");
    ResetPeak();
    state.ResumeTiming();
    gForm->cmdDownloadMove_Click();
    peak = StatusMiB("VmHWM");
  }
  state.counters["game_file_MiB"] = static_cast<double>(fs::file_size(scratch)) / (1 << 20);
  state.counters["taken_over"] = ZVK_Engine::gMoveNumber == ZVK_Board_Sub::kMaxGameFileMove;
  state.counters["rss_before_MiB"] = rss;
  state.counters["peak_MiB"] = peak;
}
BENCHMARK(BM_TakeOverLargestArchive)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

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
