// Texture loading: one bitmap file becomes one mipmapped 2-D texture, its levels box-filtered
// here so that every GL gives the same pictures.
#include "assets/texture.h"

#include <algorithm>
#include <utility>

#include "assets/bmp_image.h"

std::vector<uint8_t> HalvePicture(const uint8_t* pixels, int width, int height) {
  const int w = std::max(1, width / 2), h = std::max(1, height / 2);
  std::vector<uint8_t> half(size_t(w) * h * 3);
  const size_t stride = size_t(width) * 3;
  for (int y = 0; y < h; ++y) {
    const uint8_t* row0 = pixels + size_t(std::min(2 * y, height - 1)) * stride;
    const uint8_t* row1 = pixels + size_t(std::min(2 * y + 1, height - 1)) * stride;
    uint8_t* out = half.data() + size_t(y) * w * 3;
    for (int x = 0; x < w; ++x) {
      const size_t a = size_t(std::min(2 * x, width - 1)) * 3;
      const size_t b = size_t(std::min(2 * x + 1, width - 1)) * 3;
      for (int c = 0; c < 3; ++c)
        out[x * 3 + c] = uint8_t((row0[a + c] + row0[b + c] + row1[a + c] + row1[b + c] + 2) / 4);
    }
  }
  return half;
}

GLuint LoadTexture(const char* fileName) {
  GLuint texture = 0;
  std::unique_ptr<RgbImage> image = LoadBmpImage(fileName);
  if (image && !image->pixels.empty()) {
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    // The filters come first: a mipmapped minification filter at the first upload lets the GL
    // allocate the whole chain at once instead of one level at a time and copying them later.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Picture rows are packed at 3 * width bytes, which the default alignment of 4 would
    // misread for most widths.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Every level down to 1 by 1, each made from the one before; the decoded picture is let go
    // as soon as its half is made, so at most two levels are held at once.
    int width = image->width, height = image->height;
    std::vector<uint8_t> pixels = std::move(image->pixels);
    image.reset();
    for (GLint level = 0;; ++level) {
      glTexImage2D(GL_TEXTURE_2D, level, GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                   pixels.data());
      if (width == 1 && height == 1) break;
      pixels = HalvePicture(pixels.data(), width, height);
      width = std::max(1, width / 2);
      height = std::max(1, height / 2);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
  }
  return texture;
}
