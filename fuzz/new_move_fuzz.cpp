// The partner's game as the exchange receives it: the input is both the text
// of a first line (its half-move number) and the fetched archive. Reading the
// number never fails and gives a finite value; checking the archive for a new
// move and taking the received game over touch nothing outside the exchange
// folder, leave no received game when the archive gives none, call a game new
// only when its number is larger, and replace the last exchanged game only
// with a game the loader takes.
#include <cmath>
#include <filesystem>

#include "board/GameFile.h"
#include "correspondence/Naming.h"
#include "correspondence/NewMove.h"
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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes = fuzzkit::Bytes(data, size);
  double value = 0;
  try {
    value = C::FirstLineValue(bytes);
  } catch (...) {
    fuzzkit::Check(false, "reading a first line's number never fails");
  }
  fuzzkit::Check(std::isfinite(value), "a first line's number is finite");

  const std::string dir = C::TempDir();
  const std::string zip = C::ExchangeArchiveName(kStem), chiG = C::LastGameName(kStem),
                    chiR = C::ReceivedGameName(kStem);
  testsupport::WriteFile(dir + zip, bytes);
  testsupport::WriteFile(dir + chiG, gLastGame);
  testsupport::WriteFile((Root() / kErrorLog).string(), "");
  const fuzzkit::TreeSnapshot before(Root(), {kExchange, kErrorLog});

  const C::NewMoveCheck check = C::CheckForNewMove(dir, zip, chiG, chiR);
  if (check == C::NewMoveCheck::Unreadable) {
    fuzzkit::Check(!fs::exists(dir + chiR), "an archive that gives no game leaves no received game");
  } else {
    const std::string received = testsupport::ReadFile(dir + chiR);
    const bool newer = C::FirstLineValue(FirstLine(received)) > C::FirstLineValue(FirstLine(gLastGame));
    fuzzkit::Check(newer == (check == C::NewMoveCheck::NewMove), "a game is new exactly when its number is larger");
    const bool sound = C::ReceivedGameIsSound(dir + chiR);
    const bool taken = C::TakeOverReceivedGame(dir, chiG, chiR, zip);
    fuzzkit::Check(taken == sound, "a received game is taken over exactly when the loader takes it");
    fuzzkit::Check(testsupport::ReadFile(dir + chiG) == (taken ? received : gLastGame),
                   "the last game is the received one when taken, else unchanged");
    fuzzkit::Check(!fs::exists(dir + chiR) && !fs::exists(dir + zip), "the received game and the archive go");
  }
  fuzzkit::Check(fuzzkit::TreeSnapshot(Root(), {kExchange, kErrorLog}) == before,
                 "nothing changes outside the exchange folder");
  fuzzkit::Sandbox::Get().AssertNothingEscaped();
  return 0;
}
