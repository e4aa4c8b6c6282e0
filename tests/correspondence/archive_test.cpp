#include <gtest/gtest.h>
#include <unistd.h>
#include <zip.h>

#include <QProcess>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "board/GameFile.h"
#include "correspondence/Naming.h"
#include "correspondence/Packing.h"
#include "platform/ZipArchive.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;
using namespace correspondence;

namespace {

int RunTool(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  if (!process.waitForFinished(60000)) return -1;
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

bool HaveTool(const char* tool) { return RunTool("sh", {"-c", QString("command -v %1").arg(tool)}) == 0; }

// An archive written with libzip directly, names exactly as given: what a
// hostile partner could put on the server.
void WriteRawArchive(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries,
                     const char* password = kArchivePassword, zip_int32_t method = ZIP_CM_DEFLATE) {
  int code = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  ASSERT_NE(zip, nullptr);
  for (const auto& [name, data] : entries) {
    const zip_int64_t index =
        zip_file_add(zip, name.c_str(), zip_source_buffer(zip, data.data(), data.size(), 0), ZIP_FL_ENC_RAW);
    ASSERT_GE(index, 0) << name;
    zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), method, 0);
    if (password != nullptr) zip_file_set_encryption(zip, static_cast<zip_uint64_t>(index), ZIP_EM_AES_256, password);
  }
  ASSERT_EQ(zip_close(zip), 0);
}

// Every file below a folder with its size; the error log left out.
std::set<std::string> Listing(const fs::path& root) {
  std::set<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.path().filename() == "error.log") continue;
    names.insert(fs::relative(e.path(), root).string() + (e.is_regular_file() ? ":" + std::to_string(e.file_size()) : "/"));
  }
  return names;
}

class ArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(target);
    testsupport::WriteFile(game, "\"12\"\r\n\"a comment\"\r\n" + std::string(5000, '7') + "\r\n");
  }

  testsupport::ProgramTree tree;
  fs::path work = fs::path(tree.root()) / "work", target = work / "target";
  std::string game = (work / "00012345626020314050000g.chi").string();
};

// Ours open in 7z with the password only; those of 7z open in ours.
TEST_F(ArchiveTest, ArchivesCrossCheckWithOtherToolsAndThePassword) {
  // The set-up installs 7z: without it this test would prove nothing.
  ASSERT_TRUE(HaveTool("7z")) << "7z missing; scripts/install-deps.sh installs it";
  const QString ours = kArchivePassword, zip = QString::fromStdString((work / "g.zip").string());
  testsupport::WriteFile(zip.toStdString(), "an older archive of that name");
  ASSERT_TRUE(PackSingleFile(game, zip.toStdString()));
  const QString out = QString::fromStdString((work / "7z").string());
  EXPECT_NE(RunTool("7z", {"t", "-pwrong", zip}), 0);
  ASSERT_EQ(RunTool("7z", {"x", "-y", "-p" + ours, "-o" + out, zip}), 0);
  EXPECT_EQ(Listing(out.toStdString()), (std::set<std::string>{"00012345626020314050000g.chi:5021"}));
  EXPECT_EQ(testsupport::ReadFile(out.toStdString() + "/00012345626020314050000g.chi"), testsupport::ReadFile(game));
  const std::tuple<const char*, QStringList, bool> tools[] = {
      {"7z", {"a", "-tzip", "-p" + ours}, true},  // ZipCrypto, 7-Zip's default
      {"7z", {"a", "-tzip", "-p" + ours + "x"}, false},
  };
  int n = 0;
  for (const auto& [program, args, readable] : tools) {
    const fs::path other = work / ("other" + std::to_string(n++) + ".zip"), into = target / std::to_string(n);
    ASSERT_EQ(RunTool(program, args + QStringList{QString::fromStdString(other.string()), QString::fromStdString(game)}), 0);
    fs::create_directories(into);
    EXPECT_EQ(UnpackFirstEntry(other.string(), into.string(), "00012345626020314050000r.chi"), readable) << n;
    EXPECT_EQ(UnpackAll(other.string(), into.string()), readable) << n;
    const std::set<std::string> both = {"00012345626020314050000r.chi:5021", "00012345626020314050000g.chi:5021"};
    EXPECT_EQ(Listing(into), readable ? both : std::set<std::string>()) << n;
  }
}

