// Triangulates a glyph outline (the filled region between its contours) with the GLU
// tessellator. CPU only: no GL context needed.
#pragma once

#include <vector>

#include "platform/font_face.h"

// Corners of the filled region's triangles as x, y pairs, three corners per triangle, each
// triangle counter-clockwise seen from +z. The glyph's own fill rule decides what is inside.
std::vector<double> TessellateGlyph(const platform::GlyphOutline& glyph);
