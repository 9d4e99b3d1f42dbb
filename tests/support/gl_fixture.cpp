// Shared headless context and read-back helpers for GL tests.
#include "support/gl_fixture.h"

#include <GL/glu.h>

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

void GlTest::useGameProjection() {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, 800.0 / 600.0, 0.1, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
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

int GlTest::countColour(const std::vector<unsigned char>& pixels, std::array<int, 3> rgb, int x0,
                        int y0, int x1, int y1, double* meanX) {
  const int width = SharedGl().width();
  int found = 0;
  double sumX = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const unsigned char* p = &pixels[(size_t(y) * width + x) * 3];
      if (std::abs(p[0] - rgb[0]) <= 2 && std::abs(p[1] - rgb[1]) <= 2 &&
          std::abs(p[2] - rgb[2]) <= 2) {
        ++found;
        sumX += x;
      }
    }
  }
  if (meanX) *meanX = found > 0 ? sumX / found : 0;
  return found;
}

std::vector<unsigned char> TextureRgb(GLuint texture, int level) {
  glBindTexture(GL_TEXTURE_2D, texture);
  GLint w = 0, h = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
  std::vector<unsigned char> rgb(size_t(w) * h * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, level, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  return rgb;
}

Feedback ParseFeedback(const std::vector<GLfloat>& buffer, GLint used) {
  Feedback feedback;
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
        feedback.polygons.push_back(std::move(polygon));
        break;
      }
      case GL_POINT_TOKEN:
        feedback.points.push_back(readVertex(i));
        break;
      case GL_BITMAP_TOKEN:
      case GL_DRAW_PIXEL_TOKEN:
      case GL_COPY_PIXEL_TOKEN:
        readVertex(i);
        break;
      case GL_LINE_TOKEN:
      case GL_LINE_RESET_TOKEN: {
        const FeedbackVertex from = readVertex(i);
        feedback.lines.push_back({from, readVertex(i)});
        break;
      }
      case GL_PASS_THROUGH_TOKEN:
        ++i;
        break;
      default:
        return feedback;
    }
  }
  return feedback;
}

}  // namespace testing_support
