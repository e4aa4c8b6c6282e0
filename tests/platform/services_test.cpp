#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/AssistantCharacter.h"
#include "platform/MachineStore.h"
#include "platform/WindowHelpers.h"
#include "platform/ZipArchive.h"
#include "tests/main/TestSupport.h"

namespace {

TEST(SpeechTags, TakenOffTheTextAndTurnedIntoArguments) {
  struct Case { std::string text, rest; std::vector<std::string> args; };
  const Case cases[] = {
      {"\\Spd=9999\\\\Pit=1\\fast", "fast", {"-p", "0", "-s", "450", "--stdin"}},
      {"--help \\unknown\\", "--help \\unknown\\", {"--stdin"}},  // text never becomes an option
  };
  for (const auto& c : cases) {
    const platform::SpeechRequest r = platform::ParseSpeechTags(c.text);
    EXPECT_EQ(r.text, c.rest) << c.text;
    EXPECT_EQ(platform::SpeechArguments(r), c.args) << c.text;
  }
}

TEST(MachineStore, PathsMapIntoTheStoreOnly) {
  setenv("CASTELLAN_MACHINE_DIR", "/store", 1);
  struct Case { const char* path; const char* file; const char* entry; };
  const Case cases[] = {
      {"HKEY_LOCAL_MACHINE\\Software\\ZVK\\Castellan\\JD\\Settings\\UseCounter",
       "/store/HKEY_LOCAL_MACHINE/Software/ZVK/Castellan/JD/Settings.ini", "UseCounter"},
      {"HKLM\\Software\\..\\..\\x\\v", "/store/HKEY_LOCAL_MACHINE/Software/_/_/x.ini", "v"},
  };
  for (const auto& c : cases) {
    std::string entry;
    EXPECT_EQ(platform::MachineStoreFile(c.path, &entry), c.file) << c.path;
    EXPECT_EQ(entry, c.entry) << c.path;
  }
  unsetenv("CASTELLAN_MACHINE_DIR");
}

// A limit is the largest size allowed: an entry of exactly that size is unpacked.
TEST(ZipArchive, AnEntryOfExactlyTheLimitIsUnpacked) {
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString(), file = folder + "/g.chi";
  testsupport::WriteFile(file, std::string(1000, 'g'));
  platform::ZipArchive zip;
  ASSERT_TRUE(zip.Create(folder + "/g.zip") && zip.AddFile(file, 9) && zip.Close());
  ASSERT_TRUE(zip.Open(folder + "/g.zip"));
  EXPECT_FALSE(zip.ExtractEntry(0, folder, "over.chi", 999));
  EXPECT_TRUE(zip.ExtractEntry(0, folder, "exact.chi", 1000));
  EXPECT_EQ(testsupport::ReadFile(folder + "/exact.chi"), std::string(1000, 'g'));
}

}  // namespace
