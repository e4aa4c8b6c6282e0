#include "platform/Inet.h"

#include <arpa/inet.h>
#include <curl/curl.h>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>
#include <QEventLoop>
#include <QTimer>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/AppPath.h"

namespace fs = std::filesystem;

namespace platform {

// ---------------------------------------------------------------------------
// FTP host configuration

std::string FtpHostFilePath() {
  return (fs::path(AppPath()).parent_path() / "Common" / kFtpHostFileName).string();
}

bool IsValidHostText(const std::string& host) {
  if (host.empty() || host.size() > 255) return false;
  // A host name or IPv4 address, or a bracketed IPv6 address, and an optional
  // ":port" of 1 to 65535; anything else (user info, paths, blanks, a port
  // that is no number) could redirect the account or reach no server at all.
  for (const unsigned char c : host)
    if (!(std::isalnum(c) || c == '.' || c == '-' || c == '_' || c == ':' || c == '[' || c == ']')) return false;
  std::string name = host;
  std::string port;
  bool hasPort = false;
  if (host.front() == '[') {
    const size_t close = host.find(']');
    if (close == std::string::npos) return false;
    name = host.substr(1, close - 1);
    in6_addr address{};
    if (inet_pton(AF_INET6, name.c_str(), &address) != 1) return false;
    const std::string rest = host.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') return false;
      hasPort = true;
      port = rest.substr(1);
    }
  } else {
    const size_t colon = host.find(':');
    if (colon != std::string::npos) {
      hasPort = true;
      name = host.substr(0, colon);
      port = host.substr(colon + 1);
    }
    if (name.empty() || name.find_first_of("[]") != std::string::npos) return false;
  }
  if (hasPort) {
    if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos) return false;
    const int number = std::stoi(port);
    if (number < 1 || number > 65535) return false;
  }
  return true;
}

namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string ConfiguredValue(const char* variable, const std::string& file) {
  const char* fromEnvironment = std::getenv(variable);
  const std::string value = fromEnvironment != nullptr ? Trim(fromEnvironment) : "";
  return value.empty() ? FirstSettingLine(file) : value;
}

std::string ConfiguredFtpHost() {
  const std::string host = ConfiguredValue(kFtpHostVariable, FtpHostFilePath());
  return IsValidHostText(host) ? host : kDefaultFtpHost;
}

// ---------------------------------------------------------------------------
// Browser

namespace {
std::function<bool(const std::string&)>& BrowserOpener() {
  static std::function<bool(const std::string&)> opener;
  return opener;
}
}  // namespace

void SetBrowserOpener(std::function<bool(const std::string&)> opener) { BrowserOpener() = std::move(opener); }

bool OpenInBrowser(const std::string& url) {
  if (BrowserOpener()) return BrowserOpener()(url);
  const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
  // Only web addresses: the text comes from an installed list a user may edit.
  if (!address.isValid() || (address.scheme() != "http" && address.scheme() != "https")) return false;
  return QDesktopServices::openUrl(address);
}

// ---------------------------------------------------------------------------
// The control

namespace {

constexpr size_t kMaxListing = 16u << 20;   // a hostile server cannot fill the memory
constexpr size_t kMaxDocument = 1u << 20;
constexpr int kTickMs = 2;

struct CurlGlobal {
  CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
};

void EnsureCurl() { static CurlGlobal global; }

// Splits a command's arguments: blanks separate, double quotes group.
std::vector<std::string> Tokens(const std::string& text) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    if (i >= text.size()) break;
    std::string token;
    bool quoted = false;
    while (i < text.size() && (quoted || text[i] != ' ')) {
      if (text[i] == '"') quoted = !quoted;
      else token += text[i];
      ++i;
    }
    out.push_back(token);
  }
  return out;
}

// A bare name of the current remote folder: no path, no control characters
// (a line break would smuggle a second FTP command in).
bool IsBareRemoteName(const std::string& name) { return IsPlainFileName(name); }

bool IsUsableLocalPath(const std::string& path) {
  if (path.empty()) return false;
  for (const auto& part : fs::path(path))
    if (part == "..") return false;
  return true;
}

