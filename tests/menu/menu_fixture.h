// Fixture for the menu tests: the game's fixed GL state and projection in the shared headless
// context, GameSetup run from a scratch working directory, and line/point feedback capture.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "assets/outline_font.h"
#include "menu/game_setup.h"
#include "menu/main_menu.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "support/gl_fixture.h"

namespace menu_testing {

// Sets up the scene as the game window does, then loads the game from `dataDir`'s parent
// (a fresh, empty folder unless a test fills Data/ before calling setUpGame).
class MenuTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 800.0 / 600.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    previousDir_ = std::filesystem::current_path();
    char pattern[] = "/tmp/quillon_menu_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    scratch_ = pattern;
    std::filesystem::create_directory(scratch_ / "Data");
    std::filesystem::current_path(scratch_);
    ClearKeyState();
    QuitRequested = false;
    // Models of an earlier test stay loaded (a failed load keeps the model): start empty.
    for (Car& car : CarRoster) car.model.clear();
  }
  void TearDown() override {
    std::filesystem::current_path(previousDir_);
    std::filesystem::remove_all(scratch_);
    ClearKeyState();
    QuitRequested = false;
    SelectionFrame = {};
  }
  void setUpGame() {
    ScreenState = 0;
    GameSetup();
    BuildFont();
  }
  std::filesystem::path dataDir() const { return scratch_ / "Data"; }

 private:
  std::filesystem::path previousDir_;
  std::filesystem::path scratch_;
};

// One vertex of a line or point from GL feedback (GL_3D_COLOR), window coordinates.
struct FeedbackPoint {
  float x, y, z, r, g, b, a;
};
struct Primitives {
  std::vector<std::array<FeedbackPoint, 2>> lines;
  std::vector<FeedbackPoint> points;
  int polygons = 0;
};

template <typename Draw>
Primitives CapturePrimitives(Draw draw) {
  std::vector<GLfloat> buffer(1 << 20);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  const GLint used = glRenderMode(GL_RENDER);
  Primitives result;
  GLint i = 0;
  auto vertex = [&] {
    FeedbackPoint p{};
    for (float* field : {&p.x, &p.y, &p.z, &p.r, &p.g, &p.b, &p.a}) *field = buffer[i++];
    return p;
  };
  while (i < used) {
    const auto token = static_cast<GLint>(buffer[i++]);
    if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
      FeedbackPoint a = vertex();
      result.lines.push_back({a, vertex()});
    } else if (token == GL_POINT_TOKEN) {
      result.points.push_back(vertex());
    } else if (token == GL_POLYGON_TOKEN) {
      const auto count = static_cast<GLint>(buffer[i++]);
      for (GLint k = 0; k < count; ++k) vertex();
      ++result.polygons;
    } else if (token == GL_PASS_THROUGH_TOKEN) {
      ++i;
    } else {
      ADD_FAILURE() << "unexpected feedback token " << token;
      break;
    }
  }
  return result;
}

}  // namespace menu_testing
