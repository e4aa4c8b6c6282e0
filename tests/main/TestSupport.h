#pragma once
// Helpers shared by the tests.
#include <QTemporaryDir>
#include <string>
#include <vector>

namespace testsupport {

// A private copy of the installed program tree (Castellan/, Common/, temp/ as
// the build installs them, without the executable) in a temporary folder. While it lives, the program folder points into it and the
// settings stores (XDG_CONFIG_HOME, CASTELLAN_MACHINE_DIR) live under it, so
// every test runs hermetically.
class ProgramTree {
 public:
  ProgramTree();
  ~ProgramTree();
  ProgramTree(const ProgramTree&) = delete;
  ProgramTree& operator=(const ProgramTree&) = delete;

  std::string root() const;         // the temporary folder
  std::string programDir() const;   // root/Castellan
  std::string commonDir() const;    // root/Common
  std::string path(const std::string& relative) const;  // root/relative

 private:
  QTemporaryDir dir_;
};

// The staged program tree the build makes (its executable is run as a user would).
std::string StageDir();

// Whether the tests run under CI (CI set and not empty).
bool UnderCi();

// Reads a whole file as bytes ("" when missing).
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
// The lines of a text, without their CR LF or LF.
std::vector<std::string> Lines(const std::string& bytes);

}  // namespace testsupport

// Ends a test whose condition this machine does not meet (a loopback server
// that did not start, a tool that is missing): a skip with the reason where
// someone runs the tests by hand, a failure under CI, which must run every
// test rather than pass with some of them silently unrun.
#define TEST_NEEDS(condition, reason)                                        \
  if (condition) {                                                           \
  } else if (testsupport::UnderCi())                                         \
    GTEST_FAIL() << (reason) << " (under CI every test must run)";           \
  else                                                                       \
    GTEST_SKIP() << (reason)
