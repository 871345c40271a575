#include "app/ui/frm_main.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/ui/artwork.h"
#include "app/ui/hot_key_edit.h"
#include "app/ui/qt_text.h"
#include "reading/text_preparation.h"

namespace parlino::app {

TfrmMain::TfrmMain(AppContext& context)
    : SpeechAPI4(context.legacyEngines, context.codePage),
      SpeechAPI5(context.voiceServer),
      DefaultHotKey(context.hotKeys),
      OptionsHotKey(context.hotKeys),
      StopHotKey(context.hotKeys),
      Capture({context.clipboard, context.focusCopy, context.keyboard, context.clock, context.pump},
              [this](TextView raw) { return reading::PrepareText(Text(raw), *this); }),
      Reading({SpeechAPI4, SpeechAPI5, context.codePage, *this, *this, Capture, *this,
               context.beeper, Sapi4Available, Sapi5Available}),
      context_(context),
      log_(context.folders.dataFolder / "debug.txt") {
  setObjectName("frmMain");
  setWindowTitle("Parlino!");
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

  Pages = new QTabWidget(this);
  Pages->setObjectName("Pages");
  Pages->setUsesScrollButtons(false);  // every tab stays in view; the window grows to fit them
  General_Sheet = new QWidget;
  Speech_Sheet = new QWidget;
  Slots_Sheet = new QWidget;
  TabSheet1 = new QWidget;
  About_Sheet = new QWidget;
  Pages->addTab(General_Sheet, "General");
  Pages->addTab(Speech_Sheet, "Default voice");
  Pages->addTab(Slots_Sheet, "Voice slots");
  Pages->addTab(TabSheet1, "Pronunciation");
  Pages->addTab(About_Sheet, "About");
  // Tab changes the program makes block the signal: only the user's count.
  connect(Pages, &QTabWidget::currentChanged, this, [this] { PagesChange(); });

  CreateGeneralSheet();
  CreateSpeechSheet();
  CreatePronunciationSheet();
  CreateAboutSheet();
  CreateBottomStrip();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Pages);
  layout->addWidget(Panel1);

  MouseTimer = new QTimer(this);
  MouseTimer->setInterval(125);
  TrayAnimation_Timer = new QTimer(this);
  TrayAnimation_Timer->setInterval(500);

  TrayIcon = new QSystemTrayIcon(ProgramIcon(), this);
  TrayIcon->setToolTip("Parlino!");
  TrayMenu = new QMenu(this);
  Stopreading1 = TrayMenu->addAction("Pause");
  TrayIcon->setContextMenu(TrayMenu);
  setWindowIcon(ProgramIcon());
  ConnectReading();
  ConnectFrame();

  // Fixed border: the window keeps the size its content asks for, at least the classic 424 x 283.
  setFixedSize(sizeHint().expandedTo(QSize(424, 283)));
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::CreateGeneralSheet() {
  GroupBox1 = new QGroupBox("Startup", General_Sheet);
  AutoStart_CheckBox = new QCheckBox("&Load program at Windows startup");
  TrayIcon_CheckBox = new QCheckBox("&Minimize to system tray on window closing");
  TrayIcon_CheckBox->setChecked(true);
  Helper_HotKey = new THotKeyEdit(GroupBox1);
  Helper_HotKey->setVisible(false);
  auto* startup = new QVBoxLayout(GroupBox1);
  startup->addWidget(AutoStart_CheckBox);
  startup->addWidget(TrayIcon_CheckBox);

  GroupBox2 = new QGroupBox("Hot keys", General_Sheet);
  auto* keys = new QGridLayout(GroupBox2);
  const auto addHotKey = [&](QLabel*& label, THotKeyEdit*& edit, const char* caption, int row) {
    label = new QLabel(caption);
    edit = new THotKeyEdit;
    label->setBuddy(edit);
    keys->addWidget(label, row, 0);
    keys->addWidget(edit, row, 1);
  };
  addHotKey(Label1, Reading_HotKey, "&Read selected text by pressing:", 0);
  addHotKey(Label10, Options_HotKey, "Show &options window by pressing:", 1);
  addHotKey(Label2, Stop_HotKey, "&Pause/resume reading by pressing:", 2);
  ReadByMouse = new QCheckBox("Read selected text by pressing mouse middle/wheel button");
  keys->addWidget(ReadByMouse, 3, 0, 1, 2);

  auto* layout = new QVBoxLayout(General_Sheet);
  layout->addWidget(GroupBox1);
  layout->addWidget(GroupBox2);
  layout->addStretch();
}

void TfrmMain::CreatePronunciationSheet() {
  IgnoreCharacters_CheckBox = new QCheckBox("Ignore these characters:");
  Ignored_Characters = new QLineEdit;
  WordsCorr_CheckBox = new QCheckBox("Use pronunciation corrections");
  auto* ignore = new QHBoxLayout;
  ignore->addWidget(IgnoreCharacters_CheckBox);
  ignore->addWidget(Ignored_Characters, 1);
  auto* layout = new QVBoxLayout(TabSheet1);
  layout->addLayout(ignore);
  layout->addWidget(WordsCorr_CheckBox);
  layout->addStretch();
}

void TfrmMain::CreateAboutSheet() {
  Label6 = new QLabel("Parlino!");
  Label9 = new QLabel("Read selected text from any application with a single keystroke!");
  Label9->setWordWrap(true);
  HyperLabel1 = new QLabel(ToQString(kWebSite).mid(8));  // the address without "https://"
  HyperLabel2 = new QLabel("Program information");
  HyperLabel3 = new QLabel("Technical support");
  Label8 = new QLabel("Copyright (c) 2004-%d The Parlino developers");
  auto* layout = new QVBoxLayout(About_Sheet);
  for (QLabel* label : {Label6, Label9, HyperLabel1, HyperLabel2, HyperLabel3, Label8}) {
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
  }
}

void TfrmMain::CreateBottomStrip() {
  Panel1 = new QWidget(this);
  btnAddVoices = new QPushButton("Get additional &voices...");
  btnOK = new QPushButton("&OK");
  btnCancel = new QPushButton("&Cancel");
  btnHelp = new QPushButton("&Help");
  auto* layout = new QHBoxLayout(Panel1);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(btnAddVoices);
  layout->addStretch();
  layout->addWidget(btnOK);
  layout->addWidget(btnCancel);
  layout->addWidget(btnHelp);
}

void TfrmMain::PagesChange() {
  VoiceChangeSuppressed = true;
}

}  // namespace parlino::app
