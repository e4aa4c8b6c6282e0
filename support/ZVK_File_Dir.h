#pragma once
// Path and file helpers used throughout the program. Paths are plain text
// with the platform's separator; the text rules (fixing, parsing, the folder
// chain) take the separator as a parameter so that they behave the same for
// "\" and "/". No helper throws: failures are logged and the result keeps
// its default (false or the empty text).
// Qt-free header.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/AppPath.h"

namespace ZVK_File_Dir {

bool DirExists(const std::string& path);

// Trims blanks from both ends of the caller's text in place, then answers for
// the trimmed path. "*" and "?" in the last part match as in a listing.
bool FileExists(std::string& path);
bool FileExists(const std::string& path);

// Writes text and CR LF, creating the folder chain first; append false
// replaces the file.
void WriteFile(const std::string& file, const std::string& text, bool append);

// Appends the separator unless the path already ends with it ("" gives the separator).
std::string sFixDirString(const std::string& path, char sep = platform::kSep);
// The part after the last separator, then after the last "/".
std::string sParseFile(const std::string& path, char sep = platform::kSep);
// The folder part: shorter than 4 characters gives sFixDirString(path);
// otherwise the text before the last separator ("" when there is none).
std::string sParsePath(const std::string& path, char sep = platform::kSep);

// The folders CreateDirectoryStruct walks for a path, outermost first, never
// the drive, the root, or a network name's server and share.
std::vector<std::string> DirectoryChain(const std::string& path, char sep = platform::kSep);
void CreateDirectoryStruct(const std::string& path);

// Deletes the files matching pattern dated on or before today minus days;
// a pattern ending in "*.*" deletes nothing.
void DeleteFiles(const std::string& pattern, int32_t days);

// Blanks (spaces) trimmed from both ends; tabs are text.
std::string Trim(const std::string& text);

}  // namespace ZVK_File_Dir
