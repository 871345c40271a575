// The slot list: loading with its hot keys, the Delete, Clear all and Edit commands, the list's
// keys, the release at the end and the limit of 256 slots.
#include <gtest/gtest.h>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "slots/slot_rules.h"
#include "tests/slots/slots_fixture.h"

namespace parlino::testing {
namespace {

constexpr std::uint16_t kCtrl = 0x4000;
constexpr std::uint16_t Ctrl(char key) {
  return static_cast<std::uint16_t>(kCtrl | key);
}

std::string Slots(const std::string& voices) {
  std::string content;
  for (std::size_t n = 0; n < voices.size(); ++n) {
    content += SlotSection(static_cast<int>(n), std::string(1, voices[n]), Ctrl(voices[n]));
  }
  return content;
}

class SlotsPanelTest : public ::testing::Test {
 protected:
  QTableWidget* List() { return app.PanelControl<QTableWidget>("SlotsList"); }

  std::string ListedVoices() {
    std::string voices;
    for (int row = 0; row < List()->rowCount(); ++row) {
      voices += List()->item(row, 0)->text().toStdString();
    }
    return voices;
  }

  std::vector<int> SelectedRows() {
    std::vector<int> rows;
    for (const QModelIndex& index : List()->selectionModel()->selectedRows()) {
      rows.push_back(index.row());
    }
    std::ranges::sort(rows);
    return rows;
  }

