// The settings file: its format (unknown lines kept, byte-order mark and CRLF read, a newer
// version noticed) and the store (defaults, the volume's range, atomic writes, broken and newer
// files).
#include <gtest/gtest.h>

#include <sstream>

#include "records/settings.h"
#include "support/scratch_folder.h"

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

TEST(SettingsFormat, ReadsWhatOrdinaryEditorsWriteAndRefusesTheRest) {
  struct Case {
    std::string_view text;
    bool valid;
    bool sound;  // the sound flag read, default on
  };
  const Case cases[] = {
      {"\xEF\xBB\xBFquillon-settings 1\r\nsound\toff\r\n", true, false},  // BOM and CRLF
      {"quillon-settings 1\nsound\ton\nsound\toff", true, false},         // the last line wins
      {"quillon-settings 1\nsound\tloud\n# sound\toff\n", true, true},    // others: default
      {"", false, true},
      {"quillon-settings\nsound\toff\n", false, true},
      {"quillon-settings 0\n", false, true},
      {"quillon-settings 1x\n", false, true},
      {"best-times 1\n", false, true},
      {std::string_view("quillon-settings 1\nsound\toff\0\n", 30), false, true},  // a NUL
  };
  for (const Case& c : cases) {
    const auto parsed = SettingsText::parse(c.text);
    ASSERT_EQ(parsed.has_value(), c.valid) << c.text;
    if (parsed) {
      EXPECT_EQ(parsed->flag("sound", true), c.sound) << c.text;
    }
  }
}

TEST(SettingsFormat, SetReplacesInPlaceKeepsOtherLinesAndDropsRepeats) {
  auto text = *SettingsText::parse("quillon-settings 1\n# mine\nsound\ton\nvolume\t7\nsound\ton\n");
  text.set("sound", "off");
  text.set("ghost", "on");
  EXPECT_EQ(text.format(), "quillon-settings 1\n# mine\nsound\toff\nvolume\t7\nghost\ton\n");
  auto fresh = *SettingsText::parse("quillon-settings 1");
  fresh.set("sound", "off");
  EXPECT_EQ(SettingsText::parse(fresh.format())->get("sound"), "off");
}

class SettingsTest : public testing::Test {
 protected:
  testing_support::ScratchFolder scratch;
  std::ostringstream said;
  Settings settings;
  std::filesystem::path file = scratch.path() / "config" / "quillon" / "settings.txt";

  void SetUp() override { settings.errors = &said; }
};

TEST_F(SettingsTest, BrokenFileMovedAsideNewerFileLeftAloneFailedWriteSaidOnce) {
  WriteFile(file, "not settings\n");
  settings.setGhost(false);
  EXPECT_NE(said.str().find("moved to"), std::string::npos);
  EXPECT_EQ(ReadFile(file),
            "quillon-settings 1\n# Settings of Quillon: one setting a line, name "
            "and value separated by a tab.\nghost\toff\n");

  const std::string newer = "quillon-settings 3\nsound\toff\nthing\t1\n";
  WriteFile(file, newer);
  settings.reload();
  EXPECT_FALSE(settings.sound());
  settings.setSound(true);
  EXPECT_TRUE(settings.sound());  // for this run
  EXPECT_EQ(ReadFile(file), newer);

  WriteFile(file, "quillon-settings 1\n");
  settings.reload();
  said.str("");
  settings.fileCalls.rename = [](const char*, const char*) { return errno = EROFS, -1; };
  settings.setSound(false);
  settings.setSound(true);
  EXPECT_EQ(ReadFile(file), "quillon-settings 1\n");
  const std::string told = said.str();
  EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
}

TEST_F(SettingsTest, DefaultsUntilChangedAndTwoGamesChangingSettingsKeepEachOthersChanges) {
  // Two stores stand for two games running at once, each having read the file at its start.
  Settings other;
  other.errors = &said;
  EXPECT_TRUE(settings.sound());
  EXPECT_TRUE(other.ghost());
  EXPECT_EQ(other.volume(), 8);
  EXPECT_FALSE(std::filesystem::exists(file));  // reading creates nothing
  settings.setSound(false);
  other.setGhost(false);
  other.setVolume(3);
  Settings nextRun;
  EXPECT_FALSE(nextRun.sound());
  EXPECT_FALSE(nextRun.ghost());
  EXPECT_EQ(nextRun.volume(), 3);
  EXPECT_EQ(said.str(), "");
}

TEST_F(SettingsTest, AVolumeOutOfZeroToTenOrNotANumberIsReadAsTheDefault) {
  for (const char* value : {"0", "10", "11", "-1", "loud", "", "0003", "7 "}) {
    WriteFile(file, std::string("quillon-settings 1\nvolume\t") + value + "\n");
    const int expected = std::string(value) == "0" ? 0 : std::string(value) == "10" ? 10 : 8;
    EXPECT_EQ(Settings().volume(), expected) << '"' << value << '"';
  }
}

TEST_F(SettingsTest, LinesEditedByHandWhileTheGameRunsAreKept) {
  settings.setSound(false);
  settings.setGhost(false);
  // A line added and one changed by hand between two changes of the running game.
  WriteFile(file, ReadFile(file) + "# mine\nvolume\t7\n");
  std::string text = ReadFile(file);
  text.replace(text.find("ghost\toff"), 9, "ghost\ton");
  WriteFile(file, text);
  settings.setSound(true);
  EXPECT_EQ(ReadFile(file),
            "quillon-settings 1\n# Settings of Quillon: one setting a line, name "
            "and value separated by a tab.\nsound\ton\nghost\ton\n# mine\nvolume\t7\n");
  EXPECT_TRUE(settings.ghost());  // the reread file is what this run goes on with
  EXPECT_EQ(said.str(), "");
}

TEST_F(SettingsTest, AChangeThatCouldNotBeWrittenStaysForTheRunAndGoesWithTheNextWrite) {
  settings.fileCalls.rename = [](const char*, const char*) { return errno = EROFS, -1; };
  settings.setSound(false);
  EXPECT_FALSE(std::filesystem::exists(file));
  settings.fileCalls = {};
  settings.setGhost(false);
  EXPECT_FALSE(settings.sound());
  Settings nextRun;
  EXPECT_FALSE(nextRun.sound());
  EXPECT_FALSE(nextRun.ghost());
}

TEST_F(SettingsTest, AChangeThatWouldOutgrowWhatTheGameReadsIsRefusedAndTheFileKept) {
  // A file just under the limit, as a long comment makes it.
  const std::string start = "quillon-settings 1\nvolume\t3\n# ";
  const std::string text = start + std::string(SettingsFileLimit - start.size() - 20, 'x') + "\n";
  WriteFile(file, text);
  const std::string name(40, 'z');
  settings.setValue("name", name);
  settings.setValue("name", name + "!");
  EXPECT_EQ(ReadFile(file), text);
  EXPECT_NE(settings.value("name"), name);
  const std::string told = said.str();
  EXPECT_NE(told.find("refused"), std::string::npos) << told;
  EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
  settings.setVolume(5);  // the same length: written
  EXPECT_EQ(Settings().volume(), 5);
}

}  // namespace
