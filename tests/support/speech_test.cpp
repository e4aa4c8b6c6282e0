// The assistant speaks aloud or thinks in a balloon as the voice box says,
// and without a character every text is a logged failure; the window helpers
// keep the window on top only while the box is ticked, and the next-version
// notice says so.
#include <gtest/gtest.h>

#include <QWidget>

#include "platform/MessageBox.h"
#include "platform/WindowHelpers.h"
#include "support/MainWindowLinks.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_Language.h"
#include "support/ZVK_MSAgent.h"
#include "support/ZVK_WindowHelpers.h"
#include "tests/main/TestSupport.h"

using namespace ZVK_MSAgent;

namespace {

struct FakeMainWindow : ZVK_MainWindow::VoiceBox, ZVK_MainWindow::TopMostBox {
  int16_t voice = 0;
  int16_t onTop = 0;
  QWidget window;
  int16_t chkEnableVoiceValue() const override { return voice; }
  int16_t chkWinOnTopValue() const override { return onTop; }
  QWidget* MainWindow() override { return &window; }
};

class Speech : public ::testing::Test {
 protected:
  void SetUp() override {
    ZVK_MainWindow::SetVoiceBox(&main);
    ZVK_MainWindow::SetTopMostBox(&main);
  }
  void TearDown() override {
    ReleaseAgentCharacter();
    ZVK_MainWindow::SetVoiceBox(nullptr);
    ZVK_MainWindow::SetTopMostBox(nullptr);
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
  EXPECT_EQ(gAgentChar()->Name(), "DailyCharacter");
  EXPECT_EQ(gAgentChar()->Commands(), (std::vector<std::string>{"Hide", "Speak Any Text"}));
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
      {1, 0, false, {"--stdin"}},
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
  EXPECT_EQ(MyAgentSpeakText("", -1), 0);
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged(), 1);
  EXPECT_NE(testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()).find("MyAgentSpeakText of Formular frmMain_Pakwell"),
            std::string::npos);
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
  EXPECT_EQ(answers.Calls()[0].style, 4160);
  EXPECT_EQ(answers.Calls()[0].title, "Info");
}

TEST_F(Speech, TopMostAndCloseEntryKeepAShownWindowShown) {
  main.window.setGeometry(40, 50, 300, 200);
  main.window.show();
  ZVK_WindowsTopMost::SetTopMost(&main.window);
  EXPECT_TRUE(platform::IsWindowTopMost(&main.window));
  EXPECT_TRUE(main.window.isVisible());
  ZVK_API_Shell::RemoveCloseButton(&main.window);
  EXPECT_FALSE(platform::HasCloseEntry(&main.window));
  EXPECT_TRUE(platform::IsWindowTopMost(&main.window));
  ZVK_WindowsTopMost::SetNotTopMost(&main.window);
  EXPECT_FALSE(platform::IsWindowTopMost(&main.window));
  EXPECT_EQ(main.window.size(), QSize(300, 200));
}

}  // namespace
