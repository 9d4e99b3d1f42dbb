// The trackside cameras: through whole autopilot races (and one into the wall) the camera that
// films each step has the whole car inside its view, and the replay screen draws it there.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

#include "platform/gl_context_generation.h"
#include "race/race_fixture.h"
#include "replay/replay_camera.h"
#include "replay/replay_screen.h"

namespace {

using race_testing::RaceTest;
using testing_support::DrivingPlan;

// Half the size of a box round the car's position that holds the whole car, in world units.
constexpr double CarExtent = 0.1;
// Half the vertical field of view (the narrower one), near and far planes of the projection.
constexpr double HalfView = 22.5, Near = 0.1, Far = 100.0;

struct Vec {
  double x, y, z;
};

// The eye's forward direction: -z turned by the pitch about x, then by the heading about y.
Vec Forward(const CameraAim& aim) {
  const double h = aim.heading * std::numbers::pi / 180, p = aim.pitch * std::numbers::pi / 180;
  const Vec pitched{0.0, std::sin(p), -std::cos(p)};
  return {pitched.x * std::cos(h) + pitched.z * std::sin(h), pitched.y,
          -pitched.x * std::sin(h) + pitched.z * std::cos(h)};
}

// Each corner of the car's box lies in front of the near plane, before the far plane, and within
// the cone of the narrower field of view (so inside the frustum).
void ExpectCarInView(const Vector3f& eye, const Vector3f& car) {
  const Vec f = Forward(AimAt(eye, car));
  for (int corner = 0; corner < 8; ++corner) {
    const Vec v{car.x + (corner & 1 ? CarExtent : -CarExtent) - eye.x,
                car.y + (corner & 2 ? CarExtent : -CarExtent) - eye.y,
                car.z + (corner & 4 ? CarExtent : -CarExtent) - eye.z};
    const double along = v.x * f.x + v.y * f.y + v.z * f.z;
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    ASSERT_GT(along, Near);
    ASSERT_LT(length, Far);
    ASSERT_LT(std::acos(std::min(1.0, along / length)) * 180 / std::numbers::pi, HalfView);
  }
}

TEST_F(RaceTest, TracksideCamerasKeepTheWholeCarInViewAtEveryStepAndCutAsItPasses) {
  for (int track = 0; track < 3; ++track) {
    SCOPED_TRACE(testing::Message() << "track " << track);
    const std::vector<Vector3f> cameras = TracksideCameras(TrackTable[track]);
    ASSERT_GT(cameras.size(), 5u);
    for (DrivingPlan plan : {DrivingPlan::FollowRoad, DrivingPlan::IntoWall}) {
      startRace(0, track);
      std::set<size_t> used;
      int cuts = 0;
      size_t last = cameras.size();
      testing_support::DriveRace(calendar, plan, 30000, 60, [&] {
        const Vector3f& car = Races[0].player->position;
        const size_t camera = NearestCamera(cameras, car);
        if (camera != last && last != cameras.size()) ++cuts;
        last = camera;
        used.insert(camera);
        ExpectCarInView(cameras[camera], car);
      });
      if (plan == DrivingPlan::FollowRoad) {
        ASSERT_EQ(Races[0].state, Race::Finished);
        // Two laps past every camera: each films the car, and the film cuts at each one.
        EXPECT_EQ(used.size(), cameras.size());
        EXPECT_GE(cuts, 2 * static_cast<int>(cameras.size()) - 2);
      }
    }
  }
}

// A magenta box standing in for the car model, seen from any side.
GLuint MagentaBox() {
  const GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  glColor3ub(255, 0, 255);
  glBegin(GL_QUADS);
  constexpr float s = 12.0f;  // model units: 0.03 of the world
  const float faces[6][4][3] = {
      {{-s, -s, s}, {s, -s, s}, {s, s, s}, {-s, s, s}},
      {{-s, -s, -s}, {-s, s, -s}, {s, s, -s}, {s, -s, -s}},
      {{-s, s, -s}, {-s, s, s}, {s, s, s}, {s, s, -s}},
      {{-s, -s, -s}, {s, -s, -s}, {s, -s, s}, {-s, -s, s}},
      {{s, -s, -s}, {s, s, -s}, {s, s, s}, {s, -s, s}},
      {{-s, -s, -s}, {-s, -s, s}, {-s, s, s}, {-s, s, -s}},
  };
  for (const auto& face : faces)
    for (const auto& v : face) glVertex3fv(v);
  glEnd();
  glEndList();
  return list;
}

TEST_F(RaceTest, TheReplayScreenDrawsTheCarInTheMiddleOfTheTracksideCamerasPicture) {
  useGameProjection();
  Model& model = CarRoster[0].model;
  const uint32_t saved[2] = {model.displayList, model.displayListGeneration};
  model.displayList = MagentaBox();
  model.displayListGeneration = platform::GlContextGeneration();
  startRace(0, 2);
  testing_support::DriveRace(calendar, DrivingPlan::FollowRoad);
  ASSERT_EQ(Races[0].state, Race::Finished);
  WatchRaceJustDriven();
  CurrentReplay.choose(Replay::Camera::Trackside);
  CurrentReplay.togglePause();  // a picture every three seconds of the race
  for (;; CurrentReplay.seek(3 * FramesPerSecond)) {
    const int32_t step = CurrentReplay.step();
    DrawReplayScreen();
    glFinish();
    double meanX = 0;
    const int magenta = countColour(framebuffer(), {255, 0, 255}, 0, 0, 800, 600, &meanX);
    ASSERT_GT(magenta, 20) << "step " << step;
    EXPECT_NEAR(meanX, 400, 60) << "step " << step;
    if (step == CurrentReplay.steps() - 1) break;
  }
  glDeleteLists(model.displayList, 1);
  model.displayList = saved[0];
  model.displayListGeneration = saved[1];
}

}  // namespace
