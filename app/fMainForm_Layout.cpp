// Construction of the main window's controls, menus, toolbar and layout.
#include <QCheckBox>
#include <QBoxLayout>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "app/fMainForm.h"
#include "board/ZVK_Board_Sub.h"

namespace app {

namespace Board = ZVK_Board_Sub;

namespace {

constexpr int kCommentCapacity = 1'000'000;

// Puts the options panel's two columns side by side while the view they are
// shown in is wide enough for both, and one below the other when it is not,
// so that no column lies beyond a view that scrolls only up and down.
class ColumnsFollowWidth : public QObject {
 public:
  ColumnsFollowWidth(QBoxLayout* columns, QWidget* view) : QObject(view), columns_(columns) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize) Arrange(static_cast<QWidget*>(watched)->width());
    return false;
  }

 private:
  void Arrange(int width) {
    const QMargins m = columns_->contentsMargins();
    int sideBySide = m.left() + m.right() + columns_->spacing();
    for (int i = 0; i < columns_->count(); ++i) sideBySide += columns_->itemAt(i)->minimumSize().width();
    const auto direction = width >= sideBySide ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
    if (columns_->direction() != direction) columns_->setDirection(direction);
  }
  QBoxLayout* columns_;
};

QLabel* Label(const QString& name, const QString& caption, QWidget* parent = nullptr) {
  return Named(new QLabel(caption, parent), name);
}

QCheckBox* Check(const QString& name, const QString& caption) { return Named(new QCheckBox(caption), name); }

QAction* Item(QMenu* menu, QObject* owner, const QString& name, const QString& caption,
              bool checkable = false) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  action->setParent(owner);  // so that findChild on the window reaches it
  action->setCheckable(checkable);
  return action;
}

}  // namespace

