// The connection test: puts a small file into the server's test folder,
// fetches it back and deletes it there, each step shown in the transfer
// label (and traced when the trace switch is on).
#include <QLabel>

#include "app/fMainForm.h"
#include "correspondence/ExchangeFiles.h"
#include "correspondence/FtpRunner.h"
#include "correspondence/Naming.h"
#include "platform/DoEvents.h"
#include "platform/MessageBox.h"
#include "support/AppIdentity.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_File_Dir.h"
#include "support/ZVK_Time.h"

namespace app {

namespace C = correspondence;

void fMainForm::ShowConnectionTestStep(const std::string& text) {
  ShowTransferState(text);
  if (TraceSwitchOn()) ZVK_ErrorLog::WriteLogLine(text);
  ZVK_Time::Wait(3);
}

void fMainForm::cmdTestInternetConnection_Click() {
  // Its CLOSE would end the session of a send or fetch under way.
  const platform::InetUse transfer = ClaimTransfer();
  if (!transfer) return;
  Guarded("cmdTestInternetConnection_Click of Formular fMainForm", [&] {
    const std::string name = C::ConnectionTestName(ZVK_Identity::gMachineID);
    if (!C::IsMachineId(ZVK_Identity::gMachineID))
      throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrInvalidCall, "Invalid procedure call or argument");
    const std::string local = C::TempDir() + name;
    ZVK_File_Dir::CreateDirectoryStruct(C::TempDir());
    C::WriteConnectionTestFile(local);

    StartProgressAnimation(C::kSendAnimation);
    ShowConnectionTestStep("INITIAL THE FTP CONNECTION");
    IniFTP(C::kRemoteTest);
    ShowConnectionTestStep("SEND TEST FILE");
    SendCommand(C::PutCommand(local, name));
    ZVK_File_Dir::DeleteFiles(local, 0);
    StartProgressAnimation(C::kDownloadAnimation);
    ShowConnectionTestStep("LOAD TEST FILE");
    SendCommand(C::GetCommand(name, local));
    StopProgressAnimation();
    platform::DoEvents();

    if (ZVK_File_Dir::FileExists(local)) {
      ZVK_File_Dir::DeleteFiles(local, 0);
      ShowConnectionTestStep("DELETE TEST FILE");
      SendCommand("DELETE " + name);
      platform::MsgBox("The Internet connection is ok", 4160, ZVK_ErrorLog::ApplicationTitle());
    } else {
      platform::MsgBox("There was a fault in the Internet connection\r\nPlease correct the problem.", 4112,
                       ZVK_ErrorLog::ApplicationTitle());
    }
    SendCommand("CLOSE");
    platform::DoEvents();
  });
  StopProgressAnimation();
}

}  // namespace app
