#pragma once
// The language-text table: the few interface texts that come from the
// user's language file (Common/language/<name>.lng beside the program folder).
// Lines "T<four digits><tab><text>" set one text each; other lines are comments.
// Qt-free header.
#include <string>
#include <vector>

namespace ZVK_Language {

inline std::vector<std::string> gLangText;     // indexed by text number
inline std::string gLanguageName = "english";  // the language in use

// Loads the file; false after the missing-file message or a line it cannot
// read (logged, no message). The caller ends the program on false.
bool set_language(const std::string& fileName);

// Parses a language file's bytes into table; false at the first unreadable line.
bool ParseLanguageText(const std::string& bytes, std::vector<std::string>& table);

// gLangText(n), or "" for a number no line defined.
std::string LangText(int n);

// The folder that holds the language files.
std::string LanguageDir();

}  // namespace ZVK_Language
