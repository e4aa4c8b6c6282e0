#include "correspondence/UnsentMove.h"

#include <fstream>

#include "board/GameFile.h"
#include "support/ZVK_File_Dir.h"

namespace correspondence {

int32_t NotedUnsentMove(const std::string& notePath) {
  std::ifstream in(notePath);
  int32_t moveNumber = -1;
  if (!(in >> moveNumber) || moveNumber < 0) return -1;
  return moveNumber;
}

Continuation ContinuesExchangedGame(const std::string& lastGamePath, int32_t notedUnsent,
                                    const std::vector<ZVK_Engine::EngineBoard>& log, int32_t moveNumber) {
  if (!ZVK_File_Dir::FileExists(lastGamePath)) return Continuation::Continues;
  ZVK_Board_Sub::GameFileContents exchanged;
  try {
    exchanged = ZVK_Board_Sub::ReadGameFile(lastGamePath);
  } catch (...) {
    return Continuation::Unknown;
  }
  // A noted half-move older than the file's last one is stale: a later
  // exchange has been made since, so the partner has the whole file.
  const int32_t partnerHas =
      notedUnsent == exchanged.moveNumber && notedUnsent > 0 ? exchanged.moveNumber - 1 : exchanged.moveNumber;
  if (moveNumber <= partnerHas || moveNumber < 0 || log.size() <= static_cast<size_t>(moveNumber))
    return Continuation::Breaks;
  for (int32_t i = 0; i <= partnerHas; ++i)
    if (!(log[static_cast<size_t>(i)] == exchanged.log[static_cast<size_t>(i)])) return Continuation::Breaks;
  return Continuation::Continues;
}

}  // namespace correspondence
