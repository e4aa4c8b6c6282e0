// Shared main of every test program: a QApplication on the offscreen platform
// (gtest_discover_tests runs the programs at build time, with no display).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/ZVK_ErrorLog.h"

namespace {

// Qt wants a private runtime folder (mode 0700, ours) and warns about a
// missing one at every start. Test runs and the build's test discovery have
// no login session that would provide it, so each test program makes its own
// and removes it at the end.
class PrivateRuntimeDir {
 public:
  PrivateRuntimeDir() {
    if (const char* given = std::getenv("XDG_RUNTIME_DIR"); given != nullptr && *given != '\0') return;
    const std::filesystem::path tmp = std::filesystem::temp_directory_path();
    std::string pattern = (tmp / "castellan-runtime-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;  // mkdtemp makes it 0700
    path_ = pattern;
    setenv("XDG_RUNTIME_DIR", path_.c_str(), 1);
  }
  ~PrivateRuntimeDir() {
    if (path_.empty()) return;
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  PrivateRuntimeDir(const PrivateRuntimeDir&) = delete;
  PrivateRuntimeDir& operator=(const PrivateRuntimeDir&) = delete;

 private:
  std::string path_;
};

// Every test starts as a fresh run of the program, whether CTest starts the
// test program once per test or someone runs it whole: an error counted by
// an earlier test would otherwise show in the next one's window.
class FreshRunPerTest : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { ZVK_ErrorLog::StartNewRun(); }
};

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Static, so that it goes after what the program keeps in it until the
  // very end (its single-instance lock, made later, is released earlier).
  static PrivateRuntimeDir runtime;
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshRunPerTest);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
