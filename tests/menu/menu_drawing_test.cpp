// What the three menu screens draw: the highlight frame, the fades, the track preview, and the
// car screen's arrows, background and name, read back from feedback and pixels.
#include <algorithm>
#include <array>
#include <cmath>

#include "assets/text_width.h"
#include "game/players.h"
#include "menu_fixture.h"
#include "race/ghost_choice.h"
#include "records/best_times.h"
#include "records/ghost_store.h"
#include "track/track_file.h"

namespace {

using menu_testing::MenuTest;
using testing_support::CaptureAll;

// Window position of a model-space point under the current matrices.
std::array<double, 2> Project(double x, double y) {
  GLdouble model[16], projection[16], wx, wy, wz;
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  gluProject(x, y, 0.0, model, projection, viewport, &wx, &wy, &wz);
  return {wx, wy};
}

TEST_F(MenuTest, HighlightFrameOutlinesTheChosenEntryAndPulses) {
  struct SelectionFrame frame;  // each component steps down and jumps back at exactly 0.2
  frame.red = 0.2f;
  frame.green = 0.2000001f;
  frame.pulse();
  EXPECT_EQ(frame.red, 1.0f);
  EXPECT_FLOAT_EQ(frame.green, 0.2000001f - 0.00008f);

  for (float entryY : {0.34f, -0.72f}) {
    SCOPED_TRACE(entryY);
    const auto drawn = CaptureAll(DrawMainMenu);
    ASSERT_EQ(drawn.lines.size(), 20u);  // five rectangles of four edges
    glLoadIdentity();                    // the top-right corner of the innermost outline
    glTranslatef(0.0f, 0.0f, -4.2f);
    glTranslatef(-0.01f, entryY, 1.1f);
    const auto corner = Project(0.8, 0.125);
    EXPECT_EQ(corner[1] > 300.0, entryY > 0);
    const auto& top = drawn.lines[0];
    EXPECT_NEAR(top[0].x, corner[0], 0.5);
    EXPECT_NEAR(top[0].y, corner[1], 0.5);
    EXPECT_NEAR(top[1].y, corner[1], 0.5);  // the top edge runs level to the left
    EXPECT_LT(top[1].x, top[0].x);
    // The outer rectangles grow round the same centre.
    EXPECT_GT(drawn.lines[16][0].x, top[0].x);
    EXPECT_GT(drawn.lines[16][0].y, top[0].y);
    // The size is back to the innermost rectangle after every frame.
    EXPECT_EQ(std::tuple(SelectionFrame.width, SelectionFrame.height), std::tuple(1.6f, 0.25f));
    if (entryY > 0) {
      // First corner in the fresh colour, second in (b, b, b) after one pulse; twenty pulses.
      EXPECT_EQ(top[0].r, 1.0f);
      EXPECT_NEAR(top[1].r, 1.0f - 0.00019f, 1e-6);
      EXPECT_NEAR(top[1].g, top[1].b, 1e-6);
      EXPECT_NEAR(SelectionFrame.red, 1.0f - 20 * 0.00035f, 1e-5);
    }
    KeyState[VK_DOWN] = true;
    MainMenuInput();
  }
}

TEST_F(MenuTest, BackgroundTintFadesPerFrameAndStartsAgain) {
  SpinAngle = 0.0f;
  const auto polygons = testing_support::CaptureFeedback(DrawMainMenu);
  ASSERT_FALSE(polygons.empty());
  EXPECT_EQ(std::tuple(polygons[0].vertices[0].r, polygons[0].vertices[0].b),
            std::tuple(1.0f, 1.0f));
  EXPECT_FLOAT_EQ(MenuTint.red, 1.0f - 0.0005f);  // untinted first, then faded
  EXPECT_FLOAT_EQ(MenuTint.green, 1.0f - 0.00007f);
  EXPECT_FLOAT_EQ(MenuTint.blue, 1.0f - 0.00033f);
  EXPECT_FLOAT_EQ(SpinAngle, 0.1f);
  MenuTint = {0.6f, 0.85f, 0.7f};  // red at its floor starts again; the others go on
  DrawCarSelection();
  EXPECT_EQ(MenuTint.red, 1.0f);
  EXPECT_FLOAT_EQ(MenuTint.green, 0.85f - 0.0035f);
  EXPECT_FLOAT_EQ(MenuTint.blue, 0.7f - 0.0033f);
  EXPECT_FLOAT_EQ(SpinAngle, 0.2f);
  DrawTrackSelection();
  EXPECT_FLOAT_EQ(SpinAngle, 0.202f);
}

TEST_F(MenuTest, TrackPreviewDrawsTheCentreLineAndShiftsTheSecondTrack) {
  Track& spare = TrackTable[TrackTableSize - 1];  // a small ring, in view wherever placed
  spare.curve.points.clear();
  for (int i = 0; i <= 12; ++i) {
    spare.curve.points.emplace_back(5 * std::cos(i * 0.5236), 0, 5 * std::sin(i * 0.5236));
  }
  SelectedTrack = &spare;
  testing_support::Feedback drawn[2];
  for (int16_t index : {0, 1}) {
    SpinAngle = 0.0f;
    SelectedTrackIndex = index;
    drawn[index] = CaptureAll(DrawTrackSelection);
    ASSERT_EQ(drawn[index].points.size(), 13u);
  }
  EXPECT_EQ(drawn[0].lines.size(), 12u);
  for (size_t i = 0; i < 13; ++i) {
    EXPECT_GT(drawn[1].points[i].x - drawn[0].points[i].x, 100.0f) << i;
    EXPECT_NEAR(drawn[1].points[i].y, drawn[0].points[i].y, 0.01f) << i;
    EXPECT_EQ(drawn[1].points[i].b, 0.0f);  // yellow
  }
  // A centre line of one point: no segment, one point; an empty one: neither.
  spare.curve.points = {Vector3d(0, 0, 0)};
  drawn[0] = CaptureAll(DrawTrackSelection);
  EXPECT_TRUE(drawn[0].lines.empty());
  EXPECT_EQ(drawn[0].points.size(), 1);
  spare.curve.points.clear();
  drawn[0] = CaptureAll(DrawTrackSelection);
  EXPECT_TRUE(drawn[0].lines.empty());
  EXPECT_TRUE(drawn[0].points.empty());
}

TEST_F(MenuTest, AFileTracksPreviewIsCentredAndScaledToTheBuiltInSize) {
  // A ring of radius 300 far from the origin, read from a file, shows as a ring of radius 8
  // (16 units across) at the origin.
  Track& spare = TrackTable[TrackTableSize - 1];
  const auto ring = [&](double radius, double x, double z) {
    spare.curve.points.clear();
    for (int i = 0; i <= 12; ++i) {
      spare.curve.points.emplace_back(x + radius * std::cos(i * 0.5236), x,
                                      z + radius * std::sin(i * 0.5236));
    }
  };
  SelectedTrack = &spare;
  SelectedTrackIndex = 3;
  SpinAngle = 0.0f;
  ring(8, 0, 0);
  const testing_support::Feedback small = CaptureAll(DrawTrackSelection);
  ring(300, 1000, 1000);
  spare.fromFile = true;
  SpinAngle = 0.0f;
  const testing_support::Feedback fitted = CaptureAll(DrawTrackSelection);
  spare.fromFile = false;
  spare.curve.points.clear();
  ASSERT_EQ(small.points.size(), 13u);
  ASSERT_EQ(fitted.points.size(), 13u);
  for (size_t i = 0; i < 13; ++i) {
    EXPECT_NEAR(fitted.points[i].x, small.points[i].x, 0.5f) << i;
    EXPECT_NEAR(fitted.points[i].y, small.points[i].y, 0.5f) << i;
  }
}

// Every name a file may give shows whole, facing the player: the shipped tracks' long names,
// and the widest one the file reader accepts.
TEST_F(MenuTest, AFileTracksNameFacingThePlayerLiesWithinTheWindow) {
  std::string widest = "W";
  while (TextWidth(widest + "W") <= TrackMaxNameWidth) widest += "W";
  ASSERT_GT(widest.size(), 4u);
  Track& spare = TrackTable[TrackTableSize - 1];
  SelectedTrack = &spare;
  SelectedTrackIndex = 3;
  spare.fromFile = true;
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  for (const std::string& name : {std::string("Longshore"), std::string("Overpass"), widest}) {
    spare.name = name;
    SpinAngle = 0.0f;  // the name faces the player
    float left = 1e9f, right = -1e9f;
    for (const auto& polygon : CaptureAll(DrawTrackSelection).polygons) {
      for (const auto& v : polygon.vertices) {
        if (v.r != 0.5f || v.g != 0.5f || v.b != 0.0f) continue;  // the name's colour
        left = std::min(left, v.x);
        right = std::max(right, v.x);
      }
    }
    EXPECT_GT(left, viewport[0]) << name;
    EXPECT_LT(right, viewport[0] + viewport[2]) << name;
    EXPECT_GT(right - left, viewport[2] * 0.2f) << name;  // drawn, at its full size
  }
  spare.fromFile = false;
  spare.name = "Happy";
}

TEST_F(MenuTest, WithoutDataFilesTheCarScreenShowsArrowsBackgroundAndName) {
  EXPECT_EQ(MenuMainTexture + MenuCarTexture + MenuTrackTexture, 0u);
  for (const Car& car : CarRoster) ASSERT_EQ(car.model.displayList, 0u);
  SpinAngle = 0.0f;
  DrawCarSelection();
  EXPECT_EQ(pixel(700, 450), (std::array<unsigned char, 3>{255, 255, 255}));  // background
  EXPECT_EQ(pixel(219, 330), (std::array<unsigned char, 3>{0, 0, 0}));        // no car
  glLoadIdentity();
  glTranslatef(0.7f, 0.25f, -4.2f);
  glTranslatef(-0.09f, -0.59f, 1.2f);
  glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
  glScalef(0.05f, 0.05f, 0.05f);
  for (auto centre : {Project(0.0, -1.0 / 3), Project(0.0, -8.0 / 3)}) {
    auto arrow = pixel(static_cast<int>(centre[0]), static_cast<int>(centre[1]));
    EXPECT_LT(arrow[0], 200) << "arrow tints red, green and blue apart";
    EXPECT_GT(arrow[0] + arrow[1] + arrow[2], 60);
  }
  // The name in teal letters centred under the car, on the bottom of the window.
  const auto image = framebuffer();
  int teal = 0, tealOutside = 0;
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      const unsigned char* p = &image[(y * 800 + x) * 3];
      if (p[0] < 20 && p[1] > 100 && p[1] < 150 && p[2] > 100 && p[2] < 150) {
        teal += x > 250 && x < 550 && y < 130;
        tealOutside += y > 300;
      }
    }
  }
  EXPECT_GT(teal, 200);
  EXPECT_EQ(tealOutside, 0);
  Players[0].car().name = "%s%s%n%s";  // a name is drawn as text, never read as a format
  DrawCarSelection();
}

}  // namespace

