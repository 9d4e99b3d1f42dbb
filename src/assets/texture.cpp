// Texture loading: one bitmap file becomes one linear-filtered 2-D texture.
#include "assets/texture.h"

#include <algorithm>

#include "assets/bmp_image.h"

GLuint LoadTexture(const char* fileName) {
  GLuint texture = 0;
  // A picture OpenGL cannot take is refused by the reader before it is allocated.
  GLint maxSide = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
  std::unique_ptr<RgbImage> image =
      LoadBmpImage(fileName, maxSide > 0 ? std::min(maxSide, kMaxDibDimension) : kMaxDibDimension);
  if (image && !image->pixels.empty()) {
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    // Picture rows are packed at 3 * width bytes, which the default alignment of 4 would
    // misread for most widths.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, image->width, image->height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 image->pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  }
  return texture;
}
