#pragma once
// How every file of a correspondence game is named and where it lives.
//
// The game id is the offering PC's nine-digit machine number followed by the
// offer's creation time "YYMMDDHHmm" (19 digits); the exchange stem is the id
// and "0000" (23 digits). Exchanged files are the stem, one letter and an
// extension; only the move notes and the local copy are built from the id.
// Stems also arrive from listings, offer files and list texts of other PCs,
// so each one is checked with IsExchangeStem before it becomes part of a
// local path or an FTP command.
//
// Local folders lie under the program folder (InternetGame/ and its temp/,
// offered/, joined/, closed/); every folder text ends with the separator.
#include <QDateTime>
#include <cstdint>
#include <string>

namespace correspondence {

// The id of the game being played or previewed ("" when none).
inline std::string gInternetGameID;

// Both PCs of a game pack and unpack with this password.
inline constexpr const char* kArchivePassword = "QuillHarbor";

inline constexpr size_t kGameIdLength = 19;
inline constexpr size_t kStemLength = 23;

// "YYMMDDHHmm" of when appended to the machine number.
std::string InternetGameId(const std::string& machineId, const QDateTime& when);
std::string ExchangeStem(const std::string& gameId);  // id & "0000"

bool IsMachineId(const std::string& text);      // exactly 9 decimal digits
bool IsInternetGameId(const std::string& text);  // exactly 19 decimal digits
bool IsExchangeStem(const std::string& text);    // exactly 23 decimal digits
std::string GameIdOfStem(const std::string& stem);  // its first 19 characters

// Names built from the stem.
std::string OfferInfoName(const std::string& stem);        // n.txt
std::string OfferArchiveName(const std::string& stem);     // n.zip
std::string JoinInfoName(const std::string& stem);         // j.txt
std::string JoinArchiveName(const std::string& stem);      // j.zip
std::string LastGameName(const std::string& stem);         // g.chi, the last exchanged game
std::string ReceivedGameName(const std::string& stem);     // r.chi
std::string ExchangeArchiveName(const std::string& stem);  // g.zip
std::string ClosedInfoName(const std::string& stem);       // c.txt
std::string ClosedArchiveName(const std::string& stem);    // c.zip
// u.txt, local only: the half-move whose send did not reach the server, kept
// so that a resumed game still offers to send it.
std::string UnsentMoveName(const std::string& stem);

// Names built from the id: the local copy after each send (id & "g.chs") and
// the note of a sent half-move (the half-move number where the stem has its
// zeros: id & "0007" & "m.txt").
std::string LocalCopyName(const std::string& gameId);
std::string MoveNoteName(const std::string& gameId, int32_t moveNumber);

std::string ConnectionTestName(const std::string& machineId);  // machine number & ".tst"

inline constexpr const char* kOfferListingName = "InternetGame_n.tmp";
inline constexpr const char* kJoinListingName = "InternetGame_j.tmp";
inline constexpr const char* kReceiveFileName = "tmp.tmp";  // where commands' data go by default

// Local folders, each ending with the separator.
std::string InternetGameDir();  // <program folder>/InternetGame/
std::string TempDir();          // .../InternetGame/temp/
std::string OfferedDir();       // .../InternetGame/offered/
std::string JoinedDir();        // .../InternetGame/joined/
std::string ClosedDir();        // .../InternetGame/closed/

// Remote folders: every connection changes into the root, then into one of
// the five below it. Remote files are named by their bare names.
inline constexpr const char* kRemoteRoot = "www";
inline constexpr const char* kRemoteGames = "games";
inline constexpr const char* kRemoteOffered = "offered";
inline constexpr const char* kRemoteJoined = "joined";
inline constexpr const char* kRemoteClosed = "closed";
inline constexpr const char* kRemoteTest = "test";

// Progress animations in Common/avi/ beside the program folder: one while
// fetching or listing, one while uploading.
inline constexpr const char* kDownloadAnimation = "ftpdownload";
inline constexpr const char* kSendAnimation = "websend";
std::string AnimationDir();  // <program folder>/../Common/avi/

}  // namespace correspondence
