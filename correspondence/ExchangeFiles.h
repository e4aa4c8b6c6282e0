#pragma once
// The small text files of a correspondence game: one value per line, each
// line ended by CR LF. Writers stamp the current date (the system's short
// date form) themselves, whatever the record's date holds, and put every
// value on one line: a line break typed into a nickname would otherwise shift
// every later line of a file the partner reads. Values go out in the
// single-byte code page of the game file's record (platform::ToCodePage: a
// character it cannot hold becomes "?"), which the partner's program reads.
//
// Readers take files that came from other PCs: they read at most a bounded
// number of bytes, give values as UTF-8 (code-page bytes converted, UTF-8 of
// earlier versions kept), cut every value to kMaxValueLength bytes (never
// inside a character), drop control characters, and give missing lines as "".
// Each reader has a form over bytes (for fuzzing) and one over a path.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace correspondence {

inline constexpr size_t kMaxValueLength = 256;

// Colour values as the files hold them.
inline constexpr int32_t kWhiteColour = 16777215;  // &HFFFFFF
inline constexpr int32_t kBlackColour = 0;

// The offer (stem & "n.txt"): lines 1-8 when the offer is made, line 9 (the
// opening move as recorded) at the first send.
struct OfferInfo {
  std::string date;
  std::string gameId;
  std::string nickname;
  std::string country;
  std::string language;  // readers skip it
  std::string colour;    // the offerer's colour as decimal text
  std::string gender;    // "male", "female" or ""
  std::string age;
  std::string openingMove;
};
// Writes lines 1-8 (date stamped now); an existing file is replaced.
void WriteOfferInfoFile(const std::string& path, const OfferInfo& info);
// Line 9. The file holds one opening move: a ninth line an earlier send of
// the same half-move left is replaced, or kept when recordLine is empty.
void AppendOfferOpeningMove(const std::string& path, const std::string& recordLine);
OfferInfo ParseOfferInfo(const std::string& bytes);
OfferInfo ReadOfferInfoFile(const std::string& path);

// The join (stem & "j.txt"). Every line is appended, so joining the same
// offer again keeps the earlier lines ahead; the offerer's load dialog reads
// the first join with the offer reader (the first eight lines mean the same).
struct JoinInfo {
  std::string date;
  std::string machineId;
  std::string nickname;
  std::string country;
  std::string language;
  std::string offererColour;  // the opposite of the joiner's colour
  std::string gender;
  std::string age;
};
void WriteJoinInfoFile(const std::string& path, const JoinInfo& info);

// The note of a sent half-move: date (replacing the file), machine number,
// the comment (as typed, line breaks kept) and the record line of the move.
struct MoveNote {
  std::string date;
  std::string machineId;
  std::string comment;
  std::string recordLine;
};
void WriteMoveNoteFile(const std::string& path, const MoveNote& note);

// A given-up game (stem & "c.txt"): date, machine number, nickname; appended.
struct ClosedGame {
  std::string date;
  std::string machineId;
  std::string nickname;
};
void WriteClosedGameFile(const std::string& path, const ClosedGame& closed);

// A server folder's listing: each line cleaned of "\", backspace and ">"
// characters and trimmed of blanks; only lines naming an exchanged file (an
// exchange stem followed by at least one more character) are kept, in order.
// A busy account lists many thousand names: goOn, when given, runs after
// every kListingLinesBetweenCalls lines (to let the window run), and false
// from it stops the reading with the names read so far.
inline constexpr size_t kListingLinesBetweenCalls = 1024;
std::vector<std::string> ParseGameListing(const std::string& bytes, const std::function<bool()>& goOn = {});
std::vector<std::string> ReadGameListingFile(const std::string& path, const std::function<bool()>& goOn = {});

// The connection test file: one line, the current date and time.
void WriteConnectionTestFile(const std::string& path);

}  // namespace correspondence
