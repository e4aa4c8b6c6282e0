// A second copy of the program: refused with the two-line message before any
// splash or window. A program of its own, because the running copy's lock
// lives for the whole process.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/Castellan_Main.h"
#include "app/frmSplash.h"
#include "platform/MessageBox.h"
#include "platform/SingleInstance.h"
#include "support/ZVK_Language.h"
#include "tests/main/TestSupport.h"

namespace {

TEST(SecondCopy, IsRefusedWithTheTwoLineMessageBeforeAnySplash) {
  testsupport::ProgramTree tree;
  platform::ScriptedAnswerer answers;
  platform::InstanceLock firstCopy(platform::ProgramInstanceName());
  ASSERT_TRUE(firstCopy.Acquired());
  app::frmSplash::SetDurationSeconds(0);
  EXPECT_FALSE(Castellan_Main::Main());
  EXPECT_EQ(Castellan_Main::MainForm(), nullptr);
  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_EQ(answers.Calls()[0].text, ZVK_Language::LangText(306) + "\r\n" + ZVK_Language::LangText(127));
  EXPECT_EQ(Castellan_Main::gSplashRunning, 0);  // the splash never started
  for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(w->isVisible());
}

}  // namespace
