// The small text files a correspondence partner sends (offer, join, move
// note, given-up game, connection test) and a server folder's listing, each
// reader over the same input. A value is bounded plain text taken from its
// own line, lines past the format's own never reach a value, a listing names
// exchanged files only, and what the writers write from read values reads
// back the same.
#include <filesystem>

#include "correspondence/ExchangeFiles.h"
#include "correspondence/Naming.h"
#include "fuzz/FuzzKit.h"
#include "platform/RichText.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;
using namespace correspondence;

namespace {

// A value as the code page the files are written in holds it: what a read
// value reads back as once written.
std::string Held(const std::string& value) { return platform::WellFormedUtf8(platform::ToCodePage(value)); }

// Lines as a line-input statement counts them: CR LF, LF or CR ends one.
size_t LineCount(const std::string& bytes) {
  size_t count = 0;
  for (size_t i = 0; i < bytes.size();) {
    const size_t end = bytes.find_first_of("\r\n", i);
    ++count;
    if (end == std::string::npos) break;
    i = end + 1;
    if (bytes[end] == '\r' && i < bytes.size() && bytes[i] == '\n') ++i;
  }
  return count;
}

bool IsPlainValue(const std::string& value) {
  if (value.size() > kMaxValueLength) return false;
  for (const char c : value) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return false;
  }
  return true;
}

void CheckValues(std::initializer_list<const std::string*> values) {
  for (const std::string* v : values) fuzzkit::Check(IsPlainValue(*v), "a value is bounded text without control characters");
}

// Later lines never change a value already read: the same input followed by
// lines of its own kind reads the same for every line the input holds.
const std::string kMoreLines = "\r\n09.12.2026\r\n123456789\r\nmore\r\nlines\r\nthan\r\nany\r\nformat\r\nholds\r\n!\r\n";

std::string Scratch(const char* name) { return fuzzkit::Sandbox::Get().root() + "/temp/" + name; }

