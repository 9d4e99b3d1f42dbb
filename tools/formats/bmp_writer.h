// Writes RGB pictures as Windows bitmap files in every pixel format the game's reader accepts.
// Used by the content generator, the tests and the fuzz seeds; independent of the game library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace formats {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A picture held bottom row first, 3 bytes (red, green, blue) per pixel, rows unpadded.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;

  Picture() = default;
  Picture(int w, int h, Rgb fill = {});
  // (x, y) with y = 0 the bottom row.
  Rgb at(int x, int y) const;
  void set(int x, int y, Rgb c);
};

enum class BmpPixelFormat {
  Rgb24,     // 24 bits per pixel, blue-green-red
  Rgb32,     // 32 bits per pixel, blue-green-red-unused
  Rgb555,    // 16 bits per pixel, 5 bits per channel
  Indexed8,  // 8 bits per pixel through a colour table
  Rle8,      // 8-bit run-length compressed (standard header only)
  Indexed4,  // 4 bits per pixel through a colour table
  Rle4,      // 4-bit run-length compressed (standard header only)
  Mono1,     // 1 bit per pixel, two-colour table
};

enum class BmpHeaderKind {
  Info40,  // the standard 40-byte header, 4-byte colour entries
  Core12,  // the old 12-byte header, 3-byte colour entries
};

struct BmpOptions {
  BmpPixelFormat format = BmpPixelFormat::Rgb24;
  BmpHeaderKind header = BmpHeaderKind::Info40;
  // The 14-byte "BM" file header; without it the file is a packed bitmap.
  bool fileHeader = true;
  // Colour table for the indexed formats; empty means "quantise the picture".
  std::vector<Rgb> palette;
  // Ordered (Bayer) dithering while mapping to the colour table: hides banding on gradients.
  bool dither = false;
  // Standard header only: write the colours-used field with the table's real size (and only
  // that many entries) instead of 0 with a full table.
  bool shortColourTable = false;
};

// Bits per pixel of a format.
int BmpBitsPerPixel(BmpPixelFormat format);

// A deterministic colour table of at most maxColours entries for the picture: its exact colours
// when there are few enough, otherwise a median-cut reduction.
std::vector<Rgb> QuantisePalette(const Picture& picture, int maxColours);

// Index of the palette entry nearest to c (squared distance; lowest index on ties).
int NearestPaletteIndex(const std::vector<Rgb>& palette, Rgb c);

// The picture as BMP bytes. Throws std::invalid_argument for combinations the format cannot
// express (run-length with the old header, a palette larger than the depth allows, an empty
// picture).
std::vector<uint8_t> EncodeBmp(const Picture& picture, const BmpOptions& options = {});

// Writes EncodeBmp's bytes to path; false when the file cannot be written.
bool WriteBmpFile(const std::string& path, const Picture& picture, const BmpOptions& options = {});

// Writes any byte vector to a file; false on failure. Shared by the writers.
bool WriteBytesToFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace formats
