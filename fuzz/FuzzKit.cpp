#include "fuzz/FuzzKit.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>

#include "app/fMainForm.h"
#include "board/TextNumbers.h"
#include "platform/AppPath.h"
#include "platform/MessageBox.h"
#include "support/AppIdentity.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;

// The application object is never destroyed (see StartQt), so the font
// cache fontconfig builds for it is never handed back: not a leak of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace fuzzkit {
namespace {

std::set<std::string> Entries(const fs::path& folder) {
  std::set<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) names.insert(e.path().filename().string());
  return names;
}

struct Fence {
  fs::path fence;
  std::unique_ptr<testsupport::ProgramTree> tree;
  std::set<std::string> fenceEntries, rootEntries;
};

Fence& TheFence() {
  static Fence f;
  return f;
}

}  // namespace

void Check(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", property);
  std::abort();
}

std::vector<std::string> Parts(const std::string& bytes, size_t count) {
  std::vector<std::string> parts(count);
  size_t part = 0;
  for (const char c : bytes) {
    if (c == '\f' && part + 1 < count) ++part;
    else parts[part] += c;
  }
  return parts;
}

void StartQt() {
  static int argc = 1;
  static char name[] = "castellan_fuzz";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() != nullptr) return;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Never destroyed: windows the targets keep for the whole run must not
  // outlive it at exit.
  new QApplication(argc, argv);
}

bool ReadsAsNumber(const std::string& text) {
  try {
    (void)ZVK_Board_Sub::RoundToInt32(ZVK_Board_Sub::ParseNumber(text));
    return true;
  } catch (...) {
    return false;
  }
}

app::fMainForm& MainWindow() {
  static app::fMainForm* form = [] {
    StartQt();
    Sandbox::Get();
    static platform::ScriptedAnswerer answers;
    ZVK_Identity::gUserName = "FUZZ";
    auto* made = new app::fMainForm;  // never destroyed, as the application
    made->Form_Initialize();
    return made;
  }();
  return *form;
}

Sandbox& Sandbox::Get() {
  static Sandbox box;
  return box;
}

Sandbox::Sandbox() {
  Fence& f = TheFence();
  std::string pattern = (fs::temp_directory_path() / "castellan-fuzz-XXXXXX").string();
  Check(mkdtemp(pattern.data()) != nullptr, "a fence folder can be made");
  f.fence = pattern;
  // The program tree is made inside the fence.
  setenv("TMPDIR", f.fence.c_str(), 1);
  f.tree = std::make_unique<testsupport::ProgramTree>();
  fs::create_directories(f.tree->path("temp"));
  fs::current_path(f.tree->path("temp"));
  f.fenceEntries = Entries(f.fence);
  f.rootEntries = Entries(f.tree->root());
  // The fence goes when the process ends normally; after a crash it stays for a look.
  std::atexit([] {
    Fence& g = TheFence();
    g.tree.reset();
    std::error_code ec;
    fs::remove_all(g.fence, ec);
  });
}

std::string Sandbox::root() const { return TheFence().tree->root(); }
std::string Sandbox::configRoot() const { return root() + "/config"; }
std::string Sandbox::machineRoot() const { return root() + "/machine"; }

void Sandbox::AssertNothingEscaped() const {
  const Fence& f = TheFence();
  Check(Entries(f.fence) == f.fenceEntries, "nothing is written beside the program tree");
  Check(Entries(f.tree->root()) == f.rootEntries, "nothing is written beside the program's folders");
}

}  // namespace fuzzkit