void fMainForm::BuildMenus() {
  QMenuBar* bar = menuBar();
  mnuFile = Named(bar->addMenu(QStringLiteral("&File")), QStringLiteral("mnuFile"));
  mnuLoadGameStart = Item(mnuFile, this, "mnuLoadGameStart", "Load Game ...");
  mnuSaveGame = Item(mnuFile, this, "mnuSaveGame", "Save Game");
  mnuSaveGameAs = Item(mnuFile, this, "mnuSaveGameAs", "Save Game As ...");
  mnuFile->addSeparator();
  mnuAddProfile = Item(mnuFile, this, "mnuAddProfile", "Add New Profile");
  mnuDleteProfile = Item(mnuFile, this, "mnuDleteProfile", "Delete Profile");
  mnuFile->addSeparator();
  mnuImportPGN = Item(mnuFile, this, "mnuImportPGN", "Import PGN Format ...");
  mnuFile->addSeparator();
  mnuOptions = Item(mnuFile, this, "mnuOptions", "Preferences", true);
  mnuFile->addSeparator();
  mnuExit = Item(mnuFile, this, "mnuExit", "Exit");

  mnuGame = Named(bar->addMenu(QStringLiteral("Game")), QStringLiteral("mnuGame"));
  mnuNewGame = Item(mnuGame, this, "mnuNewGame", "New Game");
  mnuPause = Item(mnuGame, this, "mnuPause", "Pause Game", true);
  mnuSuspendGame = Item(mnuGame, this, "mnuSuspendGame", "Suspend Game");
  mnuGiveUp = Item(mnuGame, this, "mnuGiveUp", "Give Up ");
  mnuGame->addSeparator();
  mnuChangeMode = Item(mnuGame, this, "mnuChangeMode", "Change Mode of Game");
  mnuGame->addSeparator();
  mnuDangerShow = Item(mnuGame, this, "mnuDangerShow", "Show pieces in danger", true);
  mnuTakenPieces = Item(mnuGame, this, "mnuTakenPieces", "Show taken pieces", true);
  mnuEdit = Item(mnuGame, this, "mnuEdit", "Edit positions of the chess pieces", true);
  mnuGame->addSeparator();
  mnuRotate = Item(mnuGame, this, "mnuRotate", "Turn board around");
  mnuChangeSide = Item(mnuGame, this, "mnuChangeSide", "Change side");
  mnuRedrawBoard = Item(mnuGame, this, "mnuRedrawBoard", "Redraw chess board");

  mnuMove = Named(bar->addMenu(QStringLiteral("Move")), QStringLiteral("mnuMove"));
  mnuUndo = Item(mnuMove, this, "mnuUndo", "Undo");
  mnuRedo = Item(mnuMove, this, "mnuRedo", "Redo");
  mnuMove->addSeparator();
  mnuMoveBack = Item(mnuMove, this, "mnuMoveBack", "One move back");
  mnuMoveForward = Item(mnuMove, this, "mnuMoveForward", "One move forward");
  mnuMove->addSeparator();
  mnuGotoBegin = Item(mnuMove, this, "mnuGotoBegin", "Go to the beginning");
  mnuGotoLastMove = Item(mnuMove, this, "mnuGotoLastMove", "Go to the last move");
  mnuGotoMove = Item(mnuMove, this, "mnuGotoMove", "Go to move number ...");
  mnuMove->addSeparator();
  mnuShowPossibleMoves = Item(mnuMove, this, "mnuShowPossibleMoves", "Show possible moves of selected piece", true);
  mnuGiveHint = Item(mnuMove, this, "mnuGiveHint", "Give a hint for the next move");

  mnuHelp = Named(bar->addMenu(QStringLiteral("Help")), QStringLiteral("mnuHelp"));
  mnuHelpContent = Item(mnuHelp, this, "mnuHelpContent", "Help Content");
  mnuHelp->addSeparator();
  mnuChessTutorial = Item(mnuHelp, this, "mnuChessTutorial", "Online Chess Tutorial");
  mnuHelp->addSeparator();
  mnuOnlineHelp = Item(mnuHelp, this, "mnuOnlineHelp", "Online Help");
  mnuForum = Item(mnuHelp, this, "mnuForum", "Online Forum");
  mnuFAQ = Item(mnuHelp, this, "mnuFAQ", "Online FAQ");
  mnuSendImprovementRequest = Item(mnuHelp, this, "mnuSendImprovementRequest", "Send Improvement Request");
  mnuSendBugReport = Item(mnuHelp, this, "mnuSendBugReport", "Send Bug Report");
  mnuHelp->addSeparator();
  mnuUpdates = Item(mnuHelp, this, "mnuUpdates", "Search for Updates");
  mnuHelp->addSeparator();
  mnuHomepage = Item(mnuHelp, this, "mnuHomepage", "z.v.k Homepage");
  mnuOtherProducts = Item(mnuHelp, this, "mnuOtherProducts", "z.v.k Other Products");
  mnuTellAFriend = Item(mnuHelp, this, "mnuTellAFriend", "Tell a Friend ...");
  mnuSalesPartner = Item(mnuHelp, this, "mnuSalesPartner", "Become a z.v.k sales partner");
  mnuHelp->addSeparator();
  mnuAbout = Item(mnuHelp, this, "mnuAbout", "About");

}

