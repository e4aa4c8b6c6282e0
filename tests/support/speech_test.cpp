#include <gtest/gtest.h>

#include <QWidget>
#include <filesystem>

#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/WindowHelpers.h"
#include "support/ErrorGuard.h"
#include "support/MainWindowLinks.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_Language.h"
#include "support/ZVK_MSAgent.h"
#include "support/ZVK_WindowHelpers.h"
#include "tests/main/TestSupport.h"

using namespace ZVK_MSAgent;

namespace {

struct FakeMainWindow : ZVK_MainWindow::VoiceBox, ZVK_MainWindow::TopMostBox, ZVK_MainWindow::HelpSource {
  int16_t voice = 0;
  int16_t onTop = 0;
  QWidget window;
  std::string help;
  int16_t chkEnableVoiceValue() const override { return voice; }
  int16_t chkWinOnTopValue() const override { return onTop; }
  QWidget* MainWindow() override { return &window; }
  std::string SetHelpStrings(int16_t n) override { return n == 1 ? help : ""; }
};

class Speech : public ::testing::Test {
 protected:
  void SetUp() override {
    ZVK_MainWindow::SetVoiceBox(&main);
    ZVK_MainWindow::SetTopMostBox(&main);
    ZVK_MainWindow::SetHelpSource(&main);
  }
  void TearDown() override {
    ReleaseAgentCharacter();
    ZVK_MainWindow::SetVoiceBox(nullptr);
    ZVK_MainWindow::SetTopMostBox(nullptr);
    ZVK_MainWindow::SetHelpSource(nullptr);
  }
  bool Load() {
    if (!LoadAgentCharacter()) return false;
    gAgentChar()->SetAloudAllowed(false);  // balloons only in tests
    return true;
  }
  testsupport::ProgramTree tree;
  FakeMainWindow main;
  platform::ScriptedAnswerer answers;
};

TEST_F(Speech, VoiceBoxDecidesBetweenSpeechAndThought) {
  ASSERT_TRUE(Load());  // the installed character
  main.voice = 1;
  EXPECT_EQ(MyAgentSpeakText("   ", -1), 0);  // blanks touch nothing
  EXPECT_FALSE(gAgentChar()->Visible());
  struct Case {
    int16_t voice;
    int16_t tags;
    bool thought;
    std::vector<std::string> args;  // of the spoken text
  };
  const Case cases[] = {
      {1, -1, false, {"-p", "25", "-s", "150", "-a", "100", "--stdin"}},
      {0, -1, true, {}},  // thoughts are never heard, tags or not
  };
  for (const auto& c : cases) {
    main.voice = c.voice;
    EXPECT_EQ(MyAgentSpeakText("Move e2-e4", c.tags), -1);
    EXPECT_EQ(gAgentChar()->BalloonText(), "Move e2-e4") << "tags never show in the balloon";
    EXPECT_EQ(gAgentChar()->BalloonIsThought(), c.thought);
    if (!c.thought) {
      EXPECT_EQ(gAgentChar()->LastSpeechArguments(), c.args);
    }
  }
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged(), 0);
}

TEST_F(Speech, WithoutACharacterEveryTextIsALoggedFailure) {
  main.voice = 1;
  EXPECT_EQ(MyAgentSpeakText("White king in check", -1), 0);
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged(), 1);
  EXPECT_NE(testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()).find("MyAgentSpeakText of Formular frmMain_Pakwell"),
            std::string::npos);
  EXPECT_THROW(PlayRandomAnimation(), ZVK_ErrorLog::RuntimeError);
}

TEST_F(Speech, NextVersionNoticeReleasesTheWindowAndRestoresOnlyWhenTicked) {
  ZVK_Language::gLangText.assign(21, "");
  ZVK_Language::gLangText.insert(ZVK_Language::gLangText.end(), {"Coming soon", "in the next version", "Info"});
  for (int16_t ticked : {0, 1}) {
    main.onTop = ticked;
    ZVK_WindowsTopMost::SetTopMost(&main.window);
    ZVK_ErrorLog::InNextVersion();
    EXPECT_EQ(platform::IsWindowTopMost(&main.window), ticked == 1);
  }
  ASSERT_EQ(answers.Calls().size(), 2u);
  EXPECT_EQ(answers.Calls()[0].text, "Coming soon\r\nin the next version");
}

TEST_F(Speech, HelpOpensTheNamedFileOrSaysItIsMissing) {
  platform::ScriptedShell shell;
  main.help = tree.programDir() + "/help/Castellan.chm";
  std::filesystem::remove_all(tree.programDir() + "/help/Castellan");  // the installed pages
  ZVK_HTMLHelp::ShowHelp(1);
  ASSERT_EQ(answers.Calls().size(), 1u);  // missing: the viewer says so
  EXPECT_NE(answers.Calls()[0].text.find("Castellan.chm"), std::string::npos);
  testsupport::WriteFile(tree.programDir() + "/help/Castellan.html", "<html></html>");
  ZVK_HTMLHelp::ShowHelp(1);
  ASSERT_EQ(shell.Opened().size(), 1u);
  EXPECT_EQ(shell.Opened()[0], tree.programDir() + "/help/Castellan.html");
  ZVK_HTMLHelp::ShowHelp(7);  // no such help: reported, never opened
  EXPECT_EQ(shell.Opened().size(), 1u);
}

}  // namespace
