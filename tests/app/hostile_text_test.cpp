// Text from files, names and arguments on every message the game prints: a name holding escape
// sequences, a line break or a right-to-left override never reaches the terminal raw.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <sstream>

#include "app/command_line.h"
#include "app/data_location.h"
#include "assets/data_root.h"
#include "content/track_files.h"
#include "game/controls.h"
#include "records/best_times.h"
#include "records/ghost_store.h"
#include "support/command_output.h"
#include "support/ghost_paths.h"
#include "support/scratch_folder.h"
#include "track/file_tracks.h"

namespace {

namespace fs = std::filesystem;
using testing_support::WriteFile;

// Clears the screen, starts a line that looks like the game's own, and turns the text around.
const std::string Hostile = "\x1B[2J\nquillon: all good\xE2\x80\xAE";

void ExpectShownSafely(const std::string& text, const std::string& where) {
  EXPECT_EQ(text.find('\x1B'), std::string::npos) << where << ": " << text;
  EXPECT_EQ(text.find("\nquillon: all good"), std::string::npos) << where << ": " << text;
  EXPECT_EQ(text.find("\xE2\x80\xAE"), std::string::npos) << where << ": " << text;
  EXPECT_NE(text.find("\\x1B[2J\\x0Aquillon: all good\\xE2\\x80\\xAE"), std::string::npos)
      << where << ": " << text;
}

// What the command line prints, both streams together.
std::string Answered(std::vector<std::string> args) {
  args.insert(args.begin(), "quillon");
  std::vector<const char*> argv;
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  const CommandLine line = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
  std::string out, err;
  testing_support::Printed(
      [&](std::FILE* o, std::FILE* e) { return AnswerCommandLine(line, o, e).value_or(-1); }, out,
      err);
  return out + err;
}

TEST(HostileText, EveryMessageShowsOutsideTextEscaped) {
  testing_support::ScratchFolder scratch;
  SetDataRoot("");
  const GhostPath path = testing_support::StraightGhost(20, 1);
  const fs::path named = scratch.path() / Hostile;
  WriteFile(named / "offered.ghost", FormatGhost(path, {Hostile, "Sunny", Hostile}));
  WriteFile(named / "elsewhere.ghost", FormatGhost(path, {Hostile, Hostile, Hostile}));
  ASSERT_TRUE(GameGhosts.keep("Sunny", Hostile, path));
  GameBestTimes.recordFinish({Hostile, Hostile, 90, 1000});
  std::string track = content::ShippedTrackFiles()[1].text + Hostile + " 1\n";
  WriteFile(named / "odd.track", track.replace(track.find("laps "), 5, "laps " + Hostile + "\n#"));
  WriteFile(scratch.path() / "share/quillon/tracks" / (Hostile + ".track"), "quillon-track 2\n");
  const std::pair<std::string, std::string> said[] = {
      {"an unknown option", Answered({Hostile})},
      {"a file not imported", Answered({"--import-ghost", (named / "none").string()})},
      {"a ghost imported", Answered({"--import-ghost", (named / "offered.ghost").string()})},
      {"another track", Answered({"--import-ghost", (named / "elsewhere.ghost").string()})},
      {"no ghost to export", Answered({"--export-ghost", "Yello", Hostile, "x.ghost"})},
      {"a ghost exported",
       Answered({"--export-ghost", "Sunny", Hostile, (named / "out.ghost").string()})},
      {"the records", Answered({"--records"})},
      {"a track checked", Answered({"--check-track", (named / "odd.track").string()})},
      {"the tracks listed", Answered({"--list-tracks"})},
  };
  for (const auto& [where, text] : said) ExpectShownSafely(text, where);
  EXPECT_NE(said[7].second.find("laps '\\x1B[2J'"), std::string::npos) << said[7].second;

  // A store's failure names its folder: here one behind a loop of links.
  setenv("XDG_DATA_HOME", named.c_str(), 1);
  fs::create_symlink("quillon", named / "quillon");
  std::ostringstream stores;
  BestTimes times;
  times.errors = &stores;
  times.recordFinish({"Sunny", "SMiLE", 90, 1000});
  ExpectShownSafely(stores.str(), "a store");

  // A settings value, and what the game says on standard error of tracks and data.
  Controls controls;
  for (const std::string& problem :
       controls.read([](const std::string&) { return std::optional(Hostile); }))
    ExpectShownSafely(problem, "a settings value");
  testing::internal::CaptureStderr();
  TrackAssetPath({named.string(), named.string(), {}}, "x.bmp", "Data/x.bmp");
  ExpectShownSafely(testing::internal::GetCapturedStderr(), "a track's picture");
  fs::create_directories(named / "Data");
  setenv("QUILLON_DATA_DIR", named.c_str(), 1);
  testing::internal::CaptureStderr();
  LocateGameData();
  ExpectShownSafely(testing::internal::GetCapturedStderr(), "the data folder");
  unsetenv("QUILLON_DATA_DIR");
  SetDataRoot("");
  GameGhosts = GhostStore();
  GameBestTimes = BestTimes();
}

}  // namespace
