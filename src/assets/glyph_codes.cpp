// UTF-8 to the font's Windows-1252 glyph codes.
#include "assets/glyph_codes.h"

#include <cstdint>

#include "platform/font_face.h"

namespace {

// The length of the UTF-8 character at the start of `text` and its code point; 0 when the bytes
// there are not one (a lone or cut sequence, an overlong form, a surrogate).
size_t Utf8Character(std::string_view text, uint32_t& code) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  const size_t length = lead >= 0xF0 && lead < 0xF5   ? 4
                        : lead >= 0xE0 && lead < 0xF0 ? 3
                        : lead >= 0xC2 && lead < 0xE0 ? 2
                                                      : 0;
  if (length == 0 || text.size() < length) return 0;
  code = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = code << 6 | (byte(i) & 0x3F);
  }
  const uint32_t least[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return 0;
  return length;
}

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
    const size_t length =
        static_cast<unsigned char>(text[i]) < 0x80 ? 0 : Utf8Character(text.substr(i), code);
    if (length == 0) {
      codes += text[i++];
    } else {
      codes += GlyphOf(code);
      i += length;
    }
  }
  return codes;
}
