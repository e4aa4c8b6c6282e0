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

TEST(InputBox, ScriptedAnswererAnswersEntriesCancelAndTheDefault) {
  platform::ScriptedAnswerer answers;
  answers.PushInput("12");
  answers.PushInput(std::nullopt);
  EXPECT_EQ(platform::InputBox("Move Numder :", "Go to move number", "0"), std::optional<std::string>("12"));
  EXPECT_EQ(platform::InputBox("p", "t", "0"), std::nullopt);
  // An empty queue presses OK on the default entry.
  EXPECT_EQ(platform::InputBox("p", "t", "7"), std::optional<std::string>("7"));
  ASSERT_EQ(answers.InputCalls().size(), 3u);
  EXPECT_EQ(answers.InputCalls()[0].prompt, "Move Numder :");
  EXPECT_EQ(answers.InputCalls()[1].answer, std::nullopt);
  EXPECT_TRUE(answers.Calls().empty());
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
