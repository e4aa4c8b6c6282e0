#pragma once
// The program folder ("App.Path"): the folder of the executable, without a
// trailing separator. Tests point it at a private copy of the staged tree.
#include <string>

namespace platform {

std::string AppPath();
void SetAppPath(const std::string& path);  // empty: back to the executable's folder

// A bare file name: not empty, not "." or "..", no folder separator of
// either kind, no ":", no control character, valid UTF-8, at most 255 bytes. A name from
// outside (a server's listing, an archive entry, a stored profile) must be
// one before it becomes part of a path.
bool IsPlainFileName(const std::string& name);

// The first line of a small settings file beside the program (the FTP host,
// the machine number) that is neither empty nor a comment ("#"), trimmed;
// "" when the file is missing or holds no such line.
std::string FirstSettingLine(const std::string& path);

// The platform's path separator as a one-character string.
inline constexpr char kSep = '/';

}  // namespace platform
