// The Help menu, the web site setting, downloads and the assistant
// character's events on the real main window; what the desktop would open is
// recorded by the shell layer.
#include <cstdlib>

#include <QThread>

#include "platform/Shell.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_Internet.h"
#include "support/ZVK_MSAgent.h"
#include "tests/app/AppTestSupport.h"
#include "tests/fixtures/Servers.h"

namespace apptest {
namespace {

namespace fs = std::filesystem;

bool ErrorLogHas(const std::string& text) {
  return testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()).find(text) != std::string::npos;
}

class HelpTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    UseSite("http://site.test:8080");
    // Only the test's stand-ins are on PATH, never a viewer this machine
    // happens to have; by default the desktop knows a program for compiled help.
    savedPath_ = getenv("PATH") != nullptr ? getenv("PATH") : "";
    setenv("PATH", Bin().c_str(), 1);
    PutDesktop(true);
  }
  void TearDown() override {
    setenv("PATH", savedPath_.c_str(), 1);
    MainWindowFixture::TearDown();
  }
  static void UseSite(const std::string& site) { setenv(ZVK_Internet::kWebSiteVariable, site.c_str(), 1); }
  std::string Tutorial() const { return tree.path("Castellan/help/ChessTrl.chm"); }
  std::string Bin() const { return tree.path("bin"); }

  // Stand-ins on PATH: xdg-mime answering for a desktop with or without a
  // program for compiled help, and viewers that write their arguments beside them.
  void PutOnPath(const std::string& name, const std::string& script) const {
    testsupport::WriteFile(Bin() + "/" + name, "#!/bin/sh\n" + script);
    fs::permissions(Bin() + "/" + name, fs::perms::owner_all);
  }
  void PutDesktop(bool knowsCompiledHelp) const {
    const char* answer = "[ \"$*\" = 'query default application/vnd.ms-htmlhelp' ] && echo xchm.desktop\n";
    PutOnPath("xdg-mime", (knowsCompiledHelp ? answer : "") + std::string("exit 0\n"));
  }
  void PutViewer(const std::string& name) const {
    PutOnPath(name, "printf '%s\\n' \"$@\" > \"$0.tmp\" && /bin/mv \"$0.tmp\" \"$0.args\"\n");
  }
  // What the viewer was started with, one argument a line; "" when it was
  // not started within the wait.
  std::string ViewerArguments(const std::string& name, int waitMs = 5000) const {
    const std::string args = Bin() + "/" + name + ".args";
    for (int waited = 0; waited < waitMs && !fs::exists(args); waited += 20) QThread::msleep(20);
    return testsupport::ReadFile(args);
  }

  platform::ScriptedShell shell;

 private:
  std::string savedPath_;
};

// One entry per kind of target: a page of the web site, the installed help
// and the installed tutorial open without a question;
// where nothing can open the target, a message names it.
TEST_F(HelpTest, EntriesOpenTheirTargetsWithoutAQuestionOrSayNothingCanOpenThem) {
  const std::string site = "http://site.test:8080", help = tree.path("Castellan/help/Castellan/index.html");
  testsupport::WriteFile(Tutorial(), "tutorial");
  form->mnuHomepage->trigger();
  form->mnuHelpContent->trigger();
  form->mnuChessTutorial->trigger();
  EXPECT_EQ(shell.Opened(), (std::vector<std::string>{site + "/index.htm", help, Tutorial()}));
  EXPECT_TRUE(answers.Calls().empty());
  shell.RefuseAll();
  form->mnuHelpContent->trigger();
  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_EQ(answers.Calls()[0].text, "There is no program on this computer to open\r\n" + help);
}