void fMainForm::BuildToolbar() {
  tb = Named(new Toolbar(this), QStringLiteral("tb"));
  addToolBar(Qt::TopToolBarArea, tb);
  tb->addKeyButton("NEWGAME", "New Game");
  tb->addKeyButton("LOAD", "Load Game");
  tb->addKeyButton("SAVE", "Save Game");
  tb->addSeparatorButton();
  tb->addKeyButton("UNDO", "Undo");
  tb->addKeyButton("REDO", "Redo");
  tb->addKeyButton("GOTOBEGIN", "Go to the begin");
  tb->addKeyButton("GOTOEND", "Go to the last move");
  tb->addSeparatorButton();
  tb->addKeyButton("TAKENPIECES", "Show taken pieces", true);
  tb->addKeyButton("HINT", "Give a hint for the next move");
  tb->addKeyButton("EDIT", "Editing positions of the chess pieces", true);
  tb->addKeyButton("PAUSE", "Pause Game", true);
  tb->addKeyButton("ROTATE", "Turn Chess Board around");
  tb->addKeyButton("CHANGESIDE", "Change color (side) of play");
  tb->addKeyButton("OPTIONS", "Show Preferences Menu", true);
  tb->addSeparatorButton();
  tb->addKeyButton("ADDPROFILE", "Add new profile");
  tb->addKeyButton("DELETEPROFILE", "Delete profile");
  tb->addSeparatorButton();
  tb->addDropDown("HELP", "Help",
                  {{"HELPCONTENT", "Help Content"},
                   {"CHESSTUTORIAL", "Chess Tutorial"},
                   {"", ""},
                   {"ONLINEHELP", "Online Help"},
                   {"ONLINEFORUM", "Online Forum"},
                   {"ONLINEFAQ", "Online FAQ"},
                   {"SENDBUGREPORT", "Send Bug Report"},
                   {"", ""},
                   {"HOMEPAGE", "z.v.k Homepage"},
                   {"OTHERPRODUCTS", "z.v.k Other Products"},
                   {"SALESPARTNER", "Become a z.v.k sales partner"},
                   {"", ""},
                   {"ABOUT", "About"}});
  tb->addSeparatorButton();
  tb->addKeyButton("HOME", "Homepage");
  tb->addKeyButton("UPDATE", "Search for program update");
  tb->addSeparatorButton();
  tb->addKeyButton("EXIT", "Exit Program");
  // Short captions keep the toolbar within the default window width; the
  // full text stays the tooltip.
  static const std::pair<const char*, const char*> kCaptions[] = {
      {"NEWGAME", "New"},       {"LOAD", "Load"},        {"SAVE", "Save"},
      {"UNDO", "Undo"},         {"REDO", "Redo"},        {"GOTOBEGIN", "|<"},
      {"GOTOEND", ">|"},        {"TAKENPIECES", "Taken"}, {"HINT", "Hint"},
      {"EDIT", "Edit"},         {"PAUSE", "Pause"},      {"ROTATE", "Turn"},
      {"CHANGESIDE", "Side"},   {"OPTIONS", "Options"},  {"ADDPROFILE", "+Profile"},
      {"DELETEPROFILE", "-Profile"}, {"HELP", "Help"},   {"HOME", "Home"},
      {"UPDATE", "Update"},     {"EXIT", "Exit"}};
  for (const auto& [key, caption] : kCaptions)
    if (QAction* a = tb->buttonByKey(key)) a->setText(caption);
}

QWidget* fMainForm::BuildBoardArea() {
  auto* area = Named(new QWidget, QStringLiteral("BoardArea"));
  auto* grid = new QGridLayout(area);
  grid->setSpacing(0);
  grid->setContentsMargins(8, 8, 8, 4);

  picFrontBuffer = Named(new PictureBox, QStringLiteral("picFrontBuffer"));
  picFrontBuffer->setFixedSize(Board::kBoardPixels, Board::kBoardPixels);
  picFrontBuffer->setBackColor(QColor(0x40, 0x40, 0x40));
  picFrontBuffer->setCursor(Qt::PointingHandCursor);
  grid->addWidget(picFrontBuffer, 1, 1, 8, 8);

  // The frame: letters along the top (0-7) and the bottom (8-15), left to
  // right; digits along the left (0-7) and the right (8-15), from the bottom
  // row up. Turning the board rewrites the captions, never the places.
  for (int k = 0; k < 8; ++k) {
    const QString letter(QChar('A' + k));
    const QString digit = QString::number(k + 1);
    lblFile[k] = Label(Indexed("lblFile", k), letter);
    lblFile[k + 8] = Label(Indexed("lblFile", k + 8), letter);
    lblRank[k] = Label(Indexed("lblRank", k), digit);
    lblRank[k + 8] = Label(Indexed("lblRank", k + 8), digit);
    for (QLabel* l : {lblFile[k], lblFile[k + 8], lblRank[k], lblRank[k + 8]}) {
      l->setAlignment(Qt::AlignCenter);
      l->setProperty("coordinate", true);
    }
    lblFile[k]->setFixedSize(Board::kSquarePixels, 20);
    lblFile[k + 8]->setFixedSize(Board::kSquarePixels, 20);
    lblRank[k]->setFixedSize(20, Board::kSquarePixels);
    lblRank[k + 8]->setFixedSize(20, Board::kSquarePixels);
    grid->addWidget(lblFile[k], 0, 1 + k);
    grid->addWidget(lblFile[k + 8], 9, 1 + k);
    grid->addWidget(lblRank[k], 8 - k, 0);
    grid->addWidget(lblRank[k + 8], 8 - k, 9);
  }

  // Off-screen pictures: the back buffer, the marker pictures and the piece strip.
  picFrontTempBuffer = Named(new PictureBox(area), QStringLiteral("picFrontTempBuffer"));
  picFrontTempBuffer->setFixedSize(Board::kBoardPixels, Board::kBoardPixels);
  picFrontTempBuffer->hide();
  for (int i = 0; i < 3; ++i) {
    picEffector[i] = Named(new PictureBox(area), Indexed("picEffector", i));
    picEffector[i]->setFixedSize(Board::kSquarePixels, Board::kSquarePixels);
    picEffector[i]->hide();
  }
  for (int base : {0, 10, 20})
    for (int k = 1; k <= 6; ++k) {
      auto* box = Named(new PictureBox(area), Indexed("picPiece", base + k));
      box->setFixedSize(Board::kSquarePixels, Board::kSquarePixels);
      box->hide();
      picPiece[base + k] = box;
    }
  return area;
}

