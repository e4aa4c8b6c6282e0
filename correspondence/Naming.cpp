#include "correspondence/Naming.h"

#include <algorithm>
#include <cstdio>

#include "platform/AppPath.h"
#include "support/ZVK_File_Dir.h"

namespace correspondence {

namespace {

bool IsDigits(const std::string& text, size_t length) {
  return text.size() == length && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Folder(const std::string& parent, const char* name) {
  return ZVK_File_Dir::sFixDirString(parent + name);
}

}  // namespace

std::string InternetGameId(const std::string& machineId, const QDateTime& when) {
  return machineId + when.toString(QStringLiteral("yyMMddHHmm")).toStdString();
}

std::string ExchangeStem(const std::string& gameId) { return gameId + "0000"; }

bool IsMachineId(const std::string& text) { return IsDigits(text, 9); }
bool IsInternetGameId(const std::string& text) { return IsDigits(text, kGameIdLength); }
bool IsExchangeStem(const std::string& text) { return IsDigits(text, kStemLength); }

std::string GameIdOfStem(const std::string& stem) { return stem.substr(0, kGameIdLength); }

std::string OfferInfoName(const std::string& stem) { return stem + "n.txt"; }
std::string OfferArchiveName(const std::string& stem) { return stem + "n.zip"; }
std::string JoinInfoName(const std::string& stem) { return stem + "j.txt"; }
std::string JoinArchiveName(const std::string& stem) { return stem + "j.zip"; }
std::string LastGameName(const std::string& stem) { return stem + "g.chi"; }
std::string ReceivedGameName(const std::string& stem) { return stem + "r.chi"; }
std::string ExchangeArchiveName(const std::string& stem) { return stem + "g.zip"; }
std::string ClosedInfoName(const std::string& stem) { return stem + "c.txt"; }
std::string ClosedArchiveName(const std::string& stem) { return stem + "c.zip"; }
std::string UnsentMoveName(const std::string& stem) { return stem + "u.txt"; }

std::string LocalCopyName(const std::string& gameId) { return gameId + "g.chs"; }

std::string MoveNoteName(const std::string& gameId, int32_t moveNumber) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04d", static_cast<int>(moveNumber));
  return gameId + digits + "m.txt";
}

std::string ConnectionTestName(const std::string& machineId) { return machineId + ".tst"; }

std::string InternetGameDir() { return Folder(ZVK_File_Dir::sFixDirString(platform::AppPath()), "InternetGame"); }
std::string TempDir() { return Folder(InternetGameDir(), "temp"); }
std::string OfferedDir() { return Folder(InternetGameDir(), "offered"); }
std::string JoinedDir() { return Folder(InternetGameDir(), "joined"); }
std::string ClosedDir() { return Folder(InternetGameDir(), "closed"); }

std::string AnimationDir() {
  const std::string sep(1, platform::kSep);
  return ZVK_File_Dir::sFixDirString(platform::AppPath()) + ".." + sep + "Common" + sep + "avi" + sep;
}

}  // namespace correspondence
