// Escaping and clipping outside text for the terminal.
#include "assets/terminal_text.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "assets/utf8_sequence.h"

namespace {

// Characters a terminal acts on instead of showing: controls, and those that reorder text.
bool Acts(uint32_t point) {
  return point < 0x20 || (point >= 0x7F && point < 0xA0) || point == 0x061C || point == 0x200E ||
         point == 0x200F || (point >= 0x2028 && point <= 0x202E) ||
         (point >= 0x2066 && point <= 0x2069);
}

}  // namespace

std::string TerminalText(std::string_view text) {
  // Each shown piece with the characters it takes on the terminal.
  std::vector<std::pair<std::string, size_t>> pieces;
  size_t shown = 0;
  while (!text.empty() && shown <= TerminalTextLongest) {
    uint32_t point = 0;
    size_t length = Utf8Sequence(text, point);
    std::string piece;
    if (length > 0 && !Acts(point)) {
      piece.assign(text.substr(0, length));
      pieces.emplace_back(std::move(piece), 1);
      ++shown;
    } else {
      length = length == 0 ? 1 : length;
      for (size_t i = 0; i < length; ++i) {
        char escape[5];
        std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[i]));
        piece += escape;
      }
      shown += 4 * length;
      pieces.emplace_back(std::move(piece), 4 * length);
    }
    text.remove_prefix(length);
  }
  const bool cut = shown > TerminalTextLongest || !text.empty();
  std::string result;
  size_t taken = 0;
  for (const auto& [piece, width] : pieces) {
    if (cut && taken + width > TerminalTextLongest - 1) break;
    result += piece;
    taken += width;
  }
  if (cut) result += "\xE2\x80\xA6";  // …
  return result;
}
