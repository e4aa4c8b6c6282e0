// Names and paths that reach the transfer control and the folder helpers:
// the FTP host from the host file, a remote file name in a command, and a
// local folder below the program tree. A host text never redirects the
// connection elsewhere, a failed download leaves no file, and no folder or
// file is made outside the program's folders.
//
// Input: host file text, a form feed, a remote name, a form feed, a local
// folder path.
#include <arpa/inet.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

#include "fuzz/FuzzKit.h"
#include "platform/DoEvents.h"
#include "platform/Inet.h"
#include "support/ZVK_File_Dir.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;

namespace {

// The same address in any of its spellings (curl writes "::0" as "::" and
// "127.1" as "127.0.0.1"); the brackets of an IPv6 address left out.
bool SameAddress(std::string a, std::string b) {
  for (std::string* t : {&a, &b})
    if (t->size() >= 2 && t->front() == '[' && t->back() == ']') *t = t->substr(1, t->size() - 2);
  in6_addr a6{}, b6{};
  if (inet_pton(AF_INET6, a.c_str(), &a6) == 1 && inet_pton(AF_INET6, b.c_str(), &b6) == 1)
    return std::memcmp(&a6, &b6, sizeof a6) == 0;
  in_addr a4{}, b4{};
  if (inet_aton(a.c_str(), &a4) != 0 && inet_aton(b.c_str(), &b4) != 0) return a4.s_addr == b4.s_addr;
  return false;
}

// The host part of "host[:port]" names the same machine as the connection's
// host: the same address, or the same name in any case.
bool SameHost(const std::string& configured, const std::string& remote) {
  std::string named = configured;
  if (!named.empty() && named.front() == '[') {
    named = named.substr(0, named.find(']') + 1);
  } else if (std::count(named.begin(), named.end(), ':') == 1) {
    named = named.substr(0, named.find(':'));
  }
  if (SameAddress(named, remote)) return true;
  return named.size() == remote.size() &&
         std::equal(named.begin(), named.end(), remote.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzkit::StartQt();
  fuzzkit::Sandbox::Get();
  unsetenv(platform::kFtpHostVariable);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto parts = fuzzkit::Parts(fuzzkit::Bytes(data, size), 3);
  auto& box = fuzzkit::Sandbox::Get();
  testsupport::WriteFile(platform::FtpHostFilePath(), parts[0]);
  const std::string host = platform::ConfiguredFtpHost();
  fuzzkit::Check(host == platform::kDefaultFtpHost || parts[0].find(host) != std::string::npos,
                 "the host is the built-in one or text of the host file");
  platform::Inet inet;
  inet.SetURL("ftp://" + host);
  fuzzkit::Check(SameHost(host, inet.RemoteHost()), "the connection goes to the host named");

  // A server that refuses at once: every command ends without data.
  const std::string download = box.root() + "/temp/download.chs";
  inet.SetURL("ftp://127.0.0.1:9");
  inet.SetRequestTimeout(2);
  const std::string& name = parts[1];
  // Quoting is the caller's: a quote in a name would end the argument.
  if (name.find('"') == std::string::npos) {
    for (const std::string& command : {"GET " + name + " \"" + download + "\"", "CD " + name, "DELETE " + name}) {
      inet.Execute(command);
      while (inet.StillExecuting()) platform::DoEvents();
      fuzzkit::Check(!fs::exists(download) && !fs::exists(download + ".part"), "a failed download leaves no file");
    }
  }

  // A local folder below the program tree: its whole chain stays inside.
  const std::string& local = parts[2];
  bool climbs = false;
  for (const auto& part : fs::path(local)) climbs = climbs || part == "..";
  if (!climbs && local.find('\0') == std::string::npos) {
    const std::string folder = box.root() + "/temp/made/" + local;
    for (const std::string& step : ZVK_File_Dir::DirectoryChain(folder))
      fuzzkit::Check(folder.compare(0, step.size(), step) == 0, "each folder of the chain leads to the path");
    ZVK_File_Dir::CreateDirectoryStruct(folder);
    std::error_code ec;
    fs::remove_all(box.root() + "/temp/made", ec);
  }
  box.AssertNothingEscaped();
  return 0;
}
