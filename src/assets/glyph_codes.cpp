// UTF-8 to the font's Windows-1252 glyph codes.
#include "assets/glyph_codes.h"

#include <cstdint>

#include "assets/utf8_sequence.h"
#include "platform/font_face.h"

namespace {

char GlyphOf(uint32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  for (int glyph = 0x80; glyph < 0xA0; ++glyph)
    if (platform::Windows1252ToUnicode(static_cast<uint8_t>(glyph)) == code)
      return static_cast<char>(glyph);
  return '?';
}

}  // namespace

std::string GlyphCodes(std::string_view text) {
  std::string codes;
  codes.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    uint32_t code = 0;
    const size_t length = Utf8Sequence(text.substr(i), code);
    if (length == 0) {
      codes += text[i++];
    } else {
      codes += GlyphOf(code);
      i += length;
    }
  }
  return codes;
}
