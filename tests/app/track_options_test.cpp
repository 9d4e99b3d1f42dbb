// --check-track and --list-tracks: what each prints, where, and the exit codes; the track
// folders in order, name order within each, a repeated name refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "app/track_options.h"
#include "assets/data_root.h"
#include "content/track_files.h"
#include "support/command_output.h"
#include "support/scratch_folder.h"

namespace {

using testing_support::Printed;
using testing_support::WriteFile;

std::string Renamed(std::string text, const std::string& name) {
  const size_t at = text.find("name ");
  return text.replace(at, text.find('\n', at) - at, "name " + name);
}

class TrackOptionsTest : public testing::Test {
 protected:
  void SetUp() override { SetDataRoot(""); }
  testing_support::ScratchFolder scratch_;
  const std::string good_ = content::ShippedTrackFiles()[1].text;  // Knots
};

TEST_F(TrackOptionsTest, CheckTrackNamesGoodFilesAndEveryReasonOfTheOthers) {
  WriteFile(scratch_.path() / "good.track", good_);
  WriteFile(scratch_.path() / "bad.track", Renamed(good_, "") + "laps 4\n");
  const char* args[] = {"quillon",   "--check-track", "good.track",
                        "bad.track", "none.track",    "--help"};
  const CommandLine line = ParseCommandLine(6, args);
  ASSERT_EQ(line.action, CommandLine::Action::CheckTrack);
  std::string out, err;
  EXPECT_EQ(
      Printed([&](auto o, auto e) { return CheckTrackFiles(line.trackFiles, o, e); }, out, err), 1);
  EXPECT_EQ(out,
            "good.track: Knots, 115.8 units, 19 segments, 2 laps\n"
            "bad.track:4: the name is empty\n"
            "bad.track:" +
                std::to_string(std::count(good_.begin(), good_.end(), '\n') + 1) +
                ": 'laps' given again (first on line 7)\n"
                "none.track: no such file\n"
                "--help: no such file\n");
  EXPECT_EQ(
      Printed([&](auto o, auto e) { return CheckTrackFiles({"good.track"}, o, e); }, out, err), 0);
  EXPECT_TRUE(err.empty());
}

TEST_F(TrackOptionsTest, ListTracksGivesTheBuiltInThenTheDataFolderThenThePlayersInNameOrder) {
  WriteFile("Data/Tracks/b.track", Renamed(good_, "Bravo"));
  WriteFile("Data/Tracks/a.track", Renamed(good_, "Alpha"));
  WriteFile("Data/Tracks/c.track", Renamed(good_, "Sunny"));  // a built-in name
  WriteFile("Data/Tracks/notes.txt", "not a track");
  WriteFile("share/quillon/tracks/0.track", Renamed(good_, "Bravo"));  // taken by the data folder
  WriteFile("share/quillon/tracks/1.track", Renamed(good_, "Mine"));
  WriteFile("share/quillon/tracks/2.track", "quillon-track 9\n");
  std::string out, err;
  EXPECT_EQ(Printed([](auto o, auto e) { return ListTracks(o, e); }, out, err), 0);
  const std::string mine = (scratch_.path() / "share/quillon/tracks/1.track").string();
  EXPECT_EQ(out,
            "Sunny\tbuilt-in\nBlueSky\tbuilt-in\nYello\tbuilt-in\n"
            "Alpha\tData/Tracks/a.track\nBravo\tData/Tracks/b.track\nMine\t" +
                mine + "\n");
  for (const char* refused :
       {"c.track: refused: a track named 'Sunny'", "0.track: refused: a track named 'Bravo'",
        "2.track:1: refused: unknown version"})
    EXPECT_NE(err.find(refused), std::string::npos) << refused << " not in " << err;
}

}  // namespace