// The tutorial goes to the desktop's program for compiled help, else to a
// viewer on PATH; with neither a message names the file and what is missing.
TEST_F(HelpTest, TheTutorialOpensWithTheDesktopsProgramElseAViewerElseAMessageSaysWhatIsMissing) {
  struct Case {
    const char* desktop;  // "knows", "refuses" (knows, but opens nothing), "none" or "no xdg-mime"
    const char* viewers;  // stand-ins on PATH, separated by spaces
    bool desktopOpens;    // the desktop was asked to open the tutorial
    std::string started;  // the viewer started with the tutorial ("" none)
  } cases[] = {
      {"knows", "xchm", true, ""},                 // the user's choice wins over ours
      {"none", "xchm kchmviewer", false, "xchm"},  // a stock machine set up by the install script
      {"no xdg-mime", "kchmviewer", false, "kchmviewer"},
      {"refuses", "xchm", true, "xchm"},
      {"none", "", false, ""},
  };
  const std::string noViewer = "The chess tutorial was downloaded to\r\n" + Tutorial() +
                               "\r\nbut there is no viewer for compiled help (.chm) on this computer to show it."
                               "\r\nInstall one (for example xchm) and choose Online Chess Tutorial again.";
  testsupport::WriteFile(Tutorial(), "tutorial");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.desktop) + " / " + c.viewers);
    fs::remove_all(Bin());
    const std::string desktop = c.desktop;
    if (desktop != "no xdg-mime") PutDesktop(desktop != "none");
    for (const QString& viewer : QString(c.viewers).split(' ', Qt::SkipEmptyParts)) PutViewer(viewer.toStdString());
    platform::ScriptedShell rowShell;
    if (desktop == "refuses") rowShell.RefuseAll();
    answers.Clear();

    form->mnuChessTutorial->trigger();

    EXPECT_EQ(rowShell.Opened(), c.desktopOpens ? std::vector<std::string>{Tutorial()} : std::vector<std::string>{});
    if (c.started.empty()) {
      QThread::msleep(300);  // time for a viewer started by mistake to show
    } else {
      EXPECT_EQ(ViewerArguments(c.started), Tutorial() + "\n");
    }
    for (const std::string other : {"xchm", "kchmviewer"}) {
      if (other != c.started) {
        EXPECT_EQ(ViewerArguments(other, 0), "") << other;
      }
    }
    const bool shown = (c.desktopOpens && desktop != "refuses") || !c.started.empty();
    EXPECT_EQ(Messages(), shown ? std::vector<std::string>{} : std::vector<std::string>{noViewer});
  }
}

TEST(WebSiteSetting, FromTheEnvironmentTheFileOrBuiltIn) {
  const std::string fallback = ZVK_Internet::kDefaultWebSite;
  const std::tuple<const char*, const char*, std::string> cases[] = {  // variable, file (nullptr: none), site
      {nullptr, nullptr, fallback},
      {nullptr, "# our site\n\nwww.chess.example:81\n", "http://www.chess.example:81"},
      {nullptr, "HTTPS://secure.example/\n", "https://secure.example"},
      {"http://127.0.0.1:9", "other.example\n", "http://127.0.0.1:9"},
      {"   ", "other.example\n", "http://other.example"},  // a blank variable is no setting
      {nullptr, "evil.example/phish\n", fallback}, {nullptr, "user@evil.example\n", fallback},
      {nullptr, "ftp://files.example\n", fallback}, {nullptr, "javascript:alert(1)\n", fallback}};
  for (const auto& [variable, file, site] : cases) {
    SCOPED_TRACE(file != nullptr ? file : "(no file)");
    testsupport::ProgramTree tree;
    fs::remove(ZVK_Internet::WebSiteFilePath());
    if (file != nullptr) testsupport::WriteFile(ZVK_Internet::WebSiteFilePath(), file);
    unsetenv(ZVK_Internet::kWebSiteVariable);
    if (variable != nullptr) setenv(ZVK_Internet::kWebSiteVariable, variable, 1);
    EXPECT_EQ(ZVK_Internet::WebPage("/index.htm"), site + "/index.htm");
  }
}

