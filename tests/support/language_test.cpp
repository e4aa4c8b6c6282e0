#include <gtest/gtest.h>

#include <filesystem>

#include "platform/MessageBox.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_Language.h"
#include "tests/main/TestSupport.h"

using namespace ZVK_Language;

namespace {

TEST(LanguageText, LinesThatCountAndLinesThatDoNot) {
  // text: what the number holds; "!" when the load fails.
  struct Case { const char* name; std::string bytes; int number; std::string text; };
  const Case cases[] = {
      {"blanks trimmed", "  T0021\t  Coming soon  \r\n", 21, "Coming soon"},
      {"later line wins", "T0044\tfirst\nT0044\tsecond\n", 44, "second"},
      {"comment lines free", "; T0042\tno\nX\tno\nT0042\tyes\n", 42, "yes"},
      {"single-byte code page", std::string("T0001\tK\xF6nig\n"), 1, "K\xC3\xB6nig"},
      {"not a number", "T00x1\tx\n", 1, "!"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> table;
    const bool read = ParseLanguageText(c.bytes, table);
    EXPECT_EQ(read, c.text != "!") << c.name;
    if (!read) continue;
    EXPECT_EQ(static_cast<size_t>(c.number) < table.size() ? table[c.number] : "", c.text) << c.name;
  }
}

class Language : public ::testing::Test {
 protected:
  testsupport::ProgramTree tree;
  platform::ScriptedAnswerer answers;
  std::string Lng(const std::string& name) { return tree.commonDir() + "/language/" + name; }
};

TEST_F(Language, MissingFileTellsTheUserAndFails) {
  EXPECT_FALSE(set_language("klingon.lng"));
  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_NE(answers.Calls()[0].text.find("klingon.lng is missing!"), std::string::npos);
  EXPECT_FALSE(set_language("../language/english.lng"));  // no reaching into other folders
}

TEST_F(Language, BadLineIsLoggedWithoutAMessage) {
  testsupport::WriteFile(Lng("broken.lng"), "T0021\tfine\r\nT-005\tnegative\r\n");
  gLangText = {"", "in use"};
  EXPECT_FALSE(set_language("broken.lng"));
  EXPECT_EQ(gLangText, (std::vector<std::string>{"", "in use"}));  // a refused file changes no text
  EXPECT_TRUE(answers.Calls().empty());
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged(), 1);
}

}  // namespace
