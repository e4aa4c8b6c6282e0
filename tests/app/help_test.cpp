// The Help menu, the about box, the error label, the top-most box and the
// assistant character's events on the real main window; what the desktop
// would open is recorded by the shell layer.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <cstdlib>
#include <filesystem>

#include "app/AnimationControl.h"
#include "app/frmAbout.h"
#include "platform/Shell.h"
#include "platform/WindowHelpers.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_Internet.h"
#include "support/ZVK_MSAgent.h"
#include "support/ZVK_Version.h"
#include "tests/app/AppTestSupport.h"
#include "tests/fixtures/Servers.h"

namespace apptest {
namespace {

namespace fs = std::filesystem;

void ClickLabel(QLabel* label) {
  const QPointF at(2, 2);
  QMouseEvent release(QEvent::MouseButtonRelease, at, label->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(label, &release);
}

class HelpTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    setenv(ZVK_Internet::kWebSiteVariable, "http://site.test:8080", 1);
  }
  void TearDown() override {
    unsetenv(ZVK_Internet::kWebSiteVariable);
    MainWindowFixture::TearDown();
  }
  std::string Tutorial() const { return tree.path("Castellan/help/ChessTrl.chm"); }
  std::string TutorialIndex() const { return tree.path("Castellan/help/ChessTrl.chi"); }

  platform::ScriptedShell shell;
};

TEST_F(HelpTest, WebEntriesOpenTheirPagesOnTheConfiguredSite) {
  const std::vector<std::pair<QAction*, std::string>> entries = {
      {form->mnuOnlineHelp, "/products/a_castellan_e.htm"},
      {form->mnuForum, "/cgi-bin/forum/x-forum.cgi"},
      {form->mnuFAQ, "/products/faq_e.htm"},
      {form->mnuSendImprovementRequest, "/support/BugReport.htm"},
      {form->mnuSendBugReport, "/support/BugReport.htm"},
      {form->mnuHomepage, "/index.htm"},
      {form->mnuOtherProducts, "/products/suite_e.htm"},
      {form->mnuSalesPartner, "/support/salespartner_e.htm"},
  };
  std::vector<std::string> expected;
  for (const auto& [action, page] : entries) {
    action->trigger();
    expected.push_back("http://site.test:8080" + page);
  }
  ClickLabel(form->findChild<QLabel*>("reportBug"));
  expected.push_back("http://site.test:8080/support/BugReport.htm");
  EXPECT_EQ(shell.Opened(), expected);
  EXPECT_TRUE(answers.Calls().empty());
}

TEST(WebSiteSetting, FromTheEnvironmentTheFileOrBuiltIn) {
  struct Case {
    const char* environment;  // nullptr: unset
    const char* file;         // nullptr: no file
    const char* site;
  };
  const Case cases[] = {
      {nullptr, nullptr, ZVK_Internet::kDefaultWebSite},
      {nullptr, "# our site\n\nwww.chess.example:81\n", "http://www.chess.example:81"},
      {nullptr, "HTTPS://secure.example/\n", "https://secure.example"},
      {"http://127.0.0.1:9", "other.example\n", "http://127.0.0.1:9"},
      {"   ", "other.example\n", "http://other.example"},  // a blank variable is no setting
      {nullptr, "evil.example/phish\n", ZVK_Internet::kDefaultWebSite},      // a path
      {nullptr, "user@evil.example\n", ZVK_Internet::kDefaultWebSite},       // user info
      {nullptr, "ftp://files.example\n", ZVK_Internet::kDefaultWebSite},     // not the web
      {nullptr, "javascript:alert(1)\n", ZVK_Internet::kDefaultWebSite},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file != nullptr ? c.file : "(no file)");
    testsupport::ProgramTree tree;
    fs::remove(ZVK_Internet::WebSiteFilePath());
    if (c.file != nullptr) testsupport::WriteFile(ZVK_Internet::WebSiteFilePath(), c.file);
    if (c.environment != nullptr)
      setenv(ZVK_Internet::kWebSiteVariable, c.environment, 1);
    else
      unsetenv(ZVK_Internet::kWebSiteVariable);
    EXPECT_EQ(ZVK_Internet::ConfiguredWebSite(), c.site);
    EXPECT_EQ(ZVK_Internet::WebPage("/index.htm"), std::string(c.site) + "/index.htm");
    unsetenv(ZVK_Internet::kWebSiteVariable);
  }
}

TEST_F(HelpTest, HelpPagesAndAnInstalledTutorialOpenWithoutAQuestion) {
  form->mnuHelpContent->trigger();
  ASSERT_EQ(shell.Opened().size(), 1u);
  EXPECT_EQ(shell.Opened()[0], tree.path("Castellan/help/Castellan/index.html"));
  EXPECT_TRUE(fs::is_regular_file(shell.Opened()[0]));

  testsupport::WriteFile(Tutorial(), "tutorial");
  form->mnuChessTutorial->trigger();
  ASSERT_EQ(shell.Opened().size(), 2u);
  EXPECT_EQ(shell.Opened()[1], Tutorial());
  EXPECT_TRUE(answers.Calls().empty());
}

