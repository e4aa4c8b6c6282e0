// The options panel's look: colours through the colour picker, the board
// picture, the animation speed, the language choice and the record copy,
// each also after a restart through the profile.
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <filesystem>

#include "app/frmColorPicker.h"
#include "app/frmLoadGame.h"
#include "app/frmNewGame.h"
#include "app/frmNewPiece.h"
#include "board/BoardView.h"
#include "board/Profiles.h"
#include "platform/SettingsStore.h"
#include "support/ZVK_Language.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

// Mouse events on a control of a dialog, as the user's hand makes them.
void MouseOver(QWidget* w, QPoint at = QPoint(4, 4)) {
  QMouseEvent move(QEvent::MouseMove, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(w, &move);
}
void ClickOn(QWidget* w, QPoint at = QPoint(4, 4)) {
  MouseOver(w, at);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &release);
}

using AppearanceTest = MainWindowFixture;

std::vector<int32_t> CoordinateColours(const app::fMainForm& f) {
  std::vector<int32_t> colours;
  for (QLabel* l : f.lblFile) colours.push_back(app::fMainForm::ForeColor(l));
  for (QLabel* l : f.lblRank) colours.push_back(app::fMainForm::ForeColor(l));
  return colours;
}

QColor BoardAreaColour(const app::fMainForm& f) {
  return f.findChild<QWidget*>("BoardArea")->palette().color(QPalette::Window);
}

TEST_F(AppearanceTest, PickedColoursReachTheWindowAndTheFrameAndSurviveARestart) {
  // Background: hover a swatch, then click it.
  WhenModal([](QWidget* modal) {
    auto* picker = qobject_cast<app::frmColorPicker*>(modal);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->windowTitle(), "z.v.k Color Picker");
    EXPECT_EQ(app::ToBgr(picker->CurColorOld->backColor()), 0x800000);  // opened with the current colour
    MouseOver(picker->MiniPicker[32]);
    EXPECT_EQ(picker->txtColorCode->text(), QString::number(0xFF0000));
    ClickOn(picker->MiniPicker[32]);
  });
  form->cmdChangeBackgroundColor->click();
  EXPECT_EQ(form->BackgroundColor(), 0xFF0000);
  EXPECT_EQ(BoardAreaColour(*form), QColor(0, 0, 255));

  // Coordinates: a typed code, taken by clicking the preview.
  WhenModal([](QWidget* modal) {
    auto* picker = qobject_cast<app::frmColorPicker*>(modal);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(app::ToBgr(picker->CurColorOld->backColor()), 0xDF996F);
    picker->txtColorCode->setText("65535");
    ClickOn(picker->CurColor);
  });
  form->cmdChangeBordCoordinateColor->click();
  EXPECT_EQ(CoordinateColours(*form), std::vector<int32_t>(32, 0x00FFFF));
  EXPECT_EQ(form->lblRank[15]->palette().color(QPalette::WindowText), QColor(255, 255, 0));

  // Closed without a choice: nothing changes.
  WhenModal([](QWidget* modal) {
    auto* picker = qobject_cast<app::frmColorPicker*>(modal);
    ASSERT_NE(picker, nullptr);
    MouseOver(picker->MiniPicker[5]);
    picker->reject();
  });
  form->cmdChangeBackgroundColor->click();
  EXPECT_EQ(form->BackgroundColor(), 0xFF0000);

  // The profile carries both colours and the board into the next run.
  const int board = (form->cmbBoard->currentIndex() + 1) % form->cmbBoard->count();
  form->cmbBoard->setCurrentIndex(board);
  B::Save2Registry();
  form.reset();
  form = std::make_unique<app::fMainForm>();
  form->Form_Initialize();
  EXPECT_EQ(form->BackgroundColor(), 0xFF0000);
  EXPECT_EQ(BoardAreaColour(*form), QColor(0, 0, 255));
  EXPECT_EQ(CoordinateColours(*form), std::vector<int32_t>(32, 0x00FFFF));
  EXPECT_EQ(form->cmbBoard->currentIndex(), board);
  EXPECT_EQ(form->picFrontBuffer->picture(), B::LoadBoardPicture(form->cmbBoard->currentText().toStdString()));

  form->cmdSetDefaultColor->click();
  EXPECT_EQ(form->BackgroundColor(), 0x800000);
  EXPECT_EQ(CoordinateColours(*form), std::vector<int32_t>(32, 0xDF996F));
  EXPECT_TRUE(answers.Calls().empty());
}

TEST_F(AppearanceTest, PickerPreviewFollowsCodesAndTheChartAndTheOldColourComesBack) {
  int32_t picked = 0x123456;
  app::frmColorPicker picker(form.get(), picked);
  ASSERT_EQ(picker.CurrentColor(), 0x123456);

  struct Code {
    const char* text;
    int32_t preview;  // the preview after typing it
  };
  const Code codes[] = {
      {"255", 255},
      {"abc", 255},                   // letters: the last colour stays
      {"", 255},                      // an emptied box
      {"12 34", 255},                 // blank inside
      {"-1", 255},                    // no colour below 0
      {"16777216", 255},              // nor above &HFFFFFF
      {"99999999999999999999", 255},  // beyond every integer
      {" 16711680 ", 0xFF0000},       // blanks around are forgiven
      {"0", 0},
  };
  for (const Code& c : codes) {
    picker.txtColorCode->setText(QString::fromLatin1(c.text));
    EXPECT_EQ(picker.CurrentColor(), c.preview) << c.text;
  }
  EXPECT_EQ(picked, 0x123456);  // previews hand nothing back

  // The chart previews the colour under the mouse; points outside it change nothing.
  const QImage& chart = picker.Picker->picture();
  MouseOver(picker.Picker, QPoint(40, 30));
  EXPECT_EQ(picker.CurrentColor(), app::ToBgr(QColor(chart.pixel(40, 30))));
  picker.Picker_MouseMove(5000, -3);
  EXPECT_EQ(picker.CurrentColor(), app::ToBgr(QColor(chart.pixel(40, 30))));

  ClickOn(picker.CurColorOld);
  EXPECT_EQ(picked, 0x123456);
  EXPECT_EQ(picker.CurrentColor(), 0x123456);
  EXPECT_EQ(picker.result(), QDialog::Accepted);
}

