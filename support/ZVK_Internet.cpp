#include "support/ZVK_Internet.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "platform/AppPath.h"
#include "platform/DoEvents.h"
#include "platform/Inet.h"
#include "platform/MessageBox.h"
#include "support/AppIdentity.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_File_Dir.h"
#include "support/ZVK_Language.h"
#include "support/ZVK_Version.h"

namespace fs = std::filesystem;

namespace ZVK_Internet {
namespace {

constexpr const char* kCheckPlace = "ChkNewVersion of Modul ZVK_Internet";
constexpr const char* kCrLf = "\r\n";
constexpr int kUrlListLines = 20;

platform::Inet* gTransferControl = nullptr;

fs::path BesideProgram() { return fs::path(platform::AppPath()).parent_path(); }

// One field of a record in the classic comma-separated input format: blanks
// around it are skipped; a quoted field runs to the closing quote and whatever
// follows up to the next comma is dropped; an unquoted one runs to the comma.
std::string NextField(const std::string& line, size_t& pos) {
  while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
  std::string field;
  if (pos < line.size() && line[pos] == '"') {
    const size_t close = line.find('"', pos + 1);
    field = line.substr(pos + 1, close == std::string::npos ? std::string::npos : close - pos - 1);
    pos = close == std::string::npos ? line.size() : close + 1;
    const size_t comma = line.find(',', pos);
    pos = comma == std::string::npos ? line.size() : comma + 1;
    return field;
  }
  const size_t comma = line.find(',', pos);
  field = line.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
  pos = comma == std::string::npos ? line.size() : comma + 1;
  const auto last = field.find_last_not_of(" \t");
  return last == std::string::npos ? "" : field.substr(0, last + 1);
}

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::istringstream in(bytes);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

void NoInformation() {
  platform::MsgBox(ZVK_Language::LangText(48) + kCrLf + ZVK_Language::LangText(49), 4112,
                   ZVK_Language::LangText(16));
}

}  // namespace

bool FindPublishedVersion(const std::string& listBytes, std::string& version) {
  for (const std::string& line : Lines(listBytes)) {
    size_t pos = 0;
    const std::string product = NextField(line, pos);
    const std::string published = NextField(line, pos);
    if (product == ZVK_Identity::gProductNumber) {
      version = published;
      return true;
    }
    if (ZVK_File_Dir::Trim(product).empty()) return false;
  }
  return false;
}

std::string UrlListPath() { return (BesideProgram() / "Common" / "license" / "UrlList.txt").string(); }
std::string VersionsPath() { return (BesideProgram() / "temp" / "versions.txt").string(); }

void SetTransferControl(platform::Inet* inet) { gTransferControl = inet; }

platform::InetUse ClaimTransfer(platform::Inet& inet, platform::InetPurpose purpose) {
  platform::InetUse use(inet, purpose);
  // Said without waiting for an answer: the refusal comes from a click made
  // while the other transfer waits for its server, and a box that waited
  // there would hold that transfer up until it is answered.
  if (!use) platform::ShowMessage(kTransferBusyText, 4144, ZVK_ErrorLog::ApplicationTitle());
  return use;
}

void Get_UrlList() {
  gUrlHome.clear();
  gUrlVersions.clear();
  gUrlDownload.clear();
  Guarded(
      "Get_UrlList of Modul ZVK_Internet",
      [] {
        const std::string path = UrlListPath();
        if (!ZVK_File_Dir::FileExists(path)) {
          gUrlHome = kBuiltInHomePage;
          gUrlVersions = kBuiltInHomePage;
          gUrlDownload = kBuiltInHomePage;
          return;
        }
        std::ifstream in(path, std::ios::binary);
        if (!in) throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrPathAccess, "Path/File access error");
        for (int number = 1; number <= kUrlListLines; ++number) {
          std::string line;
          if (!std::getline(in, line))
            throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrInputPastEnd, "Input past end of file");
          if (!line.empty() && line.back() == '\r') line.pop_back();
          if (number == 1) gUrlHome = line;
          if (number == 11) gUrlVersions = line;
          if (number == 12) gUrlDownload = line;
        }
      },
      false);
  platform::DoEvents();
}

long long VersionPartNumber(const std::string& part) {
  const std::string digits = ZVK_File_Dir::Trim(part);
  // "v4", "2-beta" or an empty part name no version we could compare with:
  // reading them as 0 would tell the user the program is up to date.
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
    throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrTypeMismatch, "Type mismatch");
  long long value = 0;
  for (const char c : digits)
    if (value < 1'000'000'000'000LL) value = value * 10 + (c - '0');  // no overflow on junk
  return value;
}

