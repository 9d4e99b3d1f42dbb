// The dot-matrix glyphs and their drawing as joined round strokes.
#include "content/pixel_font.h"

#include <array>
#include <cmath>
#include <vector>

namespace content {

namespace {

struct Glyph {
  char ch;
  std::array<const char*, 9> rows;  // 5 columns each; rows 7 and 8 are below the baseline
};

// clang-format off
const Glyph kGlyphs[] = {
  {'A', {" ### ","#   #","#   #","#####","#   #","#   #","#   #","     ","     "}},
  {'B', {"#### ","#   #","#   #","#### ","#   #","#   #","#### ","     ","     "}},
  {'C', {" ### ","#   #","#    ","#    ","#    ","#   #"," ### ","     ","     "}},
  {'D', {"#### ","#   #","#   #","#   #","#   #","#   #","#### ","     ","     "}},
  {'E', {"#####","#    ","#    ","#### ","#    ","#    ","#####","     ","     "}},
  {'F', {"#####","#    ","#    ","#### ","#    ","#    ","#    ","     ","     "}},
  {'G', {" ### ","#   #","#    ","# ###","#   #","#   #"," ####","     ","     "}},
  {'H', {"#   #","#   #","#   #","#####","#   #","#   #","#   #","     ","     "}},
  {'I', {"###  "," #   "," #   "," #   "," #   "," #   ","###  ","     ","     "}},
  {'J', {"  ###","   # ","   # ","   # ","#  # ","#  # "," ##  ","     ","     "}},
  {'K', {"#   #","#  # ","# #  ","##   ","# #  ","#  # ","#   #","     ","     "}},
  {'L', {"#    ","#    ","#    ","#    ","#    ","#    ","#####","     ","     "}},
  {'M', {"#   #","## ##","# # #","# # #","#   #","#   #","#   #","     ","     "}},
  {'N', {"#   #","##  #","# # #","#  ##","#   #","#   #","#   #","     ","     "}},
  {'O', {" ### ","#   #","#   #","#   #","#   #","#   #"," ### ","     ","     "}},
  {'P', {"#### ","#   #","#   #","#### ","#    ","#    ","#    ","     ","     "}},
  {'Q', {" ### ","#   #","#   #","#   #","# # #","#  # "," ## #","     ","     "}},
  {'R', {"#### ","#   #","#   #","#### ","# #  ","#  # ","#   #","     ","     "}},
  {'S', {" ####","#    ","#    "," ### ","    #","    #","#### ","     ","     "}},
  {'T', {"#####","  #  ","  #  ","  #  ","  #  ","  #  ","  #  ","     ","     "}},
  {'U', {"#   #","#   #","#   #","#   #","#   #","#   #"," ### ","     ","     "}},
  {'V', {"#   #","#   #","#   #","#   #","#   #"," # # ","  #  ","     ","     "}},
  {'W', {"#   #","#   #","#   #","# # #","# # #","# # #"," # # ","     ","     "}},
  {'X', {"#   #","#   #"," # # ","  #  "," # # ","#   #","#   #","     ","     "}},
  {'Y', {"#   #","#   #"," # # ","  #  ","  #  ","  #  ","  #  ","     ","     "}},
  {'Z', {"#####","    #","   # ","  #  "," #   ","#    ","#####","     ","     "}},
  {'a', {"     ","     "," ### ","    #"," ####","#   #"," ####","     ","     "}},
  {'b', {"#    ","#    ","#### ","#   #","#   #","#   #","#### ","     ","     "}},
  {'c', {"     ","     "," ### ","#    ","#    ","#    "," ### ","     ","     "}},
  {'d', {"    #","    #"," ####","#   #","#   #","#   #"," ####","     ","     "}},
  {'e', {"     ","     "," ### ","#   #","#####","#    "," ### ","     ","     "}},
  {'f', {"  ## "," #   "," #   ","#### "," #   "," #   "," #   ","     ","     "}},
  {'g', {"     ","     "," ####","#   #","#   #","#   #"," ####","    #"," ### "}},
  {'h', {"#    ","#    ","#### ","#   #","#   #","#   #","#   #","     ","     "}},
  {'i', {" #   ","     ","##   "," #   "," #   "," #   ","###  ","     ","     "}},
  {'j', {"   # ","     ","  ## ","   # ","   # ","   # ","   # ","#  # "," ##  "}},
  {'k', {"#    ","#    ","#  # ","# #  ","##   ","# #  ","#  # ","     ","     "}},
  {'l', {"##   "," #   "," #   "," #   "," #   "," #   ","###  ","     ","     "}},
  {'m', {"     ","     ","## # ","# # #","# # #","# # #","#   #","     ","     "}},
  {'n', {"     ","     ","#### ","#   #","#   #","#   #","#   #","     ","     "}},
  {'o', {"     ","     "," ### ","#   #","#   #","#   #"," ### ","     ","     "}},
  {'p', {"     ","     ","#### ","#   #","#   #","#   #","#### ","#    ","#    "}},
  {'q', {"     ","     "," ####","#   #","#   #","#   #"," ####","    #","    #"}},
  {'r', {"     ","     ","# ## ","##   ","#    ","#    ","#    ","     ","     "}},
  {'s', {"     ","     "," ####","#    "," ### ","    #","#### ","     ","     "}},
  {'t', {" #   "," #   ","#### "," #   "," #   "," #   ","  ## ","     ","     "}},
  {'u', {"     ","     ","#   #","#   #","#   #","#   #"," ####","     ","     "}},
  {'v', {"     ","     ","#   #","#   #","#   #"," # # ","  #  ","     ","     "}},
  {'w', {"     ","     ","#   #","#   #","# # #","# # #"," # # ","     ","     "}},
  {'x', {"     ","     ","#   #"," # # ","  #  "," # # ","#   #","     ","     "}},
  {'y', {"     ","     ","#   #","#   #","#   #","#   #"," ####","    #"," ### "}},
  {'z', {"     ","     ","#####","   # ","  #  "," #   ","#####","     ","     "}},
  {'0', {" ### ","#   #","#  ##","# # #","##  #","#   #"," ### ","     ","     "}},
  {'1', {"  #  "," ##  ","  #  ","  #  ","  #  ","  #  "," ### ","     ","     "}},
  {'2', {" ### ","#   #","    #","   # ","  #  "," #   ","#####","     ","     "}},
  {'3', {"#### ","    #","    #"," ### ","    #","    #","#### ","     ","     "}},
  {'4', {"   # ","  ## "," # # ","#  # ","#####","   # ","   # ","     ","     "}},
  {'5', {"#####","#    ","#### ","    #","    #","#   #"," ### ","     ","     "}},
  {'6', {" ### ","#    ","#    ","#### ","#   #","#   #"," ### ","     ","     "}},
  {'7', {"#####","    #","   # ","  #  ","  #  ","  #  ","  #  ","     ","     "}},
  {'8', {" ### ","#   #","#   #"," ### ","#   #","#   #"," ### ","     ","     "}},
  {'9', {" ### ","#   #","#   #"," ####","    #","    #"," ### ","     ","     "}},
  {':', {"     ","     "," #   ","     ","     "," #   ","     ","     ","     "}},
  {'.', {"     ","     ","     ","     ","     ","     "," #   ","     ","     "}},
  {',', {"     ","     ","     ","     ","     "," #   "," #   ","#    ","     "}},
  {'!', {" #   "," #   "," #   "," #   "," #   ","     "," #   ","     ","     "}},
  {'?', {" ### ","#   #","    #","   # ","  #  ","     ","  #  ","     ","     "}},
  {'-', {"     ","     ","     ","#### ","     ","     ","     ","     ","     "}},
  {'/', {"    #","    #","   # ","  #  "," #   ","#    ","#    ","     ","     "}},
  {'<', {"   # ","  #  "," #   ","#    "," #   ","  #  ","   # ","     ","     "}},
  {'>', {"#    "," #   ","  #  ","   # ","  #  "," #   ","#    ","     ","     "}},
  {'\'', {" #   "," #   ","     ","     ","     ","     ","     ","     ","     "}},
  {'+', {"     ","  #  ","  #  ","#####","  #  ","  #  ","     ","     ","     "}},
};
// clang-format on

const Glyph* FindGlyph(char c) {
  for (const Glyph& g : kGlyphs)
    if (g.ch == c) return &g;
  return nullptr;
}

bool On(const Glyph& g, int col, int row) {
  return col >= 0 && col < 5 && row >= 0 && row < 9 && g.rows[row][col] == '#';
}

// Columns used by the glyph (first and one past the last set column); a space is 3 wide.
std::pair<int, int> GlyphColumns(const Glyph* g) {
  if (!g) return {0, 3};
  int lo = 5, hi = 0;
  for (int r = 0; r < 9; ++r)
    for (int c = 0; c < 5; ++c)
      if (On(*g, c, r)) {
        lo = std::min(lo, c);
        hi = std::max(hi, c + 1);
      }
  return lo < hi ? std::pair{lo, hi} : std::pair{0, 3};
}

struct Segment {
  float ax, ay, bx, by;  // in cells, glyph-local, y down from the top of the capitals
};

// The strokes of a glyph: every set cell joined to its set neighbours to the right and below,
// and diagonally where no right-angle path joins them.
std::vector<Segment> GlyphSegments(const Glyph& g) {
  std::vector<Segment> segments;
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 5; ++c) {
      if (!On(g, c, r)) continue;
      float x = c + 0.5f, y = r + 0.5f;
      segments.push_back({x, y, x, y});
      if (On(g, c + 1, r)) segments.push_back({x, y, x + 1, y});
      if (On(g, c, r + 1)) segments.push_back({x, y, x, y + 1});
      if (On(g, c + 1, r + 1) && !On(g, c + 1, r) && !On(g, c, r + 1))
        segments.push_back({x, y, x + 1, y + 1});
      if (On(g, c - 1, r + 1) && !On(g, c - 1, r) && !On(g, c, r + 1))
        segments.push_back({x, y, x - 1, y + 1});
    }
  }
  return segments;
}

}  // namespace