QWidget* fMainForm::BuildGamePanel() {
  auto* panel = Named(new QFrame, Indexed("picGameControl", 0));
  auto* v = new QVBoxLayout(panel);

  auto* players = new QGroupBox(QStringLiteral("Players"));
  auto* pg = new QGridLayout(players);
  txtNameWhite = Named(new QLineEdit, QStringLiteral("txtNameWhite"));
  txtNameBlack = Named(new QLineEdit, QStringLiteral("txtNameBlack"));
  lblWhitesClock = Label("lblWhitesClock", "00:00:00");
  lblBlacksClock = Label("lblBlacksClock", "00:00:00");
  for (QLabel* c : {lblWhitesClock, lblBlacksClock}) {
    c->setProperty("clock", true);
    c->setAlignment(Qt::AlignCenter);
  }
  pg->addWidget(new QLabel(QStringLiteral("White")), 0, 0);
  pg->addWidget(txtNameWhite, 0, 1);
  pg->addWidget(lblWhitesClock, 0, 2);
  pg->addWidget(new QLabel(QStringLiteral("Black")), 1, 0);
  pg->addWidget(txtNameBlack, 1, 1);
  pg->addWidget(lblBlacksClock, 1, 2);
  chkEnableClock = Check("chkEnableClock", "Enable Clock");
  pg->addWidget(chkEnableClock, 2, 0, 1, 2);
  lblwwCheck = Label("lblwwCheck", "White in   Check");
  lblbbCheck = Label("lblbbCheck", "Black in    Check");
  lblwwCheck->hide();
  lblbbCheck->hide();
  auto* checks = new QHBoxLayout;
  checks->addWidget(lblwwCheck);
  checks->addWidget(lblbbCheck);
  pg->addLayout(checks, 3, 0, 1, 3);
  v->addWidget(players);

  // The move-control box: its heading label blinks with the send button, so
  // the box stands without a title of its own under that label.
  lblMoveControl = Label("lblMoveControl", "Move Control");
  QFont heading = lblMoveControl->font();
  heading.setBold(true);
  lblMoveControl->setFont(heading);
  v->addWidget(lblMoveControl);
  auto* level = Named(new QFrame, QStringLiteral("Frame1"));
  auto* lg = new QGridLayout(level);
  sldLevel = Named(new QSlider(Qt::Horizontal), QStringLiteral("sldLevel"));
  sldLevel->setRange(1, 3);
  sldLevel->setPageStep(1);
  sldLevel->setTickPosition(QSlider::TicksBelow);
  sldLevel->setValue(2);
  lblLevel = Label("lblLevel", "Intermediate");
  lblLevel->setMinimumWidth(90);
  progreso = Named(new QProgressBar, QStringLiteral("progreso"));
  progreso->setRange(0, 1);
  progreso->setValue(0);
  progreso->setTextVisible(false);
  progreso->setMaximumHeight(12);
  lbl_jpen = Label("lbl_jpen", "0");
  lbl_Play = Label("lbl_Play", "0");
  lg->addWidget(new QLabel(QStringLiteral("Playing level :")), 0, 0);
  lg->addWidget(sldLevel, 0, 1);
  lg->addWidget(lblLevel, 0, 2);
  lg->addWidget(progreso, 1, 0, 1, 3);
  lg->addWidget(new QLabel(QStringLiteral("Evaluated moves")), 2, 0);
  lg->addWidget(lbl_jpen, 2, 1, 1, 2);
  lg->addWidget(new QLabel(QStringLiteral("Half-move")), 3, 0);
  lg->addWidget(lbl_Play, 3, 1, 1, 2);
  lg->setColumnStretch(1, 1);

  cmdStartCPUMove = Named(new GxButton(QStringLiteral("Start CPU Move")), QStringLiteral("cmdStartCPUMove"));
  cmdSuspend = Named(new GxButton(QStringLiteral("Suspend Game")), QStringLiteral("cmdSuspend"));
  cmdSendMove = Named(new GxButton(QStringLiteral("Send Move Now")), QStringLiteral("cmdSendMove"));
  cmdDownloadMove = Named(new GxButton(QStringLiteral("Download Move from Internet")),
                          QStringLiteral("cmdDownloadMove"));
  int row = 4;
  for (GxButton* b : {cmdStartCPUMove, cmdSuspend, cmdSendMove, cmdDownloadMove}) {
    b->hide();
    lg->addWidget(b, row++, 0, 1, 3);
  }
  Animation1 = Label("Animation1", QString());
  Animation1->hide();
  lg->addWidget(Animation1, row, 0, 1, 3);
  v->addWidget(level);

  auto* edit = new QGroupBox(QStringLiteral("Board"));
  auto* eg = new QVBoxLayout(edit);
  setup = Named(new RequestCheckBox(QStringLiteral("Editing Positions")), QStringLiteral("setup"));
  eg->addWidget(setup);
  v->addWidget(edit);
  v->addStretch(1);
  return panel;
}

