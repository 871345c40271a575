// slots.ini as the program reads, writes and renumbers it, on the real profile store.
#include <gtest/gtest.h>

#include "platform/linux/ini_profile_store.h"
#include "slots/slot_file.h"
#include "tests/fakes/temp_dir.h"

namespace parlino::voice_slots {
namespace {

constexpr speech::VoiceGeneration kLegacy = speech::VoiceGeneration::Sapi4;
constexpr speech::VoiceGeneration kModern = speech::VoiceGeneration::Sapi5;

using testing::ReadBytes;
using testing::WriteBytes;

// A section in the form the editor writes it.
std::string Section(int n, const std::string& voice, int hotKey = 0x4041) {
  return "[Slot_" + std::to_string(n) + "]\r\nVoice=" + voice +
         "\r\nHotKey=" + std::to_string(hotKey) +
         "\r\nSpeed=150\r\nPitch=105\r\nVolume=100\r\nSAPIVersion=5\r\n";
}

class SlotFileTest : public ::testing::Test {
 protected:
  std::vector<Text> Voices() const {
    std::vector<Text> voices;
    for (const SlotRecord& slot : file.Load()) voices.push_back(slot.voice);
    return voices;
  }

  testing::TempDir dir;
  platform::linux_impl::IniProfileStore store;
  int tidied = 0;
  SlotFile file{store, dir / "slots.ini", [this](platform::TextFile&) { ++tidied; }};
};

struct LoadCase {
  const char* name;
  std::string content;
  std::vector<SlotRecord> expected;
};

void PrintTo(const LoadCase& c, std::ostream* os) {
  *os << c.name;
}

class SlotLoading : public SlotFileTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(SlotLoading, ReadsTheListedSlots) {
  if (!GetParam().content.empty()) WriteBytes(dir / "slots.ini", GetParam().content);
  EXPECT_EQ(file.Load(), GetParam().expected);
}

const SlotRecord kAnna{u"Anna", u"150", u"105", u"100", kModern, 0x4041};
const SlotRecord kBob{u"Bob", u"150", u"105", u"100", kModern, 0x4041};

INSTANTIATE_TEST_SUITE_P(
    Table, SlotLoading,
    ::testing::Values(
        LoadCase{"no file", "", {}},
        LoadCase{"the gap at Slot_2 hides Slot_3",
                 Section(0, "Anna") + Section(1, "Bob") + Section(3, "Carl"),
                 {kAnna, kBob}},
        LoadCase{"a Slot_0 without keys counts as missing",
                 "[Slot_0]\r\n; nothing here\r\n" + Section(1, "Bob"),
                 {}},
        LoadCase{"missing keys take their defaults: no hot key, a legacy voice",
                 "[Slot_0]\r\nVoice=Anna\r\n",
                 {{u"Anna", u"", u"", u"", kLegacy, 0}}},
        LoadCase{"every generation but 5 is legacy; values are kept as written",
                 "[Slot_0]\r\nVoice=Anna\r\nSpeed=abc\r\nPitch=0x10\r\nVolume=-3\r\n"
                 "SAPIVersion=7\r\n",
                 {{u"Anna", u"abc", u"0x10", u"-3", kLegacy, 0}}},
        LoadCase{"the hot key keeps its key and Shift, Ctrl, Alt bits only",
                 "[Slot_0]\r\nHotKey=" + std::to_string(0x10000 | 0x1000 | 0x4047) +
                     "\r\n[Slot_1]\r\nHotKey=$E041\r\n[Slot_2]\r\nHotKey=G\r\n",
                 {{u"", u"", u"", u"", kLegacy, 0x4047},
                  {u"", u"", u"", u"", kLegacy, 0xE041},
                  {u"", u"", u"", u"", kLegacy, 0}}},
        LoadCase{"headers written by hand in another case or with blanks",
                 "[ slot_0 ]\r\nVoice=Anna\r\nSAPIVersion=5\r\n[SLOT_1]\r\nVoice=Bob\r\n",
                 {{u"Anna", u"", u"", u"", kModern, 0}, {u"Bob", u"", u"", u"", kLegacy, 0}}}));

TEST_F(SlotFileTest, LoadsAtMost256Slots) {
  std::string content;
  for (int n = 0; n < 257; ++n) content += Section(n, "V" + std::to_string(n));
  WriteBytes(dir / "slots.ini", content);
  const auto slots = file.Load();
  ASSERT_EQ(slots.size(), 256u);
  EXPECT_EQ(slots.back().voice, u"V255");
  EXPECT_EQ(file.FreeNumber(), std::nullopt);
}

TEST_F(SlotFileTest, AFreeNumberIsTheFirstGap) {
  EXPECT_EQ(file.FreeNumber(), 0);
  WriteBytes(dir / "slots.ini",
             Section(0, "Anna") + Section(1, "Bob") + "[Slot_2]\r\n" + Section(3, "Carl"));
  EXPECT_EQ(file.FreeNumber(), 2);
}

TEST_F(SlotFileTest, WritesANewSectionInTheEditorsOrderAndTidiesTheFile) {
  file.Write(0, {u"Anna", 0xC047, 240, 105, 80, kModern});
  EXPECT_EQ(ReadBytes(dir / "slots.ini"),
            "[Slot_0]\r\nVoice=Anna\r\nHotKey=49223\r\nSpeed=240\r\nPitch=105\r\nVolume=80\r\n"
            "SAPIVersion=5\r\n");
  EXPECT_EQ(tidied, 1);
  EXPECT_EQ(file.Load(),
            (std::vector<SlotRecord>{{u"Anna", u"240", u"105", u"80", kModern, 0xC047}}));
}

TEST_F(SlotFileTest, AnEditChangesTheSectionInPlace) {
  WriteBytes(dir / "slots.ini", Section(0, "Anna") + Section(1, "Bob"));
  file.Write(0, {u"Carl", 0x4043, 170, 120, 90, kLegacy});
  EXPECT_EQ(ReadBytes(dir / "slots.ini"),
            "[Slot_0]\r\nVoice=Carl\r\nHotKey=16451\r\nSpeed=170\r\nPitch=120\r\nVolume=90\r\n"
            "SAPIVersion=4\r\n" +
                Section(1, "Bob"));
}

TEST_F(SlotFileTest, DeletingRenumbersTheSectionsAfterIt) {
  WriteBytes(dir / "slots.ini", Section(0, "A") + Section(1, "B") + Section(2, "C") +
                                    Section(3, "D") + Section(4, "E"));
  file.Delete(2, 5);
  EXPECT_EQ(ReadBytes(dir / "slots.ini"),
            Section(0, "A") + Section(1, "B") + Section(2, "D") + Section(3, "E"));
  EXPECT_EQ(tidied, 1);
}

TEST_F(SlotFileTest, DeletingLeavesNoStaleSectionWhereHeadersWereWrittenByHand) {
  WriteBytes(dir / "slots.ini",
             "[slot_0]\r\nVoice=A\r\n\v[ Slot_1 ]\r\nVoice=B\r\n\r\n[SLOT_2]\r\nVoice=C\r\n");
  file.Delete(0, 3);
  EXPECT_EQ(Voices(), (std::vector<Text>{u"B", u"C"}));
  EXPECT_EQ(ReadBytes(dir / "slots.ini"), "[Slot_0]\r\nVoice=B\r\n\r\n[Slot_1]\r\nVoice=C\r\n");
  file.Delete(1, 2);
  file.Delete(0, 1);
  EXPECT_EQ(ReadBytes(dir / "slots.ini"), "");
}

TEST_F(SlotFileTest, DeletingKeepsSectionsBeyondAGapAndOtherSections) {
  WriteBytes(dir / "slots.ini", "; kept\r\n" + Section(0, "A") + Section(1, "B") + Section(3, "D") +
                                    "[Other]\r\nKey=1\r\n");
  file.Delete(0, 2);
  EXPECT_EQ(ReadBytes(dir / "slots.ini"),
            "; kept\r\n" + Section(0, "B") + Section(3, "D") + "[Other]\r\nKey=1\r\n");
}

TEST_F(SlotFileTest, DeletingKeepsARepeatedSectionOutOfSight) {
  // Slot_1 is there twice; the second one is never read.
  WriteBytes(dir / "slots.ini", Section(1, "B") + Section(0, "A") + Section(1, "Repeat"));
  ASSERT_EQ(Voices(), (std::vector<Text>{u"A", u"B"}));
  file.Delete(0, 2);
  EXPECT_EQ(Voices(), (std::vector<Text>{u"B"}));
}

TEST_F(SlotFileTest, RemovingAMissingFileIsNoError) {
  EXPECT_FALSE(file.Remove());
  WriteBytes(dir / "slots.ini", Section(0, "A"));
  EXPECT_FALSE(file.Remove());
  EXPECT_FALSE(std::filesystem::exists(dir / "slots.ini"));
}

}  // namespace
}  // namespace parlino::voice_slots
