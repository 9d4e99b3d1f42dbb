// Outline-font texts drawn once into intensity textures and shown from them: each letter is a
// solid of many triangles, which a software renderer fills slowly, while a texture is one quad.
#include "editor/text_textures.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "assets/glyph_codes.h"
#include "assets/outline_font.h"
#include "platform/gl_context_generation.h"

namespace {

// The texts' pixels go to textures no larger than this a side; a longer text is drawn directly.
constexpr int LargestSide = 2048;

int PowerOfTwo(int at_least) {
  int side = 1;
  while (side < at_least) side *= 2;
  return side;
}

}  // namespace

void TextTextures::beginFrame(const int viewport[4]) {
  ++frame_;
  if (generation_ != platform::GlContextGeneration()) {
    release();  // names of an earlier context are only forgotten
    generation_ = platform::GlContextGeneration();
  }
  // Texts the last frame did not show are gone from the screen.
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (it->lastFrame >= frame_ - 1) {
      ++it;
      continue;
    }
    if (it->texture != 0) glDeleteTextures(1, &it->texture);
    it = entries_.erase(it);
  }
  bool making = false;
  for (Entry& entry : entries_) {
    if (entry.texture != 0 || entry.streak < 2) continue;
    if (!making) {
      glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT | GL_CURRENT_BIT | GL_ENABLE_BIT);
      glDisable(GL_TEXTURE_2D);
      glDisable(GL_ALPHA_TEST);
      glDisable(GL_BLEND);
      glDisable(GL_DEPTH_TEST);
      glClearColor(0, 0, 0, 0);
      glColor3f(1, 1, 1);
      making = true;
    }
    make(entry, viewport);
  }
  if (making) glPopAttrib();
}

void TextTextures::make(Entry& e, const int viewport[4]) {
  // The letters' black boxes, in em from the text's left end on its base line.
  float cursor = 0, left = 0, right = 0, bottom = 0, top = 0;
  for (unsigned char c : GlyphCodes(e.text)) {
    const GlyphMetric& g = GlyphMetrics[c];
    left = std::min(left, cursor + g.glyphOriginX);
    right = std::max(right, cursor + g.glyphOriginX + g.blackBoxX);
    bottom = std::min(bottom, g.glyphOriginY - g.blackBoxY);
    top = std::max(top, g.glyphOriginY);
    cursor += g.cellIncX;
  }
  // Two pixels more on each side for the rasterizer's rounding, cut to the window.
  const int x0 = std::max(0, static_cast<int>(std::floor(e.x + left * e.size)) - 2);
  const int y0 = std::max(0, static_cast<int>(std::floor(e.y + bottom * e.size)) - 2);
  const int x1 = std::min(viewport[2], static_cast<int>(std::ceil(e.x + right * e.size)) + 2);
  const int y1 = std::min(viewport[3], static_cast<int>(std::ceil(e.y + top * e.size)) + 2);
  if (x1 <= x0 || y1 <= y0 || x1 - x0 > LargestSide || y1 - y0 > LargestSide) {
    e.streak = std::numeric_limits<int>::min() / 2;  // drawn directly for as long as it is shown
    return;
  }
  e.left = x0, e.bottom = y0, e.width = x1 - x0, e.height = y1 - y0;
  e.textureWidth = PowerOfTwo(e.width), e.textureHeight = PowerOfTwo(e.height);
  // Drawn where it is shown, with the frame's own matrices, so that the same pixels are lit.
  glEnable(GL_SCISSOR_TEST);
  glScissor(viewport[0] + x0, viewport[1] + y0, e.width, e.height);
  glClear(GL_COLOR_BUFFER_BIT);
  draw_(e.x, e.y, e.size, e.text);
  glDisable(GL_SCISSOR_TEST);
  glGenTextures(1, &e.texture);
  glBindTexture(GL_TEXTURE_2D, e.texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  // Intensity: a lit pixel (white) becomes 1 in colour and alpha, the rest 0.
  glTexImage2D(GL_TEXTURE_2D, 0, GL_INTENSITY8, e.textureWidth, e.textureHeight, 0, GL_LUMINANCE,
               GL_UNSIGNED_BYTE, nullptr);
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, viewport[0] + x0, viewport[1] + y0, e.width,
                      e.height);
}

void TextTextures::show(double x, double y, double size, const std::string& text) {
  auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
    return e.x == x && e.y == y && e.size == size && e.text == text;
  });
  if (it == entries_.end()) {
    entries_.push_back({text, x, y, size});
    it = entries_.end() - 1;
  }
  if (it->lastFrame != frame_) {
    it->streak = it->lastFrame == frame_ - 1 ? it->streak + 1 : 1;
    it->lastFrame = frame_;
  }
  if (it->texture == 0) return draw_(x, y, size, text);
  // One quad over the pixels it holds, a texel a pixel; the unlit ones fail the alpha test.
  glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, it->texture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.5f);
  glDisable(GL_BLEND);
  const float s = static_cast<float>(it->width) / it->textureWidth;
  const float t = static_cast<float>(it->height) / it->textureHeight;
  const int x0 = it->left, y0 = it->bottom, x1 = it->left + it->width, y1 = it->bottom + it->height;
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2i(x0, y0);
  glTexCoord2f(s, 0);
  glVertex2i(x1, y0);
  glTexCoord2f(s, t);
  glVertex2i(x1, y1);
  glTexCoord2f(0, t);
  glVertex2i(x0, y1);
  glEnd();
  glPopAttrib();
}

void TextTextures::release() {
  for (Entry& e : entries_)
    if (e.texture != 0 && generation_ == platform::GlContextGeneration())
      glDeleteTextures(1, &e.texture);
  entries_.clear();
}

size_t TextTextures::textureCount() const {
  return static_cast<size_t>(
      std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.texture; }));
}
