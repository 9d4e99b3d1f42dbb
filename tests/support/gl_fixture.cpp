// Shared headless context and read-back helpers for GL tests.
#include "support/gl_fixture.h"

#include <cstdlib>

namespace testing_support {

platform::HeadlessGl& SharedGl() {
  static std::unique_ptr<platform::HeadlessGl> gl = [] {
    std::string error;
    auto created = platform::HeadlessGl::Create(800, 600, &error);
    if (!created) {
      ADD_FAILURE() << "no headless GL context: " << error;
      std::abort();
    }
    return created;
  }();
  return *gl;
}

void GlTest::SetUp() {
  SharedGl().makeCurrent();
  // Each test starts from GL's defaults for the state the game touches.
  glViewport(0, 0, SharedGl().width(), SharedGl().height());
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

std::array<unsigned char, 3> GlTest::pixel(int x, int y) {
  std::array<unsigned char, 3> rgb{};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  return rgb;
}

std::vector<unsigned char> GlTest::framebuffer() {
  int w = SharedGl().width(), h = SharedGl().height();
  std::vector<unsigned char> rgb(static_cast<size_t>(w) * h * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  return rgb;
}

std::vector<FeedbackPolygon> ParseFeedback(const std::vector<GLfloat>& buffer, GLint used) {
  std::vector<FeedbackPolygon> polygons;
  auto readVertex = [&](GLint& i) {
    FeedbackVertex v{};
    float* fields[] = {&v.x, &v.y, &v.z, &v.r, &v.g, &v.b, &v.a, &v.s, &v.t, &v.p, &v.q};
    for (float* f : fields) *f = buffer[i++];
    return v;
  };
  GLint i = 0;
  while (i < used) {
    auto token = static_cast<GLint>(buffer[i++]);
    switch (token) {
      case GL_POLYGON_TOKEN: {
        auto count = static_cast<GLint>(buffer[i++]);
        FeedbackPolygon polygon;
        for (GLint k = 0; k < count; ++k) polygon.vertices.push_back(readVertex(i));
        polygons.push_back(std::move(polygon));
        break;
      }
      case GL_POINT_TOKEN:
      case GL_BITMAP_TOKEN:
      case GL_DRAW_PIXEL_TOKEN:
      case GL_COPY_PIXEL_TOKEN:
        readVertex(i);
        break;
      case GL_LINE_TOKEN:
      case GL_LINE_RESET_TOKEN:
        readVertex(i);
        readVertex(i);
        break;
      case GL_PASS_THROUGH_TOKEN:
        ++i;
        break;
      default:
        return polygons;
    }
  }
  return polygons;
}

}  // namespace testing_support
