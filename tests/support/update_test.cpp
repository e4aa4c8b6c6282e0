// The URL list and the update check against a real loopback HTTP server.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "platform/Inet.h"
#include "platform/MessageBox.h"
#include "support/AppIdentity.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_Internet.h"
#include "support/ZVK_Language.h"
#include "support/ZVK_Version.h"
#include "tests/fixtures/Servers.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;
using ZVK_Internet::VersionVerdict;

namespace {

// Entries of the error log that name a place.
int LoggedAt(const std::string& place) {
  const std::string log = testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath());
  int count = 0;
  for (size_t at = log.find(place); at != std::string::npos; at = log.find(place, at + 1)) ++count;
  return count;
}

TEST(CompareVersion, PublishedAgainstRunning392) {
  struct Case {
    const char* published;
    VersionVerdict verdict;
    const char* revision;  // the text after the second point
  };
  const Case cases[] = {
      {"3.9.2", VersionVerdict::UpToDate, "2"},
      {"3.9.3", VersionVerdict::NewerRevision, "3"},
      {"3.10.0", VersionVerdict::NewerMinor, "0"},
      {"4.0.0", VersionVerdict::NewerMajor, "0"},
      {"2.99.99", VersionVerdict::UpToDate, "99"},
      {"3.9.12", VersionVerdict::NewerRevision, "12"},  // a number, not a digit
      {"3.8.99", VersionVerdict::UpToDate, "99"},        // the minor decides first
      {"3.9.1", VersionVerdict::UpToDate, "1"},
      {"3.9.2.7", VersionVerdict::UpToDate, "2.7"},      // the rest is the revision
      {"3.9.3beta", VersionVerdict::NewerRevision, "3beta"},
      {"3.9.", VersionVerdict::UpToDate, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.published);
    EXPECT_EQ(ZVK_Internet::CompareVersion(3, 9, 2, c.published), c.verdict);
    EXPECT_EQ(ZVK_Internet::gNewRevision, c.revision);
  }
  ZVK_Internet::CompareVersion(3, 9, 2, "10.20.30");
  EXPECT_EQ(ZVK_Internet::gNewMajor, "10");
  EXPECT_EQ(ZVK_Internet::gNewMinor, "20");
  for (const char* lacking : {"3.9", "392", "", "3"}) {
    SCOPED_TRACE(lacking);
    EXPECT_THROW(ZVK_Internet::CompareVersion(3, 9, 2, lacking), ZVK_ErrorLog::RuntimeError);
  }
}

TEST(CompareVersion, LeadingNumber) {
  const std::pair<const char*, long long> cases[] = {
      {"12", 12}, {"  7", 7}, {"9a", 9}, {"", 0}, {"x1", 0}, {"-3", -3},
      {"99999999999999999999999999", 9'999'999'999'999LL},  // junk does not overflow
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ZVK_Internet::LeadingNumber(text), value) << text;
}

class UrlList : public ::testing::Test {
 protected:
  testsupport::ProgramTree tree;
  platform::ScriptedAnswerer answers;
};

TEST_F(UrlList, InstalledListHoldsTwentyAddresses) {
  ZVK_Internet::Get_UrlList();
  EXPECT_EQ(ZVK_Internet::gUrlHome, "http://www.castellan.example.org/");
  EXPECT_EQ(ZVK_Internet::gUrlVersions, "http://www.castellan.example.org/versions/versions.txt");
  EXPECT_EQ(ZVK_Internet::gUrlDownload, "http://www.castellan.example.org/download/");
  EXPECT_EQ(LoggedAt("Get_UrlList"), 0);
}

TEST_F(UrlList, LinesOneElevenTwelveAndShortLists) {
  struct Case {
    const char* what;
    int lines;  // 0: no list at all
    const char* lineEnd;
    std::string home, versions, download;
    int logged;
  };
  const std::string builtIn = ZVK_Internet::kBuiltInHomePage;
  const std::vector<Case> cases = {
      {"twenty lines", 20, "\r\n", "u1", "u11", "u12", 0},
      {"more than twenty", 30, "\n", "u1", "u11", "u12", 0},
      {"twenty, last without line end", 20, "", "u1", "u11", "u12", 0},
      {"twelve lines", 12, "\r\n", "u1", "u11", "u12", 1},
      {"eleven lines", 11, "\r\n", "u1", "u11", "", 1},
      {"five lines", 5, "\r\n", "u1", "", "", 1},
      {"empty file", -1, "\r\n", "", "", "", 1},
      {"no list", 0, "", builtIn, builtIn, builtIn, 0},
  };
  int loggedBefore = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // Values from an earlier read must not survive into this one.
    ZVK_Internet::gUrlVersions = ZVK_Internet::gUrlDownload = "stale";
    fs::remove(ZVK_Internet::UrlListPath());
    if (c.lines != 0) {
      std::string text;
      for (int i = 1; i <= c.lines; ++i) text += "u" + std::to_string(i) + (i < c.lines ? "\r\n" : c.lineEnd);
      testsupport::WriteFile(ZVK_Internet::UrlListPath(), text);
    }
    ZVK_Internet::Get_UrlList();
    EXPECT_EQ(ZVK_Internet::gUrlHome, c.home);
    EXPECT_EQ(ZVK_Internet::gUrlVersions, c.versions);
    EXPECT_EQ(ZVK_Internet::gUrlDownload, c.download);
    const int logged = LoggedAt("Get_UrlList of Modul ZVK_Internet");
    EXPECT_EQ(logged - loggedBefore, c.logged);
    loggedBefore = logged;
  }
  EXPECT_TRUE(answers.Calls().empty()) << "a short list is logged, never shown";
}

