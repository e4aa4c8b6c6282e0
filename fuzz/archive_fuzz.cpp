// Extraction of an exchanged archive that came from another PC: the input is
// the archive, unpacked the three ways the program unpacks (the first entry
// under a name of ours, one named entry, every entry) into a folder of the
// program tree. Nothing appears, goes or changes anywhere but in that folder,
// a refused unpack leaves the folder empty, a file written is never larger
// than a game file may be, and only plain names are written.
#include <algorithm>
#include <filesystem>

#include "board/GameFile.h"
#include "correspondence/Packing.h"
#include "fuzz/FuzzKit.h"
#include "fuzz/TreeSnapshot.h"
#include "platform/AppPath.h"
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

// Every file in the target is one the unpack may write, of at most a game
// file's size.
void CheckWritten(bool unpacked, const std::vector<std::string>& allowed) {
  const std::vector<std::string> names = fuzzkit::FileNames(Root() / kTarget);
  if (!unpacked) {
    fuzzkit::Check(names.empty(), "a refused unpack leaves no file");
    return;
  }
  fuzzkit::Check(!names.empty(), "an unpack that succeeds writes a file");
  for (const std::string& name : names) {
    fuzzkit::Check(platform::IsPlainFileName(name), "only plain names are written");
    fuzzkit::Check(allowed.empty() || std::find(allowed.begin(), allowed.end(), name) != allowed.end(),
                   "only the name asked for is written");
    const fs::path file = Root() / kTarget / name;
    fuzzkit::Check(fs::is_regular_file(file), "only files are written");
    fuzzkit::Check(fs::file_size(file) <= static_cast<uintmax_t>(ZVK_Board_Sub::kMaxGameFileBytes),
                   "no file written is larger than a game file");
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
  const auto unpack = [&](const std::vector<std::string>& allowed, auto&& call) {
    fuzzkit::ClearFolder(target);
    // The log stays (emptied, so it never grows); its entries are expected.
    testsupport::WriteFile((Root() / kErrorLog).string(), "");
    const fuzzkit::TreeSnapshot before(Root(), {kTarget, kErrorLog});
    const bool unpacked = call();
    fuzzkit::Check(fuzzkit::TreeSnapshot(Root(), {kTarget, kErrorLog}) == before,
                   "nothing changes outside the target folder");
    fuzzkit::Sandbox::Get().AssertNothingEscaped();
    CheckWritten(unpacked, allowed);
  };
  unpack({kReceivedName}, [&] { return C::UnpackFirstEntry(zip, target, kReceivedName); });
  unpack({kOfferInfoName}, [&] { return C::UnpackNamedEntry(zip, target, kOfferInfoName); });
  unpack({}, [&] { return C::UnpackAll(zip, target); });
  fuzzkit::ClearFolder(target);
  return 0;
}
