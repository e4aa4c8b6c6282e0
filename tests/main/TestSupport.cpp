#include "tests/main/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/AppPath.h"

namespace fs = std::filesystem;

namespace testsupport {

ProgramTree::ProgramTree() {
  // The installed files only, as the build stages them afresh for the tests;
  // never the staged program's own tree, which its runs leave files in.
  // (A test program started by hand, without CTest's environment, uses the
  // tree of the build it comes from.)
  const char* given = std::getenv("CASTELLAN_TEST_TREE_DIR");
  const char* installed = given != nullptr ? given : CASTELLAN_TEST_TREE_DIR;
  const fs::path root = dir_.path().toStdString();
  if (fs::exists(installed))
    fs::copy(installed, root, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  fs::create_directories(root / "Castellan");
  fs::create_directories(root / "Common");
  fs::create_directories(root / "temp");
  fs::create_directories(root / "config");
  fs::create_directories(root / "machine");
  setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
  setenv("CASTELLAN_MACHINE_DIR", (root / "machine").c_str(), 1);
  platform::SetAppPath((root / "Castellan").string());
}

ProgramTree::~ProgramTree() { platform::SetAppPath(""); }

std::string ProgramTree::root() const { return dir_.path().toStdString(); }
std::string ProgramTree::programDir() const { return root() + "/Castellan"; }
std::string ProgramTree::commonDir() const { return root() + "/Common"; }
std::string ProgramTree::path(const std::string& relative) const { return root() + "/" + relative; }

bool UnderCi() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && *ci != '\0';
}

std::string StageDir() { return CASTELLAN_STAGE_DIR; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::istringstream in(bytes);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace testsupport
