// Fuzzes the bitmap decoder: any bytes must decode to a consistent picture or be refused,
// without reading outside the input, and the check must say the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "assets/dib_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RgbImage image;
  // A lower size limit keeps every input fast; the production limit is covered by the tests.
  DibStatus status = DecodeDib({data, size}, image, 1024);
  if (status == DibStatus::Ok) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height * 3) {
      std::abort();
    }
  } else if (!image.pixels.empty()) {
    std::abort();
  }
  // The check that decodes nothing must agree with the decoding, size and all.
  int32_t width = 0, height = 0;
  if (CheckDib({data, size}, width, height, 1024) != status || width != image.width ||
      height != image.height) {
    std::abort();
  }
  return 0;
}
