// Reading and checking track files: a good file, every kind of refusal with its line, notes,
// and the road crossing itself at one height or on a bridge.
#include <gtest/gtest.h>

#include <string>

#include "support/track_shapes.h"
#include "track/track_curve.h"
#include "track/track_definitions.h"
#include "track/track_file.h"
#include "track/track_file_text.h"

namespace {

const char* const kHeader =
    "quillon-track 1\n"
    "# a small loop\n"
    "name Loop\n"
    "steps 10\n"
    "halfWidth 0.7\n"
    "laps 3\n"
    "road Road.bmp\n"
    "border border.bmp\n"
    "sky Sky.bmp\n"
    "banner bannerStart.ms3d\n";  // lines 1 to 10

// Sixteen points from line 11: a loop round (10, 5), ending on the start straight.
const char* const kLoop =
    "point 0 0 0\npoint 2 0 0\npoint 8 0 0\npoint 10 0 0\n"
    "point 10 0 0\npoint 14 0 0\npoint 14 0 10\npoint 10 0 10\n"
    "point 10 0 10\npoint 5 0 10\npoint -10 0 10\npoint -10 0 5\n"
    "point -10 0 5\npoint -10 0 2\npoint -8 0 0\npoint -5 0 0\n";

// The start straight crossed at x = 5 by a leg coming back from z = 8; `up` lifts that leg.
std::string Crossing(int up) {
  const std::string y = std::to_string(up);
  return std::string(kHeader) + "point 0 0 0\npoint 2 0 0\npoint 8 0 0\npoint 10 0 0\n" +
         "point 10 0 0\npoint 14 0 0\npoint 14 " + y + " 8\npoint 10 " + y + " 8\n" + "point 10 " +
         y + " 8\npoint 6 " + y + " 8\npoint 5 " + y + " 4\npoint 5 " + y + " -4\n" + "point 5 " +
         y + " -4\npoint 5 " + y + " -10\npoint -12 0 0\npoint -5 0 0\n";
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

TEST(TrackFileTest, AGoodFileGivesItsKeysAndPointsAndNotesUnknownKeysOnce) {
  const std::string text = "\xEF\xBB\xBF" + std::string(kHeader) + "maker me\r\nmaker you\n" +
                           "   # indented comment\n\n" + kLoop;
  const TrackFileReading reading = ParseTrackFile(text);
  ASSERT_TRUE(reading.good()) << reading.refusals[0].line << ": " << reading.refusals[0].text;
  const TrackFileContent& c = reading.content;
  EXPECT_EQ(c.name, "Loop");
  EXPECT_EQ(c.steps, 10);
  EXPECT_FLOAT_EQ(c.halfWidth, 0.7f);
  EXPECT_EQ(c.laps, 3);
  EXPECT_EQ(c.road + c.border + c.sky + c.banner, "Road.bmpborder.bmpSky.bmpbannerStart.ms3d");
  ASSERT_EQ(c.controlPoints.size(), 16u);
  EXPECT_EQ(c.controlPoints[14].x, -8.0);
  ASSERT_EQ(reading.notes.size(), 1u);
  EXPECT_EQ(reading.notes[0].line, 11);
  EXPECT_NE(reading.notes[0].text.find("'maker'"), std::string::npos);
  EXPECT_FALSE(c.targets.medals || c.targets.author);  // the targets may be left out
}

TEST(TrackFileTest, TargetTimesAreReadAndWrittenBackExactly) {
  const std::string text = std::string(kHeader) + "medals 60 55.5 50.25\nauthor 48.7\n" + kLoop;
  const TrackFileReading reading = ParseTrackFile(text);
  ASSERT_TRUE(reading.good()) << reading.refusals[0].text;
  ASSERT_TRUE(reading.content.targets.medals && reading.content.targets.author);
  EXPECT_EQ(*reading.content.targets.medals, (std::array<double, 3>{60, 55.5, 50.25}));
  EXPECT_EQ(*reading.content.targets.author, 48.7);
  const TrackFileReading again = ParseTrackFile(TrackFileText(reading.content, {}));
  EXPECT_EQ(again.content.targets.medals, reading.content.targets.medals);
  EXPECT_EQ(again.content.targets.author, reading.content.targets.author);
}

TEST(TrackFileTest, EveryBrokenCaseIsRefusedWithItsLineAndReason) {
  const std::string good = std::string(kHeader) + kLoop;
  struct Case {
    std::string text;
    int line;
    const char* reason;
  } cases[] = {
      {Replaced(good, "quillon-track 1", "quillon-track 2"), 1, "unknown version"},
      {Replaced(good, "quillon-track 1", "hello"), 1, "not a track file"},
      {"", 0, "empty file"},
      {good + "name Again\n", 27, "'name' given again (first on line 3)"},
      {Replaced(good, "laps 3\n", ""), 0, "'laps' missing"},
      {good + "medals 60 50 40\nmedals 60 50 40\n", 28, "'medals' given again"},
      {good + "medals 60 50\n", 27, "three times in seconds"},
      {good + "medals 60 50 40 30\n", 27, "more than three"},
      {good + "medals 60 nan 40\n", 27, "three times in seconds"},
      {good + "medals 60 60 40\n", 27, "each faster than the one before"},
      {good + "medals 40 50 60\n", 27, "each faster than the one before"},
      {good + "medals 3601 50 40\n", 27, "medals time 3601 is outside 1 to 3600"},
      {good + "medals 60 50 0.9\n", 27, "outside 1 to 3600"},
      {good + "author x\n", 27, "one time in seconds"},
      {good + "author 0\n", 27, "author time 0 is outside"},
      {good + "author 40 41\n", 27, "more than one time"},
      {Replaced(good, "halfWidth 0.7", "halfWidth nan"), 5, "not a finite number"},
      {Replaced(good, "halfWidth 0.7", "halfWidth inf"), 5, "not a finite number"},
      {Replaced(good, "halfWidth 0.7", "halfWidth 0.19"), 5, "outside 0.2 to 5"},
      {Replaced(good, "halfWidth 0.7", "halfWidth 5.01"), 5, "outside 0.2 to 5"},
      {Replaced(good, "steps 10", "steps 3"), 4, "outside 4 to 200"},
      {Replaced(good, "steps 10", "steps 201"), 4, "outside 4 to 200"},
      {Replaced(good, "steps 10", "steps 1e1"), 4, "not a whole number"},
      {Replaced(good, "laps 3", "laps 0"), 6, "outside 1 to 20"},
      {Replaced(good, "laps 3", "laps 21"), 6, "outside 1 to 20"},
      {Replaced(good, "point 2 0 0", "point 2 0 inf"), 12, "three finite numbers"},
      {Replaced(good, "point 2 0 0", "point 2 0"), 12, "three finite numbers"},
      {Replaced(good, "point 2 0 0", "point 2 0 0 0"), 12, "more than three"},
      {Replaced(good, "point 2 0 0", "point 2 0 1e9"), 12, "between -10000 and 10000"},
      {std::string(kHeader) + "point 0 0 0\npoint 1 0 0\npoint -5 0 0\n", 13, "fewer than 4"},
      {good + "point -5 0 0\n", 27, "whole groups of four"},
      {Replaced(good, "point 10 0 10\npoint 5", "point 10 0 11\npoint 5"), 19,
       "does not start where"},
      {Replaced(good, "point 0 0 0\npoint 2", "point 0 0 1\npoint 2"), 11, "first point"},
      {Replaced(good, "point 2 0 0", "point 2 0 1"), 12, "+x axis"},
      {Replaced(good, "point -5 0 0", "point -2 0 0"), 26, "start grid"},
      {Replaced(good, "point -8 0 0", "point -8 0 1"), 26, "start grid"},
      // A group whose four points are one: its samples all coincide.
      {Replaced(good, "point 10 0 0\npoint 14",
                "point 10 0 0\npoint 10 0 0\npoint 10 0 0\n"
                "point 10 0 0\npoint 10 0 0\npoint 14"),
       15, "zero length"},
      {Crossing(0), 19, "crosses itself at one height"},
      {Crossing(1), 19, "crosses itself at one height"},  // too low to pass over
      {Replaced(good, "name Loop", "name"), 3, "the name is empty"},
      {Replaced(good, "name Loop", "name 123456789012345678901"), 3, "longer than 20"},
      // Twenty characters, but wider than the track selection shows.
      {Replaced(good, "name Loop", "name WWWWWWWWWWWWWWWWWWWW"), 3,
       "wider than the track selection"},
      {Replaced(good, "name Loop", "name Lo\x01op"), 3, "control characters"},
      {Replaced(good, "name Loop", "name Lo\top"), 3, "control characters"},
      {Replaced(good, "name Loop", "name Lo\xC2\x85op"), 3, "control characters"},
      {Replaced(good, "name Loop", "name Lo\xC3op"), 3, "not UTF-8"},
      {Replaced(good, "sky Sky.bmp", "sky ../Sky.bmp"), 9, "not a plain file name"},
      {Replaced(good, "road Road.bmp", "road /etc/passwd"), 7, "not a plain file name"},
      {Replaced(good, "banner bannerStart.ms3d", "banner sub\\b.ms3d"), 10, "not a plain file"},
      {Replaced(good, "border border.bmp", "border .."), 8, "not a plain file name"},
      {Replaced(good, "# a small loop", std::string("# a \0 NUL", 9)), 2, "NUL"},
      {good + std::string(TrackFileMaxBytes, '#'), 0, "larger than 65536 bytes"},
  };
  for (const Case& c : cases) {
    const TrackFileReading reading = ParseTrackFile(c.text);
    ASSERT_FALSE(reading.good()) << c.reason;
    EXPECT_EQ(reading.refusals[0].line, c.line) << c.reason << ": " << reading.refusals[0].text;
    EXPECT_NE(reading.refusals[0].text.find(c.reason), std::string::npos)
        << c.reason << " not in: " << reading.refusals[0].text;
  }
}

TEST(TrackFileTest, EveryReasonIsGivenAndTooManyPointsOnce) {
  std::string text =
      Replaced(Replaced(std::string(kHeader) + kLoop, "laps 3", "laps 99"), "steps 10", "steps x");
  for (int i = 0; i < 400; ++i) text += "point 1 1 1\n";
  const TrackFileReading reading = ParseTrackFile(text);
  ASSERT_EQ(reading.refusals.size(), 3u);
  EXPECT_EQ(reading.refusals[0].line, 4);
  EXPECT_EQ(reading.refusals[1].line, 6);
  EXPECT_EQ(reading.refusals[2].line, 11 + 400);
  EXPECT_NE(reading.refusals[2].text.find("more than 400 points"), std::string::npos);
}

TEST(TrackFileTest, OneFaultBringsNoOthersAndUnknownKeysAreNotedInARefusedFile) {
  const std::string good = std::string(kHeader) + "maker me\n" + kLoop;
  for (const char* point : {"point 2 0 x", "point 2 0 0 0"}) {
    const TrackFileReading reading = ParseTrackFile(Replaced(good, "point 2 0 0", point));
    ASSERT_EQ(reading.refusals.size(), 1u) << point << ": " << reading.refusals.back().text;
    EXPECT_EQ(reading.refusals[0].line, 13);
    ASSERT_EQ(reading.notes.size(), 1u);
    EXPECT_NE(reading.notes[0].text.find("'maker'"), std::string::npos);
  }
}

TEST(TrackFileTest, AnyStepsSampleACircleWhoseStartStraightTurnsBackALittle) {
  // Quarter circles of radius 6 round (0, 0, -6), then back to a short start straight whose far
  // handle (the second point, 4 ahead) pulls the closing piece back on itself for a moment: the
  // samples there may come as close as rounding makes them, but no piece has zero length.
  const std::string circle =
      "point 0 0 0\npoint 4 0 0\npoint 6 0 -2.686\npoint 6 0 -6\n"
      "point 6 0 -6\npoint 6 0 -9.314\npoint 3.314 0 -12\npoint 0 0 -12\n"
      "point 0 0 -12\npoint -3.314 0 -12\npoint -6 0 -9.314\npoint -6 0 -6\n"
      "point -6 0 -6\npoint -6 0 -3.349\npoint -3 0 0\npoint -2.5 0 0\n";
  const std::string header = Replaced(kHeader, "halfWidth 0.7", "halfWidth 5");
  for (int steps = TrackMinSteps; steps <= TrackMaxSteps; ++steps) {
    const TrackFileReading reading =
        ParseTrackFile(Replaced(header, "steps 10", "steps " + std::to_string(steps)) + circle);
    EXPECT_TRUE(reading.good()) << steps << ": " << reading.refusals[0].text;
  }
}

TEST(TrackFileTest, TheReadmeExampleIsKeptAsTheReadmePrintsIt) {
  const std::string example = testing_support::ReadmeExampleTrack();
  EXPECT_FALSE(example.empty());
  EXPECT_EQ(example, testing_support::ReadmeExampleAsPrinted());
  EXPECT_TRUE(ParseTrackFile(example).good());
}

TEST(TrackFileTest, ABridgeHighEnoughOverTheRoadIsAllowed) {
  const TrackFileReading reading = ParseTrackFile(Crossing(3));
  EXPECT_TRUE(reading.good()) << reading.refusals[0].line << ": " << reading.refusals[0].text;
}

TEST(TrackFileTest, TheBuiltInShapesAndAHairpinDoNotCountAsCrossings) {
  // A hairpin much tighter than the road is wide is one road turning, not two roads.
  TrackCurve hairpin(40);
  hairpin.controlPoints = {{0, 0, 0}, {10, 0, 0}, {10, 0, 0.8}, {0, 0, 0.8}};
  hairpin.generate();
  EXPECT_EQ(FindRoadCrossing(hairpin.points, 0.2), -1);
  EXPECT_GE(FindRoadCrossing(hairpin.points, 0.7), 0);  // the straights overlap at this width
  for (int index = 0; index < 3; ++index)
    EXPECT_EQ(FindRoadCrossing(BuiltInTrackCurve(index).points, 0.7), -1) << index;
}

TEST(TrackFileTest, PlainFileNames) {
  for (const char* name : {"Sky.bmp", "a b.bmp", "..x", "é.bmp"})
    EXPECT_TRUE(IsPlainFileName(name));
  for (const char* name : {"", ".", "..", "a/b", "/a", "a\\b", "a\nb"})
    EXPECT_FALSE(IsPlainFileName(name)) << name;
}

}  // namespace
