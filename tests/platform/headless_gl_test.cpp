// The headless context draws fixed-function GL and reports it through read-back and feedback.
#include <gtest/gtest.h>

#include "support/gl_fixture.h"

using testing_support::GlTest;

TEST_F(GlTest, ClearsAndDrawsAQuadInFeedback) {
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  auto red = pixel(10, 10);
  EXPECT_EQ(red[0], 255);
  EXPECT_EQ(red[1], 0);

  auto polygons = testing_support::CaptureFeedback([] {
    glBegin(GL_QUADS);
    glVertex2f(-0.5f, -0.5f);
    glVertex2f(0.5f, -0.5f);
    glVertex2f(0.5f, 0.5f);
    glVertex2f(-0.5f, 0.5f);
    glEnd();
  });
  ASSERT_EQ(polygons.size(), 2u);  // a quad reaches feedback as two triangles
}
