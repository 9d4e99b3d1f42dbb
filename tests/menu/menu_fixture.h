// Fixture for the menu tests: the game started as its window starts it, in the shared headless
// context and a scratch working directory, and line/point feedback capture.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/game_window.h"
#include "menu/car_selection.h"
#include "game/game_setup.h"
#include "menu/main_menu.h"
#include "menu/track_selection.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "support/gl_fixture.h"
#include "support/scratch_folder.h"
#include "track/track.h"

namespace menu_testing {

// The game's projection and start, in a fresh folder with an empty Data/ (a test that fills it
// runs GameSetup again).
class MenuTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 800.0 / 600.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    scratch_ = std::make_unique<testing_support::ScratchFolder>();
    ClearKeyState();
    QuitRequested = false;
    // Models of an earlier test stay loaded (a failed load keeps the model): start empty.
    for (Car& car : CarRoster) car.model.clear();
    InitScene();  // the game window's start: GameSetup, the fixed GL state and the font
  }
  void TearDown() override {
    scratch_.reset();
    ClearKeyState();
    SelectionFrame = {};
  }

 private:
  std::unique_ptr<testing_support::ScratchFolder> scratch_;
};

// The lines and points drawn while `draw` runs, from GL feedback (GL_3D_COLOR, window
// coordinates); polygons are skipped.
struct FeedbackPoint {
  float x, y, z, r, g, b, a;
};
struct Primitives {
  std::vector<std::array<FeedbackPoint, 2>> lines;
  std::vector<FeedbackPoint> points;
};
template <typename Draw>
Primitives CapturePrimitives(Draw draw) {
  std::vector<GLfloat> buffer(1 << 20);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  const GLint used = glRenderMode(GL_RENDER);
  Primitives result;
  for (GLint i = 0; i < used;) {
    const auto token = static_cast<GLint>(buffer[i++]);
    const GLint count = token == GL_POLYGON_TOKEN ? static_cast<GLint>(buffer[i++])
                        : token == GL_POINT_TOKEN ? 1
                                                  : 2;  // a line
    FeedbackPoint p[2];
    std::memcpy(p, &buffer[i], sizeof(FeedbackPoint) * std::min(count, 2));
    i += 7 * count;
    if (token == GL_POINT_TOKEN) result.points.push_back(p[0]);
    if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN)
      result.lines.push_back({p[0], p[1]});
  }
  return result;
}

}  // namespace menu_testing