void Fresh(const std::string& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

void CheckOffer(const std::string& bytes, size_t lines) {
  const OfferInfo info = ParseOfferInfo(bytes);
  const std::string* values[] = {&info.date,     &info.gameId, &info.nickname, &info.country,    &info.language,
                                 &info.colour,   &info.gender, &info.age,      &info.openingMove};
  const OfferInfo longer = ParseOfferInfo(bytes + kMoreLines);
  const std::string* longerValues[] = {&longer.date,   &longer.gameId, &longer.nickname,
                                       &longer.country, &longer.language, &longer.colour,
                                       &longer.gender, &longer.age,    &longer.openingMove};
  for (size_t i = 0; i < 9; ++i) {
    fuzzkit::Check(IsPlainValue(*values[i]), "an offer value is bounded text without control characters");
    if (i >= lines) fuzzkit::Check(values[i]->empty(), "an offer value the input lacks is empty");
    else fuzzkit::Check(*values[i] == *longerValues[i], "lines after the offer's own change no offer value");
  }
  const std::string path = Scratch("offer.txt");
  WriteOfferInfoFile(path, info);
  AppendOfferOpeningMove(path, info.openingMove);
  fuzzkit::Check(LineCount(testsupport::ReadFile(path)) == 9, "an offer is written as nine lines");
  OfferInfo back = ReadOfferInfoFile(path);
  back.date = info.date;  // stamped by the writer
  fuzzkit::Check(back.gameId == Held(info.gameId) && back.nickname == Held(info.nickname) &&
                     back.country == Held(info.country) && back.language == Held(info.language) &&
                     back.colour == Held(info.colour) && back.gender == Held(info.gender) &&
                     back.age == Held(info.age) && back.openingMove == Held(info.openingMove),
                 "an offer written from read values reads back as the code page holds it");
}

void CheckJoin(const std::string& bytes, size_t lines) {
  const JoinInfo info = ParseJoinInfo(bytes);
  const JoinInfo longer = ParseJoinInfo(bytes + kMoreLines);
  const std::string* values[] = {&info.date,     &info.machineId, &info.nickname, &info.country,
                                 &info.language, &info.offererColour, &info.gender, &info.age};
  const std::string* longerValues[] = {&longer.date,     &longer.machineId,     &longer.nickname, &longer.country,
                                       &longer.language, &longer.offererColour, &longer.gender,   &longer.age};
  for (size_t i = 0; i < 8; ++i) {
    fuzzkit::Check(IsPlainValue(*values[i]), "a join value is bounded text without control characters");
    if (i >= lines) fuzzkit::Check(values[i]->empty(), "a join value the input lacks is empty");
    else fuzzkit::Check(*values[i] == *longerValues[i], "lines after the join's own change no join value");
  }
  const std::string path = Scratch("join.txt");
  Fresh(path);  // the writer appends
  WriteJoinInfoFile(path, info);
  fuzzkit::Check(LineCount(testsupport::ReadFile(path)) == 8, "a join is written as eight lines");
  JoinInfo back = ReadJoinInfoFile(path);
  fuzzkit::Check(back.machineId == Held(info.machineId) && back.nickname == Held(info.nickname) &&
                     back.country == Held(info.country) && back.language == Held(info.language) &&
                     back.offererColour == Held(info.offererColour) &&
                     back.gender == Held(info.gender) && back.age == Held(info.age),
                 "a join written from read values reads back as the code page holds it");
  // Joining again appends: the first join still reads first.
  WriteJoinInfoFile(path, longer);
  back = ReadJoinInfoFile(path);
  fuzzkit::Check(back.machineId == Held(info.machineId) && back.age == Held(info.age),
                 "a second join leaves the first ahead");
}

void CheckClosed(const std::string& bytes, size_t lines) {
  const ClosedGame closed = ParseClosedGame(bytes);
  const ClosedGame longer = ParseClosedGame(bytes + kMoreLines);
  const std::string* values[] = {&closed.date, &closed.machineId, &closed.nickname};
  const std::string* longerValues[] = {&longer.date, &longer.machineId, &longer.nickname};
  for (size_t i = 0; i < 3; ++i) {
    fuzzkit::Check(IsPlainValue(*values[i]), "a given-up game's value is bounded text without control characters");
    if (i >= lines) fuzzkit::Check(values[i]->empty(), "a given-up game's value the input lacks is empty");
    else fuzzkit::Check(*values[i] == *longerValues[i], "later lines change no given-up game's value");
  }
  const std::string path = Scratch("closed.txt");
  Fresh(path);
  WriteClosedGameFile(path, closed);
  const ClosedGame back = ReadClosedGameFile(path);
  fuzzkit::Check(back.machineId == Held(closed.machineId) && back.nickname == Held(closed.nickname),
                 "a given-up game written from read values reads back as the code page holds it");
}

void CheckMoveNote(const std::string& bytes, size_t lines) {
  const MoveNote note = ParseMoveNote(bytes);
  CheckValues({&note.date, &note.machineId, &note.recordLine});
  // The comment keeps its line breaks; each of its lines is a value.
  size_t commentLines = 0;
  for (size_t start = 0;; ++commentLines) {
    const size_t end = note.comment.find("\r\n", start);
    const std::string line = note.comment.substr(start, end == std::string::npos ? std::string::npos : end - start);
    fuzzkit::Check(IsPlainValue(line), "a comment line is bounded text without control characters");
    if (end == std::string::npos) break;
    start = end + 2;
  }
  fuzzkit::Check(lines <= 3 || commentLines + 1 <= lines - 3, "the comment holds only the lines between the others");
  fuzzkit::Check(lines >= 4 || note.recordLine.empty(), "a note of three lines or fewer has no record line");
  const MoveNote longer = ParseMoveNote(bytes + kMoreLines);
  fuzzkit::Check((lines < 1 || longer.date == note.date) && (lines < 2 || longer.machineId == note.machineId),
                 "later lines change neither date nor machine number");
  const std::string path = Scratch("note.txt");
  WriteMoveNoteFile(path, note);
  const MoveNote back = ReadMoveNoteFile(path);
  fuzzkit::Check(back.machineId == Held(note.machineId) && back.comment == Held(note.comment) &&
                     back.recordLine == Held(note.recordLine),
                 "a move note written from read values reads back as the code page holds it");
}

void CheckListing(const std::string& bytes, size_t lines) {
  const std::vector<std::string> names = ParseGameListing(bytes);
  fuzzkit::Check(names.size() <= lines, "a listing names at most one file per line");
  std::string written;
  for (const std::string& name : names) {
    fuzzkit::Check(IsPlainValue(name), "a listed name is bounded text without control characters");
    fuzzkit::Check(name.size() > kStemLength && IsExchangeStem(name.substr(0, kStemLength)),
                   "a listed name is an exchange stem and more");
    fuzzkit::Check(name.find_first_of("\\>") == std::string::npos, "a listed name holds no \\ or >");
    written += name + "\r\n";
  }
  fuzzkit::Check(ParseGameListing(written) == names, "the names listed again read the same");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzkit::StartQt();
  fuzzkit::Sandbox::Get();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes = fuzzkit::Bytes(data, size);
  const size_t lines = LineCount(bytes);
  CheckOffer(bytes, lines);
  CheckJoin(bytes, lines);
  CheckClosed(bytes, lines);
  CheckMoveNote(bytes, lines);
  CheckListing(bytes, lines);
  const std::string test = ParseConnectionTest(bytes);
  CheckValues({&test});
  fuzzkit::Sandbox::Get().AssertNothingEscaped();
  return 0;
}