TEST_F(HelpTest, WithNoProgramToOpenThemPagesAndHelpSaySo) {
  shell.RefuseAll();
  form->mnuHomepage->trigger();
  form->mnuHelpContent->trigger();
  ASSERT_EQ(answers.Calls().size(), 2u);
  EXPECT_EQ(answers.Calls()[0].text, "There is no program on this computer to open\r\nhttp://site.test:8080/index.htm");
  EXPECT_EQ(answers.Calls()[1].text,
            "There is no program on this computer to open\r\n" + tree.path("Castellan/help/Castellan/index.html"));
  EXPECT_EQ(answers.Calls()[1].style, 48);
}

// Bytes a text conversion would damage: NUL, lone CR and LF, CR LF, high bytes.
const std::string kTutorialBytes = std::string("ITSF\0\x01\r\n\xff\xfe", 10) + std::string(3000, 'x') + "\n\r\xc3";
const std::string kIndexBytes = std::string("chi\0\r\n\x80", 7);

TEST_F(HelpTest, TutorialDownloadStoresBothFilesAsReceived) {
  fixtures::HttpServer server;
  if (!server.running()) GTEST_SKIP() << "no HTTP server";
  server.put("help/ChessTrl.chm", kTutorialBytes);
  server.put("help/ChessTrl.chi", kIndexBytes);
  setenv(ZVK_Internet::kWebSiteVariable, ("127.0.0.1:" + std::to_string(server.port())).c_str(), 1);

  answers.Push(platform::vbNo);
  form->mnuChessTutorial->trigger();
  EXPECT_FALSE(fs::exists(Tutorial()));

  answers.Push(platform::vbYes);
  form->mnuChessTutorial->trigger();
  ASSERT_EQ(answers.Calls().size(), 2u);
  for (const platform::MsgBoxCall& call : answers.Calls()) {
    EXPECT_EQ(call.text, "The tutorial is not installed on your PC!\r\nWould you like to download it now ?");
    EXPECT_EQ(call.style, 4196);
    EXPECT_EQ(call.title, "Info");
  }
  EXPECT_EQ(testsupport::ReadFile(Tutorial()), kTutorialBytes);
  EXPECT_EQ(testsupport::ReadFile(TutorialIndex()), kIndexBytes);
  EXPECT_TRUE(shell.Opened().empty());  // it opens at the next use of the entry

  form->mnuChessTutorial->trigger();
  EXPECT_EQ(shell.Opened(), std::vector<std::string>{Tutorial()});
  EXPECT_EQ(answers.Calls().size(), 2u);
}

TEST_F(HelpTest, AFailedTutorialDownloadLeavesNoFile) {
  const int port = fixtures::UnusedPort();
  setenv(ZVK_Internet::kWebSiteVariable, ("127.0.0.1:" + std::to_string(port)).c_str(), 1);
  answers.Push(platform::vbYes);
  form->mnuChessTutorial->trigger();
  ASSERT_EQ(answers.Calls().size(), 2u);
  EXPECT_EQ(answers.Calls()[1].text.rfind("The tutorial could not be downloaded.", 0), 0u) << answers.Calls()[1].text;
  for (const auto& entry : fs::directory_iterator(tree.path("Castellan/help")))
    EXPECT_EQ(entry.path().filename().string().find("ChessTrl"), std::string::npos) << entry.path();
}

TEST_F(HelpTest, DownloadRefusesOtherAddressesAndKeepsAnEarlierFileOnFailure) {
  fixtures::HttpServer server;
  if (!server.running()) GTEST_SKIP() << "no HTTP server";
  server.put("big.bin", std::string(5000, 'b'));
  server.put("empty.txt", "");
  const std::string target = tree.path("temp/doc.bin");
  testsupport::WriteFile(target, "earlier");
  struct Case {
    std::string url;
    size_t cap;
  };
  const Case cases[] = {
      {server.url("big.bin"), 4999},       // over the cap: cut off in flight
      {server.url("missing.bin"), 10000},  // 404
      {server.url("empty.txt"), 10000},    // nothing worth a file
      {"ftp://127.0.0.1/big.bin", 10000},
      {"file:///etc/passwd", 10000},
      {"no address", 10000},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(ZVK_Internet::DownloadToFile(*form->Inet1, c.url, target, c.cap, error)) << c.url;
    EXPECT_FALSE(error.empty()) << c.url;
    EXPECT_EQ(testsupport::ReadFile(target), "earlier") << c.url;
    EXPECT_FALSE(fs::exists(target + ".part")) << c.url;
  }
  std::string error;
  EXPECT_TRUE(ZVK_Internet::DownloadToFile(*form->Inet1, server.url("big.bin"), target, 5000, error)) << error;
  EXPECT_EQ(testsupport::ReadFile(target), std::string(5000, 'b'));
}