float TextWidth(const std::string& text, const TextStyle& style) {
  float cells = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    auto [lo, hi] = GlyphColumns(FindGlyph(text[i]));
    cells += hi - lo;
    if (i + 1 < text.size()) cells += style.spacing;
  }
  return (cells + 2 * style.strokeRadius) * style.cellSize;
}

TextBox TextBounds(const std::string& text, float x, float y, const TextStyle& style,
                   bool centred) {
  const float cell = style.cellSize;
  const float width = TextWidth(text, style);
  const float left = centred ? x - width / 2 : x;
  bool descends = false;
  for (char ch : text)
    if (const Glyph* g = FindGlyph(ch))
      for (int c = 0; c < 5; ++c) descends |= On(*g, c, 7);
  const float extra = (style.outline + style.shadowOffset) * cell;
  const float rows = descends ? 9.0f : 7.0f;
  return {left - extra, y - (style.strokeRadius - 0.5f) * cell - extra,
          left + width + 7 * style.slant * cell + extra,
          y + (rows + style.strokeRadius - 0.5f) * cell + extra};
}

void DrawText(Canvas& canvas, const std::string& text, float x, float y, const TextStyle& style,
              bool centred) {
  const float cell = style.cellSize;
  float left = centred ? x - TextWidth(text, style) / 2 : x;
  // Every stroke of the line in pixels, slanted.
  std::vector<Segment> strokes;
  float pen = style.strokeRadius;
  for (char ch : text) {
    const Glyph* g = FindGlyph(ch);
    const auto [lo, hi] = GlyphColumns(g);
    if (g) {
      // The column by value: a lambda may not capture a structured binding in every compiler.
      auto px = [&, lo = lo](float cx, float cy) {
        return left + (pen + cx - lo + (7 - cy) * style.slant) * cell;
      };
      for (Segment s : GlyphSegments(*g))
        strokes.push_back({px(s.ax, s.ay), y + s.ay * cell, px(s.bx, s.by), y + s.by * cell});
    }
    pen += hi - lo + style.spacing;
  }
  if (strokes.empty()) return;
  float x0 = strokes[0].ax, x1 = x0, y0 = strokes[0].ay, y1 = y0;
  for (const Segment& s : strokes) {
    x0 = std::min({x0, s.ax, s.bx});
    x1 = std::max({x1, s.ax, s.bx});
    y0 = std::min({y0, s.ay, s.by});
    y1 = std::max({y1, s.ay, s.by});
  }
  // Strokes grouped by glyph with their bounding boxes, so each sample tests only nearby ones.
  struct Box {
    float x0, y0, x1, y1;
    size_t begin, end;
  };
  std::vector<Box> boxes;
  for (size_t i = 0; i < strokes.size(); ++i) {
    const Segment& s = strokes[i];
    bool join =
        !boxes.empty() && i == boxes.back().end && std::abs(s.ax - boxes.back().x0) < 6 * cell;
    if (!join) boxes.push_back({s.ax, s.ay, s.ax, s.ay, i, i});
    Box& b = boxes.back();
    b.x0 = std::min({b.x0, s.ax, s.bx});
    b.x1 = std::max({b.x1, s.ax, s.bx});
    b.y0 = std::min({b.y0, s.ay, s.by});
    b.y1 = std::max({b.y1, s.ay, s.by});
    b.end = i + 1;
  }
  auto layer = [&](float radiusCells, float dx, float dy, auto colourAt, float opacity) {
    float r = radiusCells * cell, r2 = r * r;
    canvas.fillShape(
        x0 - r + dx, y0 - r + dy, x1 + r + dx, y1 + r + dy,
        [&](float px, float py) {
          px -= dx;
          py -= dy;
          for (const Box& b : boxes) {
            if (px < b.x0 - r || px > b.x1 + r || py < b.y0 - r || py > b.y1 + r) continue;
            for (size_t i = b.begin; i < b.end; ++i) {
              const Segment& s = strokes[i];
              if (SegmentDistanceSquared(px, py, s.ax, s.ay, s.bx, s.by) <= r2) return true;
            }
          }
          return false;
        },
        colourAt, opacity);
  };
  const float radius = style.strokeRadius;
  if (style.shadowOffset > 0) {
    float d = style.shadowOffset * cell;
    Colour shadow = style.shadowColour;
    layer(
        radius + style.outline, d, d, [shadow](float, float) { return shadow; },
        style.shadowOpacity);
  }
  if (style.outline > 0) {
    Colour outline = style.outlineColour;
    layer(
        radius + style.outline, 0, 0, [outline](float, float) { return outline; }, 1.0f);
  }
  layer(
      radius, 0, 0,
      [&](float, float py) {
        if (!style.gradient) return style.fill;
        return Mix(style.fill, style.fillBottom, Clamp01((py - y) / (7 * cell)));
      },
      1.0f);
}

}  // namespace content
