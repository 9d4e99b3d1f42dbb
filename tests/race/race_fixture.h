// Shared set-up of the race tests: LocalRaceTest, a GL-free race on a track the test controls,
// and RaceTest, the game started in a headless context, a manual calendar and the race start.
#pragma once

#include <cmath>

#include "app/game_window.h"
#include "game/game_setup.h"
#include "game/players.h"
#include "platform/frame_flags.h"
#include "platform/gl_context_generation.h"
#include "platform/keys.h"
#include "race/race.h"
#include "race/race_screen.h"
#include "race/race_start.h"
#include "support/autopilot.h"
#include "support/box_recorder.h"
#include "support/gl_fixture.h"
#include "support/scratch_folder.h"
#include "track/track.h"

namespace race_testing {

// A running race without drawing, on a track of the test's own, with the player at the start
// position and every key released.
class LocalRaceTest : public ::testing::Test {
 protected:
  LocalRaceTest() {
    player.car = &car;
    player.position = Vector3f(-2.3, 0.05, 0.0);
    player.rotation = Vector3f(0.0, -90.0, 0.0);
    race.player = &player;
    race.track = &track;
    race.state = Race::Running;
    ClearKeyState();
  }
  ~LocalRaceTest() override { ClearKeyState(); }
  // A straight centre line along +x, one unit between points: (0, 0, 0), (1, 0, 0), ...
  void straightLine(int points) {
    track.curve.points.clear();
    for (int i = 0; i < points; ++i) track.curve.points.emplace_back(i, 0.0, 0.0);
  }
  double speed() const { return std::hypot(player.velocity.x, player.velocity.z); }
  // The lap count as the car passes these centre-line points.
  void passThrough(std::initializer_list<int> indices) {
    for (int i : indices) {
      race.nearestIndex = i;
      race.countLaps();
    }
  }
  // Frames of the main loop without drawing: the motion, then the keys.
  void frames(int count) {
    for (int i = 0; i < count; ++i) {
      race.updateVelocity();
      race.move();
      race.handleInput();
    }
  }

  Track track;
  Car car;
  CarState player;
  Race race;
};

// The pose a ghost records of a car.
inline GhostPose PoseOf(const CarState& car) {
  return {car.position.x, car.position.y, car.position.z,
          car.rotation.x, car.rotation.y, car.rotation.z};
}

class RaceTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    InitScene();  // the game window's start: the main menu's setup, the fixed GL state, the font
    FinishGameSetup();
    ClearKeyState();
    ScreenState = screen::TrackSelection;
  }
  void TearDown() override { ClearKeyState(); }
  // Pictures missing from the working folder would each raise a box.
  testing_support::BoxRecorder boxes_;
  testing_support::ScratchFolder scratch_;

  // Chooses roster car `car` and track `track` and presses Enter on the track selection.
  void startRace(int car, int track) {
    Players[0].carIndex = static_cast<int16_t>(car);
    SelectedTrackIndex = static_cast<int16_t>(track);
    SelectedTrack = &TrackTable[track];
    StartSelectedRace();
  }

  testing_support::ManualCalendar calendar;
};

using Colour = std::array<int, 3>;
constexpr Colour Yellow{255, 255, 0}, Grey{204, 204, 204}, TimeGreen{77, 255, 179},
    Magenta{255, 0, 255};

// The race picture on the first track, its sky a ramp along s, and on request a board for a car.
class RaceSceneTest : public RaceTest {
 protected:
  void SetUp() override {
    RaceTest::SetUp();
    useGameProjection();
    SpinAngle = 0.0f;
    // A sky over a dark blue base that is a ramp along s: red rising, green falling.
    unsigned char texels[256][3];
    for (int i = 0; i < 256; ++i) texels[i][0] = i, texels[i][1] = 255 - i, texels[i][2] = 64;
    glGenTextures(1, &sky);
    glBindTexture(GL_TEXTURE_2D, sky);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 256, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    startRace(0, 0);
    TrackTable[0].skyTexture = sky;  // in place of the track's own, which has no file here
    TrackTable[0].skyTextureGeneration = platform::GlContextGeneration();
  }
  void TearDown() override {
    glDeleteTextures(1, &sky);
    TrackTable[0].skyTexture = 0;
    if (board != 0) {
      CarRoster[0].model.displayList = savedModel[0];
      CarRoster[0].model.displayListGeneration = savedModel[1];
      glDeleteLists(board, 1);
    }
    RaceTest::TearDown();
  }
  // A board across the car standing in for its model, in model units; without a colour of its
  // own it is drawn in the current colour, as the model is.
  void useBoardModel(bool magenta) {
    Model& model = CarRoster[0].model;
    savedModel = {model.displayList, model.displayListGeneration};
    model.displayList = board = glGenLists(1);
    model.displayListGeneration = platform::GlContextGeneration();
    glNewList(board, GL_COMPILE);
    if (magenta) glColor3ub(255, 0, 255);
    glRectf(-8.0f, 0.0f, 8.0f, 10.0f);
    glEndList();
  }

  void drawFrame() {
    ASSERT_TRUE(DrawRaceScreen());
    glFinish();
    pixels = framebuffer();
  }
  const unsigned char* at(int x, int y) const { return &pixels[(y * 800 + x) * 3]; }
  // Pixels of the colour in [x0, x1) x [y0, y1), and their mean x.
  int count(Colour c, int x0 = 0, int y0 = 0, int x1 = 800, int y1 = 600) {
    return countColour(pixels, c, x0, y0, x1, y1, &meanX);
  }

  std::vector<unsigned char> pixels;
  GLuint sky = 0, board = 0;
  std::array<uint32_t, 2> savedModel{};
  double meanX = 0;
};

}  // namespace race_testing
