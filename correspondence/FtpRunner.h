#pragma once
// One short FTP connection of the game exchange: prepare the transfer
// control and change into "www" and the operation's folder, send commands one
// at a time (each blocks until it has ended, then waits a second), and handle
// the control's state events (show and trace the state, store returned data
// in the response file). The main window owns one runner over its transfer
// control and forwards IniFTP, SendCommand and Inet1_StateChanged to it.
//
//   runner.IniFTP("games");
//   runner.SendCommand(PutCommand(localArchive, remoteName));
//   runner.SendCommand("CLOSE");
//
// Callers judge a get by whether its local file exists afterwards, and a put
// by SendCommand's result.
// Qt-free header.
#include <cstdint>
#include <string>

namespace platform { class Inet; }

namespace correspondence {

// The local file that receives the data of the next command that returns
// data (a listing). Empty until the first connection gives it its default,
// InternetGame/temp/tmp.tmp under the program folder.
inline std::string gFtpResponseFile;

// The game-exchange account, fixed in the program.
inline constexpr const char* kFtpUserName = "zvk1chess";
inline constexpr const char* kFtpPassword = "mq4tjv";
inline constexpr int16_t kFtpPort = 21;
inline constexpr int32_t kFtpRequestTimeout = 60;  // seconds
// Size of one piece of returned data written to the response file.
inline constexpr int kResponseChunk = 1024;

// The largest file a get from a remote folder may bring: an exchange
// archive of "games" is at most a packed game file, an offer or join archive
// and the connection test file are a few hundred bytes. Anything larger was
// not written by a partner's program and is stopped where it crosses this.
uint64_t LargestFileOfFolder(const std::string& folder);

// The text shown for a transfer state ("Undifined error" outside 0-12).
std::string FtpStateText(int16_t state);

// Command texts: local paths in double quotes, remote names bare.
std::string PutCommand(const std::string& localPath, const std::string& remoteName);
std::string GetCommand(const std::string& remoteName, const std::string& localPath);

// What a get of one file brought: the file, the server's answer that it has
// no such file, or neither (no connection, a broken or refused transfer, a
// temporary error, a local file that could not be written): a failed look
// is no proof that the file is not there.
enum class GetOutcome { Fetched, NotOnServer, Failed };

// What the runner needs of the window: the trace switch and the state label.
class FtpConnectionView {
 public:
  virtual ~FtpConnectionView() = default;
  virtual bool TraceSwitchOn() const = 0;
  virtual void ShowTransferState(const std::string& text) = 0;
};

class FtpRunner {
 public:
  FtpRunner(platform::Inet& inet, FtpConnectionView& view) : inet_(inet), view_(view) {}

  // Also bounds every get of the connection by what the folder holds.
  void IniFTP(const std::string& folder);
  // True when the command was sent and ended without a transfer error.
  bool SendCommand(const std::string& cmd);
  // A GET of remoteName into localPath, judged by its outcome.
  GetOutcome Get(const std::string& remoteName, const std::string& localPath);
  void StateChanged(int16_t state);

 private:
  void Trace(const std::string& text);

  platform::Inet& inet_;
  FtpConnectionView& view_;
};

}  // namespace correspondence
