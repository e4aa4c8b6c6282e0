// The partner's game as the exchange receives it: the input is the game file
// the partner's program sends, packed as it packs it. Checking the archive
// for a new move gives the packed game, calls it new exactly when its number
// is larger, and taking it over replaces the last exchanged game exactly
// when the loader reads the game, with a file that loads as the received
// game; a refused game changes nothing on disk or on the board, and nothing
// outside the exchange folder changes at all.
#include <filesystem>
#include <functional>
#include <optional>

#include "board/GameFile.h"
#include "correspondence/Naming.h"
#include "correspondence/NewMove.h"
#include "correspondence/Packing.h"
#include "engine/ZVK_Engine.h"
#include "fuzz/FuzzKit.h"
#include "fuzz/TreeSnapshot.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;
namespace C = correspondence;

namespace {

const std::string kStem = "12345678926120714300000";
const char* const kExchange = "Castellan/InternetGame";
const char* const kErrorLog = "Common/error.log";

std::string gLastGame;  // the last exchanged game's bytes, at half-move 2

fs::path Root() { return fuzzkit::Sandbox::Get().root(); }

std::string FirstLine(const std::string& bytes) { return bytes.substr(0, bytes.find_first_of("\r\n")); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzkit::StartQt();
  fuzzkit::Sandbox::Get();
  ZVK_Engine::Ini_VirtualBoard();
  ZVK_Board_Sub::GameFileContents game;
  game.moveNumber = 2;
  game.log.assign(3, ZVK_Engine::gVirtualBoard);
  gLastGame = ZVK_Board_Sub::FormatGameFile(game);
  fuzzkit::ClearFolder(C::TempDir());
  return 0;
}

namespace {

// The loader's reading of a game file, formatted again; nothing when it refuses.
std::optional<std::string> Loaded(const std::function<ZVK_Board_Sub::GameFileContents()>& load) {
  try {
    return ZVK_Board_Sub::FormatGameFile(load());
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The input is the partner's game file; it arrives packed as the partner's
  // program packs it.
  const std::string game = fuzzkit::Bytes(data, size);
  const std::string dir = C::TempDir();
  const std::string zip = C::ExchangeArchiveName(kStem), chiG = C::LastGameName(kStem),
                    chiR = C::ReceivedGameName(kStem);
  fuzzkit::ClearFolder(dir);
  testsupport::WriteFile(dir + chiR, game);
  if (!C::PackSingleFile(dir + chiR, dir + zip)) return 0;
  fs::remove(dir + chiR);
  testsupport::WriteFile(dir + chiG, gLastGame);
  testsupport::WriteFile((Root() / kErrorLog).string(), "");
  const fuzzkit::TreeSnapshot before(Root(), {kExchange, kErrorLog});
  const ZVK_Engine::EngineBoard board = ZVK_Engine::gVirtualBoard;

  const C::NewMoveCheck check = C::CheckForNewMove(dir, zip, chiG, chiR);
  fuzzkit::Check(check != C::NewMoveCheck::Unreadable, "an archive the packer made gives its game");
  fuzzkit::Check(testsupport::ReadFile(dir + chiR) == game, "the received game is the one packed");
  const bool newer = C::FirstLineValue(FirstLine(game)) > C::FirstLineValue(FirstLine(gLastGame));
  fuzzkit::Check(newer == (check == C::NewMoveCheck::NewMove), "a game is new exactly when its number is larger");
  const bool taken = C::TakeOverReceivedGame(dir, chiG, chiR, zip);
  const std::optional<std::string> expected = Loaded([&] { return ZVK_Board_Sub::ParseGameFile(game); });
  fuzzkit::Check(taken == expected.has_value(), "a received game is taken over exactly when the loader reads it");
  fuzzkit::Check(testsupport::ReadFile(dir + chiG) == (taken ? game : gLastGame),
                 "the last game is the received one when taken, else unchanged");
  if (taken)
    fuzzkit::Check(Loaded([&] { return ZVK_Board_Sub::ReadGameFile(dir + chiG); }) == expected,
                   "what is taken over loads as the received game");
  fuzzkit::Check(!fs::exists(dir + chiR) && !fs::exists(dir + zip), "the received game and the archive go");
  fuzzkit::Check(ZVK_Engine::gVirtualBoard.cells == board.cells, "the game on the board stays as it was");
  fuzzkit::Check(fuzzkit::TreeSnapshot(Root(), {kExchange, kErrorLog}) == before,
                 "nothing changes outside the exchange folder");
  fuzzkit::Sandbox::Get().AssertNothingEscaped();
  return 0;
}
