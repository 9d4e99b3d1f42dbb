// Text widths from the bold sans-serif outlines' advances.
#include "assets/text_width.h"

#include "platform/font_face.h"

float TextWidth(std::string_view text) {
  const platform::FontOutlines& font = platform::BoldSansOutlines();
  // Summed in float, glyph by glyph, as the glyph lists move the drawing position.
  float width = 0.0f;
  for (const unsigned char code : text.substr(0, 255)) {
    if (code < font.glyphs.size()) width += static_cast<float>(font.glyphs[code].advance);
  }
  return width;
}