// The check with every answer the version service can give.
class UpdateCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!server.running()) GTEST_SKIP() << "http.server did not start";
    ZVK_Identity::gProductNumber = "1066";
    ZVK_Language::gLangText.assign(50, "");
    for (int n : {16, 23, 42, 43, 44, 45, 46, 47, 48, 49}) ZVK_Language::gLangText[n] = "<" + std::to_string(n) + ">";
    ZVK_Internet::gUrlVersions = server.url("versions.txt");
    ZVK_Internet::gUrlDownload = "http://www.castellan.example.org/download/";
    platform::SetBrowserOpener([this](const std::string& url) {
      opened.push_back(url);
      return true;
    });
  }
  void TearDown() override {
    platform::SetBrowserOpener(nullptr);
    ZVK_Internet::SetTransferControl(nullptr);
  }

  static std::string Published(int major, int minor, int revision) {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
  }

  testsupport::ProgramTree tree;
  fixtures::HttpServer server;
  platform::ScriptedAnswerer answers;
  std::vector<std::string> opened;
};

TEST_F(UpdateCheck, EveryMessage) {
  const auto v = ZVK_Version::Version();
  const std::string running = ZVK_Version::VersionText();
  const std::string app = ZVK_ErrorLog::ApplicationTitle();
  const std::string noInfo = "<48>\r\n<49>";
  auto offer = [&](int text, const std::string& published) {
    return app + " <" + std::to_string(text) + "> (v. " + published + ") <43>\r\n<44>";
  };
  const std::string upToDate = "<42> (" + running + ") of " + app + ".";
  const std::string revision = Published(v.major, v.minor, v.revision + 1);
  const std::string minor = Published(v.major, v.minor + 1, 0);
  const std::string major = Published(v.major + 1, 0, 0);

  struct Case {
    const char* what;
    std::optional<std::string> document;  // nullopt: nothing served
    int answer;                           // to the offer
    std::string text;
    int style;
    std::string title;
    bool opensDownload;
    int logged;
  };
  const std::vector<Case> cases = {
      {"newer revision, Yes", "\"7\",\"1.0.0\"\r\n\"1066\",\"" + revision + "\"\r\n", platform::vbYes,
       offer(45, revision), 4164, "<23>", true, 0},
      {"newer minor, No", "1066," + minor + "\n", platform::vbNo, offer(46, minor), 4164, "<23>", false, 0},
      {"newer major, unquoted with blanks", "  1066 , " + major + " \r\n", platform::vbYes, offer(47, major), 4164,
       "<23>", true, 0},
      {"same version", "\"1066\",\"" + running + "\"", platform::vbOK, upToDate, 4160, "<23>", false, 0},
      {"older published", "\"1066\",\"" + Published(v.major - 1, 99, 99) + "\"", platform::vbOK, upToDate, 4160,
       "<23>", false, 0},
      {"list without the product", "\"7\",\"1.0.0\"\r\n\"8\",\"9.9.9\"\r\n", platform::vbOK, noInfo, 4112, "<16>",
       false, 0},
      {"empty product first", "\"\",\"1.0.0\"\r\n\"1066\",\"" + major + "\"\r\n", platform::vbOK, noInfo, 4112,
       "<16>", false, 0},
      {"version lacking its points", "\"1066\",\"39\"\r\n", platform::vbOK, noInfo, 4112, "<16>", false, 1},
      {"version with one point", "\"1066\",\"3.9\"\r\n", platform::vbOK, noInfo, 4112, "<16>", false, 1},
      {"empty answer", "", platform::vbOK, noInfo, 4112, "<16>", false, 0},
      {"missing document", std::nullopt, platform::vbOK, noInfo, 4112, "<16>", false, 0},
  };
  int loggedBefore = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    answers.Clear();
    opened.clear();
    fs::remove(fs::path(server.docRoot()) / "versions.txt");
    if (c.document) server.put("versions.txt", *c.document);
    answers.Push(c.answer);

    ZVK_Internet::ChkNewVersion();

    ASSERT_EQ(answers.Calls().size(), 1u) << "exactly one message per check";
    EXPECT_EQ(answers.Calls()[0].text, c.text);
    EXPECT_EQ(answers.Calls()[0].style, c.style);
    EXPECT_EQ(answers.Calls()[0].title, c.title);
    EXPECT_EQ(opened, c.opensDownload ? std::vector<std::string>{ZVK_Internet::gUrlDownload}
                                      : std::vector<std::string>{});
    const int logged = LoggedAt("ChkNewVersion of Modul ZVK_Internet");
    EXPECT_EQ(logged - loggedBefore, c.logged);
    loggedBefore = logged;
    // The list is kept as received, with a line end added.
    EXPECT_EQ(testsupport::ReadFile(ZVK_Internet::VersionsPath()), c.document.value_or("") + "\r\n");
  }
}

TEST_F(UpdateCheck, UnreachableServerUsesTheMainWindowsControl) {
  platform::Inet inet;
  ZVK_Internet::SetTransferControl(&inet);
  ZVK_Internet::gUrlVersions = "http://127.0.0.1:" + std::to_string(fixtures::UnusedPort()) + "/versions.txt";
  fs::remove_all(tree.path("temp"));  // the check makes its folder itself

  ZVK_Internet::ChkNewVersion();

  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_EQ(answers.Calls()[0].text, "<48>\r\n<49>");
  EXPECT_EQ(answers.Calls()[0].style, 4112);
  EXPECT_EQ(inet.URL(), ZVK_Internet::gUrlVersions);
  EXPECT_EQ(inet.Protocol(), platform::icHTTP);
  EXPECT_EQ(testsupport::ReadFile(ZVK_Internet::VersionsPath()), "\r\n");
  EXPECT_TRUE(opened.empty());
}

}  // namespace
