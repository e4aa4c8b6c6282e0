// Extraction of an exchanged archive that came from another PC: the input is
// the archive, unpacked the three ways the program unpacks (the first entry
// under a name of ours, one named entry, every entry) into a folder of the
// program tree. Nothing appears, goes or changes anywhere but in that folder,
// a refused unpack leaves the folder empty, only the names asked for are
// written, and every file written holds exactly what libzip itself reads from
// the entry it came from (so a reader that mixes up entries, cuts one short or
// writes a half-decrypted one shows).
#include <algorithm>
#include <functional>
#include <filesystem>
#include <optional>

#include <zip.h>

#include "correspondence/Naming.h"
#include "correspondence/Packing.h"
#include "fuzz/FuzzKit.h"
#include "fuzz/TreeSnapshot.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;
namespace C = correspondence;

namespace {

// The name the seed archives store their file under, as an offer archive does.
constexpr const char* kOfferInfoName = "12345678926120714300000n.txt";
constexpr const char* kReceivedName = "12345678926120714300000r.chi";
const char* const kTarget = "Castellan/InternetGame/offered";
const char* const kErrorLog = "Common/error.log";

fs::path Root() { return fuzzkit::Sandbox::Get().root(); }

// The entry's bytes as libzip reads them with the exchange's password: by
// name, or the first entry when name is empty; nothing when it cannot.
std::optional<std::string> EntryBytes(const std::string& zipPath, const std::string& name) {
  zip_t* zip = zip_open(zipPath.c_str(), ZIP_RDONLY, nullptr);
  if (zip == nullptr) return std::nullopt;
  std::optional<std::string> bytes;
  zip_set_default_password(zip, C::kArchivePassword);
  const zip_int64_t index = name.empty() ? 0 : zip_name_locate(zip, name.c_str(), ZIP_FL_ENC_RAW);
  zip_stat_t stat;
  zip_file_t* file = index < 0 || zip_stat_index(zip, static_cast<zip_uint64_t>(index), 0, &stat) != 0
                         ? nullptr
                         : zip_fopen_index(zip, static_cast<zip_uint64_t>(index), 0);
  if (file != nullptr && (stat.valid & ZIP_STAT_SIZE) != 0 && stat.size <= (1u << 24)) {
    std::string data(static_cast<size_t>(stat.size), '\0');
    if (zip_fread(file, data.data(), stat.size) == static_cast<zip_int64_t>(stat.size)) bytes = data;
  }
  if (file != nullptr) zip_fclose(file);
  zip_discard(zip);
  return bytes;
}

// Every file in the target is one the unpack may write, holding what its
// entry holds (entry: the entry a file name came from; "" for the first).
void CheckWritten(const std::string& zip, bool unpacked, const std::vector<std::string>& allowed,
                  const std::function<std::string(const std::string&)>& entry) {
  const std::vector<std::string> names = fuzzkit::FileNames(Root() / kTarget);
  if (!unpacked) {
    fuzzkit::Check(names.empty(), "a refused unpack leaves no file");
    return;
  }
  fuzzkit::Check(!names.empty(), "an unpack that succeeds writes a file");
  for (const std::string& name : names) {
    fuzzkit::Check(allowed.empty() || std::find(allowed.begin(), allowed.end(), name) != allowed.end(),
                   "only the name asked for is written");
    const fs::path file = Root() / kTarget / name;
    fuzzkit::Check(fs::is_regular_file(file), "only files are written");
    const std::optional<std::string> expected = EntryBytes(zip, entry(name));
    fuzzkit::Check(expected.has_value() && *expected == testsupport::ReadFile(file.string()),
                   "what is written is what the archive's entry holds");
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzkit::StartQt();
  fuzzkit::Sandbox::Get();
  fuzzkit::ClearFolder(Root() / kTarget);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string zip = (Root() / "temp" / "received.zip").string();
  testsupport::WriteFile(zip, fuzzkit::Bytes(data, size));
  const std::string target = (Root() / kTarget).string() + "/";
  const auto unpack = [&](const std::vector<std::string>& allowed, auto&& call,
                          const std::function<std::string(const std::string&)>& entry) {
    fuzzkit::ClearFolder(target);
    // The log stays (emptied, so it never grows); its entries are expected.
    testsupport::WriteFile((Root() / kErrorLog).string(), "");
    const fuzzkit::TreeSnapshot before(Root(), {kTarget, kErrorLog});
    const bool unpacked = call();
    fuzzkit::Check(fuzzkit::TreeSnapshot(Root(), {kTarget, kErrorLog}) == before,
                   "nothing changes outside the target folder");
    fuzzkit::Sandbox::Get().AssertNothingEscaped();
    CheckWritten(zip, unpacked, allowed, entry);
  };
  const auto itself = [](const std::string& name) { return name; };
  unpack({kReceivedName}, [&] { return C::UnpackFirstEntry(zip, target, kReceivedName); },
         [](const std::string&) { return std::string(); });
  unpack({kOfferInfoName}, [&] { return C::UnpackNamedEntry(zip, target, kOfferInfoName); }, itself);
  unpack({}, [&] { return C::UnpackAll(zip, target); }, itself);
  fuzzkit::ClearFolder(target);
  return 0;
}
