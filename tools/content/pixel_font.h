// A small built-in dot-matrix font (5 by 7 cells, two more rows for descenders) drawn as
// rounded strokes, for the texts painted into menu pictures and model skins.
#pragma once

#include <string>

#include "content/canvas.h"

namespace content {

struct TextStyle {
  float cellSize = 4.0f;      // pixels per font cell; capitals are 7 cells high
  float strokeRadius = 0.6f;  // in cells: 0.5 just joins neighbouring dots
  float slant = 0.0f;         // horizontal shift per cell of height (italics)
  float spacing = 1.4f;       // extra cells between letters
  Colour fill{1, 1, 1};
  // Vertical gradient: the fill at the top of the capitals blends into fillBottom at the base.
  bool gradient = false;
  Colour fillBottom{1, 1, 1};
  float outline = 0.0f;  // extra radius in cells drawn behind the letters in outlineColour
  Colour outlineColour{0, 0, 0};
  float shadowOffset = 0.0f;  // in cells, down and right; 0 for none
  Colour shadowColour{0, 0, 0};
  float shadowOpacity = 0.6f;
};

// Width in pixels of the text as DrawText lays it out.
float TextWidth(const std::string& text, const TextStyle& style);

// The box (pixels, y down) that DrawText with these arguments paints into, outline and shadow
// included; descenders count only when the text has any.
struct TextBox {
  float x0, y0, x1, y1;
};
TextBox TextBounds(const std::string& text, float x, float y, const TextStyle& style,
                   bool centred = true);

// Draws the text with the top of its capitals at y; x is its left edge, or its centre when
// centred is set. Characters without a glyph are drawn as spaces.
void DrawText(Canvas& canvas, const std::string& text, float x, float y, const TextStyle& style,
              bool centred = true);

}  // namespace content
