#pragma once
// The web addresses the program uses and the check for a newer published
// version. The addresses come from the URL list installed in
// Common/license/UrlList.txt (20 lines, one address each); the version list
// is fetched over HTTP with the main window's transfer control.
// Qt-free header.
#include <cstddef>
#include <string>

#include "platform/Inet.h"

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

// Takes the transfer control for one transfer. While another transfer holds
// it, tells the user so (a message nobody waits for) and returns an empty
// use: the caller does not start.
platform::InetUse ClaimTransfer(platform::Inet& inet,
                                platform::InetPurpose purpose = platform::InetPurpose::Exchange);
inline constexpr const char* kTransferBusyText =
    "Another Internet transfer is still running,\r\nPlease try again when it has finished";

// What a comparison of the running version with a published one found.
enum class VersionVerdict {
  UpToDate,
  NewerRevision,  // text 45
  NewerMinor,     // text 46
  NewerMajor,     // text 47
};

// Compares part by part; throws ZVK_ErrorLog::RuntimeError when the
// published text lacks its two points or a part is not a number.
VersionVerdict CompareVersion(int runMajor, int runMinor, int runRevision, const std::string& published);

// The version of our product in a downloaded version list; false when the
// list holds none (or a record with no product comes first).
bool FindPublishedVersion(const std::string& listBytes, std::string& version);

// The number a published version part holds: decimal digits, blanks around
// them allowed; anything else throws a type mismatch.
long long VersionPartNumber(const std::string& part);

// The product's web site, where the help menu's pages and the tutorial live:
// the environment variable wins, then the first line of Common/WebSite.txt
// that is neither empty nor a comment, then the built-in site. The value is
// "http://" or "https://" (http when left out) and a host name or address
// with an optional ":port"; anything else gives the built-in site.
inline constexpr const char* kWebSiteVariable = "CASTELLAN_WEB_SITE";
inline constexpr const char* kWebSiteFileName = "WebSite.txt";
inline constexpr const char* kDefaultWebSite = "http://www.castellan.example.org";
std::string WebSiteFilePath();     // <program folder>/../Common/WebSite.txt
std::string ConfiguredWebSite();   // "scheme://host[:port]", no trailing "/"
std::string WebPage(const std::string& path);  // the site followed by the path ("/index.htm")

// Fetches an http or https document with the transfer control and stores it
// as received under `path`. The file is written whole or not at all: a
// refused address, a failed or oversized fetch or an empty document leaves
// any earlier file as it was and no partial one. False with the reason in
// `error` on failure.
bool DownloadToFile(platform::Inet& inet, const std::string& url, const std::string& path, size_t maxBytes,
                    std::string& error);

}  // namespace ZVK_Internet
