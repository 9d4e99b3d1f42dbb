// The player's folders: one rule for records and tracks, a relative path in the environment
// ignored.
#include "assets/player_folders.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "records/best_times.h"
#include "support/scratch_folder.h"
#include "track/track_sources.h"

namespace {

TEST(PlayerFolders, RelativePathsGiveNoFolderAndTracksAndRecordsAgree) {
  testing_support::ScratchFolder scratch;  // gives XDG_DATA_HOME back
  const std::string saved = getenv("HOME") != nullptr ? getenv("HOME") : "";
  const char* cases[][3] = {
      {"/d", "/h", "/d/quillon"},
      {"d", "/h", "/h/.local/share/quillon"},  // a relative XDG_DATA_HOME is ignored
      {nullptr, "/h", "/h/.local/share/quillon"},
      {"d", "h", ""},  // a relative HOME gives none
      {nullptr, nullptr, ""},
  };
  for (const auto& [data, home, folder] : cases) {
    data ? setenv("XDG_DATA_HOME", data, 1) : unsetenv("XDG_DATA_HOME");
    home ? setenv("HOME", home, 1) : unsetenv("HOME");
    EXPECT_EQ(BestTimesFile().parent_path(), folder);
    const std::vector<std::string> tracks = TrackFolders();
    EXPECT_EQ(tracks.size() == 2 ? tracks[1] : "",
              folder[0] ? std::string(folder) + "/tracks" : "");
  }
  setenv("HOME", saved.c_str(), 1);
}

}  // namespace