QWidget* fMainForm::BuildOptionsPanel() {
  auto* panel = Named(new QFrame, Indexed("picGameControl", 1));
  // Two columns, so that the whole panel fits the side area at the window's
  // default size: who plays and how to reach them on the left, the look of
  // the program on the right. Where the side area is narrower than both,
  // the right column goes below the left one (StackOptionsWhenNarrow).
  auto* columns = new QBoxLayout(QBoxLayout::LeftToRight, panel);
  auto* v = new QVBoxLayout;
  auto* v2 = new QVBoxLayout;
  columns->addLayout(v, 1);
  columns->addLayout(v2, 1);

  auto* general = new QGroupBox(QStringLiteral("Profile"));
  auto* gg = new QGridLayout(general);
  cmbProfiles = Named(new QComboBox, QStringLiteral("cmbProfiles"));
  cmbLanguage = Named(new QComboBox, QStringLiteral("cmbLanguage"));
  cmbBoard = Named(new QComboBox, QStringLiteral("cmbBoard"));
  gg->addWidget(new QLabel(QStringLiteral("Profile")), 0, 0);
  gg->addWidget(cmbProfiles, 0, 1);
  gg->addWidget(new QLabel(QStringLiteral("Language")), 1, 0);
  gg->addWidget(cmbLanguage, 1, 1);
  gg->addWidget(new QLabel(QStringLiteral("Board")), 2, 0);
  gg->addWidget(cmbBoard, 2, 1);
  gg->setColumnStretch(1, 1);
  v->addWidget(general);

  auto* view = new QGroupBox(QStringLiteral("Display and sound"));
  auto* vg = new QGridLayout(view);
  chkMoveAnimation = Check("chkMoveAnimation", "Enable Animation");
  lstMoveIncrementation = Named(new QComboBox, QStringLiteral("lstMoveIncrementation"));
  for (const char* step : {"1", "2", "4", "8", "16", "24", "48"}) lstMoveIncrementation->addItem(step);
  HScrollAnimationSpeed = Named(new QScrollBar(Qt::Horizontal), QStringLiteral("HScrollAnimationSpeed"));
  HScrollAnimationSpeed->setRange(0, 100);
  HScrollAnimationSpeed->setValue(100);
  lblAnimationMoveSpeed = Label("lblAnimationMoveSpeed", "100");
  ChkToolTip = Check("ChkToolTip", "Enable Tooltip on Mouse Move");
  chkEnableIntroduction = Check("chkEnableIntroduction", "Enable Welcome Animation");
  chkWinOnTop = Check("chkWinOnTop", "Window allways on top");
  chkEnableVoice = Check("chkEnableVoice", "Enable Voice");
  chkEnableSound = Check("chkEnableSound", "Enable Sound");
  lstMoveIncrementation->setToolTip(QStringLiteral("Animation step in pixels"));
  HScrollAnimationSpeed->setToolTip(QStringLiteral("Animation speed"));
  lblAnimationMoveSpeed->setMinimumWidth(30);
  vg->addWidget(chkMoveAnimation, 0, 0);
  vg->addWidget(lstMoveIncrementation, 0, 1);
  vg->addWidget(HScrollAnimationSpeed, 1, 0);
  vg->addWidget(lblAnimationMoveSpeed, 1, 1);
  vg->setColumnStretch(0, 1);
  int row = 2;
  for (QCheckBox* c : {ChkToolTip, chkEnableIntroduction, chkWinOnTop, chkEnableVoice, chkEnableSound})
    vg->addWidget(c, row++, 0, 1, 2);
  v2->addWidget(view);

  auto* user = new QGroupBox(QStringLiteral("Player"));
  auto* ug = new QGridLayout(user);
  txtUserNickName = Named(new QLineEdit, QStringLiteral("txtUserNickName"));
  cmbCountry = Named(new QComboBox, QStringLiteral("cmbCountry"));
  // The country list is part of the window's design; a profile stores the chosen entry.
  for (const char* country :
       {"Argentina", "Australia", "Austria", "Belgium", "Brazil", "Canada", "China", "Czech Republic", "Denmark",
        "Finland", "France", "Germany", "Greece", "Hungary", "India", "Ireland", "Italy", "Japan", "Mexico",
        "Netherlands", "New Zealand", "Norway", "Poland", "Portugal", "Russia", "South Africa", "Spain", "Sweden",
        "Switzerland", "Turkey", "United Kingdom", "United States", "Other"})
    cmbCountry->addItem(QString::fromLatin1(country));
  optGender[0] = Named(new QRadioButton(QStringLiteral("male")), Indexed("optGender", 0));
  optGender[1] = Named(new QRadioButton(QStringLiteral("female")), Indexed("optGender", 1));
  txtAge = Named(new QLineEdit, QStringLiteral("txtAge"));
  ug->addWidget(new QLabel(QStringLiteral("Nickname")), 0, 0);
  ug->addWidget(txtUserNickName, 0, 1, 1, 2);
  ug->addWidget(new QLabel(QStringLiteral("Country")), 1, 0);
  ug->addWidget(cmbCountry, 1, 1, 1, 2);
  ug->addWidget(optGender[0], 2, 1);
  ug->addWidget(optGender[1], 2, 2);
  ug->addWidget(new QLabel(QStringLiteral("Age")), 3, 0);
  ug->addWidget(txtAge, 3, 1, 1, 2);
  ug->setColumnStretch(1, 1);
  ug->setColumnStretch(2, 1);
  v->addWidget(user);

  auto* colours = new QGroupBox(QStringLiteral("Colours and record"));
  auto* cg = new QGridLayout(colours);
  cmdCopy2Clipboard = Named(new GxButton(QStringLiteral("Copy to Clip Board")), QStringLiteral("cmdCopy2Clipboard"));
  cmdChangeBackgroundColor = Named(new GxButton(QStringLiteral("Change Background Color")),
                                   QStringLiteral("cmdChangeBackgroundColor"));
  cmdChangeBordCoordinateColor = Named(new GxButton(QStringLiteral("Change Bord Coordinate Color")),
                                       QStringLiteral("cmdChangeBordCoordinateColor"));
  cmdSetDefaultColor = Named(new GxButton(QStringLiteral("Set Colors to Default Value")),
                             QStringLiteral("cmdSetDefaultColor"));
  cg->addWidget(cmdChangeBackgroundColor, 0, 0);
  cg->addWidget(cmdChangeBordCoordinateColor, 1, 0);
  cg->addWidget(cmdSetDefaultColor, 2, 0);
  cg->addWidget(cmdCopy2Clipboard, 3, 0);
  v2->addWidget(colours);

  auto* net = new QGroupBox(QStringLiteral("Internet"));
  auto* ng = new QGridLayout(net);
  cmdTestInternetConnection = Named(new QPushButton(QStringLiteral("Test Connection")),
                                    QStringLiteral("cmdTestInternetConnection"));
  chkTestInternetConnection = Check("chkTestInternetConnection", "Log");
  lblTestInternetConnection = Label("lblTestInternetConnection", "Start Test");
  // The transfer states come and go while a transfer runs: their line wraps
  // within the panel instead of widening it.
  lblTestInternetConnection->setWordWrap(true);
  lblTestInternetConnection->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  lblTestInternetConnection->setMinimumHeight(2 * lblTestInternetConnection->fontMetrics().height());
  ng->addWidget(cmdTestInternetConnection, 0, 0);
  ng->addWidget(chkTestInternetConnection, 0, 1);
  ng->addWidget(lblTestInternetConnection, 1, 0, 1, 3);
  ng->setColumnStretch(2, 1);
  v->addWidget(net);
  v->addStretch(1);
  v2->addStretch(1);
  return panel;
}

