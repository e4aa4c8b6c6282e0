#include <gtest/gtest.h>

#include <filesystem>

#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_File_Dir.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;
using namespace ZVK_File_Dir;

namespace {

TEST(PathText, FixParseFileParsePathWithEitherSeparator) {
  using Rule = std::string (*)(const std::string&, char);
  struct Case { Rule rule; const char* input; char sep; const char* expected; };
  const Case cases[] = {
      {sFixDirString, "C:\\games", '\\', "C:\\games\\"},
      {sParseFile, "ftp\\www/games/x.zip", '\\', "x.zip"},
      {sParseFile, "C:\\games\\", '\\', ""},
      {sParsePath, "C:", '\\', "C:\\"},  // shorter than four: fixed
      {sParsePath, "abcd", '\\', ""},  // no separator
  };
  for (const auto& c : cases) EXPECT_EQ(c.rule(c.input, c.sep), c.expected) << c.input;
}

TEST(PathText, DirectoryChainSkipsRootsAndShares) {
  struct Case { const char* path; char sep; std::vector<std::string> folders; };
  const Case cases[] = {
      {"\\\\server\\share\\a\\b", '\\', {"\\\\server\\share\\a", "\\\\server\\share\\a\\b"}},
      {"C:\\Castellan\\..\\Common", '\\', {"C:\\Castellan", "C:\\Castellan\\..", "C:\\Castellan\\..\\Common"}},
      {"/", '/', {}},
  };
  for (const auto& c : cases) EXPECT_EQ(DirectoryChain(c.path, c.sep), c.folders) << c.path;
}

class FileDir : public ::testing::Test {
 protected:
  testsupport::ProgramTree tree;
  std::string Dir(const std::string& rel) { return tree.path(rel); }
};

TEST_F(FileDir, FileExistsTrimsTheCallersTextAndMatchesPatterns) {
  testsupport::WriteFile(Dir("temp/game1.chs"), "x");
  std::string padded = "  " + Dir("temp/game1.chs") + "  ";
  EXPECT_TRUE(FileExists(padded));
  EXPECT_EQ(padded, Dir("temp/game1.chs"));
  std::string folderPath = Dir("temp/");
  EXPECT_FALSE(FileExists(folderPath));  // ends with the separator: not looked at
  EXPECT_TRUE(FileExists(Dir("temp/*.chs")));
  EXPECT_FALSE(FileExists(Dir("temp/*.zip")));
  EXPECT_FALSE(FileExists(Dir("temp")));  // a folder is not a file
  EXPECT_FALSE(FileExists(std::string("   ")));
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged(), 0);
}

TEST_F(FileDir, WriteFileReplacesOrAppendsMakesTheFoldersAndLogsFailures) {
  const std::string file = Dir("Castellan/InternetGame/offered/x.txt");
  WriteFile(file, "one", false);
  WriteFile(file, "two", true);
  EXPECT_EQ(testsupport::ReadFile(file), "one\r\ntwo\r\n");
  // Into an unwritable place: logged, never thrown.
  testsupport::WriteFile(Dir("temp/blocker"), "a file where a folder should be");
  const long long before = ZVK_ErrorLog::ErrorsLogged();
  WriteFile(Dir("temp/blocker/x.txt"), "text", false);
  EXPECT_GT(ZVK_ErrorLog::ErrorsLogged(), before);
}

TEST_F(FileDir, DeleteFilesTakesSingleFilesButNeverEverything) {
  testsupport::WriteFile(Dir("temp/g.zip"), "z");
  testsupport::WriteFile(Dir("temp/keep.txt"), "k");
  DeleteFiles(Dir("temp/*.*"), 0);
  EXPECT_TRUE(fs::exists(Dir("temp/g.zip")));
  DeleteFiles(Dir("temp/g.zip"), 0);
  EXPECT_FALSE(fs::exists(Dir("temp/g.zip")));
  DeleteFiles(Dir("temp/keep.txt"), 2);     // written today: younger than two days
  EXPECT_TRUE(fs::exists(Dir("temp/keep.txt")));
}

}  // namespace
