// Finds the bold sans-serif face with fontconfig and reads its glyph outlines with FreeType.
#include "platform/font_face.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace platform {
namespace {

struct FontFile {
  std::string path;
  int index = 0;
  std::string family;
};

// Matches a fontconfig pattern; empty path when nothing bold is found.
FontFile MatchBold(const char* request) {
  FontFile found;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(request));
  if (!pattern) return found;
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return found;
  FcChar8* file = nullptr;
  FcChar8* family = nullptr;
  int weight = 0;
  int index = 0;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
      FcPatternGetInteger(match, FC_WEIGHT, 0, &weight) == FcResultMatch &&
      weight >= FC_WEIGHT_BOLD) {
    found.path = reinterpret_cast<const char*>(file);
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) found.index = index;
    if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch) {
      found.family = reinterpret_cast<const char*>(family);
    }
  }
  FcPatternDestroy(match);
  return found;
}

FontFile FindBoldSansFace() {
  if (!FcInit()) {
    std::fprintf(stderr, "Quillon: fontconfig could not start; text will not be drawn\n");
    return {};
  }
  FontFile arial = MatchBold("Arial:bold");
  static const char* const kArialTwins[] = {"Arial", "Liberation Sans", "Arimo"};
  for (const char* twin : kArialTwins) {
    if (!arial.path.empty() && arial.family == twin) return arial;
  }
  FontFile fallback = MatchBold("sans-serif:bold");
  if (fallback.path.empty()) fallback = arial;
  if (fallback.path.empty()) {
    std::fprintf(stderr, "Quillon: no bold sans-serif font found; text will not be drawn\n");
  } else {
    std::fprintf(stderr, "Quillon: bold Arial not found; drawing text with %s\n",
                 fallback.family.c_str());
  }
  return fallback;
}

// Collects the flattened contours of one outline while FreeType walks it (font units).
struct Flattener {
  std::vector<std::vector<OutlinePoint>> contours;
  OutlinePoint pen;
  double flatness = 1;  // in font units

  void add(OutlinePoint p) {
    std::vector<OutlinePoint>& contour = contours.back();
    if (!contour.empty() && contour.back().x == p.x && contour.back().y == p.y) return;
    contour.push_back(p);
  }
  // Uniform steps, as many as Wang's bound asks for the curve of this degree.
  static int Steps(double secondDifference, double degreeFactor, double flatness) {
    double n = std::ceil(std::sqrt(degreeFactor * secondDifference / flatness));
    return static_cast<int>(std::clamp(n, 1.0, 256.0));
  }
};

OutlinePoint ToPoint(const FT_Vector* v) {
  return {static_cast<double>(v->x), static_cast<double>(v->y)};
}

double Length(double x, double y) {
  return std::sqrt(x * x + y * y);
}

int MoveTo(const FT_Vector* to, void* user) {
  auto* f = static_cast<Flattener*>(user);
  f->contours.emplace_back();
  f->pen = ToPoint(to);
  f->add(f->pen);
  return 0;
}

int LineTo(const FT_Vector* to, void* user) {
  auto* f = static_cast<Flattener*>(user);
  f->pen = ToPoint(to);
  f->add(f->pen);
  return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
  auto* f = static_cast<Flattener*>(user);
  OutlinePoint p0 = f->pen, p1 = ToPoint(control), p2 = ToPoint(to);
  int steps =
      Flattener::Steps(Length(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y), 0.25, f->flatness);
  for (int i = 1; i <= steps; ++i) {
    double t = static_cast<double>(i) / steps, u = 1 - t;
    f->add({u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x,
            u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
  }
  f->pen = p2;
  return 0;
}

int CubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user) {
  auto* f = static_cast<Flattener*>(user);
  OutlinePoint p0 = f->pen, p1 = ToPoint(control1), p2 = ToPoint(control2), p3 = ToPoint(to);
  double d = std::max(Length(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                      Length(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
  int steps = Flattener::Steps(d, 0.75, f->flatness);
  for (int i = 1; i <= steps; ++i) {
    double t = static_cast<double>(i) / steps, u = 1 - t;
    double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, e = t * t * t;
    f->add({a * p0.x + b * p1.x + c * p2.x + e * p3.x, a * p0.y + b * p1.y + c * p2.y + e * p3.y});
  }
  f->pen = p3;
  return 0;
}

GlyphOutline ReadGlyph(FT_Face face, uint32_t codePoint) {
  GlyphOutline glyph;
  // Codes the font has no glyph for draw its default glyph (index 0), as the system font does.
  FT_UInt index = codePoint != 0 ? FT_Get_Char_Index(face, codePoint) : 0;
  if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP)) {
    return glyph;
  }
  double em = face->units_per_EM > 0 ? face->units_per_EM : 1000.0;
  glyph.advance = face->glyph->metrics.horiAdvance / em;
  if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return glyph;
  FT_Outline& outline = face->glyph->outline;
  glyph.evenOdd = (outline.flags & FT_OUTLINE_EVEN_ODD_FILL) != 0;

  Flattener flattener;
  flattener.flatness = kOutlineFlatness * em;
  FT_Outline_Funcs funcs{};
  funcs.move_to = MoveTo;
  funcs.line_to = LineTo;
  funcs.conic_to = ConicTo;
  funcs.cubic_to = CubicTo;
  if (FT_Outline_Decompose(&outline, &funcs, &flattener)) return glyph;

  // TrueType outlines fill on the right of travel; turn them round so the fill is on the left.
  bool reverse = FT_Outline_Get_Orientation(&outline) == FT_ORIENTATION_TRUETYPE;
  for (std::vector<OutlinePoint>& contour : flattener.contours) {
    if (contour.size() > 1 && contour.front().x == contour.back().x &&
        contour.front().y == contour.back().y) {
      contour.pop_back();
    }
    if (contour.size() < 3) continue;
    if (reverse) std::reverse(contour.begin(), contour.end());
    for (OutlinePoint& p : contour) {
      p.x /= em;
      p.y /= em;
    }
    glyph.contours.push_back(std::move(contour));
  }
  return glyph;
}

}  // namespace

FontOutlines ReadBoldSansOutlines() {
  FontOutlines outlines;
  FontFile file = FindBoldSansFace();
  if (file.path.empty()) return outlines;
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library)) return outlines;
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.path.c_str(), file.index, &face) == 0) {
    outlines.family = file.family;
    outlines.file = file.path;
    for (int code = 0; code < 255; ++code) {
      outlines.glyphs[code] = ReadGlyph(face, Windows1252ToUnicode(static_cast<uint8_t>(code)));
    }
    FT_Done_Face(face);
  } else {
    std::fprintf(stderr, "Quillon: cannot read font %s; text will not be drawn\n",
                 file.path.c_str());
  }
  FT_Done_FreeType(library);
  return outlines;
}

const FontOutlines& BoldSansOutlines() {
  static const std::unique_ptr<FontOutlines> outlines =
      std::make_unique<FontOutlines>(ReadBoldSansOutlines());
  return *outlines;
}

uint32_t Windows1252ToUnicode(uint8_t code) {
  static constexpr uint16_t kHighControls[32] = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  if (code >= 0x80 && code < 0xA0) return kHighControls[code - 0x80];
  return code;
}

}  // namespace platform
