// The width of a text in the outline font, measured without GL.
#pragma once

#include <string_view>

// Width in em of a text as PrintText lays it out (the sum of its bytes' advances, as TextWidth
// gives them once the font is built), read from the font's outlines: GL-free, so a text can be
// measured before any window exists. 0 without a font.
float OutlineTextWidth(std::string_view text);
