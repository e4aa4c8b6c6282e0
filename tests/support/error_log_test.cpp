#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <chrono>
#include <filesystem>
#include <thread>

#include "support/AppIdentity.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_ErrorLog.h"
#include "platform/DoEvents.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;
using namespace ZVK_ErrorLog;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "every line ends in CR LF";
  return lines;
}

struct RecordingIndicator : ErrorIndicator {
  int shown = 0;
  void ShowErrorIndicator() override { ++shown; }
};

TEST(ErrorLogText, ValuesFillPrintZones) {
  struct Case { std::vector<std::string> values; std::string line; };
  const Case cases[] = {
      {{"trace line", "", "", "", "", "", "", "", "", ""}, "trace line"},  // trailing defaults add nothing
      {{"a", "b"}, "a             b"},
      {{"exactly14chars", "b"}, "exactly14chars              b"},
  };
  for (const auto& c : cases) EXPECT_EQ(JoinLogValues(c.values), c.line);
}

class ErrorLog : public ::testing::Test {
 protected:
  testsupport::ProgramTree tree;
  std::string Log() { return testsupport::ReadFile(ErrorLogPath()); }
};

TEST_F(ErrorLog, HeaderIsWrittenOnceAndEntriesFollowIt) {
  WriteLogHeader();
  WriteLogHeader();
  WriteLogLine("after the header");
  const auto lines = Lines(Log());
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0].rfind("########  z.v.k error log file - created ", 0), 0u);
  EXPECT_EQ(lines[1].rfind(ZVK_Identity::gProductNumber, 0), 0u);
  EXPECT_EQ(lines[6], "########  End of Header  ##########");
  EXPECT_EQ(lines[7], "after the header");
  EXPECT_NE(lines[4].find(tree.programDir()), std::string::npos);
}

// An error at start-up, before the main window exists, still turns the
// window's indicator on once the window installs it; trace lines never do.
TEST_F(ErrorLog, IndicatorTurnsOnAfterAnEntryEvenWhenInstalledLater) {
  const long long before = ErrorsLogged();
  Guarded("Form_Load of Formular frmSplash", [] { throw std::out_of_range("x"); });
  EXPECT_EQ(ErrorsLogged(), before + 1);
  RecordingIndicator indicator;
  SetErrorIndicator(&indicator);  // the window comes after the start-up error
  EXPECT_EQ(indicator.shown, 1);
  WriteErrorLog(-1, "Castellan", "p", 0, 1, "d");
  EXPECT_EQ(indicator.shown, 2);
  WriteLogLine("a trace line does not touch it");
  EXPECT_EQ(indicator.shown, 2);
  SetErrorIndicator(nullptr);
  EXPECT_NE(Log().find("Form_Load of Formular frmSplash  0  9  Subscript out of range"), std::string::npos);
}

// An event waiting in the message loop while an entry is written (here one
// that makes the missing Common folder) logs an entry of its own: the writer
// must not let it run in between, and its entry must not be lost.
TEST_F(ErrorLog, AnEntryFromAWaitingEventFollowsWholeAndIsKept) {
  fs::remove_all(tree.commonDir());
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [] { WriteErrorLog(-1, "Castellan", "Timer2_Timer of Formular fMainForm", 0, 6, "Overflow"); },
      Qt::QueuedConnection);
  std::this_thread::sleep_for(std::chrono::milliseconds(10));  // a yield now would let the event run
  WriteLogLine("written first");
  platform::DoEventsNow();
  const auto lines = Lines(Log());
  ASSERT_EQ(lines.size(), 2u) << Log();
  EXPECT_EQ(lines[0], "written first");
  EXPECT_TRUE(lines[1].ends_with("Timer2_Timer of Formular fMainForm  0  6  Overflow")) << lines[1];
}

TEST_F(ErrorLog, MissingCommonFolderComesWithTheFirstEntryNotTheHeader) {
  fs::remove_all(tree.commonDir());
  WriteLogHeader();
  EXPECT_FALSE(fs::exists(tree.commonDir()));
  WriteLogLine("first entry makes it");
  EXPECT_EQ(Log(), "first entry makes it\r\n");
  // A file where the folder belongs: the entry is lost, silently.
  fs::remove_all(tree.commonDir());
  testsupport::WriteFile(tree.commonDir(), "a file where the folder should be");
  WriteErrorLog(-1, "Castellan", "p", 0, 1, "d");  // must neither throw nor crash
  WriteLogHeader();
  EXPECT_EQ(testsupport::ReadFile(tree.commonDir()), "a file where the folder should be");
}

}  // namespace
