#pragma once
// Shared ground of the fuzz targets: a private program tree fenced in a
// folder of its own (so a write that escapes the program's folders shows),
// the Qt application the window targets need, and the property check that
// turns a broken property into a crash the fuzzer records.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace app {
class fMainForm;
}

namespace fuzzkit {

// Stops the run with the property's name when it does not hold.
void Check(bool holds, const char* property);

// The input's bytes as text.
inline std::string Bytes(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// Splits at every form feed: targets that read several files take them from
// one input this way.
std::vector<std::string> Parts(const std::string& bytes, size_t count);

// Whether the program reads the text as a number of 32 bits (a colour, a
// count): otherwise it logs a type mismatch or an overflow.
bool ReadsAsNumber(const std::string& text);

// Creates (once) the application object, offscreen unless told otherwise; it
// lives until the process ends.
void StartQt();

// The real main window (user FUZZ, message boxes answered by a script),
// made once with Qt and the sandbox; it lives for the whole run.
app::fMainForm& MainWindow();

// A copy of the staged program tree inside a fence folder, made once per
// process; the current folder is the tree's temp folder. Every entry of the
// fence and of the tree's root is remembered, so that AssertNothingEscaped
// finds anything written beside the program's folders.
class Sandbox {
 public:
  static Sandbox& Get();
  std::string root() const;
  std::string configRoot() const;  // per-user settings
  std::string machineRoot() const;  // machine-wide values
  // The fence and the tree's root hold exactly what they held at the start.
  void AssertNothingEscaped() const;

 private:
  Sandbox();
};

}  // namespace fuzzkit
