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
  // RGB of the pixel at window coordinates (x, y), origin at the bottom left.
  std::array<unsigned char, 3> pixel(int x, int y);
  // Every pixel of the framebuffer, RGB, bottom row first.
  std::vector<unsigned char> framebuffer();
};

// Vertices recorded by GL feedback mode while `draw` runs (GL_3D_COLOR_TEXTURE tokens parsed).
struct FeedbackVertex {
  float x, y, z;
  float r, g, b, a;
  float s, t, p, q;
};
struct FeedbackPolygon {
  std::vector<FeedbackVertex> vertices;
};
template <typename Draw>
std::vector<FeedbackPolygon> CaptureFeedback(Draw draw);
std::vector<FeedbackPolygon> ParseFeedback(const std::vector<GLfloat>& buffer, GLint used);

template <typename Draw>
std::vector<FeedbackPolygon> CaptureFeedback(Draw draw) {
  std::vector<GLfloat> buffer(1 << 22);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  GLint used = glRenderMode(GL_RENDER);
  return ParseFeedback(buffer, used);
}

}  // namespace testing_support
