#include "correspondence/Packing.h"

#include "board/GameFile.h"
#include "correspondence/Naming.h"
#include "platform/ZipArchive.h"
#include "support/ErrorGuard.h"

namespace correspondence {

namespace {

using ZVK_ErrorLog::RuntimeError;

// Every exchanged file is at most a game file, and nothing larger is read
// back by the game-file loader either.
constexpr uint64_t kMaxEntryBytes = static_cast<uint64_t>(ZVK_Board_Sub::kMaxGameFileBytes);
constexpr int kPackLevel = 9;

[[noreturn]] void Throw(int32_t number, const platform::ZipArchive& archive) {
  throw RuntimeError(number, archive.LastError());
}

// Opens the archive with the shared password and runs extract on it.
template <class F>
bool Unpack(const char* place, const std::string& zipPath, F&& extract) {
  return Guarded(place, [&] {
    platform::ZipArchive archive;
    archive.SetPassword(kArchivePassword);
    if (!archive.Open(zipPath)) Throw(ZVK_ErrorLog::kErrFileNotFound, archive);
    if (!extract(archive)) Throw(ZVK_ErrorLog::kErrPathAccess, archive);
    archive.Close();
  });
}

}  // namespace

bool PackSingleFile(const std::string& filePath, const std::string& zipPath) {
  return Guarded("PackSingleFile of Modul Correspondence", [&] {
    platform::ZipArchive archive;
    archive.SetPassword(kArchivePassword);
    if (!archive.Create(zipPath)) Throw(ZVK_ErrorLog::kErrPathAccess, archive);
    if (!archive.AddFile(filePath, kPackLevel)) Throw(ZVK_ErrorLog::kErrFileNotFound, archive);
    if (!archive.Close()) Throw(ZVK_ErrorLog::kErrPathAccess, archive);
  });
}

bool UnpackFirstEntry(const std::string& zipPath, const std::string& dir, const std::string& newName) {
  return Unpack("UnpackFirstEntry of Modul Correspondence", zipPath, [&](platform::ZipArchive& archive) {
    return archive.ExtractEntry(0, dir, newName, kMaxEntryBytes);
  });
}

bool UnpackAll(const std::string& zipPath, const std::string& dir) {
  return Unpack("UnpackAll of Modul Correspondence", zipPath, [&](platform::ZipArchive& archive) {
    return archive.ExtractAll(dir, kMaxEntryBytes);
  });
}

bool UnpackNamedEntry(const std::string& zipPath, const std::string& dir, const std::string& name) {
  return Unpack("UnpackNamedEntry of Modul Correspondence", zipPath, [&](platform::ZipArchive& archive) {
    return archive.ExtractNamedEntry(name, dir, kMaxEntryBytes);
  });
}

}  // namespace correspondence