void fMainForm::StackOptionsWhenNarrow(QWidget* view) {
  if (auto* columns = qobject_cast<QBoxLayout*>(picGameControl[1]->layout()))
    view->installEventFilter(new ColumnsFollowWidth(columns, view));
}

QWidget* fMainForm::BuildTakenPanel() {
  auto* panel = Named(new QFrame, Indexed("picGameControl", 2));
  auto* v = new QVBoxLayout(panel);
  for (int side = 0; side < 2; ++side) {
    auto* group = new QGroupBox(side == 0 ? QStringLiteral("Taken white pieces") : QStringLiteral("Taken black pieces"));
    auto* g = new QGridLayout(group);
    g->setSpacing(2);
    auto& strip = side == 0 ? TakenWhite : TakenBlack;
    for (int k = 1; k <= 16; ++k) {
      strip[k] = Named(new PictureBox, Indexed(side == 0 ? "TakenWhite" : "TakenBlack", k));
      strip[k]->setFixedSize(36, 36);
      strip[k]->setBackColor(QColor(0xe4, 0xde, 0xcf));  // an empty place still reads as a place
      g->addWidget(strip[k], (k - 1) / 8, (k - 1) % 8);
    }
    g->setColumnStretch(8, 1);
    v->addWidget(group);
  }
  v->addStretch(1);
  return panel;
}

