#pragma once
// Packing and unpacking of the exchanged archives: one file per archive,
// deflated at level 9 and protected with the shared password. Failures are
// written to the error log and answered with false; an unpack that fails
// leaves no extracted file behind, so a caller that looks for the file
// afterwards finds it missing.
#include <string>

namespace correspondence {

// Packs filePath as the only entry (under its bare name) of a new archive
// zipPath; an archive already there is replaced only when the new one is
// complete.
bool PackSingleFile(const std::string& filePath, const std::string& zipPath);

// Writes the archive's first entry into dir under newName.
bool UnpackFirstEntry(const std::string& zipPath, const std::string& dir, const std::string& newName);

// Writes every entry into dir under its own name; an archive with any entry
// that may not be written writes none.
bool UnpackAll(const std::string& zipPath, const std::string& dir);

// Writes only the entry stored as name into dir under that name: for a
// caller that knows which file the archive must hold (an offer or join file),
// so that nothing else a partner put into the archive lands in dir.
bool UnpackNamedEntry(const std::string& zipPath, const std::string& dir, const std::string& name);

}  // namespace correspondence
