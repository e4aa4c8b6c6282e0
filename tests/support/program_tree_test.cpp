// The test kit's program tree: what the build installs and nothing that a run
// of the staged program (error log, machine-wide values, downloads, settings)
// may have left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;

namespace {

// Every file and folder below `root`, as paths relative to it, each under `prefix`.
std::set<std::string> Listing(const fs::path& root, const std::string& prefix) {
  std::set<std::string> names;
  if (!fs::exists(root)) return names;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    names.insert(prefix + fs::relative(entry.path(), root).generic_string());
  return names;
}

TEST(ProgramTreeKit, HoldsTheInstalledFilesOnly) {
  testsupport::ProgramTree tree;
  const fs::path assets = fs::path(testsupport::SourceDir()) / "assets";
  std::set<std::string> installed = Listing(assets / "Castellan", "Castellan/");
  installed.merge(Listing(assets / "Common", "Common/"));
  ASSERT_FALSE(installed.empty());
  std::set<std::string> copied = Listing(fs::path(tree.programDir()), "Castellan/");
  copied.merge(Listing(fs::path(tree.commonDir()), "Common/"));
  copied.merge(Listing(fs::path(tree.path("temp")), "temp/"));
  EXPECT_EQ(copied, installed);
  // The settings stores start empty.
  EXPECT_TRUE(fs::is_empty(tree.path("config")));
  EXPECT_TRUE(fs::is_empty(tree.path("machine")));
}

}  // namespace
