// The options panel's look: colours through the colour picker, the board
// picture, the language choice and the record copy, each also after a restart
// through the profile.
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
void MouseOver(QWidget* w, QPoint at = QPoint(4, 4), bool click = false) {
  auto send = [&](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
  };
  send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
  if (!click) return;
  send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
}
void ClickOn(QWidget* w, QPoint at = QPoint(4, 4)) { MouseOver(w, at, true); }

class AppearanceTest : public MainWindowFixture {
 protected:
  void Restart() {
    form.reset();
    form = std::make_unique<app::fMainForm>();
    form->Form_Initialize();
  }
  std::vector<int32_t> CoordinateColours() const {
    std::vector<int32_t> colours;
    for (const auto* labels : {&form->lblFile, &form->lblRank})
      for (QLabel* l : *labels) colours.push_back(app::fMainForm::ForeColor(l));
    return colours;
  }
  QColor BoardAreaColour() const { return form->findChild<QWidget*>("BoardArea")->palette().color(QPalette::Window); }
};

// Runs `act` on the colour picker the next button opens, after checking it shows the current colour.
void OnPicker(int32_t current, std::function<void(app::frmColorPicker*)> act) {
  WhenModal([=](QWidget* modal) {
    auto* picker = qobject_cast<app::frmColorPicker*>(modal);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(app::ToBgr(picker->CurColorOld->backColor()), current);
    act(picker);
  });
}

TEST_F(AppearanceTest, PickedColoursReachTheWindowAndTheFrameAndSurviveARestart) {
  OnPicker(0x800000, [](app::frmColorPicker* picker) { ClickOn(picker->MiniPicker[32]); });  // a swatch
  form->cmdChangeBackgroundColor->click();
  OnPicker(0xDF996F, [](app::frmColorPicker* picker) {  // a typed code, taken by clicking the preview
    picker->txtColorCode->setText("65535");
    ClickOn(picker->CurColor);
  });
  form->cmdChangeBordCoordinateColor->click();
  OnPicker(0xFF0000, [](app::frmColorPicker* picker) {  // closed without a choice: nothing changes
    MouseOver(picker->MiniPicker[5]);
    picker->reject();
  });
  form->cmdChangeBackgroundColor->click();
  EXPECT_EQ(BoardAreaColour(), QColor(0, 0, 255));
  EXPECT_EQ(form->lblRank[15]->palette().color(QPalette::WindowText), QColor(255, 255, 0));

  // The profile carries both colours and the board into the next run.
  const int board = (form->cmbBoard->currentIndex() + 1) % form->cmbBoard->count();
  form->cmbBoard->setCurrentIndex(board);
  B::Save2Registry();
  Restart();
  EXPECT_EQ(form->BackgroundColor(), 0xFF0000);
  EXPECT_EQ(BoardAreaColour(), QColor(0, 0, 255));
  EXPECT_EQ(CoordinateColours(), std::vector<int32_t>(32, 0x00FFFF));
  EXPECT_EQ(form->cmbBoard->currentIndex(), board);
  EXPECT_EQ(form->picFrontBuffer->picture(), B::LoadBoardPicture(form->cmbBoard->currentText().toStdString()));

  form->cmdSetDefaultColor->click();
  EXPECT_EQ(form->BackgroundColor(), 0x800000);
  EXPECT_EQ(CoordinateColours(), std::vector<int32_t>(32, 0xDF996F));
  EXPECT_TRUE(answers.Calls().empty());
}

TEST_F(AppearanceTest, PickerPreviewFollowsCodesAndTheChartAndTheOldColourComesBack) {
  int32_t picked = 0x123456;
  app::frmColorPicker picker(form.get(), picked);
  // After "255" nothing that is not a colour code changes the preview: letters, an emptied box, a blank
  // inside, below 0, above &HFFFFFF, beyond every integer; blanks around are forgiven.
  const std::pair<const char*, int32_t> codes[] = {
      {"255", 255},      {"abc", 255},        {"", 255},  {"12 34", 255}, {"-1", 255}, {"16777216", 255},
      {"99999999999999999999", 255}, {" 16711680 ", 0xFF0000}, {"0", 0}};
  for (const auto& [text, preview] : codes) {
    picker.txtColorCode->setText(QString::fromLatin1(text));
    EXPECT_EQ(picker.CurrentColor(), preview) << text;
  }
  EXPECT_EQ(picked, 0x123456);  // previews hand nothing back

  // The chart previews the colour under the mouse; points outside it change nothing.
  const int32_t underMouse = app::ToBgr(QColor(picker.Picker->picture().pixel(40, 30)));
  MouseOver(picker.Picker, QPoint(40, 30));
  picker.Picker_MouseMove(5000, -3);
  EXPECT_EQ(picker.CurrentColor(), underMouse);

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
  const int missing = (stored + 2) % 3;  // removed after the list was filled
  std::filesystem::remove(tree.path("Castellan/board/" + form->cmbBoard->itemText(missing).toStdString() + ".JPG"));
  form->cmbBoard->setCurrentIndex(missing);
  EXPECT_EQ(form->picFrontBuffer->picture(), second);
  EXPECT_NE(testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()).find("Set_Backgroud_BordPattern of Formular fMainForm"),
            std::string::npos);
}

TEST_F(AppearanceTest, LanguageAndClipboard) {
  for (const char* extra : {"deutsch.lng", "francais.lng"})
    testsupport::WriteFile(tree.path(std::string("Common/language/") + extra), "T0001\tx\r\n");
  Restart();
  ASSERT_EQ(form->cmbLanguage->count(), 3);
  const std::string textsBefore = ZVK_Language::LangText(21);
  // The choice is stored as its position; the texts stay, and the next start selects it again.
  form->cmbLanguage->setCurrentIndex(2);
  emit form->cmbLanguage->activated(2);
  const QString third = form->cmbLanguage->itemText(2);
  EXPECT_EQ(platform::GetSetting("ZVK\\" + ZVK_Identity::gAppName + "\\TESTER\\Standard", "Settings", "cmbLanguage"),
            "3");
  EXPECT_EQ(ZVK_Language::LangText(21), textsBefore);
  Restart();
  EXPECT_EQ(form->cmbLanguage->currentText(), third);

  app::SetCheckValue(form->chkMoveAnimation, 0);
  NewGame("OfflinePP");
  Move("e2", "e4");
  form->cmdCopy2Clipboard->click();
  const QString copied = QGuiApplication::clipboard()->text();
  EXPECT_EQ(copied, form->txtMoveList->toPlainText());
  EXPECT_NE(copied.indexOf("E:2"), -1) << copied.toStdString();
}

// The main window's frame captions are pale for its dark ground; the small
// dialogs lie on a light ground, where the same captions could not be read.
TEST_F(AppearanceTest, DialogFrameCaptionsAreDarkOnTheirLightGround) {
  std::unique_ptr<QDialog> dialogs[] = {std::make_unique<app::frmNewGame>(form.get()),
                                        std::make_unique<app::frmLoadGame>(*form, form.get()),
                                        std::make_unique<app::frmNewPiece>(form.get())};
  for (const auto& dialog : dialogs) {
    SCOPED_TRACE(dialog->metaObject()->className());
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
        for (int x = 0; x < top.width(); ++x) darkest = std::min(darkest, qGray(top.pixel(x, y)));
      EXPECT_LT(darkest, 100) << box->title().toStdString();
    }
    EXPECT_GT(captions, 0);
    dialog->close();
  }
}

}  // namespace
}  // namespace apptest
