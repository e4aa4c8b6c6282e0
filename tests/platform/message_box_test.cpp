#include <gtest/gtest.h>

#include "platform/DoEvents.h"
#include "platform/MessageBox.h"

namespace {

TEST(MessageBox, ScriptedAnswererRecordsAndAnswers) {
  platform::ScriptedAnswerer answers;
  answers.Push(platform::vbNo);
  EXPECT_EQ(platform::MsgBox("Are you sure that you wish to leave now ?", 4132, "Castellan"), platform::vbNo);
  // An empty queue answers with the first button of the style.
  EXPECT_EQ(platform::MsgBox("q", 4131, "t"), platform::vbYes);
  ASSERT_EQ(answers.Calls().size(), 2u);
  EXPECT_EQ(answers.Calls()[0].style, 4132);
  EXPECT_EQ(answers.Calls()[1].title, "t");
}

TEST(DoEvents, ThrottledPassesAreFewerThanCalls) {
  platform::SetYieldIntervalMs(1000);
  platform::DoEventsNow();
  const long long before = platform::YieldPasses();
  for (int i = 0; i < 10000; ++i) platform::DoEvents();
  EXPECT_EQ(platform::YieldPasses(), before);
  platform::SetYieldIntervalMs(4);
}

}  // namespace
