// The options panel's look: colours through the colour picker, the board
// picture and the language choice, each also after a restart through the profile.

#include "app/frmColorPicker.h"
#include "board/BoardView.h"
#include "board/Profiles.h"
#include "platform/SettingsStore.h"
#include "support/ZVK_Language.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

// A click on a control of a dialog, moving there first as the user's hand does.
void ClickOn(QWidget* w) {
  auto send = [w](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(4, 4), w->mapToGlobal(QPointF(4, 4)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
  };
  send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
  send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
}

using AppearanceTest = MainWindowFixture;

// Runs `act` on the colour picker the next button opens, after checking it shows the current colour.
void OnPicker(int32_t current, std::function<void(app::frmColorPicker*)> act) {
  WhenModal([=](QWidget* modal) {
    auto* picker = qobject_cast<app::frmColorPicker*>(modal);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(app::ToBgr(picker->CurColorOld->backColor()), current);
    act(picker);
  });
}

// A swatch and a typed code taken by clicking the preview; the profile
// carries the colours and the board picture into the next run.
TEST_F(AppearanceTest, PickedColoursAndTheBoardSurviveARestart) {
  OnPicker(0x800000, [](app::frmColorPicker* picker) { ClickOn(picker->MiniPicker[32]); });
  form->cmdChangeBackgroundColor->click();
  OnPicker(0xDF996F, [](app::frmColorPicker* picker) {
    picker->txtColorCode->setText("65535");
    ClickOn(picker->CurColor);
  });
  form->cmdChangeBordCoordinateColor->click();
  const int board = (form->cmbBoard->currentIndex() + 1) % form->cmbBoard->count();
  form->cmbBoard->setCurrentIndex(board);
  B::Save2Registry();
  Reopen();
  EXPECT_EQ(form->BackgroundColor(), 0xFF0000);
  EXPECT_EQ(app::fMainForm::ForeColor(form->lblRank[15]), 0x00FFFF);
  EXPECT_EQ(form->cmbBoard->currentIndex(), board);
  EXPECT_EQ(form->picFrontBuffer->picture(), B::LoadBoardPicture(form->cmbBoard->currentText().toStdString()));
}

// After "255" nothing that is not a colour code changes the preview; blanks around are forgiven.
TEST_F(AppearanceTest, PickerPreviewTakesOnlyColourCodes) {
  int32_t picked = 0x123456;
  app::frmColorPicker picker(form.get(), picked);
  const std::pair<const char*, int32_t> codes[] = {{"255", 255}, {"abc", 255}, {"", 255}, {"-1", 255},
                                                   {"16777216", 255}, {"99999999999999999999", 255},
                                                   {" 16711680 ", 0xFF0000}};
  for (const auto& [text, preview] : codes) {
    picker.txtColorCode->setText(QString::fromLatin1(text));
    EXPECT_EQ(picker.CurrentColor(), preview) << text;
  }
  EXPECT_EQ(picked, 0x123456);  // previews hand nothing back
}

TEST_F(AppearanceTest, AMissingBoardPictureKeepsTheLastAndIsLogged) {
  const int missing = (form->cmbBoard->currentIndex() + 1) % form->cmbBoard->count();
  const QImage shown = form->picFrontBuffer->picture();
  std::filesystem::remove(tree.path("Castellan/board/" + form->cmbBoard->itemText(missing).toStdString() + ".JPG"));
  form->cmbBoard->setCurrentIndex(missing);
  EXPECT_EQ(form->picFrontBuffer->picture(), shown);
  EXPECT_NE(testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()).find("Set_Backgroud_BordPattern of Formular fMainForm"),
            std::string::npos);
}

// The language is stored as its position; the texts stay, and the next start selects it again.
TEST_F(AppearanceTest, TheLanguageChoiceIsStoredAndComesBack) {
  for (const char* extra : {"deutsch.lng", "francais.lng"})
    testsupport::WriteFile(tree.path(std::string("Common/language/") + extra), "T0001\tx\r\n");
  Reopen();
  ASSERT_EQ(form->cmbLanguage->count(), 3);
  const std::string textsBefore = ZVK_Language::LangText(21);
  form->cmbLanguage->setCurrentIndex(2);
  emit form->cmbLanguage->activated(2);
  const QString third = form->cmbLanguage->itemText(2);
  EXPECT_EQ(platform::GetSetting("ZVK\\" + ZVK_Identity::gAppName + "\\TESTER\\Standard", "Settings", "cmbLanguage"),
            "3");
  EXPECT_EQ(ZVK_Language::LangText(21), textsBefore);
  Reopen();
  EXPECT_EQ(form->cmbLanguage->currentText(), third);
}

}  // namespace
}  // namespace apptest
