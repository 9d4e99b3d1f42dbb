// --check-track and --list-tracks: what each prints, where, and the exit codes; the track
// folders in order, name order within each, a repeated name refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include <sstream>

#include "app/command_line.h"
#include "app/ghost_commands.h"
#include "app/track_options.h"
#include "assets/data_root.h"
#include "content/track_files.h"
#include "records/ghost_store.h"
#include "support/command_output.h"
#include "support/ghost_paths.h"
#include "support/scratch_folder.h"
#include "support/track_shapes.h"
#include "track/track_file.h"
#include "track/track_identity.h"

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

TEST_F(TrackOptionsTest, CheckTrackRefusesANameTheGameWouldRefuseAndNotesKeysOfARefusedFile) {
  WriteFile("Data/Tracks/k.track", good_);  // Knots
  WriteFile("share/quillon/tracks/b.track", Renamed(good_, "Bravo"));
  WriteFile(scratch_.path() / "sunny.track", Renamed(good_, "Sunny"));
  WriteFile(scratch_.path() / "again.track", good_);
  WriteFile(scratch_.path() / "bad.track", Renamed(good_, "") + "maker me\n");
  const std::string inFolder = (scratch_.path() / "share/quillon/tracks/b.track").string();
  std::string out, err;
  EXPECT_EQ(
      Printed(
          [&](auto o, auto e) {
            return CheckTrackFiles({"sunny.track", "again.track", inFolder, "bad.track"}, o, e);
          },
          out, err),
      1);
  EXPECT_EQ(out,
            "sunny.track: the name 'Sunny' is taken by a track offered before it (built-in)\n"
            "again.track: the name 'Knots' is taken by a track offered before it "
            "(Data/Tracks/k.track)\n" +
                inFolder +
                ": Bravo, 115.8 units, 19 segments, 2 laps\nbad.track:4: the name is empty\n");
  EXPECT_NE(err.find("bad.track:"), std::string::npos) << err;
  EXPECT_NE(err.find("unknown key 'maker' ignored"), std::string::npos) << err;
}

// The track table holds 253 tracks from files: the files after them are not read, and both the
// game and --list-tracks say how many were left out.
TEST_F(TrackOptionsTest, ListTracksGivesExactlyWhatTheGameOffersWhenFilesAreTooMany) {
  const std::string loop = testing_support::ReadmeExampleTrack();
  for (int i = 0; i < 260; ++i) {
    char file[40];
    std::snprintf(file, sizeof file, "share/quillon/tracks/%03d.track", i);
    WriteFile(file, Renamed(loop, "Loop " + std::to_string(i)));
  }
  std::string out, err;
  EXPECT_EQ(Printed([](auto o, auto e) { return ListTracks(o, e); }, out, err), 0);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 256);
  EXPECT_NE(out.find("Loop 252\t"), std::string::npos);
  EXPECT_EQ(out.find("Loop 253\t"), std::string::npos);
  EXPECT_NE(err.find("7 more track files left out, not read: the track selection holds at most "
                     "253 tracks from files"),
            std::string::npos)
      << err;
  EXPECT_EQ(Printed(
                [&](auto o, auto e) {
                  return CheckTrackFiles(
                      {(scratch_.path() / "share/quillon/tracks/259.track").string()}, o, e);
                },
                out, err),
            1);
  EXPECT_NE(out.find("259.track: left out: the track selection holds at most 253"),
            std::string::npos)
      << out;
}

// Tracks and cars are named exactly as --list-tracks and the car selection show them: "Loop" is
// not "Loop #1" nor "loop", and a file's track is said by its name, not its records key.
TEST_F(TrackOptionsTest, ExportGhostFindsTrackAndCarByTheirExactNames) {
  const std::string loop = testing_support::ReadmeExampleTrack();
  WriteFile("share/quillon/tracks/a.track", loop);
  WriteFile("share/quillon/tracks/b.track", Renamed(loop, "Loop #1"));
  const GhostPath path = testing_support::StraightGhost(100, 3);
  const std::string other = TrackRecordsName(ParseTrackFile(Renamed(loop, "Loop #1")).content);
  ASSERT_TRUE(GameGhosts.keep(other, "SMiLE", path));
  struct Case {
    std::vector<std::string> arguments;
    int code;
    std::string said, problems;
  } cases[] = {
      {{"Loop", "SMiLE", "x.ghost"}, 1, "", "quillon: no ghost of Loop with SMiLE\n"},
      {{"Loop #1", "SMiLE", "x.ghost"},
       0,
       "exported the ghost of Loop #1 with SMiLE to x.ghost\n",
       ""},
      {{"loop", "SMiLE", "x.ghost"},
       1,
       "",
       "quillon: no track named 'loop' (--list-tracks names them)\n"},
      {{"Loop #1", "smile", "x.ghost"},
       1,
       "",
       "quillon: no car named 'smile' (the cars are SMiLE 911PIZ FlyingTaco)\n"},
  };
  for (const Case& c : cases) {
    std::ostringstream said, problems;
    EXPECT_EQ(ExportGhostCommand(c.arguments, said, problems), c.code) << c.arguments[0];
    EXPECT_EQ(said.str(), c.said);
    EXPECT_EQ(problems.str(), c.problems);
  }
  GameGhosts = GhostStore();
}

}  // namespace
