#pragma once
// The machine-wide value store, addressed like the registry by full paths
// ("HKEY_LOCAL_MACHINE\Software\ZVK\Castellan\JANE\Settings\UseCounter").
// Every key is one INI file below the store's root: the path's levels become
// folders, the last level before the value name the file, the value name the
// entry. Values carry their type: text ("sz:...") or a 32-bit number
// ("dword:..."). A path ending in "\" addresses the key's default value.
//
// Root: $CASTELLAN_MACHINE_DIR when set, otherwise the "registry" folder in
// the Common folder beside the program folder (shared by every user of that
// installed tree). A user who may not write a key's file there (the tree was
// installed by another user) keeps that key in a copy of his own below his
// per-user settings, "registry" in UserSettingsRoot(), and reads the shared
// value until his copy holds one.
// Qt-free header.
#include <cstdint>
#include <string>

namespace platform {

struct RegValue {
  enum class Type { None, String, Dword };
  Type type = Type::None;
  std::string text;
  int32_t number = 0;

  RegValue() = default;
  RegValue(const std::string& s) : type(Type::String), text(s) {}  // NOLINT: implicit like a variant
  RegValue(const char* s) : type(Type::String), text(s) {}         // NOLINT
  RegValue(int32_t n) : type(Type::Dword), number(n) {}             // NOLINT

  bool IsEmpty() const { return type == Type::None; }
  // Text as a reader of text sees it: numbers in decimal.
  std::string AsText() const;
  // Number as a reader of numbers sees it: text by its leading decimal digits, else 0.
  int32_t AsLong() const;
  bool operator==(const RegValue& other) const;
};

enum class RegStatus { Ok, NotFound, AccessDenied, BadPath };

RegStatus RegWrite(const std::string& path, const RegValue& value);
RegStatus RegRead(const std::string& path, RegValue& value);
RegStatus RegDelete(const std::string& path);

std::string MachineStoreRoot();
std::string MachineStoreUserRoot();
// The INI file and entry name a path maps to ("" when the path is unusable).
std::string MachineStoreFile(const std::string& path, std::string* valueName = nullptr);

}  // namespace platform
