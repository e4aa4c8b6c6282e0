#include "correspondence/NewMove.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "board/GameFile.h"
#include "board/TextNumbers.h"
#include "correspondence/Packing.h"
#include "platform/AppPath.h"
#include "platform/ZipArchive.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_File_Dir.h"

namespace fs = std::filesystem;

namespace correspondence {

namespace {

using ZVK_ErrorLog::RuntimeError;

// The whole first line, however long: a sound game may write its half-move
// number with any number of leading zeros, and the loader reads them all.
// Only a file larger than any game is refused, as the loader refuses it.
std::string FirstLineOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw RuntimeError(ZVK_ErrorLog::kErrFileNotFound, "File not found");
  std::error_code ec;
  const auto size = fs::file_size(fs::path(path), ec);
  if (ec || size > static_cast<uintmax_t>(ZVK_Board_Sub::kMaxGameFileBytes))
    throw RuntimeError(ZVK_ErrorLog::kErrOutOfMemory, "Out of memory");
  std::string line;
  std::getline(in, line);
  return line.substr(0, line.find('\r'));
}

void CheckNames(std::initializer_list<const std::string*> names) {
  for (const std::string* name : names) {
    if (!platform::IsPlainFileName(*name)) throw RuntimeError(ZVK_ErrorLog::kErrInvalidCall, "Bad file name " + *name);
  }
}

void RemoveFile(const std::string& path) {
  std::error_code ec;
  fs::remove(fs::path(path), ec);
}

}  // namespace

double FirstLineValue(const std::string& line) {
  std::string text = line;
  std::erase(text, '"');
  return ZVK_Board_Sub::Val(text);
}

NewMoveCheck CheckForNewMove(const std::string& dir, const std::string& zipName, const std::string& chiG,
                             const std::string& chiR) {
  NewMoveCheck result = NewMoveCheck::Unreadable;
  Guarded("CheckForNewMove of Modul Correspondence", [&] {
    CheckNames({&zipName, &chiG, &chiR});
    RemoveFile(dir + chiR);
    if (!UnpackFirstEntry(dir + zipName, dir, chiR) || !ZVK_File_Dir::FileExists(dir + chiR)) return;
    if (!ZVK_File_Dir::FileExists(dir + chiG)) {
      result = NewMoveCheck::NewMove;  // nothing exchanged yet: any received game is new
      return;
    }
    const double received = FirstLineValue(FirstLineOf(dir + chiR));
    const double last = FirstLineValue(FirstLineOf(dir + chiG));
    result = received > last ? NewMoveCheck::NewMove : NewMoveCheck::NoNewMove;
  });
  return result;
}

bool HasNewMove(const std::string& dir, const std::string& zipName, const std::string& chiG,
                const std::string& chiR) {
  return CheckForNewMove(dir, zipName, chiG, chiR) == NewMoveCheck::NewMove;
}

bool ReceivedGameIsSound(const std::string& path) {
  return Guarded("ReceivedGameIsSound of Modul Correspondence", [&] { (void)ZVK_Board_Sub::ReadGameFile(path); });
}

bool TakeOverReceivedGame(const std::string& dir, const std::string& chiG, const std::string& chiR,
                          const std::string& zipName) {
  bool taken = false;
  Guarded("TakeOverReceivedGame of Modul Correspondence", [&] {
    CheckNames({&zipName, &chiG, &chiR});
    const std::string received = dir + chiR;
    const bool sound = ReceivedGameIsSound(received);
    if (sound) {
      // Through a temporary file: a failed copy must not leave half a game
      // where the last exchanged one was.
      QFile in(QString::fromStdString(received));
      QSaveFile out(QString::fromStdString(dir + chiG));
      out.setDirectWriteFallback(false);
      if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) {
        throw RuntimeError(ZVK_ErrorLog::kErrPathAccess, "Path/File access error");
      }
      const QByteArray bytes = in.readAll();
      if (out.write(bytes) != bytes.size() || !out.commit()) {
        throw RuntimeError(ZVK_ErrorLog::kErrPathAccess, "Path/File access error");
      }
    }
    RemoveFile(dir + zipName);
    RemoveFile(received);
    taken = sound;  // a refused game has been logged by the check
  });
  return taken;
}

}  // namespace correspondence
