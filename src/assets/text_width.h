// The width of a text in the outline font, measured without GL.
#pragma once

#include <string_view>

// Width in em of a text as PrintText lays it out: the sum of its glyphs' advances (UTF-8
// characters as their glyphs, see GlyphCodes; code 255 and codes the font lacks advance nothing),
// cut to 255 glyphs as PrintText cuts it. Read from the font's outlines, so a text can be
// measured before any window exists; 0 without a font.
float TextWidth(std::string_view text);
// The same for a text already turned into glyph codes (GlyphCodes).
float GlyphCodesWidth(std::string_view codes);
