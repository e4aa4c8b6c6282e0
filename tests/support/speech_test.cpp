#include <gtest/gtest.h>

#include "support/MainWindowLinks.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_MSAgent.h"
#include "tests/main/TestSupport.h"

using namespace ZVK_MSAgent;

namespace {

struct FakeVoiceBox : ZVK_MainWindow::VoiceBox {
  int16_t voice = 0;
  int16_t chkEnableVoiceValue() const override { return voice; }
};

// The voice box decides between speech and thought; without a character
// every text is a logged failure, never a crash.
TEST(Speech, VoiceBoxDecidesAndAMissingCharacterIsLogged) {
  testsupport::ProgramTree tree;
  FakeVoiceBox box;
  ZVK_MainWindow::SetVoiceBox(&box);
  box.voice = 1;
  EXPECT_EQ(MyAgentSpeakText("White king in check", -1), 0);
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged(), 1);
  ASSERT_TRUE(LoadAgentCharacter());  // the installed character
  gAgentChar()->SetAloudAllowed(false);  // balloons only in tests
  for (int16_t voice : {0, 1}) {
    box.voice = voice;
    EXPECT_EQ(MyAgentSpeakText("Move e2-e4", -1), -1);
    EXPECT_EQ(gAgentChar()->BalloonText(), "Move e2-e4") << "tags never show in the balloon";
    EXPECT_EQ(gAgentChar()->BalloonIsThought(), voice == 0);
  }
  ReleaseAgentCharacter();
  ZVK_MainWindow::SetVoiceBox(nullptr);
}

}  // namespace
