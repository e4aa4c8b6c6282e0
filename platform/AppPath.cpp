#include "platform/AppPath.h"

#include <QCoreApplication>

namespace platform {
namespace {
std::string gOverride;
}

std::string AppPath() {
  if (!gOverride.empty()) return gOverride;
  if (QCoreApplication::instance() != nullptr)
    return QCoreApplication::applicationDirPath().toStdString();
  return ".";
}

void SetAppPath(const std::string& path) {
  gOverride = path;
  while (gOverride.size() > 1 && gOverride.back() == kSep) gOverride.pop_back();
}

bool IsPlainFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (const unsigned char c : name)
    if (c < 0x20 || c == 0x7f || c == '/' || c == '\\') return false;
  return true;
}

}  // namespace platform
