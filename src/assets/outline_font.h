// The extruded outline font: one display list per character code, and the printf-style text
// printer that draws with them, centred along x on the current origin.
#pragma once

#include <cstdint>

// Metrics of one glyph in em units (the em square is 1.0), in the order of the Windows
// GLYPHMETRICSFLOAT record. PrintText uses only cellIncX.
struct GlyphMetric {
  float blackBoxX = 0;
  float blackBoxY = 0;
  float glyphOriginX = 0;  // left edge of the black box
  float glyphOriginY = 0;  // top edge of the black box
  float cellIncX = 0;      // how far the glyph's list moves the drawing position along x
  float cellIncY = 0;
};

// First of the 256 consecutive display lists, one per character code (Windows-1252).
extern uint32_t FontListBase;
// Filled by BuildFont for codes 0 to 254; the entry of code 255 stays zero.
extern GlyphMetric GlyphMetrics[256];

// Starts reading and triangulating the font's outlines on a worker thread, so that BuildFont
// finds them ready; GL-free. Without it BuildFont does that work itself.
void PrepareFont();

// Makes the 256 glyph lists in the current GL context and fills GlyphMetrics. Called at the end
// of every scene initialisation; safe to call again in each new context. A glyph's list gets
// its contents the first time a text (or GlyphList) uses it.
void BuildFont();

// The list that draws one character in the current context, its glyph compiled if it was not
// yet; 0 when the font has no lists in this context. Not to be called while compiling a list.
uint32_t GlyphList(unsigned char code);

// Formats like printf (at most 255 bytes; longer texts are cut), moves left by half the text's
// width and draws it with the glyph lists, UTF-8 characters as their glyphs (GlyphCodes). A
// null format draws nothing.
void PrintText(const char* format, ...) __attribute__((format(printf, 1, 2)));
