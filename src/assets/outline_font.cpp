// The outline font's display lists and the text printer.
#include "assets/outline_font.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "assets/glyph_tessellation.h"
#include "platform/font_face.h"
#include "platform/gl_context_generation.h"

uint32_t FontListBase = 0;
GlyphMetric GlyphMetrics[256];

namespace {

constexpr float kExtrusion = 0.08f;

// Context generation of FontListBase: lists of an earlier context are never called.
uint32_t FontListGeneration = 0;

struct GlyphShape {
  std::vector<double> triangles;  // x, y pairs, counter-clockwise from +z
  GlyphMetric metric;
};

GlyphMetric MeasureGlyph(const platform::GlyphOutline& glyph) {
  GlyphMetric m;
  m.cellIncX = static_cast<float>(glyph.advance);
  bool any = false;
  double minX = 0, maxX = 0, minY = 0, maxY = 0;
  for (const auto& contour : glyph.contours) {
    for (const platform::OutlinePoint& p : contour) {
      if (!any) {
        minX = maxX = p.x;
        minY = maxY = p.y;
        any = true;
      }
      minX = std::min(minX, p.x);
      maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y);
      maxY = std::max(maxY, p.y);
    }
  }
  m.blackBoxX = static_cast<float>(maxX - minX);
  m.blackBoxY = static_cast<float>(maxY - minY);
  m.glyphOriginX = static_cast<float>(minX);
  m.glyphOriginY = static_cast<float>(maxY);
  return m;
}

// Triangulation is done once per run; only the lists are made again in each new context.
const std::vector<GlyphShape>& GlyphShapes() {
  static const std::unique_ptr<std::vector<GlyphShape>> shapes = [] {
    const platform::FontOutlines& outlines = platform::BoldSansOutlines();
    auto made = std::make_unique<std::vector<GlyphShape>>(outlines.glyphs.size());
    for (size_t code = 0; code < outlines.glyphs.size(); ++code) {
      (*made)[code].triangles = TessellateGlyph(outlines.glyphs[code]);
      (*made)[code].metric = MeasureGlyph(outlines.glyphs[code]);
    }
    return made;
  }();
  return *shapes;
}

void DrawGlyph(const platform::GlyphOutline& glyph, const GlyphShape& shape) {
  const std::vector<double>& tri = shape.triangles;
  glBegin(GL_TRIANGLES);
  glNormal3f(0, 0, 1);
  for (size_t i = 0; i < tri.size(); i += 2) {
    glVertex3d(tri[i], tri[i + 1], 0.0);
  }
  // The back face runs the other way round so that it faces -z.
  glNormal3f(0, 0, -1);
  for (size_t i = 0; i + 5 < tri.size(); i += 6) {
    glVertex3d(tri[i], tri[i + 1], -kExtrusion);
    glVertex3d(tri[i + 4], tri[i + 5], -kExtrusion);
    glVertex3d(tri[i + 2], tri[i + 3], -kExtrusion);
  }
  glEnd();

  // Side walls: the fill lies on the left of each contour's travel, so the outward normal of
  // an edge points to its right.
  glBegin(GL_QUADS);
  for (const auto& contour : glyph.contours) {
    for (size_t i = 0; i < contour.size(); ++i) {
      const platform::OutlinePoint& a = contour[i];
      const platform::OutlinePoint& b = contour[(i + 1) % contour.size()];
      double dx = b.x - a.x, dy = b.y - a.y;
      double length = std::sqrt(dx * dx + dy * dy);
      if (length == 0) continue;
      glNormal3d(dy / length, -dx / length, 0.0);
      glVertex3d(a.x, a.y, -kExtrusion);
      glVertex3d(b.x, b.y, -kExtrusion);
      glVertex3d(b.x, b.y, 0.0);
      glVertex3d(a.x, a.y, 0.0);
    }
  }
  glEnd();
  glTranslatef(shape.metric.cellIncX, 0, 0);
}

}  // namespace

void BuildFont() {
  FontListBase = glGenLists(256);
  FontListGeneration = platform::GlContextGeneration();
  const platform::FontOutlines& outlines = platform::BoldSansOutlines();
  const std::vector<GlyphShape>& shapes = GlyphShapes();
  for (size_t code = 0; code < shapes.size(); ++code) {
    GlyphMetrics[code] = shapes[code].metric;
    if (FontListBase == 0) continue;
    glNewList(FontListBase + static_cast<GLuint>(code), GL_COMPILE);
    DrawGlyph(outlines.glyphs[code], shapes[code]);
    glEndList();
  }
  GlyphMetrics[255] = GlyphMetric{};
  if (FontListBase != 0) {
    glNewList(FontListBase + 255, GL_COMPILE);
    glEndList();
  }
}

void PrintText(const char* format, ...) {
  if (!format) return;
  char text[256];
  va_list args;
  va_start(args, format);
  int written = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (written < 0) return;
  size_t length = std::strlen(text);

  float width = 0.0f;
  for (size_t i = 0; i < length; ++i)
    width += GlyphMetrics[static_cast<unsigned char>(text[i])].cellIncX;
  glTranslatef(-0.5f * width, 0, 0);

  // Without lists of this context the codes would name other objects' lists.
  if (length == 0 || FontListBase == 0 || FontListGeneration != platform::GlContextGeneration()) {
    return;
  }
  glPushAttrib(GL_LIST_BIT);
  glListBase(FontListBase);
  glCallLists(static_cast<GLsizei>(length), GL_UNSIGNED_BYTE, text);
  glPopAttrib();
}