TEST_F(AppearanceTest, BoardPictureChangesAndAMissingOneKeepsTheLastAndIsLogged) {
  ASSERT_EQ(form->cmbBoard->count(), 3);
  const int stored = form->cmbBoard->currentIndex();
  const QImage first = form->picFrontBuffer->picture();
  form->cmbBoard->setCurrentIndex((stored + 1) % 3);
  const QImage second = form->picFrontBuffer->picture();
  EXPECT_NE(first, second);
  EXPECT_FALSE(form->lblError->isVisible());

  // A picture removed after the list was filled.
  const int missing = (stored + 2) % 3;
  std::filesystem::remove(tree.path("Castellan/board/" + form->cmbBoard->itemText(missing).toStdString() + ".JPG"));
  form->cmbBoard->setCurrentIndex(missing);
  EXPECT_EQ(form->picFrontBuffer->picture(), second);
  EXPECT_TRUE(form->lblError->isVisible());
  EXPECT_NE(testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()).find("Set_Backgroud_BordPattern of Formular fMainForm"),
            std::string::npos);
}

TEST_F(AppearanceTest, LanguageSpeedAndClipboard) {
  for (const char* extra : {"deutsch.lng", "francais.lng"})
    testsupport::WriteFile(tree.path(std::string("Common/language/") + extra), "T0001\tx\r\n");
  form.reset();
  form = std::make_unique<app::fMainForm>();
  form->Form_Initialize();
  ASSERT_EQ(form->cmbLanguage->count(), 3);
  const std::string textsBefore = ZVK_Language::LangText(21);

  // The user's choice of the third entry is stored as its position; the
  // texts stay, and the next start selects it again.
  form->cmbLanguage->setCurrentIndex(2);
  emit form->cmbLanguage->activated(2);
  const QString third = form->cmbLanguage->itemText(2);
  EXPECT_EQ(platform::GetSetting("ZVK\\" + ZVK_Identity::gAppName + "\\TESTER\\Standard", "Settings", "cmbLanguage"),
            "3");
  EXPECT_EQ(ZVK_Language::gLanguageName, third.toStdString());
  EXPECT_EQ(ZVK_Language::LangText(21), textsBefore);
  form.reset();
  form = std::make_unique<app::fMainForm>();
  form->Form_Initialize();
  EXPECT_EQ(form->cmbLanguage->currentText(), third);
  app::SetCheckValue(form->chkMoveAnimation, 0);

  form->HScrollAnimationSpeed->setValue(37);
  EXPECT_EQ(form->lblAnimationMoveSpeed->text(), "37");

  NewGame("OfflinePP");
  Move("e2", "e4");
  QGuiApplication::clipboard()->setText("old");
  form->cmdCopy2Clipboard->click();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), form->txtMoveList->toPlainText());
  EXPECT_NE(QGuiApplication::clipboard()->text().indexOf("E:2"), -1) << QGuiApplication::clipboard()->text().toStdString();
}

// The main window's frame captions are pale for its dark ground; the small
// dialogs lie on a light ground, where the same captions could not be read.
TEST_F(AppearanceTest, DialogFrameCaptionsAreDarkOnTheirLightGround) {
  auto lightness = [](QRgb c) { return (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c)) / 1000; };
  struct Case {
    const char* dialog;
    std::function<std::unique_ptr<QDialog>()> make;
  };
  const Case cases[] = {
      {"new game", [&] { return std::make_unique<app::frmNewGame>(form.get()); }},
      {"load game", [&] { return std::make_unique<app::frmLoadGame>(*form, form.get()); }},
      {"promotion", [&] { return std::make_unique<app::frmNewPiece>(form.get()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dialog);
    std::unique_ptr<QDialog> dialog = c.make();
    dialog->show();
    QApplication::processEvents();
    int captions = 0;
    for (QGroupBox* box : dialog->findChildren<QGroupBox*>()) {
      if (box->title().isEmpty() || !box->isVisible()) continue;
      ++captions;
      // The caption sits in the frame's top margin, above its border.
      const QImage top = box->grab(QRect(0, 0, box->width(), box->fontMetrics().height())).toImage();
      int darkest = 255;
      for (int y = 0; y < top.height(); ++y)
        for (int x = 0; x < top.width(); ++x) darkest = std::min(darkest, lightness(top.pixel(x, y)));
      EXPECT_LT(darkest, 100) << box->title().toStdString();
    }
    EXPECT_GT(captions, 0);
    dialog->close();
  }
}

}  // namespace
}  // namespace apptest
