#include "support/ZVK_Version.h"

namespace ZVK_Version {

ProgramVersion Version() {
  return {CASTELLAN_VERSION_MAJOR, CASTELLAN_VERSION_MINOR, CASTELLAN_VERSION_REVISION};
}

std::string VersionText() {
  const ProgramVersion v = Version();
  return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.revision);
}

}  // namespace ZVK_Version
