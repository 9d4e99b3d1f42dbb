// Test fixture with a current headless GL context (800 by 600), plus pixel read-back helpers.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "platform/headless_gl.h"

namespace testing_support {

// Shares one context across the tests of a process: creating a context per test is slow.
platform::HeadlessGl& SharedGl();

class GlTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // The game's perspective projection (45 degrees, 4:3, near 0.1, far 100).
  static void useGameProjection();
  // RGB of the pixel at window coordinates (x, y), origin at the bottom left.
  std::array<unsigned char, 3> pixel(int x, int y);
  // Every pixel of the framebuffer, RGB, bottom row first.
  std::vector<unsigned char> framebuffer();
  // Pixels of `pixels` (a framebuffer) within 2 per channel of rgb in [x0, x1) x [y0, y1); their
  // mean x into meanX when given.
  static int countColour(const std::vector<unsigned char>& pixels, std::array<int, 3> rgb,
                         int x0 = 0, int y0 = 0, int x1 = 800, int y1 = 600,
                         double* meanX = nullptr);
};

// The RGB texels of one level of a 2-D texture, rows packed, bottom row first; binds the texture.
std::vector<unsigned char> TextureRgb(GLuint texture, int level = 0);

// Vertices recorded by GL feedback mode while `draw` runs (GL_3D_COLOR_TEXTURE tokens parsed).
struct FeedbackVertex {
  float x, y, z;
  float r, g, b, a;
  float s, t, p, q;
};
struct FeedbackPolygon {
  std::vector<FeedbackVertex> vertices;
};
struct Feedback {
  std::vector<FeedbackPolygon> polygons;
  std::vector<std::array<FeedbackVertex, 2>> lines;
  std::vector<FeedbackVertex> points;
};
Feedback ParseFeedback(const std::vector<GLfloat>& buffer, GLint used);

// Everything drawn while `draw` runs.
template <typename Draw>
Feedback CaptureAll(Draw draw) {
  std::vector<GLfloat> buffer(1 << 22);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  GLint used = glRenderMode(GL_RENDER);
  return ParseFeedback(buffer, used);
}

// The polygons drawn while `draw` runs.
template <typename Draw>
std::vector<FeedbackPolygon> CaptureFeedback(Draw draw) {
  return CaptureAll(draw).polygons;
}

}  // namespace testing_support
