// The start-up sequence: what it gathers, the splash with its use counter,
// the error-log header and the main window, and its two planned ends.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>

#include "app/Castellan_Main.h"
#include "app/fMainForm.h"
#include "app/frmSplash.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "support/AppIdentity.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_GetSystemInfos.h"
#include "support/ZVK_Language.h"
#include "support/ZVK_Registry.h"
#include "tests/main/TestSupport.h"

namespace {

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override { app::frmSplash::SetDurationSeconds(0); }
  void TearDown() override {
    Castellan_Main::DestroyMainForm();
    app::frmSplash::SetDurationSeconds(3);
  }
  std::string ErrorLog() const { return testsupport::ReadFile(tree.commonDir() + "/error.log"); }

  testsupport::ProgramTree tree;
  platform::ScriptedAnswerer answers;
};

TEST_F(StartupTest, StartsWithTheSplashTheLogHeaderAndTheWindow) {
  std::filesystem::remove(tree.commonDir() + "/error.log");
  ASSERT_TRUE(Castellan_Main::Main());
  app::fMainForm* form = Castellan_Main::MainForm();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(ZVK_Language::gLanguageName, "english");  // no stored language: english
  EXPECT_TRUE(answers.Calls().empty());
  // The header is written after the splash, once.
  const std::string log = ErrorLog();
  EXPECT_EQ(log.rfind("########  z.v.k error log file - created ", 0), 0u) << log;
  // No window of the splash is left.
  for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_EQ(qobject_cast<app::frmSplash*>(w), nullptr);
}

// A user who did not install the tree cannot write its shared store (here a
// file stands where the folder belongs): the counter still counts, and no
// start logs an error. At the largest count the overflow is logged and the count stays.
TEST_F(StartupTest, SplashCountsStartsForAUserWhoCannotWriteTheSharedStore) {
  ZVK_Identity::gUserName = "GUEST";
  std::filesystem::remove_all(tree.path("machine"));
  testsupport::WriteFile(tree.path("machine"), "installed by another user");
  const long long logged = ZVK_ErrorLog::ErrorsLogged();
  for (const char* shown : {"1 times", "2 times", "3 times"}) {
    app::frmSplash splash;
    splash.Form_Load();
    EXPECT_EQ(splash.lblUseCounter->text().toStdString(), shown);
  }
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged(), logged) << ErrorLog();
  ZVK_Registry::SaveRegSetting("ZVK\\Castellan\\GUEST", "Settings", "UseCounter", 2147483647LL);
  app::frmSplash full;
  full.Form_Load();
  EXPECT_EQ(ZVK_Registry::GetRegSetting("ZVK\\Castellan\\GUEST", "Settings", "UseCounter", int32_t{0}).AsLong(),
            2147483647);
  EXPECT_NE(ErrorLog().find("Form_Load of Formular frmSplash"), std::string::npos) << ErrorLog();
}

TEST_F(StartupTest, AMissingLanguageFileEndsTheProgramBeforeAnyWindow) {
  ZVK_GetSystemInfos::GetPCInfos();  // the user whose settings the start-up reads
  // A stored language whose file is missing, then the default, english, removed.
  for (const std::string language : {"klingon", "english"}) {
    SCOPED_TRACE(language);
    answers.Clear();
    platform::SaveSetting("ZVK\\Castellan\\" + ZVK_Identity::gUserName, "Settings", "Language", language);
    if (language == "english") std::filesystem::remove(tree.commonDir() + "/language/english.lng");
    EXPECT_FALSE(Castellan_Main::Main());
    EXPECT_EQ(Castellan_Main::MainForm(), nullptr);
    ASSERT_EQ(answers.Calls().size(), 1u);
    EXPECT_NE(answers.Calls()[0].text.find(".lng"), std::string::npos) << answers.Calls()[0].text;
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
  }
}

// Without a display the program says what it needs and ends with an error
// code of its own, not with Qt's abort; a display named but not answering
// ends the same way.
TEST(NoDisplay, TheProgramAsksForADesktopSessionAndEndsWithAnError) {
  using Env = std::vector<std::pair<QString, QString>>;
  const Env cases[] = {{},  // nothing set
                       {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}},
                       {{"DISPLAY", ":4999"}}};  // a display that does not answer
  const QString program = QString::fromStdString(testsupport::StageDir()) + "/Castellan/castellan";
  ASSERT_TRUE(std::filesystem::exists(program.toStdString())) << program.toStdString();
  for (const Env& set : cases) {
    SCOPED_TRACE(set.empty() ? "nothing set" : set.back().first.toStdString());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    for (const auto& [name, value] : set) env.insert(name, value);
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, {});
    ASSERT_TRUE(process.waitForFinished(60000));
    const std::string errors = process.readAllStandardError().toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << errors;
    EXPECT_EQ(process.exitCode(), 1) << errors;
    EXPECT_NE(errors.find("desktop session"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("einstall"), std::string::npos) << errors;
  }
}

}  // namespace
