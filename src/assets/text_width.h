// The width of a text in the outline font, measured without GL.
#pragma once

#include <string_view>

// Width in em of a text as PrintText lays it out: the sum of its bytes' advances (code 255 and
// codes the font lacks advance nothing), cut to 255 characters as PrintText cuts it. Read from
// the font's outlines, so a text can be measured before any window exists; 0 without a font.
float TextWidth(std::string_view text);
