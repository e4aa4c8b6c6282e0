// The language file: a file that is refused leaves the texts in use as they
// were; an accepted one gives texts that, written back in the file's own
// form, read back the same.
#include <cstdio>
#include <filesystem>

#include "fuzz/FuzzKit.h"
#include "support/ZVK_Language.h"
#include "tests/main/TestSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzkit::Sandbox::Get();
  std::filesystem::create_directories(ZVK_Language::LanguageDir());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes = fuzzkit::Bytes(data, size);
  testsupport::WriteFile(ZVK_Language::LanguageDir() + "fuzzed.lng", bytes);
  const std::vector<std::string> before = {"", "kept"};
  ZVK_Language::gLangText = before;
  const bool accepted = ZVK_Language::set_language("fuzzed.lng");
  if (!accepted) {
    fuzzkit::Check(ZVK_Language::gLangText == before, "a refused language file changes no text");
  } else {
    std::string again;
    char number[32];
    for (size_t n = 0; n < ZVK_Language::gLangText.size(); ++n) {
      if (ZVK_Language::gLangText[n].empty()) continue;
      std::snprintf(number, sizeof number, "T%04zu\t", n);
      again += number + ZVK_Language::gLangText[n] + "\r\n";
    }
    std::vector<std::string> table;
    fuzzkit::Check(ZVK_Language::ParseLanguageText(again, table), "written texts are accepted");
    table.resize(ZVK_Language::gLangText.size());
    fuzzkit::Check(table == ZVK_Language::gLangText, "write then read gives the same texts");
  }
  fuzzkit::Sandbox::Get().AssertNothingEscaped();
  return 0;
}
