// The player's folders: one rule for every room, a relative path in the environment ignored.
#include "track/player_folders.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "records/records_file.h"
#include "track/track_sources.h"

namespace {

TEST(PlayerFolders, RelativePathsGiveNoFolderAndTracksAndRecordsAgree) {
  const char* saved[2] = {getenv("XDG_DATA_HOME"), getenv("HOME")};
  const std::string keep[2] = {saved[0] ? saved[0] : "", saved[1] ? saved[1] : ""};
  const struct {
    const char *data, *home, *folder;
  } cases[] = {
      {"/d", "/h", "/d/quillon"},
      {"d", "/h", "/h/.local/share/quillon"},  // a relative XDG_DATA_HOME is ignored
      {nullptr, "/h", "/h/.local/share/quillon"},
      {"d", "h", ""},  // a relative HOME gives none
      {nullptr, "", ""},
      {nullptr, nullptr, ""},
  };
  for (const auto& c : cases) {
    for (auto [name, value] : {std::pair{"XDG_DATA_HOME", c.data}, std::pair{"HOME", c.home}})
      value ? setenv(name, value, 1) : unsetenv(name);
    EXPECT_EQ(PlayerDataFolder(), c.folder) << c.folder;
    EXPECT_EQ(RecordsFolder(), c.folder);
    const std::vector<std::string> folders = TrackFolders();
    EXPECT_EQ(folders.size(), c.folder[0] ? 2u : 1u) << c.folder;
    if (c.folder[0]) EXPECT_EQ(folders.back(), std::string(c.folder) + "/tracks");
  }
  for (int i = 0; i < 2; ++i)
    saved[i] ? setenv(i ? "HOME" : "XDG_DATA_HOME", keep[i].c_str(), 1)
             : unsetenv(i ? "HOME" : "XDG_DATA_HOME");
}

}  // namespace
