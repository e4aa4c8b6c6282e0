// The two small files of a correspondence partner that the program reads: an
// offer's information file and a server folder's listing. A plain line
// (printable ASCII within the value length) is read as itself into the field
// its position names; a listing names every plain exchange name it holds, in
// order; the file reader reads what the text reader reads; and an offer
// written from read values reads back as the code page holds it.
#include <filesystem>

#include "correspondence/ExchangeFiles.h"
#include "correspondence/Naming.h"
#include "fuzz/FuzzKit.h"
#include "platform/RichText.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;
using namespace correspondence;

namespace {

// Lines as a line-input statement reads them: CR LF, LF or CR ends one.
std::vector<std::string> InputLines(const std::string& bytes) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < bytes.size();) {
    const size_t end = bytes.find_first_of("\r\n", i);
    lines.push_back(bytes.substr(i, end == std::string::npos ? std::string::npos : end - i));
    if (end == std::string::npos) break;
    i = end + 1;
    if (bytes[end] == '\r' && i < bytes.size() && bytes[i] == '\n') ++i;
  }
  return lines;
}

// A value as the code page the files are written in holds it: what a read
// value reads back as once written.
std::string Held(const std::string& value) { return platform::WellFormedUtf8(platform::ToCodePage(value)); }

// A line any sound reader takes over unchanged.
bool IsPlainLine(const std::string& line) {
  if (line.size() > kMaxValueLength) return false;
  for (const char c : line)
    if (c < 0x20 || c > 0x7E) return false;
  return true;
}

std::string Scratch(const char* name) { return fuzzkit::Sandbox::Get().root() + "/temp/" + name; }

bool SameOffer(const OfferInfo& a, const OfferInfo& b) {
  return a.gameId == b.gameId && a.nickname == b.nickname && a.country == b.country && a.language == b.language &&
         a.colour == b.colour && a.gender == b.gender && a.age == b.age && a.openingMove == b.openingMove;
}

void CheckOffer(const std::string& bytes, const std::vector<std::string>& lines) {
  const OfferInfo info = ParseOfferInfo(bytes);
  const std::string* values[] = {&info.date,     &info.gameId, &info.nickname, &info.country,    &info.language,
                                 &info.colour,   &info.gender, &info.age,      &info.openingMove};
  for (size_t i = 0; i < 9; ++i) {
    if (i >= lines.size()) fuzzkit::Check(values[i]->empty(), "an offer value the input lacks is empty");
    else if (IsPlainLine(lines[i])) fuzzkit::Check(*values[i] == lines[i], "a plain offer line is its field's value");
  }
  const std::string path = Scratch("offer.txt");
  testsupport::WriteFile(path, bytes);
  const OfferInfo fromFile = ReadOfferInfoFile(path);
  fuzzkit::Check(fromFile.date == info.date && SameOffer(fromFile, info), "the offer file reads as its text");
  WriteOfferInfoFile(path, info);
  AppendOfferOpeningMove(path, info.openingMove);
  fuzzkit::Check(InputLines(testsupport::ReadFile(path)).size() == 9, "an offer is written as nine lines");
  OfferInfo held = info;
  for (std::string* value : {&held.gameId, &held.nickname, &held.country, &held.language, &held.colour, &held.gender,
                             &held.age, &held.openingMove})
    *value = Held(*value);
  fuzzkit::Check(SameOffer(ReadOfferInfoFile(path), held),
                 "an offer written from read values reads back as the code page holds it");
}

void CheckListing(const std::string& bytes, const std::vector<std::string>& lines) {
  const std::vector<std::string> names = ParseGameListing(bytes);
  fuzzkit::Check(names.size() <= lines.size(), "a listing names at most one file per line");
  // Every plain exchange name among the lines is listed, in the listing's order.
  size_t next = 0;
  for (const std::string& line : lines) {
    if (!IsPlainLine(line) || line.find_first_of("\\>") != std::string::npos || line.size() <= kStemLength ||
        line.front() == ' ' || line.back() == ' ' || !IsExchangeStem(line.substr(0, kStemLength)))
      continue;
    while (next < names.size() && names[next] != line) ++next;
    fuzzkit::Check(next < names.size(), "every plain exchange name of a listing is listed, in order");
    ++next;
  }
  for (const std::string& name : names)
    fuzzkit::Check(name.size() > kStemLength && IsExchangeStem(name.substr(0, kStemLength)),
                   "a listed name is an exchange stem and more");
  const std::string path = Scratch("listing.txt");
  testsupport::WriteFile(path, bytes);
  fuzzkit::Check(ReadGameListingFile(path) == names, "the listing file reads as its text");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzkit::StartQt();
  fuzzkit::Sandbox::Get();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes = fuzzkit::Bytes(data, size);
  const std::vector<std::string> lines = InputLines(bytes);
  CheckOffer(bytes, lines);
  CheckListing(bytes, lines);
  fuzzkit::Sandbox::Get().AssertNothingEscaped();
  return 0;
}
