#include "correspondence/UnsentMove.h"

#include <filesystem>
#include <fstream>

#include "board/GameFile.h"
#include "correspondence/Packing.h"
#include "support/ZVK_File_Dir.h"

namespace correspondence {

int32_t NotedUnsentMove(const std::string& notePath) {
  std::ifstream in(notePath);
  int32_t moveNumber = -1;
  if (!(in >> moveNumber) || moveNumber < 0) return -1;
  return moveNumber;
}

namespace {
constexpr const char* kUploadBegun = "put";

// log[0..last] and the file's positions agree.
bool SamePositions(const std::vector<ZVK_Engine::EngineBoard>& log, const ZVK_Board_Sub::GameFileContents& file,
                   int32_t last) {
  if (last < 0 || log.size() <= static_cast<size_t>(last) || file.log.size() <= static_cast<size_t>(last)) return false;
  for (int32_t i = 0; i <= last; ++i)
    if (!(log[static_cast<size_t>(i)] == file.log[static_cast<size_t>(i)])) return false;
  return true;
}
}  // namespace

void NoteUploadBegun(const std::string& notePath, int32_t moveNumber) {
  ZVK_File_Dir::WriteFile(notePath, std::to_string(moveNumber) + "\r\n" + kUploadBegun, false);
}

bool NotedUploadBegun(const std::string& notePath) {
  std::ifstream in(notePath);
  std::string number, mark;
  return std::getline(in, number) && std::getline(in, mark) && mark.rfind(kUploadBegun, 0) == 0;
}

ServerCopy ServerCopyOfGame(const std::string& zipPath, const std::string& scratchDir,
                            const std::vector<ZVK_Engine::EngineBoard>& log, int32_t moveNumber) {
  const std::string scratchName = "server.chi";
  std::error_code ec;
  std::filesystem::remove(scratchDir + scratchName, ec);
  if (!ZVK_File_Dir::FileExists(zipPath) || !UnpackFirstEntry(zipPath, scratchDir, scratchName)) return ServerCopy::Lacks;
  ZVK_Board_Sub::GameFileContents server;
  try {
    server = ZVK_Board_Sub::ReadGameFile(scratchDir + scratchName);
  } catch (...) {
    std::filesystem::remove(scratchDir + scratchName, ec);
    return ServerCopy::Lacks;
  }
  std::filesystem::remove(scratchDir + scratchName, ec);
  // A shorter game is this one's beginning, or another game the partner has:
  // the last exchanged game that would tell may be the one that is unreadable.
  if (server.moveNumber < moveNumber)
    return SamePositions(log, server, server.moveNumber) ? ServerCopy::Lacks : ServerCopy::Conflicts;
  return SamePositions(log, server, moveNumber) ? ServerCopy::Holds : ServerCopy::Conflicts;
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
  if (moveNumber <= partnerHas || log.size() <= static_cast<size_t>(moveNumber)) return Continuation::Breaks;
  // Every half-move the partner has, unchanged.
  return SamePositions(log, exchanged, partnerHas) ? Continuation::Continues : Continuation::Breaks;
}

}  // namespace correspondence
