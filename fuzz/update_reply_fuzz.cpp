// The update check's reply: the version it finds is text of the reply, and
// comparing a published version with itself never offers an update.
#include <algorithm>
#include <climits>

#include "fuzz/FuzzKit.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_Internet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ZVK_Internet;
  const std::string reply = fuzzkit::Bytes(data, size);
  std::string published;
  if (!FindPublishedVersion(reply, published)) return 0;
  fuzzkit::Check(reply.find(published) != std::string::npos, "the version found is text of the reply");
  try {
    CompareVersion(3, 9, 2, published);
  } catch (const ZVK_ErrorLog::RuntimeError&) {
    // Refused: fewer than two points, or a part that is no number.
    const auto isNumber = [](const std::string& part) {
      try {
        VersionPartNumber(part);
        return true;
      } catch (const ZVK_ErrorLog::RuntimeError&) {
        return false;
      }
    };
    fuzzkit::Check(std::count(published.begin(), published.end(), '.') < 2 || !isNumber(gNewMajor) ||
                       !isNumber(gNewMinor) || !isNumber(gNewRevision),
                   "only a version without two points or with a part that is no number is refused");
    return 0;
  }
  fuzzkit::Check(gNewMajor + "." + gNewMinor + "." + gNewRevision == published, "the three parts make the version");
  const long long major = VersionPartNumber(gNewMajor), minor = VersionPartNumber(gNewMinor),
                  revision = VersionPartNumber(gNewRevision);
  auto fits = [](long long v) { return v >= INT_MIN && v <= INT_MAX; };
  if (fits(major) && fits(minor) && fits(revision)) {
    fuzzkit::Check(CompareVersion(static_cast<int>(major), static_cast<int>(minor), static_cast<int>(revision),
                                  published) == VersionVerdict::UpToDate,
                   "a version is never newer than itself");
  }
  return 0;
}
