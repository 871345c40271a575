// The slot editor: both openings on both scales, the voice change, the save with its checks,
// the test phrase, closing, and the program's hot keys switched off while it is shown.
#include <gtest/gtest.h>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QTest>

#include "app/ui/widgets/hot_key_edit.h"
#include "slots/slot_rules.h"
#include "slots/voice_list_look.h"
#include "tests/slots/slots_fixture.h"

namespace parlino::testing {
namespace {

constexpr std::uint16_t kCtrlAltG = 0xC047;
constexpr std::uint16_t kCtrlA = 0x4041;
constexpr std::uint16_t kCtrlB = 0x4042;

// What the editor shows: slider positions and ranges, read-outs, the scale, the voice.
struct Shown {
  int speed, pitch, volume;
  int speedMin, speedMax, pitchMin, pitchMax;
  std::string readouts;  // "speed pitch volume"
  bool sapi5Scales;
  std::string voice;  // the selected item, empty for none

  friend bool operator==(const Shown&, const Shown&) = default;
};

void PrintTo(const Shown& s, std::ostream* os) {
  *os << "positions " << s.speed << " " << s.pitch << " " << s.volume << ", speed range "
      << s.speedMin << ".." << s.speedMax << ", pitch range " << s.pitchMin << ".." << s.pitchMax
      << ", read-outs " << s.readouts << (s.sapi5Scales ? ", modern" : ", legacy") << ", voice '"
      << s.voice << "'";
}

Shown ShownBy(voice_slots::TfrmSlot& editor) {
  auto* speed = SlotControl<QSlider>(editor, "Speed_Bar");
  auto* pitch = SlotControl<QSlider>(editor, "Pitch_Bar");
  auto* list = SlotControl<QListWidget>(editor, "VoicesList");
  const QString readouts = SlotControl<QLineEdit>(editor, "Edit1")->text() + " " +
                           SlotControl<QLineEdit>(editor, "Edit2")->text() + " " +
                           SlotControl<QLineEdit>(editor, "Edit3")->text();
  return {speed->value(),
          pitch->value(),
          SlotControl<QSlider>(editor, "Volume_Bar")->value(),
          speed->minimum(),
          speed->maximum(),
          pitch->minimum(),
          pitch->maximum(),
          readouts.toStdString(),
          editor.SlotSapi5Scales(),
          list->currentItem() != nullptr && list->currentItem()->isSelected()
              ? list->currentItem()->text().toStdString()
              : ""};
}

struct OpeningCase {
  const char* name;
  bool legacyEngine;
  std::string file;
  int selectedRow;  // -1 for none
  bool edit;
  Shown shown;
};

void PrintTo(const OpeningCase& c, std::ostream* os) {
  *os << c.name;
}

class Openings : public ::testing::TestWithParam<OpeningCase> {};

TEST_P(Openings, ShowTheValuesOnTheVoicesScale) {
  SlotsFixture app(GetParam().legacyEngine);
  app.Loaded(GetParam().file);
  auto* list = app.PanelControl<QTableWidget>("SlotsList");
  if (GetParam().selectedRow >= 0) list->selectRow(GetParam().selectedRow);
  std::optional<Shown> shown;
  app.WithEditor(
      [&] {
        if (GetParam().edit) {
          app.Panel().BitBtn5Click();
        } else {
          app.Panel().BitBtn4Click();
        }
      },
      [&](voice_slots::TfrmSlot& editor) { shown = ShownBy(editor); });
  ASSERT_TRUE(shown) << "the editor was not shown";
  EXPECT_EQ(*shown, GetParam().shown);
  EXPECT_TRUE(app.boxes.shown.empty()) << ToUtf8(app.boxes.shown.front().text);
}

const std::string kModernSlot = SlotSection(0, "Bob", kCtrlA, "240", "150", "0");
const std::string kOddModernSlot = SlotSection(0, "Bob", kCtrlA, "37", "330", "50");
// Beyond the engine's speed (60..450); a volume of 0 counts as unset.
const std::string kLegacySlot = SlotSection(0, "Fake Legacy", kCtrlA, "999", "60", "0", 4);

INSTANTIATE_TEST_SUITE_P(
    Table, Openings,
    ::testing::Values(
        OpeningCase{"adding with a modern first voice: the new slot's values",
                    false,
                    "",
                    -1,
                    false,
                    {-2, -5, 100, -10, 10, -10, 10, "150 105 100", true, "Anna (SAPI5)"}},
        OpeningCase{"adding with a legacy first voice: the engine's own values and ranges",
                    true,
                    "",
                    -1,
                    false,
                    {170, 120, 100, 60, 450, 50, 250, "170 120 100", false, "Fake Legacy"}},
        OpeningCase{"adding while a modern slot is selected starts from its values",
                    false,
                    kModernSlot,
                    0,
                    false,
                    {4, -2, 100, -10, 10, -10, 10, "240 150 100", true, "Anna (SAPI5)"}},
        OpeningCase{"editing a modern slot shows its stored texts exactly",
                    true,
                    kOddModernSlot,
                    0,
                    true,
                    {-10, 10, 50, -10, 10, -10, 10, "37 330 50", true, "Bob (SAPI5)"}},
        OpeningCase{"editing a legacy slot shows its engine values, clamped",
                    true,
                    kLegacySlot,
                    0,
                    true,
                    {450, 60, 100, 60, 450, 50, 250, "450 60 100", false, "Fake Legacy"}},
        OpeningCase{"editing a slot whose voice is gone selects none",
                    false,
                    SlotSection(0, "Carl", kCtrlA, "180", "180", "70"),
                    0,
                    true,
                    {0, 0, 70, -10, 10, -10, 10, "180 180 70", true, ""}}));

class SlotEditorTest : public ::testing::Test {
 protected:
  template <typename T>
  T* Control(const char* name) {
    return app.EditorControl<T>(name);
  }
  void ChooseVoice(int row) { Control<QListWidget>("VoicesList")->setCurrentRow(row); }

