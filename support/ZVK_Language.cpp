#include "support/ZVK_Language.h"

#include <QStringDecoder>
#include <fstream>
#include <sstream>

#include "platform/DoEvents.h"
#include "platform/MessageBox.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_File_Dir.h"

namespace ZVK_Language {
namespace {

// Language files come in the system's single-byte code page or in UTF-8;
// everything inside the program is UTF-8.
std::string ToUtf8(const std::string& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = utf8.decode(QByteArray::fromStdString(bytes));
  if (!utf8.hasError()) return bytes;
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())).toStdString();
}

// The text number of characters 2 to 5: blanks around the digits and a sign
// are tolerated as a number conversion would, anything else is not a number.
int TextNumber(const std::string& line) {
  const std::string field = ZVK_File_Dir::Trim(line.substr(1, 4));
  size_t i = 0;
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
  if (i == field.size())
    throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrTypeMismatch, "Type mismatch");
  int n = 0;
  for (; i < field.size(); ++i) {
    if (field[i] < '0' || field[i] > '9')
      throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrTypeMismatch, "Type mismatch");
    n = n * 10 + (field[i] - '0');
  }
  if (negative && n > 0)
    throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrSubscript, "Subscript out of range");
  return n;
}

bool ParseInto(const std::string& bytes, std::vector<std::string>& table) {
  std::istringstream in(ToUtf8(bytes));
  std::string raw;
  while (std::getline(in, raw)) {
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    const std::string line = ZVK_File_Dir::Trim(raw);
    if (line.empty() || line[0] != 'T') continue;
    const size_t tab = line.find('\t');
    if (tab == std::string::npos || tab == line.size() - 1) continue;
    const int n = TextNumber(line);
    if (static_cast<size_t>(n) >= table.size()) table.resize(static_cast<size_t>(n) + 1);
    table[static_cast<size_t>(n)] = ZVK_File_Dir::Trim(line.substr(tab + 1));
  }
  return true;
}

}  // namespace

std::string LanguageDir() {
  const char sep = platform::kSep;
  return ZVK_File_Dir::sFixDirString(platform::AppPath()) + ".." + sep + "Common" + sep + "language" + sep;
}

bool ParseLanguageText(const std::string& bytes, std::vector<std::string>& table) {
  try {
    return ParseInto(bytes, table);
  } catch (const ZVK_ErrorLog::RuntimeError&) {
    return false;
  }
}

bool set_language(const std::string& fileName) {
  bool result = false;
  // A name that reaches into other folders is no language of the package.
  const bool plainName = fileName.find_first_of("/\\") == std::string::npos;
  std::string path = LanguageDir() + fileName;
  if (!plainName || !ZVK_File_Dir::FileExists(path)) {
    platform::MsgBox("The language file " + fileName + " is missing!\r\nPlease install the z.v.k language package.\r\n"
                     "The program will be terminated now.",
                     4096, ZVK_ErrorLog::ApplicationTitle());
    platform::DoEvents();
    return false;
  }
  Guarded("set_language of Modul ZVK_Language", [&] {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrPathAccess, "Path/File access error");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    // Read into a table of its own: a file refused halfway leaves the texts
    // in use as they were.
    std::vector<std::string> table;
    ParseInto(bytes.str(), table);
    gLangText = std::move(table);
    result = true;
  });
  return result;
}

std::string LangText(int n) {
  if (n < 0 || static_cast<size_t>(n) >= gLangText.size()) return "";
  return gLangText[static_cast<size_t>(n)];
}

}  // namespace ZVK_Language
