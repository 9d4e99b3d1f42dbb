// Reads one UTF-8 character: shared by the font's glyph codes and the terminal's escaping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The length of the well-formed UTF-8 sequence at the start of `text` (not empty) and its code
// point; 1 for an ASCII byte; 0 for a byte that starts none (a stray continuation, a lone or cut
// sequence, an overlong form, a surrogate, past U+10FFFF).
size_t Utf8Sequence(std::string_view text, uint32_t& point);
