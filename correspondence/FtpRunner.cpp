#include "correspondence/FtpRunner.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <thread>

#include "board/GameFile.h"
#include "correspondence/Naming.h"
#include "platform/DoEvents.h"
#include "platform/Inet.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_File_Dir.h"
#include "support/ZVK_Time.h"

namespace correspondence {
namespace {

constexpr const char* kIniPlace = "IniFTP of Formular fMainForm";
constexpr const char* kSendPlace = "SendCommand of Formular fMainForm";
constexpr const char* kStatePlace = "Inet1_StateChanged of Formular fMainForm";

constexpr std::array<const char*, 13> kStateTexts = {
    "no state to report",
    "looking up the IP address",
    "successfully found the IP address",
    "connecting to the host computer",
    "successfully connected",
    "sending a request to the host",
    "successfully sent the request",
    "receiving a response",
    "successfully received a response",
    "is disconnecting",
    "successfully disconnected",
    "an error occurred in communicating",
    "request completed and all data received",
};

// Writes every piece of returned data at the start of the response file
// without emptying it first: its readers delete it before they list.
void StoreReturnedData(platform::Inet& inet) {
  FILE* file = std::fopen(gFtpResponseFile.c_str(), "r+b");
  if (file == nullptr) file = std::fopen(gFtpResponseFile.c_str(), "wb");
  if (file == nullptr)
    throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrPathAccess, "Path/File access error");
  bool written = true;
  for (std::string chunk = inet.GetChunk(kResponseChunk, 0); !chunk.empty() && written;
       chunk = inet.GetChunk(kResponseChunk, 0))
    written = std::fwrite(chunk.data(), 1, chunk.size(), file) == chunk.size();
  std::fclose(file);
  if (!written) throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrPathAccess, "Path/File access error");
}

// An archive's own bytes beside its one entry: headers, the entry's name,
// the encryption's salt and check value; deflate adds a few bytes per block
// even to data it cannot shrink.
constexpr uint64_t kArchiveOverhead = 64 * 1024;
// Offer and join files hold a handful of short lines.
constexpr uint64_t kLargestSmallFile = 1024 * 1024;

}  // namespace

uint64_t LargestFileOfFolder(const std::string& folder) {
  if (folder == kRemoteGames) return static_cast<uint64_t>(ZVK_Board_Sub::kMaxGameFileBytes) + kArchiveOverhead;
  return kLargestSmallFile;
}

std::string FtpStateText(int16_t state) {
  if (state < 0 || state >= static_cast<int16_t>(kStateTexts.size())) return "Undifined error";
  return kStateTexts[static_cast<size_t>(state)];
}

std::string PutCommand(const std::string& localPath, const std::string& remoteName) {
  return "PUT \"" + localPath + "\" " + remoteName;
}

std::string GetCommand(const std::string& remoteName, const std::string& localPath) {
  return "GET " + remoteName + " \"" + localPath + "\"";
}

void FtpRunner::Trace(const std::string& text) {
  if (view_.TraceSwitchOn()) ZVK_ErrorLog::WriteLogLine(text);
}

void FtpRunner::IniFTP(const std::string& folder) {
  Guarded(kIniPlace, [&] {
    if (gFtpResponseFile.empty()) {
      ZVK_File_Dir::CreateDirectoryStruct(TempDir());
      gFtpResponseFile = TempDir() + kReceiveFileName;
    }
    inet_.SetAccessType(0);
    inet_.SetProtocol(platform::icFTP);
    inet_.SetRemotePort(kFtpPort);
    inet_.SetRequestTimeout(kFtpRequestTimeout);
    // The URL's own port (from the configured host) replaces the usual one.
    inet_.SetURL("ftp://" + platform::ConfiguredFtpHost());
    inet_.SetUserName(kFtpUserName);
    inet_.SetPassword(kFtpPassword);
    inet_.SetMaxGetSize(LargestFileOfFolder(folder));
    SendCommand(std::string("CD ") + kRemoteRoot);
    SendCommand("CD " + folder);
    platform::DoEvents();
  });
}

bool FtpRunner::SendCommand(const std::string& cmd) {
  // Each step goes on after a failure of the one before: the connection
  // must still reach its CLOSE.
  Guarded(kSendPlace, [&] { Trace(cmd); }, false);
  bool started = false;
  Guarded(kSendPlace, [&] {
    started = inet_.Execute(cmd);
    // Another transfer still holds the control (one started meanwhile from
    // an event): this command is not sent.
    if (!started) throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrInvalidCall, "Still executing last request");
  }, false);
  Guarded(kSendPlace, [&] {
    while (started && inet_.StillExecuting()) {
      platform::DoEvents();
      // The transfer advances on the control's timer; a short sleep keeps
      // this loop from burning a core without delaying any event.
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
  }, false);
  Guarded(kSendPlace, [&] { ZVK_Time::Wait(1); }, false);
  return started && inet_.LastError().empty();
}

GetOutcome FtpRunner::Get(const std::string& remoteName, const std::string& localPath) {
  const bool done = SendCommand(GetCommand(remoteName, localPath));
  if (done && ZVK_File_Dir::FileExists(localPath)) return GetOutcome::Fetched;
  return inet_.RemoteFileMissing() ? GetOutcome::NotOnServer : GetOutcome::Failed;
}

void FtpRunner::StateChanged(int16_t state) {
  Guarded(kStatePlace, [&] {
    const std::string text = FtpStateText(state);
    view_.ShowTransferState(text);
    Trace(text);
    if (state == platform::icError) ZVK_Time::Wait(3);
    if (state == platform::icResponseCompleted) StoreReturnedData(inet_);
  });
}

}  // namespace correspondence
