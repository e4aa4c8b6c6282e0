#pragma once
// The program folder ("App.Path"): the folder of the executable, without a
// trailing separator. Tests point it at a private copy of the staged tree.
#include <string>

namespace platform {

std::string AppPath();
void SetAppPath(const std::string& path);  // empty: back to the executable's folder

// The platform's path separator as a one-character string.
inline constexpr char kSep = '/';

}  // namespace platform