QWidget* fMainForm::BuildRecordArea() {
  auto* area = new QGroupBox(QStringLiteral("Game record"));
  area->setObjectName(QStringLiteral("RecordArea"));
  auto* v = new QVBoxLayout(area);
  txtMoveList = Named(new QTextEdit, QStringLiteral("txtMoveList"));
  txtMoveList->setReadOnly(true);
  txtMoveList->setMinimumHeight(120);
  RTB2 = Named(new QTextEdit(area), QStringLiteral("RTB2"));
  RTB2->hide();
  txtComment = Named(new QLineEdit(QStringLiteral(" enter here ...")), QStringLiteral("txtComment"));
  // Far above the line's usual 32767 characters, so that the long comments
  // of other writers load and save whole; a game with a longer one is refused.
  txtComment->setMaxLength(kCommentCapacity);
  v->addWidget(txtMoveList, 1);
  v->addWidget(txtComment);
  return area;
}

void fMainForm::ApplyLook() {
  setStyleSheet(QStringLiteral(
      "QLabel[clock=\"true\"] { font-family: monospace; font-size: 15px; font-weight: bold;"
      "  background: #101820; color: #9ef59e; border: 1px solid #3a4a5a; padding: 2px 6px; }"
      "QLabel[coordinate=\"true\"] { font-weight: bold; }"
      "QLabel#lblwwCheck, QLabel#lblbbCheck { font-weight: bold; }"
      "QLabel#lblStatus { background: #f6f3e8; color: #202020; border: 1px solid #b0a890; padding: 4px; }"
      "QGroupBox { background: #f3f0e6; border: 1px solid #8c8068; border-radius: 5px; margin-top: 16px;"
      "  padding-top: 4px; }"
      "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; color: #f2d27a; font-weight: bold; }"
      "QGroupBox QLabel, QGroupBox QCheckBox, QGroupBox QRadioButton { color: #202020; }"
      // A fixed ink would draw a switched-off choice as clickable as the others.
      "QGroupBox QLabel:disabled, QGroupBox QCheckBox:disabled, QGroupBox QRadioButton:disabled { color: #a09a8c; }"
      "QFrame#Frame1 { background: #f3f0e6; border: 1px solid #8c8068; border-radius: 5px; }"
      "QFrame#Frame1 QLabel { color: #202020; border: none; background: transparent; }"
      "QLabel#lblMoveControl { color: #f2d27a; padding-left: 11px; }"));
}

}  // namespace app