std::string Upper(std::string text) {
  for (auto& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

size_t AppendToString(char* data, size_t size, size_t count, void* user);
size_t WriteToFile(char* data, size_t size, size_t count, void* user);
size_t ReadFromFile(char* data, size_t size, size_t count, void* user);

}  // namespace

struct Inet::Impl {
  enum class Kind { None, Cd, List, Put, Get, Delete, Http };

  int accessType = 0;
  int protocol = 0;
  std::string url;
  std::string remoteHost;
  int remotePort = 0;
  int requestTimeout = 60;
  std::string userName;
  std::string password;
  std::function<void(int16_t)> handler;

  CURLM* multi = nullptr;
  CURL* easy = nullptr;
  bool connected = false;        // a connection from an earlier command is open
  std::vector<std::string> cwd;  // remote folders entered since the connection opened
  bool folderLost = false;       // a folder change failed: cwd is not where the caller believes
  bool inUse = false;            // an InetUse holds the control
  InetPurpose purpose = InetPurpose::Exchange;  // what the holder uses it for
  std::function<void()> released;

  bool busy = false;
  bool delivering = false;
  bool closePending = false;  // CLOSE: drop the connection between states 9 and 10
  std::deque<int16_t> pending;

  // The running transfer.
  Kind kind = Kind::None;
  bool newConnection = false;
  std::vector<std::string> targetCwd;
  FILE* file = nullptr;
  std::string localPath, partPath;
  std::string received;
  size_t limit = 0;
  bool overLimit = false;
  uint64_t maxGetSize = UINT64_MAX;  // the caller's bound on one downloaded file
  uint64_t written = 0;              // bytes of the running get so far
  bool httpDone = false;
  std::string lastError;
  bool fileMissing = false;  // the last get failed because the server has no such file

  std::string data;  // what GetChunk hands out
  size_t dataPos = 0;

  QTimer timer;

  Impl() {
    EnsureCurl();
    timer.setInterval(kTickMs);
    timer.callOnTimeout([this] { Tick(); });
  }

  ~Impl() {
    timer.stop();
    AbortTransfer();
    if (multi != nullptr) curl_multi_cleanup(multi);
  }

  CURLM* Multi() {
    if (multi == nullptr) multi = curl_multi_init();
    return multi;
  }

  // -- URL building -------------------------------------------------------

  std::string Scheme() const {
    const auto colon = url.find("://");
    return colon == std::string::npos ? "" : Upper(url.substr(0, colon));
  }

  // scheme://host:port/<base path>/<folders...>/<name>
  std::string BuildFtpUrl(const std::vector<std::string>& folders, const std::string& name) const {
    CURLU* u = curl_url();
    std::string result;
    if (curl_url_set(u, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK) {
      if (remotePort > 0)
        curl_url_set(u, CURLUPART_PORT, std::to_string(remotePort).c_str(), 0);
      char* basePath = nullptr;
      std::string path;
      if (curl_url_get(u, CURLUPART_PATH, &basePath, 0) == CURLUE_OK && basePath != nullptr) {
        path = basePath;
        curl_free(basePath);
      }
      if (path.empty() || path.back() != '/') path += '/';
      auto append = [&](const std::string& part) {
        char* escaped = curl_easy_escape(nullptr, part.c_str(), static_cast<int>(part.size()));
        if (escaped != nullptr) {
          path += escaped;
          curl_free(escaped);
        }
      };
      for (const auto& folder : folders) {
        append(folder);
        path += '/';
      }
      if (!name.empty()) append(name);
      curl_url_set(u, CURLUPART_PATH, path.c_str(), 0);
      curl_url_set(u, CURLUPART_QUERY, nullptr, 0);
      curl_url_set(u, CURLUPART_FRAGMENT, nullptr, 0);
      char* full = nullptr;
      if (curl_url_get(u, CURLUPART_URL, &full, 0) == CURLUE_OK && full != nullptr) {
        result = full;
        curl_free(full);
      }
    }
    curl_url_cleanup(u);
    return result;
  }

  // -- starting a command -------------------------------------------------

  void Fail(const std::string& why) {
    lastError = why;
    pending.push_back(icError);
  }

  void StartTimer() {
    if (!timer.isActive()) timer.start();
  }

  bool Execute(const std::string& operation) {
    if (busy) return false;
    busy = true;
    lastError.clear();
    fileMissing = false;
    data.clear();
    dataPos = 0;
    StartTimer();

    const std::string trimmed = Trim(operation);
    const auto blank = trimmed.find(' ');
    const std::string verb = Upper(trimmed.substr(0, blank));
    const std::vector<std::string> args =
        Tokens(blank == std::string::npos ? "" : trimmed.substr(blank + 1));

    if (verb == "CLOSE") {
      if (connected) pending.push_back(icDisconnecting);
      // Also after a connection that was lost on the way: the folders it had
      // entered are gone with it, and the next connection starts from the
      // login folder.
      closePending = true;
      pending.push_back(icDisconnected);
      return true;
    }
    if (Scheme() != "FTP") return Fail("not an FTP address: " + url), true;
    // The caller goes on with its sequence after a failed folder change;
    // its next put must not land in the folder it meant to leave.
    if (folderLost) return Fail("no remote folder: an earlier folder change failed"), true;

    CURL* h = curl_easy_init();
    if (h == nullptr) return Fail("out of memory"), true;
    received.clear();
    overLimit = false;
    targetCwd = cwd;
    std::string address;

    if (verb == "CD" && args.size() == 1) {
      kind = Kind::Cd;
      if (args[0] == "..") {
        if (!targetCwd.empty()) targetCwd.pop_back();
      } else if (IsBareRemoteName(args[0])) {
        targetCwd.push_back(args[0]);
      } else {
        curl_easy_cleanup(h);
        folderLost = true;
        return Fail("bad folder name: " + args[0]), true;
      }
      address = BuildFtpUrl(targetCwd, "");
      curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    } else if ((verb == "LS" || verb == "DIR") && args.size() <= 1) {
      // The pattern is not passed on: servers disagree on globbing, and the
      // callers list everything ("*.*").
      kind = Kind::List;
      address = BuildFtpUrl(cwd, "");
      curl_easy_setopt(h, CURLOPT_DIRLISTONLY, verb == "LS" ? 1L : 0L);
      limit = kMaxListing;
      curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, AppendToString);
      curl_easy_setopt(h, CURLOPT_WRITEDATA, this);
    } else if (verb == "PUT" && args.size() == 2 && IsBareRemoteName(args[1]) &&
               IsUsableLocalPath(args[0])) {
      kind = Kind::Put;
      file = std::fopen(args[0].c_str(), "rb");
      if (file == nullptr) {
        curl_easy_cleanup(h);
        return Fail("cannot read " + args[0]), true;
      }
      std::error_code ec;
      const auto size = fs::file_size(args[0], ec);
      address = BuildFtpUrl(cwd, args[1]);
      curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
      curl_easy_setopt(h, CURLOPT_READFUNCTION, ReadFromFile);
      curl_easy_setopt(h, CURLOPT_READDATA, file);
      if (!ec) curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    } else if (verb == "GET" && args.size() == 2 && IsBareRemoteName(args[0]) &&
               IsUsableLocalPath(args[1])) {
      kind = Kind::Get;
      localPath = args[1];
      // The data goes to a side file first, so that a failed get leaves no
      // (partial) local file for the caller to mistake for a download.
      partPath = localPath + ".part";
      file = std::fopen(partPath.c_str(), "wb");
      if (file == nullptr) {
        partPath.clear();
        curl_easy_cleanup(h);
        return Fail("cannot write " + localPath), true;
      }
      address = BuildFtpUrl(cwd, args[0]);
      written = 0;
      limit = maxGetSize;
      curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, WriteToFile);
      curl_easy_setopt(h, CURLOPT_WRITEDATA, this);
      // A size the server announces is refused before any data comes.
      if (maxGetSize < static_cast<uint64_t>(INT64_MAX))
        curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(maxGetSize));
    } else if (verb == "DELETE" && args.size() == 1 && IsBareRemoteName(args[0])) {
      kind = Kind::Delete;
      address = BuildFtpUrl(cwd, "");
      // DELE after curl has changed into the folder (a plain quote would run
      // before that, in the login folder).
      curl_slist* commands = curl_slist_append(nullptr, ("DELE " + args[0]).c_str());
      curl_easy_setopt(h, CURLOPT_POSTQUOTE, commands);
      curl_easy_setopt(h, CURLOPT_PRIVATE, commands);
      curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    } else {
      curl_easy_cleanup(h);
      return Fail("unknown or malformed command: " + trimmed), true;
    }

    if (address.empty()) {
      Discard(h);
      return Fail("bad address: " + url), true;
    }
    curl_easy_setopt(h, CURLOPT_URL, address.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(h, CURLOPT_USERNAME, userName.c_str());
    curl_easy_setopt(h, CURLOPT_PASSWORD, password.c_str());
    CommonOptions(h);
    newConnection = !connected;
    pending.push_back(newConnection ? icResolvingHost : icRequesting);
    easy = h;
    curl_multi_add_handle(Multi(), easy);
    return true;
  }

  void CommonOptions(CURL* h) const {
    const long seconds = requestTimeout > 0 ? requestTimeout : 60;
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, seconds);
    curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, seconds);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, seconds);
  }

  // Removes a finished or abandoned handle and what belongs to it.
  void Discard(CURL* h) {
    if (h == nullptr) return;
    curl_slist* commands = nullptr;
    curl_easy_getinfo(h, CURLINFO_PRIVATE, reinterpret_cast<char**>(&commands));
    if (multi != nullptr) curl_multi_remove_handle(multi, h);
    curl_easy_cleanup(h);
    if (commands != nullptr) curl_slist_free_all(commands);
    if (file != nullptr) {
      std::fclose(file);
      file = nullptr;
    }
  }

  void AbortTransfer() {
    if (easy == nullptr) return;
    Discard(easy);
    easy = nullptr;
    if (!partPath.empty()) {
      std::error_code ec;
      fs::remove(partPath, ec);
      partPath.clear();
    }
  }

  // -- finishing ----------------------------------------------------------

  void Finished(CURLcode result) {
    long responseCode = 0;
    curl_off_t connectTime = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &responseCode);
    curl_easy_getinfo(easy, CURLINFO_CONNECT_TIME_T, &connectTime);
    // The last buffered bytes of a get reach the disk only as its file is
    // closed; a full disk shows there, and such a file is no download.
    if (kind == Kind::Get && file != nullptr) {
      const bool written = std::fflush(file) == 0 && std::ferror(file) == 0;
      const bool closed = std::fclose(file) == 0;
      file = nullptr;
      if (result == CURLE_OK && !(written && closed)) result = CURLE_WRITE_ERROR;
    }
    Discard(easy);
    easy = nullptr;

    if (result == CURLE_OK && kind == Kind::Get) {
      std::error_code ec;
      fs::rename(partPath, localPath, ec);
      if (ec) result = CURLE_WRITE_ERROR;
    }
    if (!partPath.empty()) {
      std::error_code ec;
      fs::remove(partPath, ec);
      partPath.clear();
    }
    if (overLimit) result = CURLE_FILESIZE_EXCEEDED;

    const bool resolved = result != CURLE_COULDNT_RESOLVE_HOST && result != CURLE_COULDNT_RESOLVE_PROXY;
    const bool reached = resolved && result != CURLE_COULDNT_CONNECT &&
                         !(result == CURLE_OPERATION_TIMEDOUT && connectTime == 0 && newConnection);
    const bool answered = reached && responseCode > 0;

    if (newConnection) {
      if (resolved) pending.push_back(icHostResolved);
      if (resolved) pending.push_back(icConnecting);
      if (reached) pending.push_back(icConnected);
      if (reached) pending.push_back(icRequesting);
    }
    if (answered) {
      pending.push_back(icRequestSent);
      pending.push_back(icReceivingResponse);
      pending.push_back(icResponseReceived);
    }
    // A refused login or a broken line leaves no usable connection behind.
    connected = answered && result != CURLE_LOGIN_DENIED && result != CURLE_OPERATION_TIMEDOUT;

    if (result != CURLE_OK) {
      if (kind == Kind::Cd) folderLost = true;
      // The server's own word (550 to the retrieve) in a folder it let us
      // into; any other failure says nothing of what the folder holds.
      fileMissing = kind == Kind::Get && result == CURLE_REMOTE_FILE_NOT_FOUND;
      Fail(curl_easy_strerror(result));
      return;
    }
    if (kind == Kind::Cd) cwd = targetCwd;
    if (kind == Kind::List) data.swap(received);
    received.clear();
    pending.push_back(icResponseCompleted);
  }

  void Drive() {
    if (easy == nullptr || multi == nullptr) return;
    int running = 0;
    curl_multi_perform(multi, &running);
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
      if (message->msg != CURLMSG_DONE) continue;
      if (message->easy_handle == easy) {
        const CURLcode result = message->data.result;
        if (kind == Kind::Http) {
          FinishedHttp(result);
        } else {
          Finished(result);
        }
      }
    }
  }

  void Tick() {
    if (delivering) return;  // a handler is letting the message loop run
    Drive();
    delivering = true;
    while (!pending.empty()) {
      const int16_t state = pending.front();
      pending.pop_front();
      if (state == icDisconnected && closePending) DropConnection();
      if (handler) handler(state);
    }
    delivering = false;
    if (easy == nullptr && pending.empty()) {
      if (kind != Kind::Http) busy = false;
      timer.stop();
    }
  }

  void DropConnection() {
    closePending = false;
    if (multi != nullptr) {
      curl_multi_cleanup(multi);  // closes the cached connection (QUIT)
      multi = nullptr;
    }
    connected = false;
    cwd.clear();
    folderLost = false;
  }

  // -- HTTP ---------------------------------------------------------------

  void FinishedHttp(CURLcode result) {
    Discard(easy);
    easy = nullptr;
    if (overLimit) result = CURLE_FILESIZE_EXCEEDED;
    lastError = result == CURLE_OK ? "" : curl_easy_strerror(result);
    if (result != CURLE_OK) received.clear();
    httpDone = true;
  }

  std::string OpenURL(size_t maxBytes) {
    if (busy) {
      lastError = "still executing the last request";
      return "";
    }
    const std::string scheme = Scheme();
    if (scheme != "HTTP" && scheme != "HTTPS") {
      lastError = "not an HTTP address: " + url;
      return "";
    }
    CURL* h = curl_easy_init();
    if (h == nullptr) return "";
    busy = true;
    kind = Kind::Http;
    received.clear();
    overLimit = false;
    limit = maxBytes;
    httpDone = false;
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, AppendToString);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, this);
    if (remotePort > 0) curl_easy_setopt(h, CURLOPT_PORT, static_cast<long>(remotePort));
    CommonOptions(h);
    easy = h;
    curl_multi_add_handle(Multi(), easy);

    // Wait in a nested loop: the window keeps running, and nothing spins.
    QEventLoop loop;
    QTimer pump;
    pump.setInterval(kTickMs);
    pump.callOnTimeout([&] {
      Drive();
      if (httpDone) loop.quit();
    });
    pump.start();
    if (QCoreApplication::instance() != nullptr) {
      loop.exec();
    } else {
      while (!httpDone) {
        curl_multi_wait(multi, nullptr, 0, 50, nullptr);
        Drive();
      }
    }
    pump.stop();
    if (!httpDone) {
      // The loop was ended from outside (the program is leaving): the bytes
      // so far are no document, however many of them came.
      AbortTransfer();
      received.clear();
      lastError = "the transfer was cut short before the document had arrived whole";
    }
    busy = false;
    kind = Kind::None;
    std::string document;
    document.swap(received);
    return document;
  }
};

