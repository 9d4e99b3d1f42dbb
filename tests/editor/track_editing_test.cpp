// The editing model without GL: waypoints to pieces to file text and back, undo and redo over
// random edits, and every fault of the file check reported at its place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

#include "editor/track_editing.h"
#include "editor/track_saving.h"
#include "support/scratch_folder.h"
#include "track/track_curve.h"
#include "track/track_file_text.h"
#include "track/waypoint_curve.h"

namespace {

// A loop of `count` waypoints round (0, -r) with random wobble and heights, from the origin
// along +x and back onto the -x axis.
EditedTrack RandomLoop(std::mt19937& random, int count, bool heights) {
  std::uniform_real_distribution<double> wobble(-0.15, 0.15), height(0.0, 3.0);
  EditedTrack track = NewOvalTrack("Random");
  const double radius = 4.0 * count;
  track.waypoints = {Vector3d(0, 0, 0)};
  for (int i = 1; i <= count; ++i) {
    const double angle = 3.14159265 * 2 * (0.08 + 0.84 * i / (count + 1)) + wobble(random) / count;
    track.waypoints.push_back(Vector3d(radius * std::sin(angle), heights ? height(random) : 0,
                                       radius * (std::cos(angle) - 1)));
  }
  track.waypoints.push_back(Vector3d(-std::max(6.0, radius * 0.6), 0, 0));
  return track;
}

double Distance(const Vector3d& a, const Vector3d& b) {
  return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

TEST(TrackEditingTest, WaypointsMakeAFileThatReadsBackAsTheSameTrack) {
  std::mt19937 random(7);
  for (int round = 0; round < 24; ++round) {
    const EditedTrack track = RandomLoop(random, 4 + round * 2, round % 2 == 1);
    const std::string text = EditorFileText(track);
    ASSERT_NE(text.find("# Made with Quillon's track editor."), std::string::npos);
    const TrackFileReading reading = ParseTrackFile(text);
    ASSERT_TRUE(reading.good()) << round << ": " << reading.refusals[0].text << " at "
                                << reading.refusals[0].where->x << " "
                                << reading.refusals[0].where->z;
    const TrackFileContent made = ContentOf(track);
    EXPECT_EQ(reading.content.steps, made.steps);
    EXPECT_EQ(reading.content.halfWidth, made.halfWidth);
    EXPECT_EQ(TrackFileText(reading.content, {}), TrackFileText(made, {}));
    EXPECT_TRUE(EditedFromContent(reading.content) == track) << round;
    EXPECT_TRUE(CheckEditedTrack(track, {}).good()) << round;
  }
  EXPECT_TRUE(CheckEditedTrack(NewOvalTrack("Oval"), {}).good());
}

TEST(TrackEditingTest, PiecesRunAlongTheAxisAtBothEnds) {
  const std::vector<Vector3d> waypoints = {
      {0, 0, 0}, {12, 0, 0}, {20, 2, -10}, {-4, 0, -10}, {-8, 0, 0}};
  const auto points = WaypointControlPoints(waypoints);
  ASSERT_EQ(points.size(), 16u);
  EXPECT_EQ(points[1].x, 2.0);                                   // a third of half the first chord
  EXPECT_NEAR(points[14].x, -8 - std::hypot(4, 10) / 6, 1e-12);  // behind the start grid
  EXPECT_NEAR(points[5].y, 2.0 / 6, 1e-12);  // half the neighbours' chord, a third
  EXPECT_EQ(ControlPointWaypoints(points).size(), waypoints.size());
}

TEST(TrackEditingTest, RandomEditsUndoAndRedoExactly) {
  std::mt19937 random(11);
  TrackEditing editing(NewOvalTrack("Edited"), {});
  std::vector<EditedTrack> past{editing.track()}, future;
  std::uniform_int_distribution<int> what(0, 6);
  std::uniform_real_distribution<double> shift(-3, 3);
  for (int step = 0; step < 600; ++step) {
    const int count = static_cast<int>(editing.track().waypoints.size());
    const int index = std::uniform_int_distribution<int>(0, count - 1)(random);
    const Vector3d& w = editing.track().waypoints[static_cast<size_t>(index)];
    bool changed = false;
    switch (what(random)) {
      case 0:
        changed = editing.moveTo(index, w.x + shift(random), w.z + shift(random));
        break;
      case 1:
        changed = editing.raise(index, shift(random));
        break;
      case 2:
        changed = editing.insertAfter(index);
        break;
      case 3:
        changed = editing.remove(index);
        break;
      case 4: {
        const Vector3d& on = editing.check().line[static_cast<size_t>(step) % 50];
        changed = editing.insertAt(on.x + 0.1, on.z);
        break;
      }
      case 5:
        if (editing.undo()) {
          future.push_back(past.back());
          past.pop_back();
          ASSERT_TRUE(editing.track() == past.back()) << step;
        }
        continue;
      default:
        if (editing.redo()) {
          past.push_back(future.back());
          future.pop_back();
          ASSERT_TRUE(editing.track() == past.back()) << step;
        }
        continue;
    }
    // The fixed ends never move; each change is one step, and a change forgets the redo.
    ASSERT_EQ(editing.track().waypoints.front().x, 0.0);
    ASSERT_EQ(editing.track().waypoints.back().z, 0.0);
    if (changed) {
      past.push_back(editing.track());
      future.clear();
    }
    ASSERT_TRUE(editing.track() == past.back()) << step;
  }
  // Back to the start however far it went, as long as the steps reach.
  while (editing.undo()) past.pop_back();
  if (past.size() == 1) {
    EXPECT_TRUE(editing.track() == NewOvalTrack("Edited"));
    EXPECT_FALSE(editing.changed());
  }
}

TEST(TrackEditingTest, ADragIsOneUndoStepAndAtLeastAHundredStepsAreKept) {
  TrackEditing editing(NewOvalTrack("Drag"), {});
  editing.beginDrag();
  for (int i = 1; i <= 10; ++i) editing.moveTo(2, 18 + i * 0.1, -8);
  editing.endDrag();
  EXPECT_EQ(editing.undoSteps(), 1u);
  EXPECT_TRUE(editing.changed());
  editing.undo();
  EXPECT_FALSE(editing.changed());
  for (int i = 0; i < 150; ++i) editing.raise(3, 0.01);
  for (int i = 0; i < 150; ++i) ASSERT_TRUE(editing.undo()) << i;
  EXPECT_TRUE(editing.track() == NewOvalTrack("Drag"));
  EXPECT_FALSE(editing.moveTo(0, 5, 5));  // the start and the start grid stay
  EXPECT_FALSE(editing.moveTo(6, 5, 5));
}

// A figure of eight whose far leg crosses the start straight near x = 8.
EditedTrack Eight() {
  EditedTrack track = NewOvalTrack("Eight");
  track.waypoints = {{0, 0, 0}, {14, 0, 0}, {26, 0, -8},  {26, 0, -22}, {14, 0, -26}, {8, 0, -14},
                     {8, 0, 8}, {2, 0, 18}, {-12, 0, 16}, {-20, 0, 6},  {-8, 0, 0}};
  return track;
}

// Where the fault is marked must be near the place the test made wrong.
struct FaultCase {
  const char* what;
  EditedTrack start;
  std::function<void(TrackEditing&)> make;
  const char* reason;
  std::optional<Vector3d> near;  // none: a fault of the whole track
};

TEST(TrackEditingTest, EveryFaultIsReportedAtItsPlaceAndBlocksTheTrack) {
  const EditedTrack oval = NewOvalTrack("Faulty");
  const FaultCase cases[] = {
      {"crossing", Eight(), [](TrackEditing&) {}, "crosses itself", Vector3d(8, 0, 0)},
      {"tight bend", oval, [](TrackEditing& e) { e.moveTo(2, 10.3, 0.6); }, "tighter",
       Vector3d(10.3, 0, 0.6)},
      {"long piece", oval,
       [](TrackEditing& e) {
         e.setHalfWidth(0.2f);
         for (int i = 1; i <= 5; ++i)
           e.moveTo(i, e.track().waypoints[i].x * 6, e.track().waypoints[i].z * 6);
       },
       "too long", std::nullopt},
      {"empty name", oval, [](TrackEditing& e) { e.setName(""); }, "name is empty", {}},
      {"long name",
       oval,
       [](TrackEditing& e) { e.setName("A name far too long for it"); },
       "longer",
       {}},
      {"taken name", oval, [](TrackEditing& e) { e.setName("Sunny"); }, "another track", {}},
  };
  for (const FaultCase& c : cases) {
    TrackEditing editing(c.start, {"Sunny"});
    c.make(editing);
    ASSERT_FALSE(editing.check().good()) << c.what;
    const auto& faults = editing.check().faults;
    const auto fault = std::find_if(faults.begin(), faults.end(), [&](const EditorFault& f) {
      return f.reason.find(c.reason) != std::string::npos;
    });
    ASSERT_NE(fault, faults.end()) << c.what << ": " << faults.front().reason;
    if (c.near) {
      ASSERT_TRUE(fault->where) << c.what;
      EXPECT_LT(Distance(*fault->where, *c.near), 2.0) << c.what;
    } else if (std::string(c.what) == "long piece") {
      // On the line, where the next sample is further than the road is wide.
      const auto& line = editing.check().line;
      const auto at = std::find_if(line.begin(), line.end(), [&](const Vector3d& p) {
        return Distance(p, *fault->where) == 0;
      });
      ASSERT_NE(at + 1, line.end());
      EXPECT_GT(Distance(*at, *(at + 1)), 0.4);
    } else {
      EXPECT_FALSE(fault->where) << c.what;
    }
  }
  // The crossing lifted into a bridge is good.
  TrackEditing bridge(Eight(), {});
  bridge.raise(5, 2.5);
  bridge.raise(6, 2.5);
  EXPECT_TRUE(bridge.check().good()) << bridge.check().faults.front().reason;
}

TEST(TrackEditingTest, TargetsAreSavedOnlyWithTheRaceTheyWereSetOn) {
  EditorTargets targets;
  targets.openedHash = 1, targets.opened = {{{90, 80, 70}}, 65.0};
  targets.drove(2, 68);  // another race than the file's: its own time alone
  targets.drove(2, 69);
  const struct {
    uint64_t hash;
    TrackTargets saved;
  } cases[] = {{1, {{{90, 80, 70}}, 65.0}}, {2, {{}, 68.0}}, {3, {}}};
  for (const auto& c : cases) EXPECT_EQ(targets.forRace(c.hash), c.saved) << c.hash;
  targets.drove(1, 60);  // the file's own race, faster than its author: the better kept
  EXPECT_EQ(targets.forRace(1), (TrackTargets{{{90, 80, 70}}, 60.0}));
  EXPECT_FALSE(targets.forRace(2).author);  // one race's time at a time
  const std::string text = EditorFileText(NewOvalTrack("Oval"), targets.forRace(1));
  EXPECT_EQ(ParseTrackFile(text).content.targets, targets.forRace(1));
}

TEST(TrackEditingTest, NamesOfCopies) {
  EXPECT_EQ(CopyName("Sunny", {"Sunny", "Sunny 2"}), "Sunny 3");
  EXPECT_EQ(CopyName("Twenty characters ab", {}), "Twenty characters 2");
  EXPECT_EQ(CopyName("Caf\xC3\xA9 de la plage 123", {}), "Caf\xC3\xA9 de la plage 1 2");
}

TEST(TrackEditingTest, SavingNeverReplacesAnotherTracksFileButItsOwn) {
  testing_support::ScratchFolder scratch;
  const auto folder = PlayerTrackFolder();
  const TrackSaving first = SaveTrackText(folder, "My track", "one", {});
  const TrackSaving second = SaveTrackText(folder, "My track", "two", {});
  ASSERT_TRUE(first.saved) << first.error << second.error;
  ASSERT_TRUE(second.saved) << first.error << second.error;
  EXPECT_EQ(first.path, folder / "My%20track.track");
  EXPECT_EQ(second.path, folder / "My%20track-2.track");
  const TrackSaving again = SaveTrackText(folder, "Renamed", "three", first.path);
  EXPECT_EQ(again.path, first.path);
  EXPECT_EQ(testing_support::ReadFile(first.path), "three");
  EXPECT_EQ(testing_support::ReadFile(second.path), "two");
}

}  // namespace
