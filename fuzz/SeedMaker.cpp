// Writes the seed inputs of every fuzz target into <folder>/<target>/: game
// files and records as the program writes them while a game is played, the
// installed language files, settings files as the program saves them, and
// the replies and names the transfers meet.
#include <QString>
#include <cstdio>
#include <filesystem>
#include <functional>

#include <zip.h>

#include "app/frmSplash.h"
#include "board/GameFile.h"
#include "board/GameRecord.h"
#include "board/Profiles.h"
#include "board/RecordWindow.h"
#include "correspondence/ExchangeFiles.h"
#include "correspondence/Naming.h"
#include "correspondence/Packing.h"
#include "engine/ZVK_Engine.h"
#include "fuzz/FuzzKit.h"
#include "platform/SettingsStore.h"
#include "platform/ZipArchive.h"
#include "support/AppIdentity.h"
#include "support/ZVK_Language.h"
#include "support/ZVK_Registry.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;
namespace B = ZVK_Board_Sub;
namespace E = ZVK_Engine;

namespace {

fs::path gOut;

void Seed(const char* target, const std::string& name, const std::string& bytes) {
  testsupport::WriteFile((gOut / target / name).string(), bytes);
}

// Plays the moves ("e2e4" ...) from the start position, writing the record
// lines as the program does, and returns the game as the game file holds it.
B::GameFileContents Play(const std::vector<std::string>& moves, const std::string& comment) {
  E::Ini_VirtualBoard();
  B::ClearGameRecord();
  B::Reset_TakenPieces_Board();
  B::GameFileContents game;
  game.comment = comment;
  E::EngineBoard board = E::gVirtualBoard;
  game.log.push_back(board);
  int number = 0;
  for (const std::string& m : moves) {
    const int fx = m[0] - 'a' + 1, fy = m[1] - '0', tx = m[2] - 'a' + 1, ty = m[3] - '0';
    const bool white = number % 2 == 0;
    const int32_t taken = board(tx, ty);
    if (taken != 0) {
      auto& table = white ? game.takenWhite : game.takenBlack;
      const auto row = static_cast<size_t>(1 + number % 16);
      table[row] = {static_cast<int16_t>(row), static_cast<int16_t>(taken < 0 ? -taken % 100 : taken % 100), 1};
    }
    E::Movement_comp(board, fx, fy, tx, ty);
    ++number;
    game.log.push_back(board);
    B::Write2GameRecord(std::to_string((number + 1) / 2) + (white ? "  White " : "  Black ") + m.substr(0, 2) +
                            " to " + m.substr(2, 2) + "\r\n",
                        white ? B::kRecordDarkRed : B::kRecordBlack, false);
    if (number % 5 == 0) B::Write2GameRecord("     changed to movement # " + std::to_string(number) + "\r\n",
                                             B::kRecordGreen, false);
  }
  B::Write2GameRecord("CPU suggestion : \"quiet\" {move}\r\n", B::kRecordBlue, false);
  game.moveNumber = number;
  game.recordRtf = B::txtMoveList().ToRtf();
  return game;
}

void GameSeeds() {
  const std::vector<std::string> italian = {"e2e4", "e7e5", "g1f3", "b8c6", "f1c4", "g8f6", "f3g5", "d7d5",
                                            "e4d5", "f6d5", "g5f7", "e8f7"};
  std::vector<std::string> long_game;
  for (int i = 0; i < 10; ++i)
    for (const char* m : {"g1f3", "g8f6", "f3g1", "f6g8"}) long_game.push_back(m);
  const std::pair<std::string, B::GameFileContents> games[] = {
      {"start.chs", Play({}, " enter here ...")},
      {"opening.chs", Play({"e2e4"}, "")},
      {"italian.chs", Play(italian, "first line,\r\n\"second\" line")},
      {"shuffle.chs", Play(long_game, "forty half-moves")},
  };
  for (const auto& [name, game] : games) {
    const std::string bytes = B::FormatGameFile(game);
    Seed("game_file", name, bytes);
    Seed("game_window", name, bytes);
    Seed("rich_text", name + ".rtf", game.recordRtf);
  }
  Seed("rich_text", "other_writer.rtf",
       "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\*\\generator Riched20 10.0;}"
       "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\n"
       "\\viewkind4\\uc1\\pard\\cf1\\f0\\fs20 red\\par\n\\cf2 green\\cf0\\par caf\\'e9 \\u8364?\\uc2\\u8364xx}");
  Seed("rich_text", "plain.txt", "just words\r\nand more");
}

void LanguageSeeds() {
  for (const auto& e : fs::directory_iterator(ZVK_Language::LanguageDir()))
    if (e.is_regular_file()) Seed("language", e.path().filename().string(), testsupport::ReadFile(e.path().string()));
}

void SettingsSeeds() {
  auto& box = fuzzkit::Sandbox::Get();
  app::frmSplash::SetDurationSeconds(0);
  ZVK_Identity::gUserName = "FUZZ";
  const std::string user = ZVK_Registry::UserSettingsApp();
  const std::string standard = ZVK_Registry::ProfileSettingsApp("Standard");
  B::HeadlessRecordWindow w;
  B::SetRecordWindow(&w);
  for (int variant = 0; variant < 2; ++variant) {
    std::error_code ec;
    fs::remove_all(box.configRoot(), ec);
    fs::remove_all(box.machineRoot(), ec);
    w.profiles = {"Standard"};
    w.texts["cmbProfiles"] = "Standard";
    if (variant == 1) {
      w.profiles = {"Standard", "Anna", "Ben"};
      w.backgroundColor = 0x123456;
      w.values = {{"cmbProfiles", 0}, {"chkEnableSound", 0}, {"HScrollAnimationSpeed", 250}, {"sldLevel", 2},
                  {"optGender1", -1}, {"mnuShowPossibleMoves", -1}};
      w.texts["txtUserNickName"] = "Jane, \"the rook\"";
      w.texts["txtAge"] = "42";
    }
    {
      app::frmSplash splash;
      splash.Form_Load();  // the use counter, as every start writes it
    }
    B::Save2Registry();
    const std::string machine =
        testsupport::ReadFile(box.machineRoot() + "/HKEY_LOCAL_MACHINE/Software/ZVK/Castellan/FUZZ/Settings.ini");
    Seed("settings", "saved" + std::to_string(variant) + ".ini",
         testsupport::ReadFile(platform::SettingsFilePath(user)) + "\f" + testsupport::ReadFile(platform::SettingsFilePath(standard)) + "\f" +
             machine);
  }
  B::SetRecordWindow(nullptr);
}

void TransferSeeds() {
  Seed("update_reply", "current.txt", "\"1066\",\"3.9.2\"\r\n");
  Seed("update_reply", "newer.txt", "\"7\",\"1.0.0\"\r\n\"1066\",\"3.10.0\"\r\n");
  Seed("update_reply", "unquoted.txt", "  1066 , 4.0.1 \r\n");
  Seed("transfer_names", "plain.txt", "ftp.castellan.example.org\f20260203_14_Standard.chs\fgames");
  Seed("transfer_names", "commented.txt", "# the exchange server\n\n127.0.0.1:2121\fJoin_Anna_Ben.chi\fgames/2026/02");
  Seed("transfer_names", "ipv6.txt", "[::1]:21\fOffer Anna.chs\fCommon/temp");
}


// The exchange's files as the writers write them, the archives they are sent
// in as the packer packs them, and a server listing.
const std::string kStem = "12345678926120714300000";

std::string Written(const std::string& name, const std::function<void(const std::string&)>& write) {
  const std::string path = fuzzkit::Sandbox::Get().root() + "/temp/seeds/" + name;
  std::error_code ec;
  fs::remove(path, ec);
  write(path);
  return testsupport::ReadFile(path);
}

// The archive the packer makes of a file of the given name and bytes.
std::string Packed(const std::string& name, const std::string& bytes) {
  const std::string folder = fuzzkit::Sandbox::Get().root() + "/temp/seeds/";
  testsupport::WriteFile(folder + name, bytes);
  std::error_code ec;
  fs::remove(folder + "packed.zip", ec);
  correspondence::PackSingleFile(folder + name, folder + "packed.zip");
  return testsupport::ReadFile(folder + "packed.zip");
}

void ExchangeSeeds() {
  namespace C = correspondence;
  const C::OfferInfo offer{"", C::GameIdOfStem(kStem), "Jane \"the rook\"", "Deutschland", "Deutsch",
                           std::to_string(C::kWhiteColour), "female", "42", ""};
  const std::string offerFile = Written("offer", [&](const std::string& path) {
    C::WriteOfferInfoFile(path, offer);
    C::AppendOfferOpeningMove(path, "1  White e2 to e4\r\n");
  });
  const C::JoinInfo join{"", "987654321", "Bo", "Sverige", "English", std::to_string(C::kBlackColour), "", ""};
  const std::string joinFile = Written("join", [&](const std::string& path) {
    C::WriteJoinInfoFile(path, join);
    C::WriteJoinInfoFile(path, join);  // joined twice
  });
  const std::string noteFile = Written("note", [&](const std::string& path) {
    C::WriteMoveNoteFile(path, {"", "123456789", "good luck,\r\nsee you tomorrow", "1  Black e7 to e5\r\n"});
  });
  const std::string closedFile = Written("closed", [&](const std::string& path) {
    C::WriteClosedGameFile(path, {"", "987654321", "Bo"});
  });
  const std::string listing = kStem + "n.zip\r\n" + kStem + "j.zip\r\n98765432126120801120000n.zip\r\n" +
                              "<DIR> .\r\n..\r\n \\" + kStem + "g.zip >\r\nreadme.txt\r\n";
  Seed("exchange_files", "offer.txt", offerFile);
  Seed("exchange_files", "join.txt", joinFile);
  Seed("exchange_files", "note.txt", noteFile);
  Seed("exchange_files", "closed.txt", closedFile);
  Seed("exchange_files", "test.tst", Written("test", C::WriteConnectionTestFile));
  Seed("exchange_files", "listing.tmp", listing);

  // Offered listing, joined listing and offer file: one offer left open
  // whose file is its own, and two open, the last with another's file.
  const std::string other = "98765432126120801120000";
  Seed("new_game_offers", "one-open.txt", listing + "\f" + other + "j.zip\r\n\f" + offerFile);
  Seed("new_game_offers", "two-open.txt", listing + "\f\f" + offerFile);
  Seed("load_game_info", "offer.txt", offerFile);
  Seed("load_game_info", "join.txt", joinFile);

  Seed("archive", "offer.zip", Packed(C::OfferInfoName(kStem), offerFile));
  Seed("archive", "join.zip", Packed(C::JoinInfoName(kStem), joinFile));
  Seed("archive", "closed.zip", Packed(C::ClosedInfoName(kStem), closedFile));
  const std::string game = B::FormatGameFile(Play({"e2e4", "e7e5", "g1f3"}, "three half-moves"));
  Seed("archive", "game.zip", Packed(C::LastGameName(kStem), game));
  // Without the password, and with two entries: what the program never
  // sends, but a partner's archive may be.
  const std::string folder = fuzzkit::Sandbox::Get().root() + "/temp/seeds/";
  for (const bool password : {false, true}) {
    platform::ZipArchive zip;
    if (password) zip.SetPassword(C::kArchivePassword);
    zip.Create(folder + "two.zip");
    zip.AddFile(folder + C::OfferInfoName(kStem), 9);
    zip.AddFile(folder + C::LastGameName(kStem), 9);
    zip.Close();
    Seed("archive", password ? "two.zip" : "two-plain.zip", testsupport::ReadFile(folder + "two.zip"));
  }
  // One entry unencrypted, and one under the old ZipCrypto scheme (zip's and
  // 7-Zip's default): what other tools a partner might use make, and what the
  // fuzzer can change past the first step.
  for (const auto& [name, method] : {std::pair{"game-plain.zip", ZIP_EM_NONE}, {"game-zipcrypto.zip", ZIP_EM_TRAD_PKWARE}}) {
    const std::string path = folder + name;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    if (zip == nullptr) continue;
    const zip_int64_t index =
        zip_file_add(zip, C::LastGameName(kStem).c_str(), zip_source_buffer(zip, game.data(), game.size(), 0), 0);
    if (method != ZIP_EM_NONE) zip_file_set_encryption(zip, static_cast<zip_uint64_t>(index), method, C::kArchivePassword);
    if (zip_close(zip) == 0) Seed("archive", name, testsupport::ReadFile(path));
  }
  // A stored name that climbs out of the folder: the same archive with the
  // name's first bytes changed (the checksums cover the data only).
  std::string climbing = testsupport::ReadFile(folder + "two.zip");
  for (size_t at = 0; (at = climbing.find(kStem, at)) != std::string::npos; at += kStem.size())
    climbing.replace(at, 3, "../");
  Seed("archive", "climbing.zip", climbing);

  const std::pair<const char*, std::vector<std::string>> games[] = {
      {"start.chi", {}}, {"one.chi", {"e2e4"}}, {"three.chi", {"e2e4", "e7e5", "g1f3"}}};
  for (const auto& [name, moves] : games) Seed("new_move", name, B::FormatGameFile(Play(moves, "")));
  Seed("new_move", "first-line.txt", "\"7\"\r\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
    return 2;
  }
  gOut = fs::absolute(argv[1]);
  fuzzkit::StartQt();
  fuzzkit::Sandbox::Get();
  GameSeeds();
  LanguageSeeds();
  SettingsSeeds();
  TransferSeeds();
  ExchangeSeeds();
  return 0;
}