namespace {

size_t AppendToString(char* data, size_t size, size_t count, void* user) {
  auto* impl = static_cast<Inet::Impl*>(user);
  const size_t bytes = size * count;
  if (impl->received.size() + bytes > impl->limit) {
    impl->overLimit = true;
    return 0;  // aborts the transfer
  }
  impl->received.append(data, bytes);
  return bytes;
}

size_t WriteToFile(char* data, size_t size, size_t count, void* user) {
  auto* impl = static_cast<Inet::Impl*>(user);
  const size_t bytes = size * count;
  // Stopped at the bound, whatever the server claimed beforehand.
  if (bytes > impl->limit - impl->written) {
    impl->overLimit = true;
    return 0;  // aborts the transfer; the side file is removed
  }
  impl->written += bytes;
  return std::fwrite(data, 1, bytes, impl->file);
}

size_t ReadFromFile(char* data, size_t size, size_t count, void* user) {
  return std::fread(data, size, count, static_cast<FILE*>(user)) * size;
}

}  // namespace

Inet::Inet() : impl_(std::make_unique<Impl>()) {}
Inet::~Inet() = default;

int Inet::AccessType() const { return impl_->accessType; }
void Inet::SetAccessType(int type) { impl_->accessType = type; }
int Inet::Protocol() const { return impl_->protocol; }
void Inet::SetProtocol(int protocol) { impl_->protocol = protocol; }
std::string Inet::URL() const { return impl_->url; }
std::string Inet::RemoteHost() const { return impl_->remoteHost; }
int Inet::RemotePort() const { return impl_->remotePort; }
void Inet::SetRemotePort(int port) { impl_->remotePort = port; }
int Inet::RequestTimeout() const { return impl_->requestTimeout; }
void Inet::SetRequestTimeout(int seconds) { impl_->requestTimeout = seconds; }
std::string Inet::UserName() const { return impl_->userName; }
void Inet::SetUserName(const std::string& name) { impl_->userName = name; }
std::string Inet::Password() const { return impl_->password; }
void Inet::SetPassword(const std::string& password) { impl_->password = password; }

