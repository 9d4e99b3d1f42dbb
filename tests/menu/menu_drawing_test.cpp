// What the three menu screens draw: the highlight frame, the fades, the track preview, and the
// car screen's arrows, background and name, read back from feedback and pixels.
#include <array>
#include <cmath>

#include "menu/car_selection.h"
#include "menu/track_selection.h"
#include "menu_fixture.h"
#include "track/track.h"

namespace {

using menu_testing::CapturePrimitives;
using menu_testing::MenuTest;

// Window position of a model-space point under the current matrices.
std::array<double, 2> Project(double x, double y, double z) {
  GLdouble model[16], projection[16], wx, wy, wz;
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz);
  return {wx, wy};
}

// Window position of the top-right corner of the innermost outline with the frame at `y`.
std::array<double, 2> InnerCorner(float y) {
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -4.2f);
  glTranslatef(-0.01f, y, 1.1f);
  return Project(0.8, 0.125, 0.0);
}

TEST(SelectionFramePulse, EachComponentStepsDownAndJumpsBackAtPointTwo) {
  struct SelectionFrame frame;
  frame.red = 0.2f;
  frame.green = 0.2000001f;
  frame.blue = 0.5f;
  frame.pulse();
  EXPECT_EQ(frame.red, 1.0f);
  EXPECT_FLOAT_EQ(frame.green, 0.2000001f - 0.00008f);
  EXPECT_FLOAT_EQ(frame.blue, 0.5f - 0.00019f);
}

TEST_F(MenuTest, HighlightFrameOutlinesTheChosenEntry) {
  setUpGame();
  auto drawn = CapturePrimitives(DrawMainMenu);
  ASSERT_EQ(drawn.lines.size(), 20u);  // five rectangles of four edges
  const auto start = InnerCorner(0.34f);
  const auto& top = drawn.lines[0];
  EXPECT_NEAR(top[0].x, start[0], 0.5);
  EXPECT_NEAR(top[0].y, start[1], 0.5);
  EXPECT_NEAR(top[1].y, start[1], 0.5);  // the top edge runs level to the left
  EXPECT_LT(top[1].x, top[0].x);
  // First corner in the fresh colour, second in (b, b, b) after one pulse.
  EXPECT_EQ(top[0].r, 1.0f);
  EXPECT_NEAR(top[1].r, 1.0f - 0.00019f, 1e-6);
  EXPECT_NEAR(top[1].g, top[1].b, 1e-6);
  // The outer rectangles grow round the same centre.
  EXPECT_GT(drawn.lines[16][0].x, top[0].x);
  EXPECT_GT(drawn.lines[16][0].y, top[0].y);

  // Twenty pulses per frame; the size is back to the innermost rectangle.
  EXPECT_NEAR(SelectionFrame.red, 1.0f - 20 * 0.00035f, 1e-5);
  EXPECT_FLOAT_EQ(SelectionFrame.width, 1.6f);
  EXPECT_FLOAT_EQ(SelectionFrame.height, 0.25f);

  KeyState[VK_DOWN] = true;
  MainMenuInput();
  drawn = CapturePrimitives(DrawMainMenu);
  const auto quit = InnerCorner(-0.72f);
  EXPECT_NEAR(drawn.lines[0][0].x, quit[0], 0.5);
  EXPECT_NEAR(drawn.lines[0][0].y, quit[1], 0.5);
  EXPECT_LT(quit[1], 300.0);
  EXPECT_GT(start[1], 300.0);
  EXPECT_FLOAT_EQ(SelectionFrame.width, 1.6f);
  EXPECT_FLOAT_EQ(SelectionFrame.height, 0.25f);
}

TEST_F(MenuTest, BackgroundTintFadesPerFrameAndStartsAgain) {
  setUpGame();
  SpinAngle = 0.0f;
  auto polygons = testing_support::CaptureFeedback(DrawMainMenu);
  ASSERT_FALSE(polygons.empty());
  EXPECT_EQ(polygons[0].vertices[0].r, 1.0f);  // first frame untinted
  EXPECT_EQ(polygons[0].vertices[0].b, 1.0f);
  EXPECT_FLOAT_EQ(MenuTint.red, 1.0f - 0.0005f);
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
  setUpGame();
  // A small ring that stays in view wherever it is placed.
  Track& spare = TrackTable[TrackTableSize - 1];
  spare.curve.points.clear();
  for (int i = 0; i <= 12; ++i) {
    spare.curve.points.emplace_back(5 * std::cos(i * 0.5236), 0, 5 * std::sin(i * 0.5236));
  }
  SelectedTrack = &spare;
  const size_t count = spare.curve.points.size();
  SpinAngle = 0.0f;
  SelectedTrackIndex = 0;
  const auto unshifted = CapturePrimitives(DrawTrackSelection);
  SpinAngle = 0.0f;
  SelectedTrackIndex = 1;
  const auto shifted = CapturePrimitives(DrawTrackSelection);
  ASSERT_EQ(unshifted.points.size(), count);
  ASSERT_EQ(shifted.points.size(), count);
  EXPECT_EQ(unshifted.lines.size(), count - 1);
  for (size_t i = 0; i < count; ++i) {
    EXPECT_GT(shifted.points[i].x - unshifted.points[i].x, 100.0f) << i;
    EXPECT_NEAR(shifted.points[i].y, unshifted.points[i].y, 0.01f) << i;
    EXPECT_EQ(shifted.points[i].b, 0.0f);  // yellow
  }

  // A centre line of one point: no segment, one point; an empty one: neither.
  spare.curve.points = {Vector3d(0, 0, 0)};
  auto single = CapturePrimitives(DrawTrackSelection);
  EXPECT_EQ(single.lines.size(), 0u);
  EXPECT_EQ(single.points.size(), 1u);
  spare.curve.points.clear();
  auto none = CapturePrimitives(DrawTrackSelection);
  EXPECT_EQ(none.lines.size() + none.points.size(), 0u);
}

TEST_F(MenuTest, CarWithoutModelShowsArrowsBackgroundAndName) {
  setUpGame();  // no Data files: every texture 0, every model empty
  ASSERT_EQ(SelectedCar->model.displayList, 0u);
  SpinAngle = 0.0f;
  DrawCarSelection();

  EXPECT_EQ(pixel(700, 450), (std::array<unsigned char, 3>{255, 255, 255}));  // background
  EXPECT_EQ(pixel(219, 330), (std::array<unsigned char, 3>{0, 0, 0}));        // no car

  glLoadIdentity();
  glTranslatef(0.7f, 0.25f, -4.2f);
  glTranslatef(-0.09f, -0.59f, 1.2f);
  glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
  glScalef(0.05f, 0.05f, 0.05f);
  for (auto centre : {Project(0.0, -1.0 / 3, 0.0), Project(0.0, -8.0 / 3, 0.0)}) {
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
        if (x > 250 && x < 550 && y < 130) ++teal;
        if (y > 300) ++tealOutside;
      }
    }
  }
  EXPECT_GT(teal, 200);
  EXPECT_EQ(tealOutside, 0);

  // A name is drawn as text, never read as a format.
  SelectedCar->name = "%s%s%n%s";
  DrawCarSelection();
}

}  // namespace