TEST_F(MenuTest, BestTimeLineNeverTouchesTheNameOrArrowsNorCoversThePreviewAtAnyAngle) {
  for (int track = 0; track < 3; ++track) {
    SelectedTrackIndex = static_cast<int16_t>(track);
    SelectedTrack = &TrackTable[track];
    GameBestTimes.recordFinish({SelectedTrack->name, CarRoster[0].name, 9999, 0});
    LineMarks marks;
    // Every 5 degrees of the name's turn (12 spin units), then every 15 of the preview's.
    for (int i = 0; i < 96; ++i) {
      const float spin = i < 72 ? i / 6.0f : 15.3f * (i - 72);
      const auto without = trackSelectionFrame(spin, &CarRoster[1]);
      const auto with = trackSelectionFrame(spin, &CarRoster[0]);
      if (i == 0) {  // the grey line for the car with a time only, in the band at the bottom
        EXPECT_EQ(countColour(without, {204, 204, 204}, 0, 0, 800, 60), 0);
        EXPECT_GT(countColour(with, {204, 204, 204}, 0, 0, 800, 60), 200);
      }
      addLineMarks(with, without, 0, 60, marks);
    }
    EXPECT_GT(marks.pixels, 100 * 96) << SelectedTrack->name;
    EXPECT_EQ(marks.touching, 0) << SelectedTrack->name;
    EXPECT_EQ(marks.covering, 0) << SelectedTrack->name;
    EXPECT_EQ(marks.outsideBand, 0) << SelectedTrack->name;
  }
}

