#include "platform/AppPath.h"

#include <QCoreApplication>
#include <QString>
#include <fstream>

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
  if (name.empty() || name.size() > 255 || name == "." || name == "..") return false;
  for (const unsigned char c : name)
    if (c < 0x20 || c == 0x7f || c == '/' || c == '\\' || c == ':') return false;
  // Files are made through Qt, which takes names as UTF-8: any other bytes
  // would come out as another name than the one checked here.
  const QByteArray bytes = QByteArray::fromStdString(name);
  return QString::fromUtf8(bytes).toUtf8() == bytes;
}

std::string FirstSettingLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  for (int count = 0; count < 100 && std::getline(in, line); ++count) {
    const auto first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos || line[first] == '#') continue;
    const auto last = line.find_last_not_of(" \t\r\n");
    return line.substr(first, last - first + 1);
  }
  return "";
}

}  // namespace platform
