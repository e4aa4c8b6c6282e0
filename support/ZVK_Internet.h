#pragma once
// The web addresses the program uses and the check for a newer published
// version. The addresses come from the URL list installed in
// Common/license/UrlList.txt (20 lines, one address each); the version list
// is fetched over HTTP with the main window's transfer control.
// Qt-free header.
#include <string>

namespace platform { class Inet; }

namespace ZVK_Internet {

inline std::string gUrlHome;      // line 1: the home page
inline std::string gUrlVersions;  // line 11: the published version list
inline std::string gUrlDownload;  // line 12: the download page

// The parts of the published version found by the last check.
inline std::string gNewMajor;
inline std::string gNewMinor;
inline std::string gNewRevision;

// Used when no URL list is installed.
inline constexpr const char* kBuiltInHomePage = "http://www.castellan.example.org/";

std::string UrlListPath();   // <program folder>/../Common/license/UrlList.txt
std::string VersionsPath();  // <program folder>/../temp/versions.txt

// Reads the URL list (once, at start-up).
void Get_UrlList();

// Fetches the version list, compares and tells the user; on Yes to the offer
// the download page opens in the browser.
void ChkNewVersion();

// The main window's transfer control; without one the check uses a control
// of its own.
void SetTransferControl(platform::Inet* inet);

// What a comparison of the running version with a published one found.
enum class VersionVerdict {
  UpToDate,
  NewerRevision,  // text 45
  NewerMinor,     // text 46
  NewerMajor,     // text 47
};

// Compares part by part; throws ZVK_ErrorLog::RuntimeError when the
// published text lacks its two points.
VersionVerdict CompareVersion(int runMajor, int runMinor, int runRevision, const std::string& published);

// The version of our product in a downloaded version list; false when the
// list holds none (or a record with no product comes first).
bool FindPublishedVersion(const std::string& listBytes, std::string& version);

// The leading decimal number of a text (blanks skipped, no number gives 0).
long long LeadingNumber(const std::string& text);

}  // namespace ZVK_Internet
