// The game-file reader on its own: a file is either refused with one of the
// classic errors or read into a game that the writer writes and the reader
// reads back unchanged; every position of an accepted game is a board the
// engine can walk.
#include <stdexcept>

#include "board/GameFile.h"
#include "fuzz/FuzzKit.h"
#include "support/ErrorGuard.h"

using namespace ZVK_Board_Sub;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GameFileContents game;
  try {
    game = ParseGameFile(fuzzkit::Bytes(data, size));
  } catch (const ZVK_ErrorLog::RuntimeError&) {
    return 0;
  } catch (const std::out_of_range&) {
    return 0;  // a negative half-move: subscript out of range
  }
  fuzzkit::Check(game.moveNumber >= 0 && game.moveNumber <= kMaxGameFileMove, "half-move within the slider");
  fuzzkit::Check(game.log.size() == static_cast<size_t>(game.moveNumber) + 1, "one position per half-move");
  for (const auto& board : game.log) {
    for (int i = -1; i <= 10; ++i) {
      fuzzkit::Check(board(i, -1) == 2 && board(i, 10) == 2 && board(-1, i) == 2 && board(10, i) == 2,
                     "outer ring of every position is border");
    }
  }
  fuzzkit::Check(ParseGameFile(FormatGameFile(game)) == game, "write then read gives the same game");
  return 0;
}
