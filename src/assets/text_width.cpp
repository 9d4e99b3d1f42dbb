// Text widths from the bold sans-serif outlines' advances.
#include "assets/text_width.h"

#include "assets/glyph_codes.h"
#include "platform/font_face.h"

float GlyphCodesWidth(std::string_view codes) {
  const platform::FontOutlines& font = platform::BoldSansOutlines();
  // Summed in float, glyph by glyph, as the glyph lists move the drawing position.
  float width = 0.0f;
  for (const unsigned char code : codes.substr(0, 255)) {
    if (code < font.glyphs.size()) width += static_cast<float>(font.glyphs[code].advance);
  }
  return width;
}

float TextWidth(std::string_view text) {
  return GlyphCodesWidth(GlyphCodes(text));
}
