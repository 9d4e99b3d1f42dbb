// The outline font's display lists and the text printer.
#include "assets/outline_font.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

#include "assets/glyph_codes.h"
#include "assets/glyph_tessellation.h"
#include "assets/text_width.h"
#include "platform/font_face.h"
#include "platform/gl_context_generation.h"
#include "platform/timeline.h"
#include "platform/worker_gate.h"

uint32_t FontListBase = 0;
GlyphMetric GlyphMetrics[256];

namespace {

constexpr float kExtrusion = 0.08f;

// Context generation of FontListBase: lists of an earlier context are never called.
uint32_t FontListGeneration = 0;

struct GlyphShape {
  // x, y pairs, counter-clockwise from +z; made when the glyph's list is first compiled, so that
  // start-up triangulates none and a run only the characters it shows.
  std::vector<double> triangles;
  bool triangulated = false;
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

// The outlines with their metrics and, once used, their triangles: read once per run (on a
// worker when PrepareFont was called early); only the lists are made again in each context.
// The outlines are the ones TextWidth measures, read once for both.
struct FontShapes {
  const platform::FontOutlines* outlines = nullptr;
  std::vector<GlyphShape> glyphs;
};

FontShapes MakeFontShapes() {
  FontShapes made;
  platform::TimelineMark("font: reading outlines");
  made.outlines = &platform::BoldSansOutlines();
  platform::TimelineMark("font: outlines read");
  made.glyphs.resize(made.outlines->glyphs.size());
  for (size_t code = 0; code < made.glyphs.size(); ++code) {
    made.glyphs[code].metric = MeasureGlyph(made.outlines->glyphs[code]);
  }
  return made;
}

std::mutex ShapesMutex;
std::unique_ptr<FontShapes> Shapes;
// The worker's result, read once the worker is joined.
std::unique_ptr<FontShapes> MadeShapes;
// Declared after both, so destroyed first: at exit it waits for a worker still running, which
// touches nothing but its own result.
std::unique_ptr<platform::GatedWorker> ShapesWorker;

FontShapes& TheFontShapes() {
  std::lock_guard lock(ShapesMutex);
  if (ShapesWorker) {
    ShapesWorker->end();
    platform::TimelineMark("font: worker joined");
    ShapesWorker.reset();
    Shapes = std::move(MadeShapes);
  }
  if (!Shapes) Shapes = std::make_unique<FontShapes>(MakeFontShapes());
  return *Shapes;
}

// Which glyph lists of the current FontListBase hold their glyph: each is compiled the first
// time a text uses it, so start-up compiles none and a run only the characters it shows.
bool GlyphListMade[256] = {};

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

void MakeGlyphList(unsigned char code) {
  if (GlyphListMade[code] || FontListBase == 0 || code == 255) return;
  FontShapes& shapes = TheFontShapes();
  GlyphShape& shape = shapes.glyphs[code];
  if (!shape.triangulated) {
    shape.triangles = TessellateGlyph(shapes.outlines->glyphs[code]);
    shape.triangulated = true;
  }
  glNewList(FontListBase + code, GL_COMPILE);
  DrawGlyph(shapes.outlines->glyphs[code], shape);
  glEndList();
  GlyphListMade[code] = true;
}

}  // namespace

void PrepareFont() {
  std::lock_guard lock(ShapesMutex);
  if (Shapes || ShapesWorker) return;
  try {
    ShapesWorker = std::make_unique<platform::GatedWorker>(
        [] { MadeShapes = std::make_unique<FontShapes>(MakeFontShapes()); });
  } catch (const std::system_error&) {
    // No thread to be had: BuildFont reads the font itself.
  }
}

void BuildFont() {
  FontListBase = glGenLists(256);
  FontListGeneration = platform::GlContextGeneration();
  std::fill(std::begin(GlyphListMade), std::end(GlyphListMade), false);
  const FontShapes& shapes = TheFontShapes();
  for (size_t code = 0; code < shapes.glyphs.size(); ++code) {
    GlyphMetrics[code] = shapes.glyphs[code].metric;
  }
  GlyphMetrics[255] = GlyphMetric{};
  // Code 255 has no glyph: its list stays empty.
  if (FontListBase != 0) {
    glNewList(FontListBase + 255, GL_COMPILE);
    glEndList();
  }
}

uint32_t GlyphList(unsigned char code) {
  if (FontListBase == 0 || FontListGeneration != platform::GlContextGeneration()) return 0;
  MakeGlyphList(code);
  return FontListBase + code;
}

void PrintText(const char* format, ...) {
  if (!format) return;
  char text[256];
  va_list args;
  va_start(args, format);
  int written = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (written < 0) return;
  const std::string codes = GlyphCodes(text);
  const size_t length = codes.size();

  glTranslatef(-0.5f * GlyphCodesWidth(codes), 0, 0);

  // Without lists of this context the codes would name other objects' lists.
  if (length == 0 || FontListBase == 0 || FontListGeneration != platform::GlContextGeneration()) {
    return;
  }
  for (size_t i = 0; i < length; ++i) MakeGlyphList(static_cast<unsigned char>(codes[i]));
  // Each glyph is a closed solid of one colour, so the faces turned away from the eye are
  // covered by those turned towards it: culling them leaves the picture as it is and halves the
  // pixels a software renderer fills.
  glPushAttrib(GL_LIST_BIT | GL_ENABLE_BIT | GL_POLYGON_BIT);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
  glListBase(FontListBase);
  glCallLists(static_cast<GLsizei>(length), GL_UNSIGNED_BYTE, codes.data());
  glPopAttrib();
}
