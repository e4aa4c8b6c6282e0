// The new-game dialog's offer list and preview over what the server sends:
// the input is the offered folder's listing, the joined folder's listing and
// an offer's information file, split at form feeds; the file arrives packed
// as the offer archive of every listed offer. The list holds each offer
// nobody joined once, in the listing's order; the preview shows the offer's
// values exactly when its game id is the one the offer's name carries and
// otherwise offers nothing to confirm; nothing is written outside the
// exchange's temporary folder.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <filesystem>

#include "app/fMainForm.h"
#include "app/frmNewGame.h"
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
const char* const kTemp = "Castellan/InternetGame/temp";
const char* const kErrorLog = "Common/error.log";

fs::path Root() { return fuzzkit::Sandbox::Get().root(); }

// A label shows a value as Qt reads its bytes (UTF-8; other bytes as the
// replacement character).
bool Shows(const QLabel* label, const std::string& value) {
  return label->text() == QString::fromStdString(value);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  gForm = &fuzzkit::MainWindow();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> parts = fuzzkit::Parts(fuzzkit::Bytes(data, size), 3);
  const std::string temp = C::TempDir();
  fuzzkit::ClearFolder(temp);
  testsupport::WriteFile(temp + C::kOfferListingName, parts[0]);
  testsupport::WriteFile(temp + C::kJoinListingName, parts[1]);
  // The offers nobody joined, each once: what the list must hold.
  std::vector<std::string> open;
  const std::vector<std::string> joined = C::ParseGameListing(parts[1]);
  for (const std::string& name : C::ParseGameListing(parts[0])) {
    const std::string stem = name.substr(0, C::kStemLength);
    const bool taken = std::any_of(joined.begin(), joined.end(),
                                   [&](const std::string& j) { return j.compare(0, C::kStemLength, stem) == 0; });
    if (taken || std::find(open.begin(), open.end(), stem) != open.end()) continue;
    open.push_back(stem);
    // The offer's archive was fetched before; its stale information file
    // keeps the preview from fetching it again.
    testsupport::WriteFile(temp + C::OfferInfoName(stem), parts[2]);
    if (!C::PackSingleFile(temp + C::OfferInfoName(stem), temp + C::OfferArchiveName(stem))) return 0;
    testsupport::WriteFile(temp + C::OfferInfoName(stem), "stale");
  }
  testsupport::WriteFile((Root() / kErrorLog).string(), "");
  const fuzzkit::TreeSnapshot before(Root(), {kTemp, kErrorLog});

  platform::ScriptedAnswerer answers;
  app::frmNewGame dialog(gForm);
  dialog.UpdateGameList(false);
  std::vector<std::string> listed;
  for (int i = 0; i < dialog.cmbJoinNewGame->count(); ++i)
    listed.push_back(dialog.cmbJoinNewGame->itemText(i).toStdString());
  fuzzkit::Check(listed == open, "the list holds every offer nobody joined, once, in order");
  if (!open.empty()) {
    // The last offer is selected; the user selects it once more.
    const std::string stem = open.back(), idBefore = C::gInternetGameID;
    dialog.cmbJoinNewGame_Click();
    const C::OfferInfo info = C::ParseOfferInfo(parts[2]);
    // A colour that is no number is an error the preview logs.
    const bool sound = info.gameId == C::GameIdOfStem(stem) && fuzzkit::ReadsAsNumber(info.colour);
    fuzzkit::Check(dialog.cmdOK->isEnabled() == sound, "an offer can be joined exactly when its id is its name's");
    if (sound)
      fuzzkit::Check(Shows(dialog.lblName, info.nickname) && Shows(dialog.lblCountry, info.country) &&
                         Shows(dialog.lblDate, info.date) && Shows(dialog.lblGender, info.gender) &&
                         Shows(dialog.lblAge, info.age) && Shows(dialog.lblMove, info.openingMove) &&
                         C::gInternetGameID == info.gameId,
                     "the preview shows the offer's values");
    else
      fuzzkit::Check(C::gInternetGameID == idBefore, "a refused offer sets no game id");
  }
  fuzzkit::Check(fuzzkit::TreeSnapshot(Root(), {kTemp, kErrorLog}) == before,
                 "nothing changes outside the exchange's temporary folder");
  fuzzkit::Sandbox::Get().AssertNothingEscaped();
  return 0;
}
