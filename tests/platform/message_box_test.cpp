#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "platform/MessageBox.h"

namespace {

// The window manager cuts a title wider than its window.
TEST(MessageBox, ABoxIsAtLeastAsWideAsItsTitle) {
  const char* title = "Castellan Quarto: the title of a box whose text is much shorter than it";
  int width = 0;
  std::function<void()> answer = [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return QTimer::singleShot(5, answer);
    width = box->width();
    box->accept();
  };
  QTimer::singleShot(0, answer);
  platform::MsgBox("Mate", 4096, title);
  const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::TitleFont));
  EXPECT_GE(width, metrics.horizontalAdvance(QString::fromUtf8(title)));
}

}  // namespace