  SlotsFixture app{true};  // "Fake Legacy", "Anna (SAPI5)", "Bob (SAPI5)"
};

TEST_F(SlotEditorTest, ChangingTheVoiceChangesTheScale) {
  app.Loaded("");
  app.WithEditor([&] { app.Panel().BitBtn4Click(); },
                 [&](voice_slots::TfrmSlot& editor) {
                   EXPECT_EQ(editor.windowTitle(), "Add voice slot");
                   EXPECT_EQ(Control<QPushButton>("Action_Button")->text(), "Add slot");
                   EXPECT_EQ(Control<app::THotKeyEdit>("Slot_HotKey")->HotKey(), 0);
                   ChooseVoice(2);
                   EXPECT_EQ(ShownBy(editor).readouts, "150 105 100");
                   Control<QSlider>("Speed_Bar")->setValue(-10);
                   EXPECT_EQ(ShownBy(editor).readouts, "30 105 100");
                   Control<QSlider>("Speed_Bar")->setValue(10);
                   EXPECT_EQ(ShownBy(editor).readouts, "330 105 100");
                   ChooseVoice(0);
                   EXPECT_EQ(ShownBy(editor).readouts, "170 120 100");
                   EXPECT_FALSE(editor.SlotSapi5Scales());
                 });
}

TEST_F(SlotEditorTest, AStoredValueThatIsNoNumberStopsTheEditOpening) {
  app.Loaded(SlotSection(0, "Bob", kCtrlA, "abc"));
  app.PanelControl<QTableWidget>("SlotsList")->selectRow(0);
  EXPECT_FALSE(app.WithEditor([&] { app.PanelControl<QPushButton>("BitBtn5")->click(); },
                              [](voice_slots::TfrmSlot&) {}));
  ASSERT_EQ(app.boxes.shown.size(), 1u);
  EXPECT_EQ(app.boxes.shown[0].kind, platform::BoxKind::Error);
  EXPECT_EQ(app.boxes.shown[0].text, u"Not a number: abc");
  EXPECT_TRUE(app.hotKeys.Holds(kCtrlA));
}

TEST_F(SlotEditorTest, AddingWritesTheFirstFreeSectionAndReloads) {
  app.Loaded(SlotSection(0, "A", kCtrlA) + SlotSection(1, "B", kCtrlB) +
             SlotSection(3, "D", 0x4044));
  app.WithEditor([&] { app.Panel().BitBtn4Click(); },
                 [&](voice_slots::TfrmSlot&) {
                   ChooseVoice(2);  // Bob (SAPI5)
                   Control<app::THotKeyEdit>("Slot_HotKey")->SetHotKey(kCtrlAltG);
                   Control<QSlider>("Speed_Bar")->setValue(4);
                   Control<QSlider>("Volume_Bar")->setValue(80);
                   Control<QPushButton>("Action_Button")->click();
                 });
  EXPECT_FALSE(app.Editor().isVisible());
  EXPECT_TRUE(app.boxes.shown.empty());
  EXPECT_EQ(ReadBytes(app.SlotsFile()), SlotSection(0, "A", kCtrlA) + SlotSection(1, "B", kCtrlB) +
                                            SlotSection(3, "D", 0x4044) +
                                            SlotSection(2, "Bob", kCtrlAltG, "240", "105", "80"));
  EXPECT_EQ(app.PanelControl<QTableWidget>("SlotsList")->rowCount(), 4);
  EXPECT_GT(app.tidied, 0);
  app.pressed.clear();
  EXPECT_TRUE(app.hotKeys.Press(kCtrlAltG));
  EXPECT_EQ(app.pressed, std::vector<int>{2});
}

TEST_F(SlotEditorTest, ALegacyVoiceIsSavedInItsOwnUnits) {
  app.Loaded("");
  app.WithEditor([&] { app.Panel().BitBtn4Click(); },
                 [&](voice_slots::TfrmSlot&) {
                   ChooseVoice(1);
                   ChooseVoice(0);  // from the modern scale to the legacy one
                   Control<app::THotKeyEdit>("Slot_HotKey")->SetHotKey(kCtrlA);
                   Control<QSlider>("Speed_Bar")->setValue(300);
                   Control<QPushButton>("Action_Button")->click();
                 });
  EXPECT_EQ(ReadBytes(app.SlotsFile()),
            SlotSection(0, "Fake Legacy", kCtrlA, "300", "120", "100", 4));
}

TEST_F(SlotEditorTest, EditingOverwritesTheSlotAndMayShareAnotherSlotsHotKey) {
  app.Loaded(SlotSection(0, "Anna", kCtrlA) + SlotSection(1, "Bob", kCtrlB, "180", "180", "70"));
  app.PanelControl<QTableWidget>("SlotsList")->selectRow(1);
  app.WithEditor([&] { app.Panel().SlotsListDblClick(); },
                 [&](voice_slots::TfrmSlot& editor) {
                   EXPECT_EQ(editor.windowTitle(), "Edit voice slot");
                   EXPECT_EQ(Control<QPushButton>("Action_Button")->text(), "Save changes");
                   EXPECT_EQ(Control<app::THotKeyEdit>("Slot_HotKey")->text(), "Ctrl+B");
                   Control<app::THotKeyEdit>("Slot_HotKey")->SetHotKey(kCtrlA);
                   Control<QPushButton>("Action_Button")->click();
                 });
  EXPECT_TRUE(app.boxes.shown.empty());
  EXPECT_EQ(ReadBytes(app.SlotsFile()),
            SlotSection(0, "Anna", kCtrlA) + SlotSection(1, "Bob", kCtrlA, "180", "180", "70"));
}

TEST_F(SlotEditorTest, ARefusedSaveKeepsTheDialogOpenWithItsInput) {
  app.Loaded(SlotSection(0, "Anna", kCtrlA));
  struct Step {
    std::uint16_t hotKey;
    TextView message;
  };
  const Step steps[] = {{0, voice_slots::kSpecifyHotKey},
                        {0x4008, voice_slots::kHotKeyTaken},  // the reading hot key
                        {kCtrlA, voice_slots::kHotKeyTaken}};
  app.WithEditor([&] { app.Panel().BitBtn4Click(); },
                 [&](voice_slots::TfrmSlot& editor) {
                   Control<QSlider>("Speed_Bar")->setValue(200);
                   for (const Step& step : steps) {
                     app.boxes.shown.clear();
                     Control<app::THotKeyEdit>("Slot_HotKey")->SetHotKey(step.hotKey);
                     Control<QPushButton>("Action_Button")->click();
                     ASSERT_EQ(app.boxes.shown.size(), 1u);
                     EXPECT_EQ(app.boxes.shown[0].text, step.message);
                     EXPECT_EQ(app.boxes.shown[0].kind, platform::BoxKind::Warning);
                     EXPECT_TRUE(editor.isVisible());
                     EXPECT_EQ(Control<QSlider>("Speed_Bar")->value(), 200);
                     EXPECT_EQ(Control<app::THotKeyEdit>("Slot_HotKey")->HotKey(), step.hotKey);
                   }
                 });
  EXPECT_EQ(ReadBytes(app.SlotsFile()), SlotSection(0, "Anna", kCtrlA));
}

TEST_F(SlotEditorTest, SavingASlotWhoseVoiceIsGoneAsksForAVoice) {
  app.Loaded(SlotSection(0, "Carl", kCtrlA));
  app.PanelControl<QTableWidget>("SlotsList")->selectRow(0);
  app.WithEditor([&] { app.Panel().BitBtn5Click(); },
                 [&](voice_slots::TfrmSlot& editor) {
                   Control<QPushButton>("Action_Button")->click();
                   EXPECT_TRUE(editor.isVisible());
                 });
  ASSERT_EQ(app.boxes.shown.size(), 1u);
  EXPECT_EQ(app.boxes.shown[0].text, u"Please, select voice for this slot.");
}

TEST_F(SlotEditorTest, EveryHotKeyOfTheProgramIsOffWhileTheEditorIsShown) {
  app.Loaded(SlotSection(0, "Anna", kCtrlA) + SlotSection(1, "Bob", kCtrlB));
  for (auto* key : {&app.readingKey, &app.optionsKey, &app.stopKey}) key->SetActive(true);
  ASSERT_EQ(app.hotKeys.registered.size(), 5u);

  std::size_t whileShown = 99;
  app.WithEditor([&] { app.Panel().BitBtn4Click(); },
                 [&](voice_slots::TfrmSlot&) { whileShown = app.hotKeys.registered.size(); });
  EXPECT_EQ(whileShown, 0u);
  for (const int code : {0x4008, 0x407A, 0x407B, 0x4041, 0x4042}) {
    EXPECT_TRUE(app.hotKeys.Holds(static_cast<std::uint16_t>(code))) << code;
  }

  // A save reloads the slots while the dialog is shown; all come back once it is gone.
  app.WithEditor([&] { app.Panel().BitBtn4Click(); },
                 [&](voice_slots::TfrmSlot&) {
                   ChooseVoice(1);
                   Control<app::THotKeyEdit>("Slot_HotKey")->SetHotKey(kCtrlAltG);
                   Control<QPushButton>("Action_Button")->click();
                 });
  EXPECT_EQ(app.hotKeys.registered.size(), 6u);
  EXPECT_TRUE(app.hotKeys.Holds(kCtrlAltG));
  EXPECT_TRUE(app.hotKeys.Holds(0x4008));
}

TEST_F(SlotEditorTest, EscapeAndCancelCloseWithoutSavingAndF1OpensTheHelp) {
  app.Loaded("");
  for (const bool escape : {true, false}) {
    app.WithEditor([&] { app.Panel().BitBtn4Click(); },
                   [&](voice_slots::TfrmSlot& editor) {
                     auto* hotKey = Control<app::THotKeyEdit>("Slot_HotKey");
                     hotKey->setFocus();
                     QTest::keyClick(hotKey, Qt::Key_A, Qt::ControlModifier);
                     QTest::keyClick(hotKey, Qt::Key_F1);
                     EXPECT_EQ(hotKey->HotKey(), kCtrlA);  // the window took F1
                     if (escape) {
                       // The window sees Esc first, even in the hot key field.
                       QTest::keyClick(hotKey, Qt::Key_Escape);
                       EXPECT_EQ(hotKey->HotKey(), kCtrlA);
                     } else {
                       Control<QPushButton>("Cancel_Button")->click();
                     }
                     EXPECT_FALSE(editor.isVisible());
                   });
  }
  EXPECT_FALSE(std::filesystem::exists(app.SlotsFile()));
  EXPECT_EQ(app.shell.opened, (std::vector<Text>{app.helpFile, app.helpFile}));
}

TEST_F(SlotEditorTest, TheModernTestSpeaksTheTrimmedTextWithThePitchMarkup) {
  app.Loaded("");
  app.voices.testText = u"  Hallo \t";
  app.WithEditor([&] { app.Panel().BitBtn4Click(); },
                 [&](voice_slots::TfrmSlot&) {
                   ChooseVoice(2);
                   Control<QSlider>("Speed_Bar")->setValue(3);
                   Control<QSlider>("Volume_Bar")->setValue(60);
                   app.voiceServer.log.clear();
                   Control<QPushButton>("Button1")->click();
                 });
  EXPECT_EQ(app.voiceServer.log,
            (std::vector<std::string>{"CreateVoice", "GetVoices", "SetVoice Bob", "SetRate 3",
                                      "SetVolume 60", "Speak  2",
                                      "Speak <pitch middle=\"-5\">Hallo</pitch> 1"}));
  EXPECT_FALSE(std::filesystem::exists(app.SlotsFile()));
}

TEST_F(SlotEditorTest, TheLegacyTestSpeaksOnTheEditorsOwnEngineWithTheFallbackPhrase) {
  app.Loaded("");
  app.voices.testText = u"   ";
  app.WithEditor([&] { app.Panel().BitBtn4Click(); },
                 [&](voice_slots::TfrmSlot&) {
                   Control<QSlider>("Speed_Bar")->setValue(300);
                   Control<QSlider>("Pitch_Bar")->setValue(80);
                   Control<QSlider>("Volume_Bar")->setValue(50);
                   Control<QPushButton>("Button1")->click();
                 });
  ASSERT_FALSE(app.legacyEngines.instances.empty());
  const auto& last = *app.legacyEngines.instances.back();
  EXPECT_EQ(last.texts,
            std::vector<std::string>{std::string("This is a test for selected voice.") + '\0'});
  const auto has = [&](const std::string& call) {
    return std::ranges::find(last.calls, call) != last.calls.end();
  };
  EXPECT_TRUE(has("SpeedSet 300"));
  EXPECT_TRUE(has("PitchSet 80"));
  EXPECT_TRUE(has("VolumeSet 2147450879"));
  // The options window's own legacy component was not used for it.
  EXPECT_EQ(app.voiceServer.log, std::vector<std::string>{});
}

TEST(VoiceListLook, TheSelectedVoiceFadesFromLightBlueToWhiteAndTheHoveredOneIsLit) {
  QListWidget list;
  voice_slots::DressVoiceList(list);
  list.addItem("A voice");
  QImage image(100, 40, QImage::Format_ARGB32);
  const auto paint = [&](QStyle::State state) {
    image.fill(Qt::black);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.rect = QRect(0, 0, 100, 40);
    option.state = state | QStyle::State_Enabled;
    list.itemDelegate()->paint(&painter, option, list.model()->index(0, 0));
  };
  paint(QStyle::State_Selected);
  const QColor top = voice_slots::VoiceItemDelegate::SelectedTop();
  EXPECT_NEAR(QColor(image.pixel(90, 1)).red(), top.red(), 5);
  EXPECT_NEAR(QColor(image.pixel(90, 1)).blue(), top.blue(), 5);
  EXPECT_GT(QColor(image.pixel(90, 38)).red(), 245);  // white at the bottom
  EXPECT_GT(QColor(image.pixel(90, 20)).red(), QColor(image.pixel(90, 5)).red());
  paint(QStyle::State_MouseOver);
  EXPECT_EQ(QColor(image.pixel(90, 20)), voice_slots::VoiceItemDelegate::Hovered());
  paint(QStyle::State_None);
  EXPECT_EQ(QColor(image.pixel(90, 20)), QColor(Qt::black));

  // A long name is wrapped onto more lines instead of being cut.
  list.setFixedWidth(120);
  list.addItem(QString("A voice with a name far too long for one line of the list").repeated(2));
  QStyleOptionViewItem option;
  option.initFrom(&list);
  option.rect = QRect(0, 0, 100, 20);
  option.features = QStyleOptionViewItem::WrapText;
  EXPECT_GT(list.itemDelegate()->sizeHint(option, list.model()->index(1, 0)).height(),
            2 * list.fontMetrics().height());
}

}  // namespace
}  // namespace parlino::testing