void Inet::SetURL(const std::string& url) {
  impl_->url = url;
  impl_->remoteHost.clear();
  CURLU* u = curl_url();
  if (curl_url_set(u, CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK) {
    char* part = nullptr;
    if (curl_url_get(u, CURLUPART_HOST, &part, 0) == CURLUE_OK && part != nullptr) {
      impl_->remoteHost = part;
      curl_free(part);
    }
    // The URL's port, or its scheme's usual one, as the control did.
    part = nullptr;
    if (curl_url_get(u, CURLUPART_PORT, &part, CURLU_DEFAULT_PORT) == CURLUE_OK && part != nullptr) {
      impl_->remotePort = std::atoi(part);
      curl_free(part);
    }
  }
  curl_url_cleanup(u);
}

bool Inet::Execute(const std::string& operation) { return impl_->Execute(operation); }
bool Inet::StillExecuting() const { return impl_->busy; }

std::string Inet::GetChunk(int size, int /*dataType*/) {
  if (size <= 0 || impl_->dataPos >= impl_->data.size()) return "";
  const std::string chunk = impl_->data.substr(impl_->dataPos, static_cast<size_t>(size));
  impl_->dataPos += chunk.size();
  return chunk;
}

std::string Inet::OpenURL() { return impl_->OpenURL(kMaxDocument); }
std::string Inet::OpenURL(size_t maxBytes) { return impl_->OpenURL(maxBytes); }

void Inet::OnStateChanged(std::function<void(int16_t)> handler) { impl_->handler = std::move(handler); }

std::string Inet::LastError() const { return impl_->lastError; }
bool Inet::Connected() const { return impl_->connected; }
bool Inet::RemoteFileMissing() const { return impl_->fileMissing; }
bool Inet::InUse() const { return impl_->inUse; }
bool Inet::InUseFor(InetPurpose purpose) const { return impl_->inUse && impl_->purpose == purpose; }

InetUse::InetUse(Inet& inet, InetPurpose purpose) {
  if (inet.impl_->inUse) return;
  inet.impl_->inUse = true;
  inet.impl_->purpose = purpose;
  inet_ = &inet;
}

InetUse& InetUse::operator=(InetUse&& other) noexcept {
  if (this != &other) {
    Release();
    inet_ = other.inet_;
    other.inet_ = nullptr;
  }
  return *this;
}

void InetUse::Release() {
  if (inet_ == nullptr) return;
  Inet::Impl& impl = *inet_->impl_;
  inet_ = nullptr;
  impl.inUse = false;
  if (impl.released) impl.released();
}

void Inet::OnReleased(std::function<void()> handler) { impl_->released = std::move(handler); }

void Inet::SetMaxGetSize(uint64_t bytes) { impl_->maxGetSize = bytes; }

}  // namespace platform
