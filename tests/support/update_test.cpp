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

namespace {

TEST(UrlList, LinesOneElevenTwelveAndShortLists) {
  testsupport::ProgramTree tree;
  platform::ScriptedAnswerer answers;
  // lines: 0 for no list at all.
  struct Case { const char* what; int lines; std::string home, versions, download; int logged; };
  const std::string builtIn = ZVK_Internet::kBuiltInHomePage;
  const std::vector<Case> cases = {
      {"twenty lines", 20, "u1", "u11", "u12", 0},
      {"eleven lines", 11, "u1", "u11", "", 1},
      {"no list", 0, builtIn, builtIn, builtIn, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const long long before = ZVK_ErrorLog::ErrorsLogged();
    // Values from an earlier read must not survive into this one.
    ZVK_Internet::gUrlVersions = ZVK_Internet::gUrlDownload = "stale";
    fs::remove(ZVK_Internet::UrlListPath());
    std::string text;
    for (int i = 1; i <= c.lines; ++i) text += "u" + std::to_string(i) + "\r\n";
    if (c.lines != 0) testsupport::WriteFile(ZVK_Internet::UrlListPath(), text);
    ZVK_Internet::Get_UrlList();
    EXPECT_EQ(ZVK_Internet::gUrlHome, c.home);
    EXPECT_EQ(ZVK_Internet::gUrlVersions, c.versions);
    EXPECT_EQ(ZVK_Internet::gUrlDownload, c.download);
    EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged() - before, c.logged);
  }
  EXPECT_TRUE(answers.Calls().empty()) << "a short list is logged, never shown";
}

// The check with every answer the version service can give.
class UpdateCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    TEST_NEEDS(server.running(), fixtures::kHttpDown);
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

  testsupport::ProgramTree tree;
  platform::Inet inet;  // the main window's control
  fixtures::HttpServer server;
  platform::ScriptedAnswerer answers;
  std::vector<std::string> opened;
};

TEST_F(UpdateCheck, EveryMessage) {
  const auto v = ZVK_Version::Version();
  auto version = [](int major, int minor, int revision) {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
  };
  const std::string app = ZVK_ErrorLog::ApplicationTitle(), noInfo = "<48>\r\n<49>";
  const std::string upToDate = "<42> (" + ZVK_Version::VersionText() + ") of " + app + ".";
  auto offer = [&](int text, const std::string& published) {
    return app + " <" + std::to_string(text) + "> (v. " + published + ") <43>\r\n<44>";
  };
  const std::string revision = version(v.major, v.minor, v.revision + 1), major = version(v.major + 1, 0, 0);
  const std::string junkMinor = std::to_string(v.major) + ".99999999999999999999.0";  // must not overflow
  // document: nullopt when nothing is served; answer: to the offer.
  struct Case { const char* what; std::optional<std::string> document; int answer; std::string text;
                bool opensDownload; int logged; };
  const std::vector<Case> cases = {
      {"newer revision, Yes", "\"7\",\"1.0.0\"\r\n\"1066\",\"" + revision + "\"\r\n", platform::vbYes,
       offer(45, revision), true, 0},
      {"newer major, unquoted with blanks, No", "  1066 , " + major + " \r\n", platform::vbNo, offer(47, major), false,
       0},
      {"same version", "\"1066\",\"" + ZVK_Version::VersionText() + "\"", platform::vbOK, upToDate, false, 0},
      {"newer minor too long for any number", "\"1066\",\"" + junkMinor + "\"", platform::vbNo, offer(46, junkMinor),
       false, 0},
      {"version lacking its points", "\"1066\",\"39\"\r\n", platform::vbOK, noInfo, false, 1},
      {"a part that is not a number", "\"1066\",\"4.0.x\"\r\n", platform::vbOK, noInfo, false, 1},
      {"missing document", std::nullopt, platform::vbOK, noInfo, false, 0},
  };
  ZVK_Internet::SetTransferControl(&inet);
  fs::remove_all(tree.path("temp"));  // the check makes its folder itself
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const long long before = ZVK_ErrorLog::ErrorsLogged();
    answers.Clear();
    opened.clear();
    fs::remove(fs::path(server.docRoot()) / "versions.txt");
    if (c.document) server.put("versions.txt", *c.document);
    answers.Push(c.answer);
    ZVK_Internet::ChkNewVersion();
    ASSERT_EQ(answers.Calls().size(), 1u) << "exactly one message per check";
    EXPECT_EQ(answers.Calls()[0].text, c.text);
    EXPECT_EQ(opened, std::vector<std::string>(c.opensDownload ? 1 : 0, ZVK_Internet::gUrlDownload));
    EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged() - before, c.logged);
    // The list is kept as received, with a line end added.
    EXPECT_EQ(testsupport::ReadFile(ZVK_Internet::VersionsPath()), c.document.value_or("") + "\r\n");
  }
  EXPECT_EQ(inet.URL(), ZVK_Internet::gUrlVersions);
  EXPECT_EQ(inet.Protocol(), platform::icHTTP);
}

}  // namespace