TEST_F(MenuTest, KeyHintOnlyWithABestRaceInTheTopLeftCornerOnBlackClearOfTheNameAndPicture) {
  // No best race to watch: no hint.
  ChosenGhost = GhostChoice();
  MenuTint = {1.0f, 1.0f, 1.0f};
  DrawTrackSelection();
  EXPECT_EQ(countColour(framebuffer(), {204, 204, 204}, 0, 0, 800, 600), 0);
  GhostPath path;
  path.poses.resize(60);
  path.lapSteps = {30, 60};
  // Tint held white: the untextured picture is white. In the corner's box only the hint's grey,
  // black, and the preview's lines and points (drawn over everything) may show.
  for (int track = 0; track < 3; ++track) {
    ASSERT_TRUE(GameGhosts.keep(TrackTable[track].name, Players[0].car().name, path));
    ChosenGhost.forget();
    SelectedTrackIndex = static_cast<int16_t>(track);
    SelectedTrack = &TrackTable[track];
    int hint = 0, other = 0;
    for (int i = 0; i < 72; ++i) {  // the name's whole turn, every 5 degrees
      SpinAngle = i / 6.0f;
      MenuTint = {1.0f, 1.0f, 1.0f};
      DrawTrackSelection();
      glFinish();
      const auto pixels = framebuffer();
      const int inBox = countColour(pixels, {204, 204, 204}, 0, 555, 320, 600);
      hint += inBox;
      EXPECT_EQ(countColour(pixels, {204, 204, 204}), inBox);
      for (int y = 555; y < 600; ++y)
        for (int x = 0; x < 320; ++x) {
          const unsigned char* p = &pixels[(size_t(y) * 800 + x) * 3];
          const int rgb = p[0] << 16 | p[1] << 8 | p[2];
          other += rgb != 0 && rgb != 0xCCCCCC && rgb != 0x9999FF && rgb != 0xFFFF00;
        }
    }
    EXPECT_GT(hint, 72 * 300) << SelectedTrack->name;
    EXPECT_EQ(other, 0) << SelectedTrack->name;
  }
}