TEST_F(ArchiveTest, HostileOrDamagedArchivesWriteNothing) {
  const std::string outside = "/tmp/castellan-zip-" + std::to_string(getpid()), small = "\"3\"\r\n";
  const std::string good = (work / "good.zip").string();
  WriteRawArchive(good, {{"00012345626020314050000g.chi", std::string(20000, 'x')}}, kArchivePassword, ZIP_CM_STORE);
  const std::string goodBytes = testsupport::ReadFile(good);
  std::string damaged = goodBytes;
  for (size_t i = 200; i < 260; ++i) damaged[i] = static_cast<char>(damaged[i] ^ 0x5a);
  const auto raw = [](std::vector<std::pair<std::string, std::string>> entries, const char* password = kArchivePassword) {
    return [=](const std::string& path) { WriteRawArchive(path, entries, password); };
  };
  const auto bytes = [](std::string b) { return [=](const std::string& path) { testsupport::WriteFile(path, b); }; };
  const std::pair<const char*, std::function<void(const std::string&)>> cases[] = {
      {"parent folder", raw({{"../x", small}})},
      {"absolute path", raw({{outside, small}})},
      {"folder part", raw({{"sub/x.chi", small}})},
      {"backslash folder", raw({{"sub\\x.chi", small}})},
      {"drive", raw({{"C:x.chi", small}})},
      {"control character", raw({{"x\x1b[2J\n.chi", small}})},
      {"name not UTF-8", raw({{"x\xe6.chi", small}})},  // would be written under another name
      {"wrong password", raw({{"x.chi", small}}, "NotTheOne")},
      {"not a zip", bytes("PK\x03\x04 but nothing more of an archive")},
      {"no entries", bytes(std::string("PK\x05\x06", 4) + std::string(18, '\0'))},
      {"cut in half", bytes(goodBytes.substr(0, goodBytes.size() / 2))},
      {"damaged data", bytes(damaged)},
      {"missing archive", [](const std::string&) {}},
  };
  for (const auto& [what, make] : cases) {
    const std::string zip = (work / "hostile.zip").string();
    fs::remove(zip);
    make(zip);
    const std::set<std::string> withArchive = Listing(tree.root());
    EXPECT_FALSE(UnpackFirstEntry(zip, target.string(), "00012345626020314050000r.chi")) << what;
    EXPECT_FALSE(UnpackAll(zip, target.string())) << what;
    EXPECT_EQ(Listing(tree.root()), withArchive) << what;  // nothing written anywhere, no temporary left
    EXPECT_FALSE(fs::exists(outside)) << what;
  }
  ASSERT_TRUE(UnpackFirstEntry(good, target.string(), "r.chi"));  // the archive the damaged ones came from is sound
  fs::remove(target / "r.chi");

  // Extracting all never carries a bad entry through on the back of a good
  // one; a good first entry is taken alone.
  const std::string mixed = (work / "mixed.zip").string();
  WriteRawArchive(mixed, {{"a.chi", small}, {"../b.chi", small}});
  EXPECT_FALSE(UnpackAll(mixed, target.string()));
  EXPECT_TRUE(fs::is_empty(target));
  EXPECT_TRUE(UnpackFirstEntry(mixed, target.string(), "r.chi"));
  EXPECT_EQ(Listing(target), (std::set<std::string>{"r.chi:5"}));
  EXPECT_FALSE(fs::exists(work / "b.chi"));
  fs::remove(target / "r.chi");

  // A caller that knows its file takes that one alone.
  WriteRawArchive(mixed, {{"InternetGame_j.tmp", "spoofed listing"}, {"00012345626020314050000n.txt", small}});
  EXPECT_FALSE(UnpackNamedEntry(mixed, target.string(), "00012345626020314059999n.txt"));
  EXPECT_TRUE(fs::is_empty(target));
  EXPECT_TRUE(UnpackNamedEntry(mixed, target.string(), "00012345626020314050000n.txt"));
  EXPECT_EQ(Listing(target), (std::set<std::string>{"00012345626020314050000n.txt:5"}));
}

TEST_F(ArchiveTest, EntriesLargerThanAnyGameFileOrThanTheyClaimAreNeverUnpacked) {
  // A sparse file packs small. No game makes 40 MiB: 32768 positions take at
  // most 25 MB, and a record of every move a few more.
  const fs::path big = work / "big.chi";
  { std::ofstream(big.string()); }
  fs::resize_file(big, 40u << 20);
  const std::string zip = (work / "big.zip").string();
  platform::ZipArchive archive;
  ASSERT_TRUE(archive.Create(zip) && archive.AddFile(big.string(), 1) && archive.Close());
  EXPECT_FALSE(UnpackFirstEntry(zip, target.string(), "r.chi"));
  EXPECT_FALSE(UnpackAll(zip, target.string()));
  EXPECT_TRUE(fs::is_empty(target));

  // A central directory that understates the entry's size (1000 stated as 10).
  WriteRawArchive(zip, {{"a.chi", std::string(1000, 'a')}}, nullptr, ZIP_CM_STORE);
  std::string bytes = testsupport::ReadFile(zip);
  const size_t central = bytes.find("PK\x01\x02");
  ASSERT_NE(central, std::string::npos);
  bytes[central + 24] = 10;
  bytes[central + 25] = 0;
  testsupport::WriteFile(zip, bytes);
  EXPECT_FALSE(UnpackFirstEntry(zip, target.string(), "a.chi"));
  EXPECT_FALSE(UnpackAll(zip, target.string()));
  EXPECT_TRUE(fs::is_empty(target));
}

}  // namespace