// Declined, the download fetches nothing; failed, it stores nothing and names
// the address tried; with only the tutorial on the site, that is stored and
// the message says so; done, it stores both files byte for byte.
TEST_F(HelpTest, TutorialDownloadLeavesNoFileOnFailureAndStoresBothFilesAsReceived) {
  fixtures::HttpServer server;
  TEST_NEEDS(server.running(), fixtures::kHttpDown);
  answers.Push(platform::vbNo);
  form->mnuChessTutorial->trigger();
  EXPECT_FALSE(fs::exists(Tutorial()));

  UseSite("127.0.0.1:" + std::to_string(server.port()));
  const std::string site = "http://127.0.0.1:" + std::to_string(server.port());
  const std::string index = tree.path("Castellan/help/ChessTrl.chi");
  const std::string onlyTutorial = "ITSF only";
  for (const bool tutorialThere : {false, true}) {
    SCOPED_TRACE(tutorialThere ? "only the tutorial on the site" : "nothing on the site");
    if (tutorialThere) server.put("help/ChessTrl.chm", onlyTutorial);
    answers.Clear();
    answers.Push(platform::vbYes);
    form->mnuChessTutorial->trigger();
    ASSERT_EQ(Messages().size(), 2u);
    const std::string told = Messages()[1];
    const std::string expected =
        tutorialThere ? "The tutorial has been downloaded and opens the next time you choose Online Chess Tutorial."
                        "\r\nIts index could not be fetched from\r\n" + site + "/help/ChessTrl.chi\r\n("
                      : "The tutorial could not be downloaded from\r\n" + site + "/help/ChessTrl.chm\r\n(";
    EXPECT_EQ(told.substr(0, expected.size()), expected);
    EXPECT_EQ(fs::exists(Tutorial()), tutorialThere);
    EXPECT_FALSE(fs::exists(index));
    EXPECT_TRUE(shell.Opened().empty());
  }
  // As the message says, the next use opens it.
  answers.Clear();
  form->mnuChessTutorial->trigger();
  EXPECT_TRUE(answers.Calls().empty());
  EXPECT_EQ(shell.Opened(), std::vector<std::string>{Tutorial()});
  EXPECT_EQ(testsupport::ReadFile(Tutorial()), onlyTutorial);
  fs::remove(Tutorial());
  answers.Clear();

  // Bytes a text conversion would damage: NUL, lone CR and LF, CR LF, high bytes.
  const std::string tutorial = std::string("ITSF\0\x01\r\n\xff\xfe", 10) + std::string(3000, 'x') + "\n\r\xc3";
  const std::string indexBytes = std::string("chi\0\r\n\x80", 7);
  server.put("help/ChessTrl.chm", tutorial);
  server.put("help/ChessTrl.chi", indexBytes);
  answers.Push(platform::vbYes);
  form->mnuChessTutorial->trigger();
  EXPECT_EQ(answers.Calls().size(), 1u);  // the question, and no message
  EXPECT_EQ(testsupport::ReadFile(Tutorial()), tutorial);
  EXPECT_EQ(testsupport::ReadFile(index), indexBytes);
  EXPECT_EQ(shell.Opened().size(), 1u);  // it opens at the next use of the entry

  // There the downloaded file is what a stock machine's viewer is given.
  PutDesktop(false);
  PutViewer("xchm");
  form->mnuChessTutorial->trigger();
  EXPECT_EQ(ViewerArguments("xchm"), Tutorial() + "\n");
}

TEST_F(HelpTest, DownloadRefusesOtherAddressesAndKeepsAnEarlierFileOnFailure) {
  fixtures::HttpServer server;
  TEST_NEEDS(server.running(), fixtures::kHttpDown);
  server.put("big.bin", std::string(5000, 'b'));
  server.put("empty.txt", "");
  const std::string target = tree.path("temp/doc.bin");
  testsupport::WriteFile(target, "earlier");
  const std::pair<std::string, size_t> cases[] = {
      {server.url("big.bin"), 4999},  // over the cap: cut off in flight
      {server.url("missing.bin"), 10000}, {server.url("empty.txt"), 10000}, {"ftp://127.0.0.1/big.bin", 10000},
      {"file:///etc/passwd", 10000},      {"no address", 10000}};
  for (const auto& [url, cap] : cases) {
    std::string error;
    EXPECT_FALSE(ZVK_Internet::DownloadToFile(*form->Inet1, url, target, cap, error)) << url;
    EXPECT_FALSE(error.empty()) << url;
    EXPECT_EQ(testsupport::ReadFile(target), "earlier") << url;
    EXPECT_FALSE(fs::exists(target + ".part")) << url;
  }
  std::string error;
  EXPECT_TRUE(ZVK_Internet::DownloadToFile(*form->Inet1, server.url("big.bin"), target, 5000, error)) << error;
  EXPECT_EQ(testsupport::ReadFile(target), std::string(5000, 'b'));
}

// Without a character the assistant's events are logged rather than followed.
TEST_F(HelpTest, WithoutACharacterTheAssistantsEventsAreLogged) {
  fs::remove(tree.path("Common/agent/DailyCharacter.ini"));
  Reopen();
  ASSERT_EQ(ZVK_MSAgent::gAgentChar(), nullptr);
  form->MyAgent_Click(ZVK_MSAgent::kCharacterName, 1, 0, 0, 0);
  form->MyAgent_DragComplete(ZVK_MSAgent::kCharacterName, 1, 0, 10, 10);
  EXPECT_TRUE(ErrorLogHas("MyAgent_Click of Formular fMainForm"));
  EXPECT_TRUE(ErrorLogHas("MyAgent_DragComplete of Formular fMainForm"));
}

}  // namespace
}  // namespace apptest
