#include "correspondence/ExchangeFiles.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <fstream>

#include "correspondence/Naming.h"
#include "platform/RichText.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_File_Dir.h"
#include "support/ZVK_Time.h"

namespace correspondence {

namespace {

// Our own files are a few hundred bytes; a listing names one file per line
// and stays far below this even for a busy account.
constexpr size_t kMaxInfoFileBytes = 64 * 1024;
constexpr size_t kMaxListingBytes = 8 * 1024 * 1024;

std::string ReadBytes(const std::string& path, size_t limit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "";
  std::string bytes(limit, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(limit));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

// Lines as a line-input statement sees them: CR LF, LF or CR ends a line.
std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return lines;
}

bool IsControl(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u < 0x20 || u == 0x7F;
}

// A value of another PC's file as plain text of bounded length. The files
// are in the code page; UTF-8 that earlier versions wrote reads as it was.
std::string CleanValue(const std::string& line) {
  std::string value;
  for (const char c : platform::WellFormedUtf8(line)) {
    if (!IsControl(c)) value += c;
  }
  if (value.size() > kMaxValueLength) {
    size_t cut = kMaxValueLength;
    // Back off over UTF-8 continuation bytes so no character is split.
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
    value.resize(cut);
  }
  return value;
}

// A value written as exactly one line in the code page the partner's
// program reads: line breaks inside become blanks, those at the end (a
// record line ends with one) are dropped.
std::string OneLine(std::string text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return platform::ToCodePage(text);
}

template <class Record, size_t N>
using Fields = std::array<std::string Record::*, N>;

// Writes one field per line. The first line replaces the file unless every
// line is appended.
template <class Record, size_t N>
void WriteRecord(const std::string& path, Record record, const Fields<Record, N>& fields, bool appendAll) {
  record.date = ZVK_Time::DateText();
  bool append = appendAll;
  for (const auto field : fields) {
    ZVK_File_Dir::WriteFile(path, OneLine(record.*field), append);
    append = true;
  }
}

template <class Record, size_t N>
Record ParseRecord(const std::string& bytes, const Fields<Record, N>& fields) {
  const std::vector<std::string> lines = SplitLines(bytes.substr(0, kMaxInfoFileBytes));
  Record record;
  for (size_t i = 0; i < N && i < lines.size(); ++i) record.*fields[i] = CleanValue(lines[i]);
  return record;
}

const Fields<OfferInfo, 9> kOfferFields = {&OfferInfo::date,    &OfferInfo::gameId, &OfferInfo::nickname,
                                           &OfferInfo::country, &OfferInfo::language, &OfferInfo::colour,
                                           &OfferInfo::gender,  &OfferInfo::age,    &OfferInfo::openingMove};
const Fields<OfferInfo, 8> kOfferFieldsMadeWithTheOffer = {
    &OfferInfo::date,     &OfferInfo::gameId, &OfferInfo::nickname, &OfferInfo::country,
    &OfferInfo::language, &OfferInfo::colour, &OfferInfo::gender,   &OfferInfo::age};
const Fields<JoinInfo, 8> kJoinFields = {&JoinInfo::date,     &JoinInfo::machineId,     &JoinInfo::nickname,
                                         &JoinInfo::country,  &JoinInfo::language,      &JoinInfo::offererColour,
                                         &JoinInfo::gender,   &JoinInfo::age};
const Fields<ClosedGame, 3> kClosedFields = {&ClosedGame::date, &ClosedGame::machineId, &ClosedGame::nickname};

}  // namespace

void WriteOfferInfoFile(const std::string& path, const OfferInfo& info) {
  WriteRecord(path, info, kOfferFieldsMadeWithTheOffer, false);
}

void AppendOfferOpeningMove(const std::string& path, const std::string& recordLine) {
  const std::string line = OneLine(recordLine);
  // Where the lines made with the offer end (npos in a file without all of them).
  const std::string bytes = ReadBytes(path, kMaxInfoFileBytes);
  size_t end = 0;
  for (size_t k = 0; k < kOfferFieldsMadeWithTheOffer.size() && end != std::string::npos; ++k) {
    end = bytes.find("\r\n", end);
    if (end != std::string::npos) end += 2;
  }
  if (end != std::string::npos && end < bytes.size()) {
    // An earlier send of this half-move wrote it already (a send that failed
    // is made again). A send after a restart no longer knows the record line
    // and keeps the one there; otherwise the move sent now replaces it.
    if (line.empty()) return;
    std::error_code ec;
    std::filesystem::resize_file(path, end, ec);
    if (ec) throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrPathAccess, "Path/File access error");
  }
  ZVK_File_Dir::WriteFile(path, line, true);
}

OfferInfo ParseOfferInfo(const std::string& bytes) { return ParseRecord(bytes, kOfferFields); }
OfferInfo ReadOfferInfoFile(const std::string& path) { return ParseOfferInfo(ReadBytes(path, kMaxInfoFileBytes)); }

void WriteJoinInfoFile(const std::string& path, const JoinInfo& info) { WriteRecord(path, info, kJoinFields, true); }

void WriteClosedGameFile(const std::string& path, const ClosedGame& closed) {
  WriteRecord(path, closed, kClosedFields, true);
}

void WriteMoveNoteFile(const std::string& path, const MoveNote& note) {
  ZVK_File_Dir::WriteFile(path, ZVK_Time::DateText(), false);
  ZVK_File_Dir::WriteFile(path, OneLine(note.machineId), true);
  // Line breaks kept: the note is the player's own.
  ZVK_File_Dir::WriteFile(path, platform::ToCodePage(note.comment), true);
  ZVK_File_Dir::WriteFile(path, OneLine(note.recordLine), true);
}

std::vector<std::string> ParseGameListing(const std::string& bytes, const std::function<bool()>& goOn) {
  std::vector<std::string> names;
  const size_t size = std::min(bytes.size(), kMaxListingBytes);
  size_t read = 0;
  // Line by line in place, as SplitLines cuts them: a listing of many
  // thousand names is never copied whole.
  for (size_t start = 0; start < size;) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos || end > size) end = size;
    std::string line;
    for (size_t i = start; i < end; ++i) {
      const char c = bytes[i];
      if (c != '\\' && c != '>' && !IsControl(c)) line += c;  // a backspace is a control character
    }
    start = end + 1;
    if (end < size && bytes[end] == '\r' && start < size && bytes[start] == '\n') ++start;
    // Trimmed again after the cut: a name read back from a list of names
    // must be the same name, never one with a blank at its end.
    line = ZVK_File_Dir::Trim(CleanValue(ZVK_File_Dir::Trim(line)));
    if (line.size() > kStemLength && IsExchangeStem(line.substr(0, kStemLength))) names.push_back(std::move(line));
    if (goOn && ++read % kListingLinesBetweenCalls == 0 && !goOn()) break;
  }
  return names;
}

std::vector<std::string> ReadGameListingFile(const std::string& path, const std::function<bool()>& goOn) {
  return ParseGameListing(ReadBytes(path, kMaxListingBytes), goOn);
}

void WriteConnectionTestFile(const std::string& path) { ZVK_File_Dir::WriteFile(path, ZVK_Time::NowText(), false); }

}  // namespace correspondence
