#pragma once
// Whether the partner's game in a fetched exchange archive holds a new move,
// and taking that game over. The archive's first entry is unpacked as the
// received game; it is new when there is no last exchanged game yet, or when
// the half-move number on its first line is larger than that of the last
// exchanged game. Folders end with the separator; names are bare file names.
#include <string>

namespace correspondence {

enum class NewMoveCheck {
  NewMove,    // the received game is newer (or nothing was exchanged yet)
  NoNewMove,  // the received game is not newer
  Unreadable  // the archive gave no received game (damaged, wrong password, no entry)
};

// Unpacks entry 0 of dir & zipName as dir & chiR (a received game left from
// an earlier check is removed first, so it never stands in for a failed
// unpack) and compares first lines.
NewMoveCheck CheckForNewMove(const std::string& dir, const std::string& zipName, const std::string& chiG,
                             const std::string& chiR);
bool HasNewMove(const std::string& dir, const std::string& zipName, const std::string& chiG,
                const std::string& chiR);

// The half-move number of a game file's first line as the exchange compares
// it: double quotes removed, then the leading number (0 when there is none).
double FirstLineValue(const std::string& line);

// True when the game loader would take the file: read into a scratch game,
// the current game untouched.
bool ReceivedGameIsSound(const std::string& path);

// Makes the received game dir & chiR the last exchanged game dir & chiG and
// removes it and the archive dir & zipName. A received game the loader would
// refuse replaces nothing: the last exchanged game stays as it was, the
// received game and the archive are removed (so the next download fetches
// afresh instead of finding the same bad archive), and false is returned for
// the caller's download-problem message. The caller loads dir & chiG after
// true.
bool TakeOverReceivedGame(const std::string& dir, const std::string& chiG, const std::string& chiR,
                          const std::string& zipName);

}  // namespace correspondence
