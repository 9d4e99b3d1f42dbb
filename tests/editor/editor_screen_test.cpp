// The editor's screens in the headless context: its track tried by the autopilot to the finish
// with nothing recorded, its fault marks drawn where the model places them, its texts shown from
// textures as drawn, no texture left behind by saving, the mouse and keys.
#include <gtest/gtest.h>

#include "editor/editor_screen.h"
#include "editor/editor_session.h"
#include "editor/track_saving.h"
#include "formats/bmp_writer.h"
#include "formats/ms3d_writer.h"
#include "game/players.h"
#include "platform/mouse.h"
#include "platform/typed_text.h"
#include "race/race_fixture.h"
#include "records/best_times.h"
#include "support/autopilot.h"
#include "support/model_meshes.h"
#include "support/scratch_folder.h"
#include "track/file_tracks.h"
#include "track/track_definitions.h"
#include "track/track_identity.h"

namespace {

using race_testing::RaceTest;

constexpr int KeyM = 'M', KeyS = 'S', KeyT = 'T', KeyY = 'Y', KeyZ = 'Z';

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
    KeyState[KeyT] = true;
    TrackEditorInput();
    ASSERT_EQ(ScreenState, EditorDriveScreenState);
    const auto report = testing_support::DriveRace(
        calendar, testing_support::DrivingPlan::FollowRoad, 60000, 60, [] { FollowEditorDrive(); });
    EXPECT_EQ(report.state, Race::Finished) << track.name;
    EXPECT_GT(report.health, 0.0f);
    EXPECT_FALSE(
        GameBestTimes.best(TrackRecordsName(Editor.editing->check().content), CarRoster[0].name));
    // The maker's finish is the author's time a save writes with the track.
    const uint64_t hash = TrackHash(ContentOf(Editor.editing->track()));
    EXPECT_EQ(Editor.targets.forRace(hash).author, static_cast<double>(report.raceTime));
    // The closing message, then the map with the path driven.
    for (int i = 0; i < 200 && ScreenState != EditorScreenState; ++i) FollowEditorDrive();
    EXPECT_EQ(ScreenState, EditorScreenState);
    EXPECT_GT(Editor.driven.size(), 100u);
    // Ctrl+S: the file saved holds that time.
    KeyState[VK_CONTROL] = KeyState[KeyS] = true;
    TrackEditorInput();
    KeyState[VK_CONTROL] = false;
    ASSERT_TRUE(Editor.own);
    EXPECT_EQ(ParseTrackFile(testing_support::ReadFile(*Editor.own)).content.targets.author,
              static_cast<double>(report.raceTime));
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

std::vector<unsigned char> Frame() {
  DrawTrackEditor();
  GLint v[4];
  glGetIntegerv(GL_VIEWPORT, v);
  std::vector<unsigned char> pixels(static_cast<size_t>(v[2]) * v[3] * 4);
  glReadPixels(v[0], v[1], v[2], v[3], GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

TEST_F(EditorScreenTest, TextsShownFromTexturesLookExactlyAsDrawnAndFollowChanges) {
  open(Bridged());
  GLint window[4];
  glGetIntegerv(GL_VIEWPORT, window);
  // As opened; another waypoint chosen (its line changes); the properties open; leaving asked;
  // and in a picture placed off the window's corner, as full screen centres it.
  const std::vector<int> keys = {0, VK_TAB, VK_RETURN, VK_ESCAPE, -1};
  for (int key : keys) {
    SCOPED_TRACE(key);
    if (key == VK_ESCAPE) Editor.editing->setLaps(3), Editor.property.reset();
    if (key == -1) glViewport(window[0] + 37, window[1] + 11, window[2] - 60, window[3] - 20);
    KeyState[std::max(key, 0)] = key > 0;
    TrackEditorInput();
    ReleaseEditorPictures();
    const auto drawn = Frame();  // every text drawn letter by letter
    EXPECT_EQ(EditorTextTextureCount(), 0u);
    Frame(), Frame();
    EXPECT_EQ(Frame(), drawn);
    EXPECT_GE(EditorTextTextureCount(), 5u);
  }
  glViewport(window[0], window[1], window[2], window[3]);
}

int LiveTextures() {
  GLuint last = 0;
  glGenTextures(1, &last);  // names are handed out in order: none above this one
  int live = 0;
  for (GLuint name = 1; name < last; ++name) live += glIsTexture(name);
  glDeleteTextures(1, &last);
  return live;
}

TEST_F(EditorScreenTest, RacingEditingAndSavingAgainLeaveNoTextureBehind) {
  const auto data = scratch_.path() / "Data";
  for (const char* picture : {"Road.bmp", "border.bmp", "Sky.bmp", "skin.bmp"})
    formats::WriteBmpFile((data / picture).string(), formats::Picture(8, 8, {200, 90, 40}));
  formats::WriteMs3dFile((data / "bannerStart.ms3d").string(),
                         testing_support::CubeMesh("./skin.bmp"));
  testing_support::WriteFile(PlayerTrackFolder() / "Mine.track",
                             EditorFileText(NewOvalTrack("Mine")));
  ForgetTrackFiles();
  DefineFileTracks();
  ASSERT_EQ(TrackTable[TrackCount - 1].name, "Mine");
  std::vector<int> live;
  for (int round = 0; round < 3; ++round) {
    startRace(0, TrackCount - 1);  // its pictures and banner loaded
    OpenTrackEditor(TrackCount - 1);
    for (int key : {VK_TAB, VK_PRIOR, KeyT}) KeyState[key] = true, TrackEditorInput();
    ASSERT_EQ(ScreenState, EditorDriveScreenState);
    KeyState[VK_ESCAPE] = true;
    EditorDriveInput();
    Frame();
    KeyState[VK_CONTROL] = KeyState[KeyS] = true;
    TrackEditorInput();
    KeyState[VK_CONTROL] = false;
    KeyState[VK_ESCAPE] = true;
    TrackEditorInput();
    ASSERT_EQ(ScreenState, screen::TrackSelection);
    live.push_back(LiveTextures());
  }
  EXPECT_EQ(live[1], live[0]);
  EXPECT_EQ(live[2], live[0]);
  TrackCount = BuiltInTrackCount;
}

TEST_F(EditorScreenTest, TheNameTakesTypedTextInAnyScriptAndSaysWhenItNoLongerFits) {
  open(NewOvalTrack("Oval"));
  AppendTypedText("typed before");
  KeyState[VK_RETURN] = true;
  TrackEditorInput();
  ASSERT_EQ(Editor.property, Property::Name);
  KeyState[KeyM] = true;  // the key that typed it is not the volume's
  AppendTypedText(" C\xC3\xB4t\xC3\xA9\t");
  DrawTrackEditor();
  EXPECT_FALSE(KeyState[KeyM]);
  EXPECT_EQ(Editor.editing->track().name, "Oval C\xC3\xB4t\xC3\xA9");
  KeyState[VK_BACK] = true;
  DrawTrackEditor();
  EXPECT_EQ(Editor.editing->track().name, "Oval C\xC3\xB4t");
  EXPECT_TRUE(Editor.editing->check().good());
  AppendTypedText("WWWWWWWW");
  DrawTrackEditor();
  ASSERT_FALSE(Editor.editing->check().good());
  EXPECT_NE(Editor.editing->check().faults[0].reason.find("wider"), std::string::npos);
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
  KeyState[VK_CONTROL] = KeyState[KeyZ] = true;
  TrackEditorInput();
  KeyState[VK_CONTROL] = false;
  EXPECT_EQ(Editor.editing->track().waypoints[2].x, w.x);
  // Escape with a change asks first; N stays, and Y leaves.
  KeyState[VK_PRIOR] = true;
  TrackEditorInput();
  KeyState[VK_ESCAPE] = true;
  TrackEditorInput();
  EXPECT_TRUE(Editor.askingToLeave);
  KeyState[KeyY] = true;
  TrackEditorInput();
  EXPECT_EQ(ScreenState, 2);
}

}  // namespace
