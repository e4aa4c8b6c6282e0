#pragma once
// Opening things the way the desktop opens them: a web address in the
// browser, a document (the error log, a help page) in its viewer, and the
// program's help. Tests install a recorder so that nothing is opened.
// Qt-free header.
#include <string>
#include <vector>

namespace platform {

// False, after telling the user, when no program on this computer opens it.
bool OpenURL(const std::string& url);
bool OpenDocument(const std::string& path);

// Opens a help file. A compiled help file that this platform cannot show is
// replaced by an HTML page of the same name beside it (".html", ".htm") or
// an "index.html" in a folder of that name; a missing file is reported to
// the user by the viewer (a message box) and false returned.
bool ShowHelpFile(const std::string& path);
// The file ShowHelpFile would open ("" when none).
std::string ResolveHelpFile(const std::string& path);

// Records what would have been opened; while one lives, nothing is opened.
class ScriptedShell {
 public:
  ScriptedShell();
  ~ScriptedShell();
  ScriptedShell(const ScriptedShell&) = delete;
  ScriptedShell& operator=(const ScriptedShell&) = delete;

  const std::vector<std::string>& Opened() const { return opened_; }
  // Records the target; false plays a desktop with no program to open it.
  bool Record(const std::string& target) {
    opened_.push_back(target);
    return !refusing_;
  }
  void RefuseAll() { refusing_ = true; }

 private:
  std::vector<std::string> opened_;
  bool refusing_ = false;
  ScriptedShell* previous_ = nullptr;
};

}  // namespace platform
