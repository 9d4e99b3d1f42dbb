// The track record's constructed values, the three built-in tracks and their loading.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/bmp_writer.h"
#include "support/gl_fixture.h"
#include "track/track.h"
#include "track/track_definitions.h"

namespace {

void ExpectConstructedValues(const Track& t) {
  EXPECT_EQ(t.name, "Happy");
  EXPECT_EQ(t.curve.steps, 23);
  EXPECT_TRUE(t.curve.controlPoints.empty() && t.curve.points.empty());
  EXPECT_EQ(t.halfWidth, 0.7f);
  EXPECT_EQ(t.laps, 2);
  EXPECT_EQ(t.roadList + t.roadTexture + t.borderTexture + t.skyTexture, 0u);
  EXPECT_EQ(t.banner.displayList, 0u);
  EXPECT_EQ(t.banner.vertexCount(), 0);
}

double Distance(const Vector3d& a, const Vector3d& b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                   (a.z - b.z) * (a.z - b.z));
}

TEST(TrackTest, FreshRecordHasConstructedValues) {
  Track track;
  ExpectConstructedValues(track);
}

TEST(BuiltInTrackCurveTest, ShapesOfTheThreeTracks) {
  struct Expected {
    size_t controlPoints, points;
    double length;
  } expected[] = {{44, 481, 96.4}, {48, 521, 138.9}, {44, 481, 103.8}};
  for (int index = 0; index < BuiltInTrackCount; ++index) {
    SCOPED_TRACE(index);
    const TrackCurve curve = BuiltInTrackCurve(index);
    const std::vector<Vector3d>& p = curve.points;
    EXPECT_EQ(curve.steps, 40);
    EXPECT_EQ(curve.controlPoints.size(), expected[index].controlPoints);
    ASSERT_EQ(p.size(), expected[index].points);
    for (const Vector3d& end : {p.front(), p.back()}) {
      EXPECT_EQ(end.x, 0.0);
      EXPECT_EQ(end.y, 0.0);
      EXPECT_EQ(end.z, 0.0);
    }
    double length = 0, shortest = 1e9, longest = 0;
    for (size_t i = 0; i + 1 < p.size(); ++i) {
      const double step = Distance(p[i], p[i + 1]);
      length += step;
      shortest = std::min(shortest, step);
      longest = std::max(longest, step);
      EXPECT_EQ(p[i].y, 0.0);
    }
    EXPECT_NEAR(length, expected[index].length, 0.05);
    EXPECT_GT(shortest, 0.045);
    EXPECT_LT(longest, 1.0);
    // The closing segment arrives along the x axis from -x.
    const Vector3d& last = p[p.size() - 2];
    EXPECT_GT(-last.x, 0.075);
    EXPECT_LT(-last.x, 0.077);
    EXPECT_NEAR(last.z, 0.0, 1e-4);
  }
  EXPECT_NEAR(BuiltInTrackCurve(0).points[1].x, 0.0787, 5e-5);
  EXPECT_TRUE(BuiltInTrackCurve(3).points.empty());
  EXPECT_TRUE(BuiltInTrackCurve(-1).points.empty());
}

// Runs DefineTracks in a scratch folder that holds only the given Data/ bitmaps.
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
  void writeBitmap(const std::string& name) {
    ASSERT_TRUE(formats::WriteBmpFile("Data/" + name, formats::Picture(2, 2, {200, 10, 10})));
  }
  std::filesystem::path previous_, folder_;
};

TEST_F(DefineTracksTest, FillsFirstThreeEntriesAndLeavesTheRest) {
  writeBitmap("border.bmp");
  writeBitmap("Road2.bmp");
  DefineTracks();
  DefineTracks();  // a second run (after a display-mode toggle) rebuilds the same lines
  const char* names[] = {"Sunny", "BlueSky", "Yello"};
  const size_t counts[] = {481, 521, 481};
  for (int index = 0; index < BuiltInTrackCount; ++index) {
    const Track& track = TrackTable[index];
    EXPECT_EQ(track.name, names[index]);
    EXPECT_EQ(track.curve.steps, 40);
    EXPECT_EQ(track.curve.points.size(), counts[index]);
    EXPECT_EQ(track.halfWidth, 0.7f);
    EXPECT_EQ(track.laps, 2);
    EXPECT_EQ(track.banner.displayList, 0u);  // no banner files here
    EXPECT_EQ(track.skyTexture, 0u);
  }
  // "Data/Road.bmp" is missing: both tracks that use it go untextured, nothing else changes.
  EXPECT_EQ(TrackTable[0].roadTexture, 0u);
  EXPECT_EQ(TrackTable[1].roadTexture, 0u);
  EXPECT_NE(TrackTable[0].borderTexture, 0u);
  EXPECT_EQ(TrackTable[1].borderTexture, 0u);
  EXPECT_NE(TrackTable[2].roadTexture, 0u);
  for (int index = BuiltInTrackCount; index < TrackTableSize; ++index) {
    SCOPED_TRACE(index);
    ExpectConstructedValues(TrackTable[index]);
  }
}

}  // namespace
