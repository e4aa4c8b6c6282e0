#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTimer>
#include <functional>

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

// The window manager cuts a title wider than its window.
TEST(MessageBox, ABoxIsAtLeastAsWideAsItsTitle) {
  const std::pair<const char*, const char*> cases[] = {
      {"Mate", "Castellan Quarto"},
      {"Mate", "Castellan Quarto: the title of a box whose text is much shorter than it"},
  };
  for (const auto& [text, title] : cases) {
    int width = 0;
    std::function<void()> answer = [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return QTimer::singleShot(5, answer);
      width = box->width();
      box->accept();
    };
    QTimer::singleShot(0, answer);
    platform::MsgBox(text, 4096, title);
    const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    EXPECT_GE(width, metrics.horizontalAdvance(QString::fromUtf8(title))) << title;
  }
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
