// The editor's screens in the headless context: its track tried by the autopilot to the finish
// with nothing recorded, its fault marks drawn where the model places them, the mouse and keys.
#include <gtest/gtest.h>

#include "editor/editor_screen.h"
#include "editor/editor_session.h"
#include "game/players.h"
#include "platform/mouse.h"
#include "race/race_fixture.h"
#include "records/best_times.h"
#include "support/autopilot.h"
#include "track/track_identity.h"

namespace {

using race_testing::RaceTest;

EditedTrack Bridged() {
  EditedTrack track = NewOvalTrack("Bridge");
  track.waypoints = {{0, 0, 0}, {14, 0, 0}, {26, 0, -8},  {26, 1, -22}, {14, 2, -26}, {8, 4, -14},
                     {8, 4, 8}, {2, 2, 18}, {-12, 1, 16}, {-20, 0, 6},  {-8, 0, 0}};
  return track;
}

class EditorScreenTest : public RaceTest {
 protected:
  void SetUp() override {
    RaceTest::SetUp();
    useGameProjection();
    Players[0].carIndex = 0;
    SelectedTrack = &TrackTable[0];
    SelectedTrackIndex = 0;
    ClearMouseState();
  }
  void open(const EditedTrack& track) {
    OpenNewTrackEditor();
    Editor.editing.emplace(track, std::vector<std::string>{});
    DrawTrackEditor();  // fits the view
  }
};

TEST_F(EditorScreenTest, AGoodTrackIsDrivenToTheFinishAndNothingIsKept) {
  for (const EditedTrack& track : {NewOvalTrack("Oval"), Bridged()}) {
    open(track);
    ASSERT_TRUE(Editor.editing->check().good()) << Editor.editing->check().faults[0].reason;
    KeyState['T'] = true;
    TrackEditorInput();
    ASSERT_EQ(ScreenState, EditorDriveScreenState);
    const auto report = testing_support::DriveRace(
        calendar, testing_support::DrivingPlan::FollowRoad, 60000, 60, [] { FollowEditorDrive(); });
    EXPECT_EQ(report.state, Race::Finished) << track.name;
    EXPECT_GT(report.health, 0.0f);
    EXPECT_FALSE(
        GameBestTimes.best(TrackRecordsName(Editor.editing->check().content), CarRoster[0].name));
    // The closing message, then the map with the path driven.
    for (int i = 0; i < 200 && ScreenState != EditorScreenState; ++i) FollowEditorDrive();
    EXPECT_EQ(ScreenState, EditorScreenState);
    EXPECT_GT(Editor.driven.size(), 100u);
  }
}

TEST_F(EditorScreenTest, FaultMarksAreDrawnWhereTheModelPlacesThem) {
  EditedTrack crossing = Bridged();
  for (Vector3d& w : crossing.waypoints) w.y = 0;
  open(crossing);
  const auto& faults = Editor.editing->check().faults;
  ASSERT_FALSE(faults.empty());
  ASSERT_TRUE(faults[0].where);
  DrawTrackEditor();
  const int x = static_cast<int>(Editor.view.screenX(faults[0].where->x));
  const int y = static_cast<int>(Editor.view.screenY(faults[0].where->z));
  std::vector<unsigned char> pixels(32 * 32 * 4);
  glReadPixels(x - 16, y - 16, 32, 32, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  int red = 0;
  for (size_t i = 0; i < pixels.size(); i += 4)
    red += pixels[i] > 200 && pixels[i + 1] < 80 && pixels[i + 2] < 80;
  EXPECT_GT(red, 20);
}

TEST_F(EditorScreenTest, TheMouseDragsAWaypointAndCtrlZTakesItBack) {
  open(NewOvalTrack("Oval"));
  const Vector3d w = Editor.editing->track().waypoints[2];
  Mouse.x = static_cast<int>(Editor.view.screenX(w.x));
  Mouse.y = static_cast<int>(Editor.view.screenY(w.z));
  Mouse.pressed[MouseLeft] = Mouse.held[MouseLeft] = true;
  TrackEditorInput();
  Mouse.x += 40;
  TrackEditorInput();
  Mouse.x += 40;
  TrackEditorInput();
  Mouse.held[MouseLeft] = false;
  TrackEditorInput();
  EXPECT_NEAR(Editor.editing->track().waypoints[2].x, w.x + 80 / Editor.view.scale,
              1 / Editor.view.scale);
  KeyState[VK_CONTROL] = KeyState['Z'] = true;
  TrackEditorInput();
  KeyState[VK_CONTROL] = false;
  EXPECT_EQ(Editor.editing->track().waypoints[2].x, w.x);
  // Escape with a change asks first; N stays, and Y leaves.
  KeyState[VK_PRIOR] = true;
  TrackEditorInput();
  KeyState[VK_ESCAPE] = true;
  TrackEditorInput();
  EXPECT_TRUE(Editor.askingToLeave);
  KeyState['Y'] = true;
  TrackEditorInput();
  EXPECT_EQ(ScreenState, 2);
}

}  // namespace
