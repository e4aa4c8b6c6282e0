// A game file loaded into the real main window: a refused file changes
// nothing the window shows or plays with; an accepted one, saved again by the
// window, is the same game; nothing is written outside the program's folders.
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <filesystem>

#include "app/Controls.h"
#include "app/fMainForm.h"
#include "board/GameFile.h"
#include "board/GameRecord.h"
#include "board/TakenPieces.h"
#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "fuzz/FuzzKit.h"
#include "platform/RichText.h"
#include "tests/main/TestSupport.h"

namespace B = ZVK_Board_Sub;
namespace E = ZVK_Engine;

namespace {

app::fMainForm* gForm = nullptr;  // kept for the whole run

// Everything a load may change.
struct Shown {
  int32_t moveNumber;
  std::vector<E::EngineBoard> log;
  E::EngineBoard board;
  std::string comment;
  platform::RichTextDocument record;
  B::TakenTable white, black;
  int sliderMax, sliderValue;
  QImage picture;
  bool operator==(const Shown&) const = default;
};

Shown Take() {
  return {E::gMoveNumber, E::gGameLog, E::gVirtualBoard, gForm->txtComment->text().toStdString(), B::txtMoveList(),
          B::gTakenWhite, B::gTakenBlack, gForm->HScroll1->maximum(), gForm->HScroll1->value(),
          gForm->picFrontBuffer->image()};
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  gForm = &fuzzkit::MainWindow();
  app::SetCheckValue(gForm->chkMoveAnimation, 0);
  std::filesystem::create_directories(fuzzkit::Sandbox::Get().root() + "/Castellan/games");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes = fuzzkit::Bytes(data, size);
  const std::string games = fuzzkit::Sandbox::Get().root() + "/Castellan/games/";
  testsupport::WriteFile(games + "fuzzed.chs", bytes);
  const Shown before = Take();
  if (!B::LoadCompleteGame(games + "fuzzed.chs")) {
    fuzzkit::Check(Take() == before, "a refused game file changes nothing");
  } else {
    const B::GameFileContents read = B::ParseGameFile(bytes);
    fuzzkit::Check(B::SaveCompleteGame(games + "saved.chs"), "an accepted game can be saved");
    const B::GameFileContents saved = B::ParseGameFile(testsupport::ReadFile(games + "saved.chs"));
    fuzzkit::Check(platform::RichTextDocument::FromRtf(saved.recordRtf) ==
                       platform::RichTextDocument::FromRtf(read.recordRtf),
                   "the saved record is the loaded one");
    fuzzkit::Check(saved.moveNumber == read.moveNumber && saved.log == read.log,
                   "the saved positions are the loaded ones");
    fuzzkit::Check(saved.comment == platform::WellFormedUtf8(read.comment), "the saved comment is the loaded one");
    fuzzkit::Check(saved.takenWhite == read.takenWhite && saved.takenBlack == read.takenBlack,
                   "the saved taken pieces are the loaded ones");
  }
  fuzzkit::Sandbox::Get().AssertNothingEscaped();
  return 0;
}
