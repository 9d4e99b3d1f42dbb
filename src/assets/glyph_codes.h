// Texts turned into the outline font's glyph codes, one byte a glyph (Windows-1252).
#pragma once

#include <string>
#include <string_view>

// Each UTF-8 character becomes the code of its glyph, '?' when the font has none; bytes that do
// not form a UTF-8 character are taken as codes themselves. ASCII stays as it is.
std::string GlyphCodes(std::string_view text);
