// Makes OpenGL textures from bitmap files.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <string>
#include <vector>

// How a texture is minified. Surfaces seen far off and at a slant (road, kerbs, models) get
// mipmaps with trilinear minification, so they do not shimmer; pictures drawn about the size of
// the screen (menus, skies) need none, and on a software renderer every mipmapped pixel costs
// two level reads, so they keep plain linear filtering and a single level.
enum class TextureFilter { Mipmapped, Linear };

// Makes a 2-D RGB texture from the bitmap in fileName (linear magnification, default wrap,
// minification by filter) and leaves it bound. Needs a current GL context. Returns 0 when
// the picture cannot be had. Takes the picture prefetched for that name if there is one; a
// reading or decoding failure shows its "Error" box now, so boxes come in the order of the calls.
GLuint LoadTexture(const char* fileName, TextureFilter filter = TextureFilter::Mipmapped);

// Checks the bitmap in fileName as LoadTexture would, without making a texture or keeping its
// pixels: true when LoadTexture could make one now. Needs a current GL context (for the largest
// size it takes). A reading or decoding failure shows its "Error" box now, as LoadTexture does.
bool CheckTexture(const char* fileName);

// A picture to read and decode ahead: for a LoadTexture call to come, or only for a CheckTexture
// call, in which case the worker drops the pixels as soon as they are decoded.
struct PictureRequest {
  enum Use { Load, Check };
  std::string fileName;
  Use use = Load;
  // For a load, the filter LoadTexture will ask for: the worker makes the mipmap levels too.
  TextureFilter filter = TextureFilter::Mipmapped;
};

// Starts reading and decoding the requested bitmaps on two worker threads, in list order,
// for the calls to come; GL-free and silent. The same request made twice is prepared once, for both
// calls.
void PrefetchTextures(const std::vector<PictureRequest>& requests);
// True when every picture asked for with PrefetchTextures and not yet taken is prepared: taking
// it would not wait.
bool PrefetchedPicturesReady();
// Forgets every picture asked for and not yet taken; one being prepared is finished and dropped.
// A game that ends leaves none of them to a game started after it in the same process.
void DropPrefetchedPictures();

// The next smaller mipmap level of a packed RGB picture (rows of exactly 3 * width bytes):
// half the width and height (rounded down, at least 1), every pixel the rounded mean of the 2 by 2
// block it covers; an odd size's last row or column is left out, a size of 1 is used twice.
std::vector<uint8_t> HalvePicture(const uint8_t* pixels, int width, int height);
