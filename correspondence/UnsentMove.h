#pragma once
// A local move that is still to be sent, and the game the partner already
// has. The last exchanged game file holds the whole game as it was last sent
// or taken over; a local move made since is saved into it as well, together
// with a note of its half-move, so that the game resumed later holds the move
// and offers to send it. While that note names the file's last half-move,
// the partner has the file's game without that half-move.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/EngineBoard.h"

namespace correspondence {

// The half-move the note at notePath names; -1 when there is no note or it
// names none.
int32_t NotedUnsentMove(const std::string& notePath);

// Marks the note of moveNumber: the next send looks at the server's copy
// before it puts anything. Its game's upload has begun, so the server may
// hold the move whatever that send learnt of it (a program ended in the wait
// after the upload); or the last exchanged game could not be read, so only
// the server's copy says what the partner has.
void NoteUploadBegun(const std::string& notePath, int32_t moveNumber);
bool NotedUploadBegun(const std::string& notePath);

enum class Continuation {
  Continues,  // every half-move the partner has is unchanged, and the game adds to them
  Breaks,     // a half-move the partner has is gone or changed, or nothing is added
  Unknown     // the last exchanged game cannot be read
};

// Whether the game of the positions log[0..moveNumber] may be sent to a
// partner who has what the last exchanged game file at lastGamePath (and the
// note of its unsent half-move, notedUnsent) say. Nothing exchanged yet (no
// file): any game continues.
Continuation ContinuesExchangedGame(const std::string& lastGamePath, int32_t notedUnsent,
                                    const std::vector<ZVK_Engine::EngineBoard>& log, int32_t moveNumber);

// What the game in an exchange archive fetched from the server holds of the
// game log[0..moveNumber]: all of it (unchanged, perhaps with the partner's
// answer after it), less of it (the archive missing or unreadable, or a game
// that ends before moveNumber with every half-move it has unchanged), or
// something else. scratchDir is where the archive's game is unpacked for a
// moment. Unknown is the caller's, for a server copy that could not be
// fetched: nothing may be put over it.
enum class ServerCopy { Holds, Lacks, Conflicts, Unknown };
ServerCopy ServerCopyOfGame(const std::string& zipPath, const std::string& scratchDir,
                            const std::vector<ZVK_Engine::EngineBoard>& log, int32_t moveNumber);

}  // namespace correspondence
