// Glyph triangulation through the GLU tessellator, collecting plain triangles.
#include "assets/glyph_tessellation.h"

#include <GL/glu.h>

#include <array>
#include <deque>

namespace {

struct TessState {
  std::deque<std::array<double, 3>> points;  // stable addresses for the tessellator
  std::vector<const double*> corners;
  bool failed = false;
};

void OnBegin(GLenum, void*) {}

// Setting an edge-flag callback makes the tessellator emit separate triangles only.
void OnEdgeFlag(GLboolean, void*) {}

void OnVertex(void* vertex, void* user) {
  static_cast<TessState*>(user)->corners.push_back(static_cast<const double*>(vertex));
}

void OnCombine(GLdouble coords[3], void* [4], GLfloat[4], void** out, void* user) {
  auto* state = static_cast<TessState*>(user);
  state->points.push_back({coords[0], coords[1], 0.0});
  *out = state->points.back().data();
}

void OnError(GLenum, void* user) {
  static_cast<TessState*>(user)->failed = true;
}

}  // namespace

std::vector<double> TessellateGlyph(const platform::GlyphOutline& glyph) {
  std::vector<double> triangles;
  if (glyph.contours.empty()) return triangles;
  GLUtesselator* tess = gluNewTess();
  if (!tess) return triangles;
  using Callback = void (*)();
  gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<Callback>(OnBegin));
  gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<Callback>(OnEdgeFlag));
  gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(OnVertex));
  gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(OnCombine));
  gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<Callback>(OnError));
  gluTessProperty(tess, GLU_TESS_WINDING_RULE,
                  glyph.evenOdd ? GLU_TESS_WINDING_ODD : GLU_TESS_WINDING_NONZERO);
  gluTessNormal(tess, 0, 0, 1);

  TessState state;
  gluTessBeginPolygon(tess, &state);
  for (const auto& contour : glyph.contours) {
    gluTessBeginContour(tess);
    for (const platform::OutlinePoint& p : contour) {
      state.points.push_back({p.x, p.y, 0.0});
      gluTessVertex(tess, state.points.back().data(), state.points.back().data());
    }
    gluTessEndContour(tess);
  }
  gluTessEndPolygon(tess);
  gluDeleteTess(tess);
  if (state.failed) return triangles;

  size_t whole = state.corners.size() / 3 * 3;
  triangles.reserve(whole * 2);
  for (size_t i = 0; i < whole; i += 3) {
    const double* a = state.corners[i];
    const double* b = state.corners[i + 1];
    const double* c = state.corners[i + 2];
    double area = (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
    if (area == 0) continue;
    if (area < 0) std::swap(b, c);
    for (const double* corner : {a, b, c}) {
      triangles.push_back(corner[0]);
      triangles.push_back(corner[1]);
    }
  }
  return triangles;
}
