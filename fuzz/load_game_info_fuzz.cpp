// The load-game dialog's information on a correspondence game: the input is
// the offer's or joiner's information file, packed as the partner's program
// packs it, shown once for an offered and once for a joined game. The
// dialog shows the file's values, takes the game id over only when it is one,
// and writes nothing but the information file beside the archive.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <algorithm>
#include <filesystem>

#include "app/fMainForm.h"
#include "app/frmLoadGame.h"
#include "correspondence/ExchangeFiles.h"
#include "correspondence/Naming.h"
#include "correspondence/Packing.h"
#include "fuzz/FuzzKit.h"
#include "fuzz/TreeSnapshot.h"
#include "platform/MessageBox.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;
namespace C = correspondence;

namespace {

app::fMainForm* gForm = nullptr;  // kept for the whole run
const std::string kStem = "12345678926120714300000";
const char* const kErrorLog = "Common/error.log";
const char* const kSettings = "config";  // the dialog stores the user's choices

fs::path Root() { return fuzzkit::Sandbox::Get().root(); }

// A label shows a value as Qt reads its bytes (UTF-8; other bytes as the
// replacement character).
bool Shows(const QLabel* label, const std::string& value) {
  return label->text() == QString::fromStdString(value);
}

void Show(const std::string& info, bool joined) {
  const std::string dir = joined ? C::JoinedDir() : C::OfferedDir();
  const std::string archive = joined ? C::JoinArchiveName(kStem) : C::OfferArchiveName(kStem);
  const std::string infoName = joined ? C::JoinInfoName(kStem) : C::OfferInfoName(kStem);
  fuzzkit::ClearFolder(dir);
  testsupport::WriteFile(dir + infoName, info);
  if (!C::PackSingleFile(dir + infoName, dir + archive)) return;
  fs::remove(dir + infoName);
  testsupport::WriteFile((Root() / kErrorLog).string(), "");
  const std::string folder = fs::relative(fs::path(dir).parent_path(), Root()).string();
  const fuzzkit::TreeSnapshot before(Root(), {folder, kErrorLog, kSettings});

  platform::ScriptedAnswerer answers;
  const std::string idBefore = C::gInternetGameID = "";
  app::frmLoadGame dialog(*gForm);
  {
    const QSignalBlocker quietOption(dialog.optInternetAction[joined ? 1 : 0]), quietList(dialog.cmbGames);
    dialog.optInternetAction[joined ? 1 : 0]->setChecked(true);
    dialog.cmbGames->addItem(QString::fromStdString(kStem));
    dialog.cmbGames->setCurrentIndex(0);
  }
  dialog.cmbGames_Click();
  const C::OfferInfo shown = C::ParseOfferInfo(info);
  // A colour that is no number is an error the dialog logs; what it has not
  // shown by then stays empty.
  const bool whole = fuzzkit::ReadsAsNumber(shown.colour);
  const auto showsUnlessStopped = [&](const QLabel* label, const std::string& value) {
    return Shows(label, value) || (!whole && label->text().isEmpty());
  };
  fuzzkit::Check(Shows(dialog.lblDate, shown.date) && Shows(dialog.lblName, shown.nickname) &&
                     Shows(dialog.lblCountry, shown.country) && showsUnlessStopped(dialog.lblGender, shown.gender) &&
                     showsUnlessStopped(dialog.lblAge, shown.age) && showsUnlessStopped(dialog.lblMove, joined ? "" : shown.openingMove),
                 "the dialog shows the information file's values");
  fuzzkit::Check(dialog.txtNamePlayer2->text() == QString::fromStdString(joined ? shown.nickname : ""),
                 "the partner's name is the file's in a joined game only");
  fuzzkit::Check(C::gInternetGameID == (C::IsInternetGameId(shown.gameId) ? shown.gameId : idBefore),
                 "only a game id is taken over as the game id");
  const std::vector<std::string> files = fuzzkit::FileNames(dir);
  fuzzkit::Check(files == std::vector<std::string>{std::min(archive, infoName), std::max(archive, infoName)},
                 "only the information file is taken out of the archive");
  fuzzkit::Check(fuzzkit::TreeSnapshot(Root(), {folder, kErrorLog, kSettings}) == before, "nothing changes outside the game's folder");
  fuzzkit::Sandbox::Get().AssertNothingEscaped();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  gForm = &fuzzkit::MainWindow();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string info = fuzzkit::Bytes(data, size);
  Show(info, false);
  Show(info, true);
  return 0;
}
