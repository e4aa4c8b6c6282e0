#pragma once
// Identity strings set once at start-up and read everywhere (settings paths,
// the error log, correspondence file names).
#include <string>

namespace ZVK_Identity {

inline std::string gAppName = "Castellan";  // the product name
inline std::string gProductNumber = "1066";  // the product's fixed identifier
inline std::string gUserName;      // upper-case user name ("ADMIN" when there is none)
inline std::string gCompanyName;   // upper-case organisation ("NONE" when there is none)
inline std::string gMachineID;     // nine digits, stable per machine

}  // namespace ZVK_Identity
