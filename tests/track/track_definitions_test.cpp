// The three built-in tracks, their loading into the track table and the entries left alone.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "formats/bmp_writer.h"
#include "support/gl_fixture.h"
#include "track/track.h"
#include "track/track_definitions.h"

namespace {

// Runs in a scratch folder whose Data/ holds only the bitmaps a test writes.
class DefineTracksTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    previous_ = std::filesystem::current_path();
    folder_ = std::filesystem::temp_directory_path() / ("tracks_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_ / "Data");
    std::filesystem::current_path(folder_);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
  }
  std::filesystem::path previous_, folder_;
};

TEST_F(DefineTracksTest, ShapesAndFilesOfTheThreeTracksAndTheEntriesLeftAlone) {
  for (const char* name : {"Data/border.bmp", "Data/Road2.bmp"}) {
    ASSERT_TRUE(formats::WriteBmpFile(name, formats::Picture(2, 2, {200, 10, 10})));
  }
  DefineTracks();
  DefineTracks();  // again after a display-mode toggle: the lines are rebuilt, not appended
  struct Expected {
    const char* name;
    size_t controlPoints, points;
    double length;
  } expected[] = {{"Sunny", 44, 481, 96.4}, {"BlueSky", 48, 521, 138.9}, {"Yello", 44, 481, 103.8}};
  for (int index = 0; index < BuiltInTrackCount; ++index) {
    SCOPED_TRACE(index);
    const Track& track = TrackTable[index];
    const std::vector<Vector3d>& p = track.curve.points;
    EXPECT_EQ(track.name, expected[index].name);
    EXPECT_TRUE(track.curve.steps == 40 && track.halfWidth == 0.7f && track.laps == 2);
    EXPECT_EQ(track.banner.displayList + track.skyTexture, 0u);  // no banner or sky files
    EXPECT_EQ(track.curve.controlPoints.size(), expected[index].controlPoints);
    ASSERT_EQ(p.size(), expected[index].points);
    for (const Vector3d& end : {p.front(), p.back()}) {
      EXPECT_TRUE(end.x == 0.0 && end.y == 0.0 && end.z == 0.0);
    }
    double length = 0, shortest = 1e9, longest = 0;
    for (size_t i = 0; i + 1 < p.size(); ++i) {
      const double step = std::hypot(p[i + 1].x - p[i].x, p[i + 1].y - p[i].y, p[i + 1].z - p[i].z);
      length += step;
      shortest = std::min(shortest, step);
      longest = std::max(longest, step);
      EXPECT_EQ(p[i].y, 0.0);
    }
    EXPECT_NEAR(length, expected[index].length, 0.05);
    EXPECT_TRUE(shortest > 0.045 && longest < 1.0) << shortest << " to " << longest;
    // The closing segment arrives along the x axis from -x.
    const Vector3d& last = p[p.size() - 2];
    EXPECT_TRUE(-last.x > 0.075 && -last.x < 0.077) << last.x;
    EXPECT_NEAR(last.z, 0.0, 1e-4);
  }
  EXPECT_TRUE(BuiltInTrackCurve(3).points.empty() && BuiltInTrackCurve(-1).points.empty());
  // "Data/Road.bmp" is missing: both tracks that use it go untextured, nothing else changes.
  EXPECT_EQ(TrackTable[0].roadTexture + TrackTable[1].roadTexture, 0u);
  EXPECT_NE(TrackTable[0].borderTexture, 0u);
  EXPECT_EQ(TrackTable[1].borderTexture, 0u);
  EXPECT_NE(TrackTable[2].roadTexture, 0u);
  for (int index = BuiltInTrackCount; index < TrackTableSize; ++index) {
    SCOPED_TRACE(index);
    const Track& t = TrackTable[index];  // as constructed
    EXPECT_EQ(t.name, "Happy");
    EXPECT_EQ(t.curve.steps, 23);
    EXPECT_TRUE(t.curve.controlPoints.empty() && t.curve.points.empty());
    EXPECT_TRUE(t.halfWidth == 0.7f && t.laps == 2);
    EXPECT_EQ(t.roadList + t.roadTexture + t.borderTexture + t.skyTexture, 0u);
    EXPECT_TRUE(t.banner.displayList == 0 && t.banner.vertexCount() == 0);
  }
}

}  // namespace
