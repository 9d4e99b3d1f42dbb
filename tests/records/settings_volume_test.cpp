// The volume setting: 8 until changed, kept across runs beside the other settings, and a value
// out of 0 to 10 or not a number read as 8.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "records/settings.h"
#include "support/scratch_folder.h"

namespace {

TEST(SettingsVolume, DefaultKeptAndNonsenseReadAsTheDefault) {
  testing_support::ScratchFolder scratch;
  const auto file = scratch.path() / "config" / "quillon" / "settings.txt";
  Settings settings;
  EXPECT_EQ(settings.volume(), 8);
  settings.setSound(false);
  settings.setVolume(3);
  Settings nextRun;
  EXPECT_EQ(nextRun.volume(), 3);
  EXPECT_FALSE(nextRun.sound());
  for (const char* value : {"0", "10", "11", "-1", "loud", "", "0003", "7 "}) {
    std::ofstream(file) << "quillon-settings 1\nvolume\t" << value << "\n";
    Settings read;
    const int expected = std::string(value) == "0" ? 0 : std::string(value) == "10" ? 10 : 8;
    EXPECT_EQ(read.volume(), expected) << '"' << value << '"';
  }
}

}  // namespace
