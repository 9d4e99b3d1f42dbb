// The outline font behind the game's text: bold "Arial" (or a metric twin) found through
// fontconfig, its glyph outlines read with FreeType, flattened and scaled to an em of 1.0.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct OutlinePoint {
  double x = 0;
  double y = 0;
};

// One glyph in em units. Contours are closed polygons (the last point joins the first) whose
// filled side lies on the left of the direction of travel: outer contours run counter-clockwise.
struct GlyphOutline {
  std::vector<std::vector<OutlinePoint>> contours;
  double advance = 0;    // how far the pen moves along x after the glyph
  bool evenOdd = false;  // the font's fill rule: even-odd, otherwise non-zero winding
};

struct FontOutlines {
  std::string family;  // the face that was found; empty when there is none
  std::string file;
  // Indexed by Windows-1252 code 0 to 254 (code 255 is not made).
  std::array<GlyphOutline, 255> glyphs;
};

// The bold sans-serif outlines, read on the first call and kept for the rest of the run (the
// FreeType face is closed at once). When no bold Arial-compatible face exists another bold
// sans-serif face is used and a note goes to standard error; when there is none at all every
// glyph is empty.
const FontOutlines& BoldSansOutlines();
// Finds and reads the face anew, without the cache (for measuring).
FontOutlines ReadBoldSansOutlines();

// The Unicode code point of a Windows-1252 byte; 0 for the five codes it leaves undefined.
uint32_t Windows1252ToUnicode(uint8_t code);

// Longest distance, in em units, between a flattened curve and the true one: about a tenth of
// a pixel at the largest text the game shows (some 120 pixels to the em), so round letters
// stay round there.
inline constexpr double kOutlineFlatness = 0.001;

}  // namespace platform
