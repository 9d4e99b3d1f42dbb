// Text widths from the bold sans-serif outlines' advances.
#include "assets/text_width.h"

#include "platform/font_face.h"

float OutlineTextWidth(std::string_view text) {
  const platform::FontOutlines& font = platform::BoldSansOutlines();
  double width = 0;
  for (const unsigned char code : text) {
    if (code < font.glyphs.size()) width += font.glyphs[code].advance;
  }
  return static_cast<float>(width);
}