VersionVerdict CompareVersion(int runMajor, int runMinor, int runRevision, const std::string& published) {
  const size_t p1 = published.find('.');
  const size_t p2 = p1 == std::string::npos ? std::string::npos : published.find('.', p1 + 1);
  if (p2 == std::string::npos)
    throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrInvalidCall, "Invalid procedure call or argument");
  gNewMajor = published.substr(0, p1);
  gNewMinor = published.substr(p1 + 1, p2 - p1 - 1);
  gNewRevision = published.substr(p2 + 1);

  const long long major = VersionPartNumber(gNewMajor);
  const long long minor = VersionPartNumber(gNewMinor);
  const long long revision = VersionPartNumber(gNewRevision);
  if (runMajor > major) return VersionVerdict::UpToDate;
  if (runMajor < major) return VersionVerdict::NewerMajor;
  if (runMinor > minor) return VersionVerdict::UpToDate;
  if (runMinor < minor) return VersionVerdict::NewerMinor;
  return runRevision < revision ? VersionVerdict::NewerRevision : VersionVerdict::UpToDate;
}

std::string WebSiteFilePath() { return (BesideProgram() / "Common" / kWebSiteFileName).string(); }

std::string ConfiguredWebSite() {
  std::string value = platform::ConfiguredValue(kWebSiteVariable, WebSiteFilePath());
  std::string scheme = "http";
  for (const char* known : {"http", "https"}) {
    const std::string prefix = std::string(known) + "://";
    if (value.size() > prefix.size() && Lower(value.substr(0, prefix.size())) == prefix) {
      scheme = known;
      value = value.substr(prefix.size());
    }
  }
  if (!value.empty() && value.back() == '/') value.pop_back();
  // Only a bare host: user info, paths or blanks could send the user elsewhere.
  if (!platform::IsValidHostText(value)) return kDefaultWebSite;
  return scheme + "://" + value;
}

std::string WebPage(const std::string& path) { return ConfiguredWebSite() + path; }

bool DownloadToFile(platform::Inet& inet, const std::string& url, const std::string& path, size_t maxBytes,
                    std::string& error) {
  const size_t colon = url.find("://");
  const std::string scheme = colon == std::string::npos ? "" : Lower(url.substr(0, colon));
  if (scheme != "http" && scheme != "https") {
    error = "not a web address: " + url;
    return false;
  }
  inet.SetURL(url);
  inet.SetProtocol(scheme == "https" ? platform::icHTTPS : platform::icHTTP);
  const std::string document = inet.OpenURL(maxBytes);
  if (document.empty()) {
    error = inet.LastError().empty() ? "the server sent an empty document" : inet.LastError();
    return false;
  }
  // Written beside the target and renamed over it, so that a full disk or a
  // crash never leaves a cut-off file under the real name.
  const fs::path target(path);
  const fs::path part = fs::path(path + ".part");
  std::error_code ec;
  fs::create_directories(target.parent_path(), ec);
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out.write(document.data(), static_cast<std::streamsize>(document.size()));
    out.close();
    if (!out) {
      fs::remove(part, ec);
      error = "cannot write " + part.string();
      return false;
    }
  }
  fs::rename(part, target, ec);
  if (ec) {
    fs::remove(part, ec);
    error = "cannot write " + path;
    return false;
  }
  error.clear();
  return true;
}

void ChkNewVersion() {
  try {
    ZVK_File_Dir::CreateDirectoryStruct((BesideProgram() / "temp").string());

    std::unique_ptr<platform::Inet> own;
    platform::Inet* inet = gTransferControl;
    if (inet == nullptr) {
      own = std::make_unique<platform::Inet>();
      inet = own.get();
    }
    // Switching the control to a web address would send the next command of
    // a running exchange to the web server.
    const platform::InetUse use = ClaimTransfer(*inet, platform::InetPurpose::WebDocument);
    if (!use) return;
    inet->SetURL(gUrlVersions);
    inet->SetProtocol(platform::icHTTP);

    // A failed download leaves the list empty (or a bare line end).
    const std::string path = VersionsPath();
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out << inet->OpenURL() << kCrLf;
    }

    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec || size < 5) {
      NoInformation();
      return;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string published;
    if (!FindPublishedVersion(bytes.str(), published)) {
      NoInformation();
      return;
    }

    const ZVK_Version::ProgramVersion running = ZVK_Version::Version();
    const VersionVerdict verdict = CompareVersion(running.major, running.minor, running.revision, published);
    const std::string title = ZVK_ErrorLog::ApplicationTitle();
    if (verdict == VersionVerdict::UpToDate) {
      platform::MsgBox(ZVK_Language::LangText(42) + " (" + ZVK_Version::VersionText() + ") of " + title + ".",
                       4160, ZVK_Language::LangText(23));
      return;
    }
    const int text = verdict == VersionVerdict::NewerMajor ? 47 : verdict == VersionVerdict::NewerMinor ? 46 : 45;
    const int answer = platform::MsgBox(title + " " + ZVK_Language::LangText(text) + " (v. " + published + ")" +
                                            " " + ZVK_Language::LangText(43) + kCrLf + ZVK_Language::LangText(44),
                                        4164, ZVK_Language::LangText(23));
    if (answer == platform::vbYes) platform::OpenInBrowser(gUrlDownload);
  } catch (...) {
    // One entry and one message, then the check ends: going on after a
    // failed step would report a version it never read.
    ZVK_ErrorLog::LogCurrentException(kCheckPlace);
    NoInformation();
    platform::DoEvents();
  }
}

}  // namespace ZVK_Internet
