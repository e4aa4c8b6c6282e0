#pragma once
// The Internet transfer control: FTP commands one at a time with a busy flag
// and numbered state events, and an HTTP document fetch. Transfers run on
// libcurl inside the window's message loop (no threads): Execute returns at
// once, the transfer advances whenever the message loop runs, and the state
// events are raised from the message loop on the window's thread.
//
//   inet.OnStateChanged([&](int16_t state) { ... inet.GetChunk(1024) ... });
//   inet.SetURL("ftp://" + platform::ConfiguredFtpHost());
//   inet.SetUserName(...); inet.SetPassword(...);
//   inet.Execute("CD www");
//   while (inet.StillExecuting()) platform::DoEvents();
//
// Commands: "CD <folder>", "CD ..", "LS [pattern]" (names of the current
// folder as data), "PUT \"<local path>\" <remote name>",
// "GET <remote name> \"<local path>\"", "DELETE <remote name>", "CLOSE".
// The first command after CLOSE (or the first ever) opens the connection and
// logs in. Remote names are bare names of the current folder. A folder
// change that fails leaves the connection without a known folder: every
// later command but CLOSE fails, so that nothing is put into, fetched from or
// deleted in another folder than the one the caller asked for.
//
// States: 1 looking up, 2 found, 3 connecting, 4 connected, 5 sending the
// request, 6 sent, 7 receiving, 8 received, 9 disconnecting, 10 disconnected,
// 11 the command failed (refused login, missing file or folder, time-out, no
// server, bad command), 12 completed with all data received. Every command
// ends with 11 or 12 (CLOSE with 10), and StillExecuting stays true until the
// handler of that last state has returned. A GET that fails leaves no local
// file behind; a GET that succeeds replaces the local file.
//
// Qt-free header.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

// Where the game-exchange FTP host comes from: the environment variable wins,
// then the first line of the host file in the Common folder that is neither
// empty nor a comment ("#"), then the built-in host. The value is a host name
// or address, optionally followed by ":port".
inline constexpr const char* kFtpHostVariable = "CASTELLAN_FTP_HOST";
inline constexpr const char* kFtpHostFileName = "FtpHost.txt";
inline constexpr const char* kDefaultFtpHost = "ftp.castellan.example.org";

std::string FtpHostFilePath();   // <program folder>/../Common/FtpHost.txt
std::string ConfiguredFtpHost();  // never empty; malformed values give the built-in host
bool IsValidHostText(const std::string& host);
// A configured value: the environment variable when it is set and not blank,
// else the first line of the file that is neither empty nor a comment ("#"),
// trimmed; "" when neither holds one.
std::string ConfiguredValue(const char* variable, const std::string& file);

// Opens an address in the user's browser (the shell's "open"); false when
// nothing could take it. Tests install an opener that records instead.
bool OpenInBrowser(const std::string& url);
void SetBrowserOpener(std::function<bool(const std::string&)> opener);  // empty: the system's

// Protocol numbers of the control.
inline constexpr int icFTP = 2;
inline constexpr int icHTTP = 4;
inline constexpr int icHTTPS = 5;

// State numbers of the control's events.
enum InetState : int16_t {
  icNone = 0,
  icResolvingHost = 1,
  icHostResolved = 2,
  icConnecting = 3,
  icConnected = 4,
  icRequesting = 5,
  icRequestSent = 6,
  icReceivingResponse = 7,
  icResponseReceived = 8,
  icDisconnecting = 9,
  icDisconnected = 10,
  icError = 11,
  icResponseCompleted = 12,
};

class Inet;

// What a transfer uses the control for. Exchanges (a session with the game
// server) hold the user's commands back while they run; a web document does
// not (see the main window's command gate).
enum class InetPurpose { Exchange, WebDocument };

// One user of the control at a time. A transfer is several commands (an FTP
// connection from its first folder change to its CLOSE, a send of two
// connections, an HTTP fetch), and each lets the message loop run: a second
// transfer started from a click meanwhile would share the first one's
// connection, current remote folder and URL, and end its session with its
// own CLOSE. Every transfer holds a use for its whole length; a use asked for
// while another is held is refused (false), and that transfer must not start.
class InetUse {
 public:
  InetUse() = default;  // holds nothing
  explicit InetUse(Inet& inet, InetPurpose purpose = InetPurpose::Exchange);
  InetUse(InetUse&& other) noexcept : inet_(other.inet_) { other.inet_ = nullptr; }
  InetUse& operator=(InetUse&& other) noexcept;
  InetUse(const InetUse&) = delete;
  InetUse& operator=(const InetUse&) = delete;
  ~InetUse() { Release(); }

  explicit operator bool() const { return inet_ != nullptr; }
  void Release();

 private:
  Inet* inet_ = nullptr;
};

class Inet {
 public:
  Inet();
  ~Inet();
  Inet(const Inet&) = delete;
  Inet& operator=(const Inet&) = delete;

  // Connection properties. Setting the URL also sets RemotePort (the port the
  // URL names, else its scheme's usual port); RemotePort set afterwards wins.
  int AccessType() const;
  void SetAccessType(int type);  // 0: the system's default access (proxy from the environment)
  int Protocol() const;
  void SetProtocol(int protocol);
  std::string URL() const;
  void SetURL(const std::string& url);
  std::string RemoteHost() const;  // the host of the URL
  int RemotePort() const;
  void SetRemotePort(int port);
  int RequestTimeout() const;  // seconds without progress before a command fails
  void SetRequestTimeout(int seconds);
  std::string UserName() const;
  void SetUserName(const std::string& name);
  std::string Password() const;
  void SetPassword(const std::string& password);

  // Starts one FTP command on the URL's server. False (and no events) when a
  // command is still executing; every other problem ends in state 11.
  bool Execute(const std::string& operation);
  bool StillExecuting() const;

  // The data the last command returned (a listing), at most `size` bytes per
  // call, in order; empty once everything has been handed over. Only data
  // type 0 (text) exists.
  std::string GetChunk(int size, int dataType = 0);

  // Fetches the document at URL over HTTP(S) and returns it; the message loop
  // keeps running meanwhile. Empty on any failure (no server, an HTTP error
  // status, time-out, a document over 1 MiB, a command still executing), and
  // when the wait is ended before the document has arrived whole (the
  // program leaving ends every running message loop): what came so far is
  // dropped.
  std::string OpenURL();
  // The same with a size limit of the caller's (documents larger than the
  // version list, such as a downloaded help file).
  std::string OpenURL(size_t maxBytes);

  // The largest file a GET may bring (none by default): a larger one is
  // stopped where it crosses the bound, ends in state 11 and leaves no local
  // file.
  void SetMaxGetSize(uint64_t bytes);

  // The handler of the state events (none: the events are dropped).
  void OnStateChanged(std::function<void(int16_t state)> handler);

  // The last failure in words (for diagnostics), empty after a success.
  std::string LastError() const;
  // True while a connection stands: the server answered the last command,
  // also when it refused it (a missing file); false after CLOSE and when the
  // server could not be reached or refused the login.
  bool Connected() const;
  // True when the last command was a GET that failed because the server
  // answered that it has no such file (550) in the folder: unlike a refused
  // or broken connection, a time-out or a temporary refusal, that says what
  // the folder holds.
  bool RemoteFileMissing() const;

  // True while an InetUse holds the control (for the purpose given).
  bool InUse() const;
  bool InUseFor(InetPurpose purpose) const;
  // Called whenever a use lets the control go (none: nothing is called), so
  // that what waited for the transfer can have its turn.
  void OnReleased(std::function<void()> handler);

  struct Impl;

 private:
  friend class InetUse;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
