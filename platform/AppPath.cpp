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

}  // namespace platform