  void Select(std::initializer_list<int> rows) {
    List()->clearSelection();
    for (const int row : rows) {
      List()->selectionModel()->select(List()->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
  }

  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(List(), &press);
  }

  // Each voice's hot key fires the slot of its row: letter i of `voices` answers with tag i.
  void ExpectHotKeysOf(const std::string& voices) {
    EXPECT_EQ(app.hotKeys.registered.size(), voices.size());
    app.pressed.clear();
    std::vector<int> expected;
    for (std::size_t n = 0; n < voices.size(); ++n) {
      EXPECT_TRUE(app.hotKeys.Press(Ctrl(voices[n]))) << voices[n];
      expected.push_back(static_cast<int>(n));
    }
    EXPECT_EQ(app.pressed, expected);
  }

  SlotsFixture app;
};

TEST_F(SlotsPanelTest, LoadsTheListWithItsColumnsAndOneHotKeyPerSlot) {
  app.Loaded(SlotSection(0, "Anna", 0xC047, "240", "105", "80") +
             SlotSection(1, "Fake Legacy", 0x2070, "170", "abc", "100", 4));
  ASSERT_EQ(List()->rowCount(), 2);
  const QStringList captions = {"Voice", "Speed", "Pitch", "Volume", "Hot key"};
  for (int column = 0; column < 5; ++column) {
    EXPECT_EQ(List()->horizontalHeaderItem(column)->text(), captions[column]);
  }
  EXPECT_EQ(List()->columnWidth(0), 115);
  EXPECT_EQ(List()->columnWidth(4), 84);
  const QStringList first = {"Anna", "240", "105", "80", "Ctrl+Alt+G"};
  const QStringList second = {"Fake Legacy", "170", "abc", "100", "Shift+F1"};
  for (int column = 0; column < 5; ++column) {
    EXPECT_EQ(List()->item(0, column)->text(), first[column]);
    EXPECT_EQ(List()->item(1, column)->text(), second[column]);
  }
  EXPECT_EQ(app.PanelControl<QLabel>("Label11")->text(),
            "Here you can assign hot keys to the custom voices:");
  EXPECT_EQ(app.PanelControl<QPushButton>("BitBtn7")->text(), "&Clear all");

  // The table a reading uses: the values as listed and the generation.
  const auto slot = app.Panel().Slot(1);
  ASSERT_TRUE(slot);
  EXPECT_EQ(slot->voice, u"Fake Legacy");
  EXPECT_EQ(slot->pitch, u"abc");
  EXPECT_EQ(slot->generation, speech::VoiceGeneration::Sapi4);
  EXPECT_FALSE(app.Panel().Slot(2));
  EXPECT_FALSE(app.Panel().Slot(-1));

  EXPECT_TRUE(app.hotKeys.Press(0x2070));
  EXPECT_TRUE(app.hotKeys.Press(0xC047));
  EXPECT_EQ(app.pressed, (std::vector<int>{1, 0}));
  EXPECT_TRUE(SelectedRows().empty());
}

TEST_F(SlotsPanelTest, AHotKeyHeldElsewhereIsGreyedWithItsReason) {
  app.hotKeys.refused = {Ctrl('B')};  // the desktop holds it
  app.Loaded(SlotSection(0, "A", Ctrl('A')) + SlotSection(1, "B", Ctrl('B')) +
             SlotSection(2, "C", Ctrl('A')) + SlotSection(3, "D", 0));
  const auto tip = [&](int row) { return List()->item(row, 4)->toolTip().toStdString(); };
  const auto grey = [&](int row) { return List()->item(row, 4)->foreground() == QBrush(Qt::gray); };
  EXPECT_EQ(tip(0), "");
  EXPECT_FALSE(grey(0));
  EXPECT_EQ(tip(1), "Used by another program");
  EXPECT_TRUE(grey(1));
  EXPECT_EQ(tip(2), "Used by slot 1");
  EXPECT_TRUE(grey(2));
  EXPECT_EQ(tip(3), "");  // no hot key at all: nothing to explain

  // Once the desktop lets it go, a reload takes it.
  app.hotKeys.refused.clear();
  app.Panel().LoadVoiceSlots();
  EXPECT_EQ(tip(1), "");
  EXPECT_FALSE(grey(1));
}

TEST_F(SlotsPanelTest, DeletingRow2OfFiveRenumbersAndSelectsTheRowAbove) {
  app.Loaded(Slots("ABCDE"));
  Select({2});
  app.boxes.answers = {platform::BoxAnswer::Yes};
  Key(Qt::Key_Delete);

  ASSERT_EQ(app.boxes.shown.size(), 1u);
  EXPECT_EQ(app.boxes.shown[0].text, u"Are you sure to delete slot 3?");
  EXPECT_EQ(app.boxes.shown[0].kind, platform::BoxKind::Confirmation);
  EXPECT_EQ(ListedVoices(), "ABDE");
  EXPECT_EQ(ReadBytes(app.SlotsFile()),
            SlotSection(0, "A", Ctrl('A')) + SlotSection(1, "B", Ctrl('B')) +
                SlotSection(2, "D", Ctrl('D')) + SlotSection(3, "E", Ctrl('E')));
  EXPECT_EQ(SelectedRows(), std::vector<int>{1});
  EXPECT_FALSE(app.hotKeys.Holds(Ctrl('C')));
  ExpectHotKeysOf("ABDE");

  Select({0});
  app.boxes.answers = {platform::BoxAnswer::Yes};
  app.PanelControl<QPushButton>("BitBtn6")->click();
  EXPECT_EQ(ListedVoices(), "BDE");
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});
}

TEST_F(SlotsPanelTest, AnsweringNoDeletesNothing) {
  app.Loaded(Slots("AB"));
  Select({1});
  app.boxes.answers = {platform::BoxAnswer::No};
  Key(Qt::Key_Delete);
  EXPECT_EQ(ListedVoices(), "AB");
  EXPECT_EQ(ReadBytes(app.SlotsFile()), Slots("AB"));
  // Nothing selected: nothing is asked.
  List()->clearSelection();
  Key(Qt::Key_Delete);
  EXPECT_EQ(app.boxes.shown.size(), 1u);
}

TEST_F(SlotsPanelTest, DeletingRows0And2OfFourKeepsTheOthersOnTheirHotKeys) {
  app.Loaded(Slots("ABCD"));
  Select({0, 2});
  app.boxes.answers = {platform::BoxAnswer::Yes};
  Key(Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);  // only exactly Ctrl clears

  ASSERT_EQ(app.boxes.shown.size(), 1u);
  EXPECT_EQ(app.boxes.shown[0].text, u"Are you sure to delete selected slots?");
  EXPECT_EQ(ListedVoices(), "BD");
  EXPECT_EQ(ReadBytes(app.SlotsFile()),
            SlotSection(0, "B", Ctrl('B')) + SlotSection(1, "D", Ctrl('D')));
  EXPECT_FALSE(app.hotKeys.Holds(Ctrl('A')));
  EXPECT_FALSE(app.hotKeys.Holds(Ctrl('C')));
  ExpectHotKeysOf("BD");  // tags 0 and 1
}

TEST_F(SlotsPanelTest, DeletingTheLastSlotRemovesTheFile) {
  app.Loaded(Slots("A"));
  Select({0});
  app.boxes.answers = {platform::BoxAnswer::Yes};
  Key(Qt::Key_Delete);
  EXPECT_EQ(List()->rowCount(), 0);
  EXPECT_FALSE(std::filesystem::exists(app.SlotsFile()));
  EXPECT_TRUE(app.hotKeys.registered.empty());
}

TEST_F(SlotsPanelTest, ClearAllReleasesEveryHotKeyAndRemovesTheFile) {
  app.Loaded(Slots("ABC"));
  app.boxes.answers = {platform::BoxAnswer::No};
  Key(Qt::Key_Delete, Qt::ControlModifier);
  ASSERT_EQ(app.boxes.shown.size(), 1u);
  EXPECT_EQ(app.boxes.shown[0].text, u"Are you sure to delete all voice slots?");
  EXPECT_EQ(app.boxes.shown[0].kind, platform::BoxKind::Warning);
  EXPECT_EQ(ListedVoices(), "ABC");
  ExpectHotKeysOf("ABC");

  app.boxes.answers = {platform::BoxAnswer::Yes};
  app.PanelControl<QPushButton>("BitBtn7")->click();
  EXPECT_EQ(List()->rowCount(), 0);
  EXPECT_FALSE(std::filesystem::exists(app.SlotsFile()));
  EXPECT_TRUE(app.hotKeys.registered.empty());
  EXPECT_FALSE(app.Panel().Slot(0));
}

TEST_F(SlotsPanelTest, ClearAllThatCannotRemoveTheFileSaysSo) {
  app.Loaded(Slots("AB"));
  // A folder in the file's place cannot be removed as a file.
  std::filesystem::remove(app.SlotsFile());
  std::filesystem::create_directories(app.SlotsFile() / "inside");
  app.boxes.answers = {platform::BoxAnswer::Yes};
  app.Panel().BitBtn7Click();
  ASSERT_EQ(app.boxes.shown.size(), 2u);
  EXPECT_EQ(app.boxes.shown[1].text, u"Can't delete voice slots.");
  EXPECT_EQ(app.boxes.shown[1].kind, platform::BoxKind::Plain);
  // The list still shows what the table holds.
  EXPECT_EQ(List()->rowCount(), static_cast<int>(app.Panel().Slots().size()));
}

TEST_F(SlotsPanelTest, ShutdownReleasesEverySlotHotKey) {
  app.Loaded(Slots("ABC"));
  app.readingKey.SetActive(true);
  app.Panel().ReleaseHotKeys();
  EXPECT_EQ(app.hotKeys.registered.size(), 1u);  // the reading hot key is not the list's
  EXPECT_TRUE(app.hotKeys.Holds(0x4008));
}

TEST_F(SlotsPanelTest, EditWithNothingSelectedAsksForASlot) {
  app.Loaded(Slots("AB"));
  const bool shown = app.WithEditor([&] { Key(Qt::Key_F2); }, [](voice_slots::TfrmSlot&) {});
  EXPECT_FALSE(shown);
  ASSERT_EQ(app.boxes.shown.size(), 1u);
  EXPECT_EQ(app.boxes.shown[0].text, u"Please, select voice slot to change.");
  EXPECT_EQ(app.boxes.shown[0].kind, platform::BoxKind::Information);
}

TEST_F(SlotsPanelTest, NoMoreThan256Slots) {
  std::string content;
  for (int n = 0; n < 256; ++n) content += SlotSection(n, "V", 0);
  app.Loaded(content);
  ASSERT_EQ(List()->rowCount(), 256);
  const bool shown = app.WithEditor([&] { Key(Qt::Key_Insert); }, [](voice_slots::TfrmSlot&) {});
  EXPECT_FALSE(shown);
  ASSERT_EQ(app.boxes.shown.size(), 1u);
  EXPECT_EQ(app.boxes.shown[0].text, u"No more than 256 voice slots can be set.");
  EXPECT_EQ(app.boxes.shown[0].kind, platform::BoxKind::Warning);
}

}  // namespace
}  // namespace parlino::testing
