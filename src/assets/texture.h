// Makes OpenGL textures from bitmap files.
#pragma once

#include <GL/gl.h>

// Makes a 2-D texture (3 components, linear filtering, no mipmaps) from the bitmap in fileName
// and leaves it bound. Needs a current GL context. Returns 0 when the picture cannot be had.
GLuint LoadTexture(const char* fileName);
