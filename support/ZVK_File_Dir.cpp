#include "support/ZVK_File_Dir.h"

#include <fnmatch.h>

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <filesystem>
#include <fstream>

#include "platform/DoEvents.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_ErrorLog.h"

namespace fs = std::filesystem;

namespace ZVK_File_Dir {
namespace {

bool HasWildcard(const std::string& s) { return s.find_first_of("*?") != std::string::npos; }

// Names of the regular files in the pattern's folder that match its last part.
std::vector<std::string> ListMatches(const std::string& pattern) {
  std::vector<std::string> names;
  const size_t cut = pattern.rfind(platform::kSep);
  const std::string folder = cut == std::string::npos ? "." : pattern.substr(0, cut + 1);
  const std::string mask = cut == std::string::npos ? pattern : pattern.substr(cut + 1);
  if (mask.empty()) return names;
  if (!HasWildcard(mask)) {
    std::error_code ec;
    if (fs::is_regular_file(fs::path(pattern), ec)) names.push_back(mask);
    return names;
  }
  std::error_code ec;
  for (fs::directory_iterator it(fs::path(folder), ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code fec;
    if (!it->is_regular_file(fec)) continue;
    const std::string name = it->path().filename().string();
    if (fnmatch(mask.c_str(), name.c_str(), 0) == 0) names.push_back(name);
  }
  return names;
}

void LogWithDetail(const char* place, const std::string& detail) {
  ZVK_ErrorLog::LogCurrentException(place);
  ZVK_ErrorLog::WriteLogLine(detail);
}

}  // namespace

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

bool DirExists(const std::string& path) {
  bool result = false;
  Guarded("DirExists of Modul ZVK_File_Dir", [&] {
    std::error_code ec;
    result = !path.empty() && fs::is_directory(fs::path(path), ec);
  });
  platform::DoEvents();
  return result;
}

bool FileExists(std::string& path) {
  path = Trim(path);
  if (path.empty() || path.back() == platform::kSep) return false;
  bool result = false;
  try {
    result = !ListMatches(path).empty();
  } catch (const fs::filesystem_error&) {
    result = false;  // a bad name is simply not there
  } catch (...) {
    LogWithDetail("FileExists of Modul ZVK_File_Dir", path);
    platform::DoEvents();
  }
  return result;
}

bool FileExists(const std::string& path) {
  std::string copy = path;
  return FileExists(copy);
}

void WriteFile(const std::string& file, const std::string& text, bool append) {
  Guarded("WriteFile of Modul ZVK_File_Dir", [&] {
    CreateDirectoryStruct(sParsePath(file));
    std::ofstream out(file, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    if (!out) throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrPathAccess, "Path/File access error");
    out << text << "\r\n";
    out.close();
    if (!out) throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrPathAccess, "Path/File access error");
    platform::DoEvents();
  });
}

std::string sFixDirString(const std::string& path, char sep) {
  if (!path.empty() && path.back() == sep) return path;
  return path + sep;
}

std::string sParseFile(const std::string& path, char sep) {
  std::string rest = path;
  size_t cut = rest.rfind(sep);
  if (cut != std::string::npos) rest = rest.substr(cut + 1);
  cut = rest.rfind('/');
  if (cut != std::string::npos) rest = rest.substr(cut + 1);
  return rest;
}

std::string sParsePath(const std::string& path, char sep) {
  if (path.size() < 4) return sFixDirString(path, sep);
  const size_t cut = path.rfind(sep);
  if (cut == std::string::npos) return "";
  return path.substr(0, cut);
}

std::vector<std::string> DirectoryChain(const std::string& raw, char sep) {
  std::vector<std::string> folders;
  const std::string path = sFixDirString(raw, sep);
  size_t start;  // zero-based index of the first component to walk
  size_t minLength;  // shorter folders are roots and never created
  const std::string unc(2, sep);
  if (sep == '\\' && path.rfind(unc, 0) == 0) {
    // Skip "\\server\share\": neither can be created.
    const size_t server = path.find(sep, 2);
    const size_t share = server == std::string::npos ? std::string::npos : path.find(sep, server + 1);
    if (share == std::string::npos) return folders;
    start = share + 1;
    minLength = 0;
  } else if (sep == '\\') {
    start = 3;  // after "C:\"
    minLength = 4;
  } else {
    start = path.front() == sep ? 1 : 0;
    minLength = 1;
  }
  if (start >= path.size()) return folders;
  std::string prefix = path.substr(0, start);
  while (prefix != path) {
    const size_t next = path.find(sep, start);
    if (next == std::string::npos) break;
    const std::string component = path.substr(start, next - start);
    start = next + 1;
    const std::string folder = prefix + component;
    if (folder.size() >= minLength && !component.empty()) folders.push_back(folder);
    prefix = path.substr(0, start);
  }
  return folders;
}

void CreateDirectoryStruct(const std::string& path) {
  try {
    if (DirExists(sFixDirString(path))) return;
    for (const std::string& folder : DirectoryChain(path)) {
      if (DirExists(folder)) continue;
      std::error_code ec;
      fs::create_directory(fs::path(folder), ec);
      if (ec) throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrPathAccess, "Path/File access error");
    }
  } catch (...) {
    LogWithDetail("CreateDirectoryStruct of Modul ZVK_File_Dir", path);
    platform::DoEvents();
  }
}

void DeleteFiles(const std::string& pattern, int32_t days) {
  if (pattern.size() >= 3 && pattern.compare(pattern.size() - 3, 3, "*.*") == 0) return;
  try {
    const QDate limit = QDate::currentDate().addDays(-static_cast<qint64>(days));
    for (const std::string& name : ListMatches(pattern)) {
      // A bare name lives in the current folder, not at the root.
      const std::string folder = sParsePath(pattern);
      const std::string full = folder.empty() ? name : sFixDirString(folder) + name;
      const QDate day = QFileInfo(QString::fromStdString(full)).lastModified().date();
      if (day <= limit && FileExists(full)) {
        std::error_code ec;
        fs::remove(fs::path(full), ec);
        if (ec) throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrPathAccess, "Path/File access error");
      }
    }
    platform::DoEvents();
  } catch (...) {
    LogWithDetail("DeleteFiles of Modul ZVK_File_Dir", pattern);
    platform::DoEvents();
  }
}

}  // namespace ZVK_File_Dir
