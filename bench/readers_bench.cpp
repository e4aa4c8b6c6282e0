// Reading time of the untrusted-file readers as their input grows: RTF
// records and game files from 100 KB to 10 MB. Each case reports seconds
// per MB (s_per_MB); a reader that does work per byte stays flat, one that
// turns quadratic grows with the size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "board/GameFile.h"
#include "engine/ZVK_Engine.h"
#include "platform/RichText.h"

namespace {

constexpr int64_t kMB = 1 << 20;

void ReportPerMB(benchmark::State& state, size_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
  state.counters["s_per_MB"] = benchmark::Counter(static_cast<double>(bytes) / static_cast<double>(kMB),
                                                  benchmark::Counter::kIsIterationInvariantRate |
                                                      benchmark::Counter::kInvert);
}

// A record as play writes it: numbered move lines in the record's colours,
// with a colour table that grows too (a colour per hundred lines).
platform::RichTextDocument Record(int64_t bytes) {
  platform::RichTextDocument doc;
  const int32_t colors[] = {0x80, 0, 0x8000, 0xFF0000};
  int64_t written = 0;
  for (int line = 1; written < bytes; ++line) {
    const std::string text = std::to_string(line) + "  White Pawn at E:2 to E:4 \"caf\xc3\xa9\"\r\n";
    doc.Append(text, line % 100 == 0 ? line : colors[line % 4]);
    written += static_cast<int64_t>(text.size()) + 6;
  }
  return doc;
}

void BM_ReadRtfRecord(benchmark::State& state) {
  const std::string rtf = Record(state.range(0)).ToRtf();
  for (auto _ : state) benchmark::DoNotOptimize(platform::RichTextDocument::FromRtf(rtf));
  ReportPerMB(state, rtf.size());
}

void BM_WriteRtfRecord(benchmark::State& state) {
  const platform::RichTextDocument doc = Record(state.range(0));
  size_t size = 0;
  for (auto _ : state) {
    const std::string rtf = doc.ToRtf();
    size = rtf.size();
    benchmark::DoNotOptimize(rtf.data());
  }
  ReportPerMB(state, size);
}

// A game long enough for the file to reach the size: knights wander back and
// forth, with a record of one line per half-move.
ZVK_Board_Sub::GameFileContents Game(int32_t moves) {
  ZVK_Board_Sub::GameFileContents game;
  ZVK_Engine::Ini_VirtualBoard();
  ZVK_Engine::EngineBoard board = ZVK_Engine::gVirtualBoard;
  game.log.push_back(board);
  const int shuffle[][4] = {{7, 1, 6, 3}, {7, 8, 6, 6}, {6, 3, 7, 1}, {6, 6, 7, 8}};
  for (game.moveNumber = 0; game.moveNumber < moves; ++game.moveNumber) {
    const int* m = shuffle[game.moveNumber % 4];
    ZVK_Engine::Movement_comp(board, m[0], m[1], m[2], m[3]);
    game.log.push_back(board);
  }
  game.recordRtf = Record(static_cast<int64_t>(moves) * 40).ToRtf();
  return game;
}

std::string GameFileOf(int64_t bytes) {
  const auto perMove = static_cast<int64_t>(ZVK_Board_Sub::FormatGameFile(Game(64)).size() / 65);
  const auto moves = static_cast<int32_t>(std::min<int64_t>(bytes / perMove, ZVK_Board_Sub::kMaxGameFileMove));
  return ZVK_Board_Sub::FormatGameFile(Game(moves));
}

void BM_ReadGameFile(benchmark::State& state) {
  const std::string bytes = GameFileOf(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(ZVK_Board_Sub::ParseGameFile(bytes));
  ReportPerMB(state, bytes.size());
}

}  // namespace

BENCHMARK(BM_ReadRtfRecord)->Arg(100 << 10)->Arg(kMB)->Arg(10 * kMB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteRtfRecord)->Arg(100 << 10)->Arg(kMB)->Arg(10 * kMB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadGameFile)->Arg(100 << 10)->Arg(kMB)->Arg(10 * kMB)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
