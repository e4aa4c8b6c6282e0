#pragma once
// The program folder ("App.Path"): the folder of the executable, without a
// trailing separator. Tests point it at a private copy of the staged tree.
#include <string>

namespace platform {

std::string AppPath();
void SetAppPath(const std::string& path);  // empty: back to the executable's folder

// A bare file name: not empty, not "." or "..", no folder separator of
// either kind and no control character. A name from outside (a server's
// listing, a stored profile) must be one before it becomes part of a path.
bool IsPlainFileName(const std::string& name);

// The platform's path separator as a one-character string.
inline constexpr char kSep = '/';

}  // namespace platform
