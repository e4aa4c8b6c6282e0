#pragma once
// The main window: board, move record, clocks, option panels, menu bar,
// toolbar and status bar. Controls are public members under the names the
// rest of the program addresses them by; each also carries that name as its
// object name (arrays as "name(index)"), so tests find them with findChild.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandGate.h"
#include "app/Controls.h"
#include "correspondence/FtpRunner.h"
#include "platform/FileDialog.h"
#include "platform/Inet.h"
#include "platform/AssistantCharacter.h"
#include "support/ZVK_ErrorLog.h"

class QAbstractButton;
class QAbstractSlider;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QRadioButton;
class QScrollBar;
class QSlider;
class QTextEdit;
class QTimer;
class QMovie;
class QIcon;
class QDateTime;

namespace app {

class frmNewGame;

// The profile names stored in the settings, as split at "|" (the first one
// empty before the leading bar).
inline std::vector<std::string> gProfiles;

class fMainForm : public QMainWindow,
                  public ZVK_ErrorLog::ErrorIndicator,
                  public correspondence::FtpConnectionView {
  Q_OBJECT
 public:
  explicit fMainForm(QWidget* parent = nullptr);
  ~fMainForm() override;

  // The one main window while it exists (nullptr before and after).
  static fMainForm* Instance();

  // ---- life cycle
  void Form_Initialize();
  void Form_QueryUnload(int16_t& cancel);
  void Form_Unload();
  // The whole menu bar but Help, and the whole toolbar, off; and all back on.
  void DisableAllMenus();
  void EnableAllMenus();
  void mnuChangeSide_Click();
  // New Game, Load Game and toolbar buttons 1 and 2: off while a game runs.
  void SetGameStartCommandsEnabled(bool enabled);

  // ---- new game and board reset
  void mnuNewGame_Click();
  // Start position, empty record and taken pieces, clocks at zero, slider at
  // 0, coordinate labels in the orientation of gBoardSide.
  void Reset_Board();
  // The game type of the game being set up: "Training" keeps every help,
  // "Tournament" disables them; the status bar names it.
  void ApplyGameType(bool training);
  // Send, Download and Suspend hidden: a game that starts has nothing of
  // the last game's exchange to send or fetch.
  void HideExchangeButtons();
  // The new-game dialog while it is loaded (kept hidden when its OK found
  // the chosen offer gone), else nullptr.
  frmNewGame* NewGameForm() const;

  // ---- view toggles, edit mode, turn board, change mode
  void mnuDangerShow_Click();
  void mnuShowPossibleMoves_Click();
  void mnuTakenPieces_Click();
  void mnuEdit_Click();
  void setup_Click();
  void mnuRotate_Click();
  // The board's letters and digits in the orientation of gBoardSide.
  void ShowCoordinateCaptions();
  void mnuRedrawBoard_Click();
  void mnuChangeMode_Click();
  // Gives the window its default size within the screen's free area, so the
  // whole window with its status bar shows on a small screen (the board area
  // then scrolls), and moves it into that area when it lies outside.
  void FitToScreen(const QRect& available);

  // ---- board input and the road of a move
  void picFrontBuffer_MouseDown(int button, int shift, double x, double y);
  void picFrontBuffer_MouseMove(int button, int shift, double x, double y);
  void ExecuteMoveBW(int16_t isCPU);
  void ExecuteMoveNow();
  void ExecuteUnconditionedMoveNow();
  void SearchWhiteMoveNow();
  void SearchBlackMoveNow();
  void cmdStartCPUMove_Click();
  void Convert2IposBoard();
  void StatusReport();
  // Puts a picked piece down and shows the board without it (the check
  // markers a picked piece hides come back); whether a piece was picked.
  bool PutPickedPieceDown();

  // ---- the gate of the user's commands
  // Every command the user gives goes through the gate (app/CommandGate.h),
  // which runs it now, lets it wait or drops it. A move is under way from the
  // command that starts it (a press on the board, the hint, the start button)
  // until it and the engine's reply are shown; the engines' play against
  // each other is one move, at rest between two engine moves.
  bool MoveUnderWay() const { return gate_.MoveUnderWay(); }
  size_t CommandsWaiting() const { return gate_.Waiting(); }
  static constexpr const char* kPressDropped = CommandGate::kPressDropped;
  static constexpr const char* kWaitForTransfer = CommandGate::kWaitForTransfer;
  static constexpr const char* kCommandWaits = CommandGate::kCommandWaits;
  // Hands a command to the gate. available tells whether the entry or
  // button it came from is still on and shown when its turn comes.
  void GiveCommand(CommandGate::Kind kind, const QString& name, std::function<void()> run,
                   std::function<bool()> available = {}, const void* mergeKey = nullptr);
  // Work of a dialog of the command that runs, once the transfer under way
  // (one of the dialog's own) has ended.
  void RunAfterTransfer(std::function<void()> work);
  // True while a transfer holds the Internet transfer control; the
  // game-server ones also hold the user's commands back.
  bool TransferUnderWay() const;
  bool GameServerTransferUnderWay() const;
  // Tells one game on the board from the next (set up, loaded, closed).
  uint64_t GameOnBoard() const { return gameSerial_; }
  void NoteAnotherGame() { ++gameSerial_; }
  // The move slider set by the user (arrow or page click, drag, keys, wheel),
  // once no move is under way.
  void HScroll1_UserChange(int value);

  // ---- move navigation
  void mnuUndo_Click();
  void mnuRedo_Click();
  void mnuMoveBack_Click();
  void mnuMoveForward_Click();
  void mnuGotoBegin_Click();
  void mnuGotoLastMove_Click();
  void mnuGotoMove_Click();

  // ---- playing level and hint
  void sldLevel_Click();
  void Update_Level();
  void mnuGiveHint_Click();

  // ---- toolbar: the clicked button's key, the clicked drop-down entry's key
  void tb_ButtonClick(const QString& key);
  void tb_ButtonMenuClick(const QString& key);

  // ---- move slider, record, clock
  void HScroll1_Change();
  void Write2GameRecord(const std::string& text, int32_t color, bool speak);
  void Timer2_Timer();
  void chkEnableClock_Click();
  void ResetClock();
  void UpdateClock();
  static std::string fntFormatTime(int hours, int minutes, int seconds);

  // ErrorIndicator
  void ShowErrorIndicator() override;

  // ---- correspondence exchange
  // One FTP connection: IniFTP(folder), SendCommand(...) for each command,
  // SendCommand("CLOSE"), all while the transfer holds the control:
  //   const platform::InetUse transfer = ClaimTransfer();
  //   if (!transfer) return;  // another transfer runs; the user has been told
  platform::InetUse ClaimTransfer(platform::InetPurpose purpose = platform::InetPurpose::Exchange);
  void IniFTP(const std::string& folder);
  bool SendCommand(const std::string& cmd);
  void Inet1_StateChanged(int16_t state);
  // Sending the local move and fetching the partner's.
  void cmdSendMove_Click();
  void cmdDownloadMove_Click();
  // True when the archive dir & zipName holds a newer game than dir & chiG
  // (unpacked as dir & chiR). The load-game dialog marks its list with it.
  bool Check4MewMove(const std::string& dir, const std::string& zipName, const std::string& chiG,
                     const std::string& chiR);
  // Loads a correspondence game file (its full path) and shows it.
  void LoadInternetPlay(const std::string& path);
  // FtpConnectionView
  bool TraceSwitchOn() const override;
  void ShowTransferState(const std::string& text) override;
  // The progress animation of a transfer ("websend" or "ftpdownload" from
  // Common/avi/); it moves while the message loop runs.
  void StartProgressAnimation(const std::string& name);
  void StopProgressAnimation();

  // Appearance members the profile settings call.
  void ChangeBackgroundColor(int32_t bgr);
  void ChangeBordCoordinateColor(int32_t bgr);
  int32_t BackgroundColor() const { return backgroundColor_; }
  int32_t BordCoordinateColor() const { return coordinateColor_; }
  // Text colour of a label as an &HBBGGRR number.
  static void SetForeColor(QLabel* label, int32_t bgr);
  static int32_t ForeColor(const QLabel* label);

  // ---- appearance: colours, board picture, animation speed, language, record copy
  void cmdChangeBackgroundColor_Click();
  void cmdChangeBordCoordinateColor_Click();
  void cmdSetDefaultColor_Click();
  // Loads the chosen board picture into target; false (logged, target as it
  // was) when the picture cannot be read.
  bool Reset_Backgroud_BordPattern(QImage& target);
  void cmbBoard_Click();
  void HScrollAnimationSpeed_Change();
  void cmbLanguage_Click();
  void cmdCopy2Clipboard_Click();

  // ---- help, web pages, update check, about box, error log, top-most window
  void mnuHelpContent_Click();
  void mnuChessTutorial_Click();
  void mnuUpdates_Click();
  void mnuOnlineHelp_Click();
  void mnuForum_Click();
  void mnuFAQ_Click();
  void mnuSendImprovementRequest_Click();
  void mnuSendBugReport_Click();
  void reportBug_Click();
  void mnuHomepage_Click();
  void mnuOtherProducts_Click();
  void mnuSalesPartner_Click();
  void mnuAbout_Click();
  void lblError_Click();
  void chkWinOnTop_Click();
  // The largest tutorial file the download accepts.
  static constexpr size_t kMaxTutorialBytes = 32u << 20;

  // ---- the assistant character's events
  void MyAgent_Click(const std::string& character, int16_t button, int16_t shift, int32_t x, int32_t y);
  void MyAgent_Command(const std::string& name);
  void MyAgent_DblClick(const std::string& character, int16_t button, int16_t shift, int32_t x, int32_t y);
  void MyAgent_DragComplete(const std::string& character, int16_t button, int16_t shift, int32_t x, int32_t y);
  void MyAgent_Hide(const std::string& character, int16_t cause);

  // The clock counters (hours, minutes, seconds per side), for the game file and tests.
  struct ClockCounters {
    uint8_t whiteSeconds = 0, whiteMinutes = 0, whiteHours = 0;
    uint8_t blackSeconds = 0, blackMinutes = 0, blackHours = 0;
  };
  ClockCounters& clock() { return clock_; }

  // Last move description shown by the status report.
  const std::string& lastMoveDescription() const { return moveDescription_; }

  // The running game's file: empty until its first save wrote it, and again
  // for every new or loaded game, so that a save never lands in another game's file.
  std::string CurrentGameFile;
  const std::string& HelpFile() const { return helpFile_; }
  // Help number 1 the program's help, 2 the tutorial; "" for any other.
  std::string SetHelpStrings(int16_t helpNumber) const;
  // The text of cmbProfiles: the current profile's name.
  std::string ProfileText() const;
  // A stored option of the current profile; a value that is no Boolean is
  // logged under place and gives the default.
  bool ProfileFlag(const std::string& key, bool defaultValue, const char* place) const;
  // "male", "female" or "" from optGender, as the correspondence files hold it.
  std::string GenderText() const;

  int32_t PickedColor = 0;

  // ---- File menu (load, save, profiles, preferences, exit)
  void mnuLoadGameStart_Click();
  bool mnuSaveGame_Click();    // true when the game file was written
  bool mnuSaveGameAs_Click();  // true when a file was chosen and written
  void mnuAddProfile_Click();
  void mnuImportPGN_Click();
  void mnuDleteProfile_Click();
  void mnuOptions_Click();
  void mnuExit_Click();
  // Save Game's name when the game has no file yet: games folder, date and
  // hour, profile; copy 2 and up insert one "~" per digit of the copy and the
  // copy after the hour ("~2", "~~10"), so that later games sort after earlier ones.
  std::string DatedGameFileName(const QDateTime& when, int copy = 1) const;
  // Writes the game to path, which becomes its file; a failure is shown on
  // screen with the path.
  bool SaveGameTo(const std::string& path);
  platform::CommonDialog Ccmd;  // the window's file dialog

  // ---- pause, suspend, give up
  void mnuPause_Click();
  void mnuSuspendGame_Click();
  void mnuGiveUp_Click();
  // Ends the running game: saved, board reset, New Game and Load Game back on.
  void cmdSuspend_Click();
  // The same, true when the game was closed: one that could not be saved
  // stays open.
  bool CloseGame();
  // Saves a local correspondence move that is still to be sent into the last
  // exchanged game, with the note of its half-move, so that the game resumed
  // later holds it and offers to send it. A last exchanged game that cannot
  // be read is written anew from the board, and the next send then judges
  // the server's copy first. False only when such a move could not be written.
  bool KeepMoveToSend();
  // Give Up's question, naming the players by the colour to move.
  std::string GiveUpQuestion() const;

  // ---- connection test
  void cmdTestInternetConnection_Click();

  // The pictures of the game lists (31 a game, 7 a game with a new move).
  static QIcon ImageList2(int index);
  // The settings application of the current profile.
  std::string ProfileApplicationName() const;


  // ---- controls -------------------------------------------------------
  PictureBox* picFrontBuffer = nullptr;
  PictureBox* picFrontTempBuffer = nullptr;
  std::array<PictureBox*, 3> picEffector{};
  std::map<int, PictureBox*> picPiece;  // 1-6, 11-16, 21-26
  std::array<QLabel*, 16> lblFile{};
  std::array<QLabel*, 16> lblRank{};
  std::array<QWidget*, 3> picGameControl{};
  std::array<PictureBox*, 17> TakenWhite{};  // 1-16 used
  std::array<PictureBox*, 17> TakenBlack{};  // 1-16 used

  QLabel* lbl_Play = nullptr;
  QLabel* lblWhitesClock = nullptr;
  QLabel* lblBlacksClock = nullptr;
  QLabel* lblwwCheck = nullptr;
  QLabel* lblbbCheck = nullptr;
  QLabel* lblStatus = nullptr;
  QLabel* lblMoveControl = nullptr;
  QCheckBox* chkEnableClock = nullptr;
  QTimer* Timer2 = nullptr;
  RequestCheckBox* setup = nullptr;  // its clicks go through the command gate
  QScrollBar* HScroll1 = nullptr;
  QSlider* sldLevel = nullptr;
  QLabel* lblLevel = nullptr;
  QProgressBar* progreso = nullptr;
  QLabel* lbl_jpen = nullptr;
  QTextEdit* txtMoveList = nullptr;
  QTextEdit* RTB2 = nullptr;
  QLineEdit* txtComment = nullptr;
  QLineEdit* txtNameWhite = nullptr;
  QLineEdit* txtNameBlack = nullptr;
  QComboBox* cmbProfiles = nullptr;
  QComboBox* cmbBoard = nullptr;
  QComboBox* cmbLanguage = nullptr;
  QScrollBar* HScrollAnimationSpeed = nullptr;
  QLabel* lblAnimationMoveSpeed = nullptr;
  QCheckBox* chkMoveAnimation = nullptr;
  QComboBox* lstMoveIncrementation = nullptr;
  QCheckBox* ChkToolTip = nullptr;
  QCheckBox* chkEnableIntroduction = nullptr;
  QCheckBox* chkWinOnTop = nullptr;
  QCheckBox* chkEnableVoice = nullptr;
  QCheckBox* chkEnableSound = nullptr;
  QLineEdit* txtUserNickName = nullptr;
  QComboBox* cmbCountry = nullptr;
  std::array<QRadioButton*, 2> optGender{};
  QLineEdit* txtAge = nullptr;
  GxButton* cmdSendMove = nullptr;
  GxButton* cmdDownloadMove = nullptr;
  GxButton* cmdSuspend = nullptr;
  GxButton* cmdStartCPUMove = nullptr;
  GxButton* cmdCopy2Clipboard = nullptr;
  GxButton* cmdChangeBackgroundColor = nullptr;
  GxButton* cmdChangeBordCoordinateColor = nullptr;
  GxButton* cmdSetDefaultColor = nullptr;
  QPushButton* cmdTestInternetConnection = nullptr;
  QCheckBox* chkTestInternetConnection = nullptr;
  QLabel* lblTestInternetConnection = nullptr;
  QLabel* Animation1 = nullptr;
  QLabel* lblError = nullptr;
  QLabel* reportBug = nullptr;
  PictureBox* ErrorIndicatorBox = nullptr;  // object name "ErrorIndicator"
  std::unique_ptr<platform::Inet> Inet1;  // the Internet transfer control
  Toolbar* tb = nullptr;
  StatusPanels* StatusBar = nullptr;

  // Menus
  QMenu* mnuFile = nullptr;
  QAction* mnuLoadGameStart = nullptr;
  QAction* mnuSaveGame = nullptr;
  QAction* mnuSaveGameAs = nullptr;
  QAction* mnuAddProfile = nullptr;
  QAction* mnuDleteProfile = nullptr;
  QAction* mnuImportPGN = nullptr;
  QAction* mnuOptions = nullptr;
  QAction* mnuExit = nullptr;
  QMenu* mnuGame = nullptr;
  QAction* mnuNewGame = nullptr;
  QAction* mnuPause = nullptr;
  QAction* mnuSuspendGame = nullptr;
  QAction* mnuGiveUp = nullptr;
  QAction* mnuChangeMode = nullptr;
  QAction* mnuDangerShow = nullptr;
  QAction* mnuTakenPieces = nullptr;
  QAction* mnuEdit = nullptr;
  QAction* mnuRotate = nullptr;
  QAction* mnuChangeSide = nullptr;
  QAction* mnuRedrawBoard = nullptr;
  QMenu* mnuMove = nullptr;
  QAction* mnuUndo = nullptr;
  QAction* mnuRedo = nullptr;
  QAction* mnuMoveBack = nullptr;
  QAction* mnuMoveForward = nullptr;
  QAction* mnuGotoBegin = nullptr;
  QAction* mnuGotoLastMove = nullptr;
  QAction* mnuGotoMove = nullptr;
  QAction* mnuShowPossibleMoves = nullptr;
  QAction* mnuGiveHint = nullptr;
  QMenu* mnuHelp = nullptr;
  QAction* mnuHelpContent = nullptr;
  QAction* mnuChessTutorial = nullptr;
  QAction* mnuOnlineHelp = nullptr;
  QAction* mnuForum = nullptr;
  QAction* mnuFAQ = nullptr;
  QAction* mnuSendImprovementRequest = nullptr;
  QAction* mnuSendBugReport = nullptr;
  QAction* mnuUpdates = nullptr;
  QAction* mnuHomepage = nullptr;
  QAction* mnuOtherProducts = nullptr;
  QAction* mnuTellAFriend = nullptr;
  QAction* mnuSalesPartner = nullptr;
  QAction* mnuAbout = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void ConnectMenus();
  // Runs handler when action is chosen from the menu or its toolbar button.
  // A check-marked entry is handed to its handler with the mark it had
  // before the click: the handlers set the mark themselves.
  void OnCommand(QAction* action, std::function<void()> handler);
  // OnCommand through the gate, as a command that changes the game or one
  // that only opens a window.
  void OnGameCommand(QAction* action, std::function<void()> handler);
  void OnWindowCommand(QAction* action, std::function<void()> handler);
  // A button's click through the gate as a command that changes the game.
  void OnGameButton(QAbstractButton* button, std::function<void()> handler);
  // The user's moves of a slider become a command that sets its value
  // (through the gate); values the program sets go straight through.
  void OnSliderAction(QAbstractSlider* slider, std::function<void(int)> setValue);
  // Exit's question, and the end of the program on Yes.
  void AskToLeave();
  void ShowLoadGameDialog();
  void ShowConnectionTestStep(const std::string& text);
  void BuildToolbar();
  QWidget* BuildBoardArea();
  QWidget* BuildGamePanel();
  QWidget* BuildOptionsPanel();
  // Rearranges the options panel's columns whenever view changes its width.
  void StackOptionsWhenNarrow(QWidget* view);
  QWidget* BuildTakenPanel();
  QWidget* BuildRecordArea();
  void ApplyLook();
  void ConnectAppearance();
  void ConnectHelp();
  void LoadAssistant();
  void OpenWebPage(const char* place, const std::string& path);
  void ShowEmptyBoard();
  void WriteOffer();
  void ConnectViewCommands();
  void BlinkButton(GxButton* button);
  // How the send's own files came out: only a game whose files are all
  // written, and that continues what the partner has, goes to the server.
  // DiskFailed: a file of this PC could not be written (unwritable_ names it).
  enum class SendReadiness { Ready, GameChanged, BreaksPartnersGame, DiskFailed, Failed };
  SendReadiness Prepare_MoveTransmit();
  std::string unwritable_;
  // Says why a send that was not ready puts nothing on the server.
  void RefuseSend(SendReadiness readiness);
  // One game archive from the server's games folder into localPath, in a
  // connection of its own (while the caller holds the transfer control).
  correspondence::GetOutcome FetchGameArchive(const std::string& zip, const std::string& localPath);
  // The game on the board as a command that yields found it. A game closed,
  // begun, loaded, moved on or stepped through meanwhile is another one.
  struct GameInHand {
    uint64_t epoch = 0;
    int32_t moveNumber = 0;
    std::string id, mode;
    bool operator==(const GameInHand&) const = default;
  };
  static GameInHand CurrentGame();
  // The game the send under way began with (set as it prepares its files):
  // after each wait the send goes on only while this is still the game.
  GameInHand sendingGame_;
  bool StillSendingTheSameGame() const { return CurrentGame() == sendingGame_; }

  // The road of a move, step by step.
  enum class RoadStep { End, EngineContinuation, EngineWhite, EngineBlack, LoopTest };
  RoadStep UserMoveByMode();
  RoadStep WhiteMove();
  RoadStep BlackMove();
  RoadStep AfterUserMove(bool whiteMoved);
  bool SearchEngineMove(bool white);  // true when the engine committed its move
  // The board changed without a move (a promotion's piece, an edited
  // position): it becomes the logged position of the half-move shown, so that
  // saving, sending, looking back and playing on all see what the board shows.
  // Earlier half-moves stay as they were played; a change makes it the
  // game's last half-move.
  void KeepShownPositionInLog();
  void EngineMove(bool white);
  // A user's request to move a slider: a drag asks for a place, a step for a
  // distance from wherever the slider stands when the request runs.
  struct SliderRequest {
    QAbstractSlider* slider = nullptr;
    bool drag = false;
    int amount = 0;
  };
  // Hands a slider request to the gate; requests of one slider given one
  // after the other while they wait are one, so that a drag or a spun wheel
  // is replayed as the place it ends on, not move by move.
  void GiveSliderRequest(const SliderRequest& request, std::function<void(int)> setValue);
  std::shared_ptr<SliderRequest> lastSliderRequest_;  // the one a later request may join
  CommandGate gate_;
  uint64_t gameSerial_ = 0;
  void ShowClocks();

  // Wiring of the commands, one area each.
  void ConnectNavigationCommands();
  void ConnectLevelCommands();
  void ConnectToolbar();
  // Counts the levels the user has picked on the slider, so that the hint,
  // which sets the level for its own search, can tell whether the user picked
  // one while that search ran.
  uint64_t levelPicks_ = 0;

  // Navigation: the slider moved without its own record line, and the
  // closing steps every navigation command shares.
  void MoveSliderSilently(int value);
  void FinishNavigation(bool drawBoard);

  // Toolbar: the side panel shown (0 game, 1 options, 2 taken pieces) and the
  // pressed state of a two-state button.
  void ShowSidePanel(int index);
  bool ButtonPressed(const char* key) const;
  void SetButtonPressed(const char* key, bool pressed);
  void PanelButtonClicked(const char* key, QAction* mark, int panel, QAction* otherMark);

  // Steps of the window's creation that lean on other modules.
  void SetHelpFile();
  void FillLanguageList();
  void SelectStoredLanguage();
  void SetLanguageNameFromList();
  void FillProfileList();
  void FillBoardList();

  std::unique_ptr<class WindowBridges> bridges_;
  QPointer<frmNewGame> newGameForm_;
  std::unique_ptr<correspondence::FtpRunner> ftp_;
  std::unique_ptr<platform::AgentListener> agentEvents_;  // the character's events, once one is loaded
  std::string helpFile_;
  int32_t backgroundColor_ = 0x800000;
  int32_t coordinateColor_ = 0xDF996F;

  ClockCounters clock_;
  std::string moveDescription_;
  // Counts the status reports begun, so that one whose legality test yielded
  // to a newer one leaves the status line to it.
  uint64_t statusReports_ = 0;
  bool unloading_ = false;
  bool ending_ = false;
  bool closeWaiting_ = false;  // Exit's question waits for its turn
  bool leaving_ = false;       // the question was answered (or failed) for leaving
};

}  // namespace app
