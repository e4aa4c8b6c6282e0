#pragma once
// The program's own version (major.minor.revision), as the error log, the
// splash, the about box and the update check show and compare it.
// Qt-free header.
#include <string>

namespace ZVK_Version {

struct ProgramVersion {
  int major = 0;
  int minor = 0;
  int revision = 0;
};

ProgramVersion Version();

// "3.9.2": plain decimals, no leading zeros.
std::string VersionText();

}  // namespace ZVK_Version