TEST_F(HelpTest, ErrorLabelOpensTheLogAndResetsTheIndicator) {
  ZVK_ErrorLog::WriteErrorLog(0, "Castellan", "a test of the indicator", 0, 5, "Invalid procedure call or argument");
  ASSERT_TRUE(form->lblError->isVisible());
  ClickLabel(form->lblError);
  EXPECT_EQ(shell.Opened(), std::vector<std::string>{ZVK_ErrorLog::ErrorLogPath()});
  EXPECT_FALSE(form->lblError->isVisible());
  EXPECT_EQ(form->ErrorIndicatorBox->backColor(), QColor(0, 255, 0));

  // With no log at all the viewer is still asked (it tells the user).
  fs::remove(ZVK_ErrorLog::ErrorLogPath());
  form->lblError_Click();
  EXPECT_EQ(shell.Opened().size(), 2u);
}

TEST_F(HelpTest, TopMostBoxAndTheUpdateCheckRestoringIt) {
  form->chkWinOnTop->setChecked(true);
  EXPECT_TRUE(platform::IsWindowTopMost(form.get()));
  ZVK_Internet::gUrlVersions = "http://127.0.0.1:" + std::to_string(fixtures::UnusedPort()) + "/versions.txt";
  for (bool pinned : {true, false}) {
    SCOPED_TRACE(pinned);
    form->chkWinOnTop->setChecked(pinned);
    answers.Clear();
    form->mnuUpdates->trigger();
    ASSERT_EQ(answers.Calls().size(), 1u);
    EXPECT_EQ(answers.Calls()[0].style, 4112);  // no information from a server that is down
    EXPECT_EQ(platform::IsWindowTopMost(form.get()), pinned);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->Animation1->isVisible());
    EXPECT_FALSE(app::AnimationPlaying(form->Animation1));
  }
  // The installed animation is one the control can play.
  EXPECT_TRUE(app::OpenAnimation(form->Animation1, tree.path("Common/avi/update_app.avi")));
  EXPECT_FALSE(app::OpenAnimation(form->Animation1, tree.path("Common/avi/none.avi")));
}

TEST_F(HelpTest, AboutBoxShowsTheVersionAndOpensTheHomePage) {
  ZVK_Internet::gUrlHome = "http://maker.test/";
  std::string version;
  WhenModal([&](QWidget* modal) {
    auto* about = qobject_cast<app::frmAbout*>(modal);
    ASSERT_NE(about, nullptr);
    version = about->lblVersion->text().toStdString();
    ClickLabel(about->lblHomepage);
    about->cmdCancel->click();
  });
  form->mnuAbout->trigger();
  EXPECT_EQ(version, "Version " + ZVK_Version::VersionText());
  EXPECT_EQ(shell.Opened(), std::vector<std::string>{"http://maker.test/"});
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(HelpTest, AssistantAnswersClicksCommandsAndDrags) {
  platform::AssistantCharacter* character = ZVK_MSAgent::gAgentChar();
  ASSERT_NE(character, nullptr) << "the installed character is loaded with the window";
  character->SetAloudAllowed(false);
  const std::string name = ZVK_MSAgent::kCharacterName;

  form->MyAgent_Click(name, 2, 0, 0, 0);  // right button: nothing
  EXPECT_EQ(character->CurrentAnimation(), "");
  form->MyAgent_Click(name, 1, 0, 0, 0);
  const auto& animations = ZVK_MSAgent::gAgentAnimations;
  EXPECT_NE(std::find(animations.begin(), animations.end(), character->CurrentAnimation()), animations.end());

  form->MyAgent_Command("");
  EXPECT_EQ(character->BalloonText(), "");
  form->MyAgent_Command("Juggle");
  EXPECT_EQ(character->BalloonText(), "What do you want to do ?");
  EXPECT_TRUE(character->BalloonIsThought());  // the voice is off
  form->MyAgent_Command("Speak Any Text");
  EXPECT_EQ(character->BalloonText(), "");

  form->MyAgent_DragComplete(name, 1, 0, 10, 10);
  EXPECT_EQ(character->BalloonText(), "I am " + name);
  character->Show();
  form->MyAgent_Command("Hide");
  EXPECT_FALSE(character->Visible());
  EXPECT_EQ(testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()).find("MyAgent"), std::string::npos);

  // A drag reported for a character that is not loaded is an error, logged.
  form->MyAgent_DragComplete("Somebody", 1, 0, 10, 10);
  EXPECT_NE(testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()).find("MyAgent_DragComplete of Formular fMainForm"),
            std::string::npos);
}

TEST(AssistantWithoutCharacter, AClickIsLogged) {
  testsupport::ProgramTree tree;
  platform::ScriptedAnswerer answers;
  ZVK_Identity::gUserName = "TESTER";
  fs::remove(tree.path("Common/agent/DailyCharacter.ini"));
  app::fMainForm form;
  form.Form_Initialize();
  ASSERT_EQ(ZVK_MSAgent::gAgentChar(), nullptr);
  form.MyAgent_Click(ZVK_MSAgent::kCharacterName, 1, 0, 0, 0);
  EXPECT_NE(testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()).find("MyAgent_Click of Formular fMainForm"),
            std::string::npos);
  EXPECT_TRUE(form.lblError->isVisible());
}

}  // namespace
}  // namespace apptest
