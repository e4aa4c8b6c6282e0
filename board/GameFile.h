#pragma once
// The game file: one whole game (half-move number, comment, the position
// after every half-move, both taken-pieces tables and the record as RTF) as
// a text file of items, each followed by CR LF. Text items stand between
// double quotes; number items are plain decimal. Local games (".chs") and the
// correspondence exchange use the same layout; the exchange reads only the
// first line, the quoted half-move number.
//
// A double quote inside a text item is written doubled ("") and read back as
// one; text without double quotes is written exactly as it is, so files
// without them keep the classic layout and classic files read unchanged.
#include <cstdint>
#include <string>
#include <vector>

#include "board/TakenPieces.h"
#include "engine/EngineBoard.h"

namespace ZVK_Board_Sub {

// The move slider is a 16-bit control: no game can be longer.
inline constexpr int32_t kMaxGameFileMove = 32767;
// The largest game file a game can make: 32768 positions of 144 cells take
// at most 24.6 MB even with a piece of the widest code on every square
// (about 16 MB in a real game); the rest leaves room for the comment and a
// record of every move and board edit. A larger file is refused before it is
// read, and a received archive may not unpack to more.
inline constexpr int64_t kMaxGameFileBytes = 32LL * 1024 * 1024;

struct GameFileContents {
  int32_t moveNumber = 0;
  std::string comment;
  std::vector<ZVK_Engine::EngineBoard> log;  // moveNumber + 1 positions
  TakenTable takenWhite{};
  TakenTable takenBlack{};
  std::string recordRtf;
  bool operator==(const GameFileContents&) const = default;
};

// The file's bytes for a game.
std::string FormatGameFile(const GameFileContents& game);

// Reads a whole file's bytes into a new game. Every fault throws the classic
// error for the caller's handler: 62 input past end (a truncated file or an
// unclosed quote), 13 type mismatch (a non-number where a number belongs),
// 6 overflow (a number beyond its cell, a half-move number above 32767),
// 9 subscript (a negative half-move number), 5 (a position that is not a
// board: border cells other than 2 or unknown piece codes; anything but line
// ends after the record). The half-move number must be a whole number.
GameFileContents ParseGameFile(const std::string& bytes);

// Reads and parses a game file without touching the current game; throws as
// ParseGameFile does, 75 when the file cannot be read, 7 when it is larger
// than any game.
GameFileContents ReadGameFile(const std::string& path);

// Writes the current game to path. The new file is written beside the old
// one and replaces it only when complete; on any failure (logged) the old
// file stays as it was. True when the file was written.
bool SaveCompleteGame(const std::string& path);

// Loads a game file and shows it. A missing file gives the message box
// "Game File not available". A damaged file is logged and changes nothing:
// the game is taken over only when the whole file has been read. True when
// the game was taken over.
bool LoadCompleteGame(const std::string& path);

}  // namespace ZVK_Board_Sub
