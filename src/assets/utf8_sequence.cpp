// Reads one UTF-8 character, refusing every ill-formed sequence.
#include "assets/utf8_sequence.h"

size_t Utf8Sequence(std::string_view text, uint32_t& point) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    point = lead;
    return 1;
  }
  const size_t length = lead >= 0xC2 && lead < 0xE0   ? 2
                        : lead >= 0xE0 && lead < 0xF0 ? 3
                        : lead >= 0xF0 && lead < 0xF5 ? 4
                                                      : 0;
  if (length == 0 || text.size() < length) return 0;
  point = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    point = (point << 6) | (byte(i) & 0x3F);
  }
  const uint32_t lowest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (point < lowest[length] || point > 0x10FFFF || (point >= 0xD800 && point < 0xE000)) return 0;
  return length;
}
