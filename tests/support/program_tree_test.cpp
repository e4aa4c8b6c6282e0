// The test kit's program tree holds what the build installs and nothing a run
// of the staged program (error log, settings, downloads) may have left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;

namespace {

// Every file and folder below `root`, relative to it, each under `prefix`.
void List(const fs::path& root, const std::string& prefix, std::set<std::string>& names) {
  if (fs::exists(root))
    for (const auto& entry : fs::recursive_directory_iterator(root))
      names.insert(prefix + fs::relative(entry.path(), root).generic_string());
}

TEST(ProgramTreeKit, HoldsTheInstalledFilesOnly) {
  testsupport::ProgramTree tree;
  const fs::path assets = fs::path(testsupport::SourceDir()) / "assets";
  std::set<std::string> installed, copied;
  List(assets / "Castellan", "Castellan/", installed);
  List(assets / "Common", "Common/", installed);
  ASSERT_FALSE(installed.empty());
  List(tree.programDir(), "Castellan/", copied);
  List(tree.commonDir(), "Common/", copied);
  List(tree.path("temp"), "temp/", copied);
  EXPECT_EQ(copied, installed);
  EXPECT_TRUE(fs::is_empty(tree.path("config")) && fs::is_empty(tree.path("machine")));  // settings start empty
}

}  // namespace
