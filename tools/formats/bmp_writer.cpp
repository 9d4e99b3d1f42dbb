// Windows bitmap writer: headers, colour tables, palette reduction and run-length encoding.
#include "formats/bmp_writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <unordered_map>

namespace formats {

Picture::Picture(int w, int h, Rgb fill) : width(w), height(h) {
  rgb.resize(static_cast<size_t>(std::max(w, 0)) * std::max(h, 0) * 3);
  for (size_t i = 0; i < rgb.size(); i += 3) {
    rgb[i] = fill.r;
    rgb[i + 1] = fill.g;
    rgb[i + 2] = fill.b;
  }
}

Rgb Picture::at(int x, int y) const {
  size_t i = (static_cast<size_t>(y) * width + x) * 3;
  return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

void Picture::set(int x, int y, Rgb c) {
  size_t i = (static_cast<size_t>(y) * width + x) * 3;
  rgb[i] = c.r;
  rgb[i + 1] = c.g;
  rgb[i + 2] = c.b;
}

int BmpBitsPerPixel(BmpPixelFormat format) {
  switch (format) {
    case BmpPixelFormat::Rgb24:
      return 24;
    case BmpPixelFormat::Rgb32:
      return 32;
    case BmpPixelFormat::Rgb555:
      return 16;
    case BmpPixelFormat::Indexed8:
    case BmpPixelFormat::Rle8:
      return 8;
    case BmpPixelFormat::Indexed4:
    case BmpPixelFormat::Rle4:
      return 4;
    case BmpPixelFormat::Mono1:
      return 1;
  }
  return 24;
}

namespace {

uint32_t Pack(Rgb c) {
  return (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
}
Rgb Unpack(uint32_t v) {
  return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

struct ColourCount {
  uint32_t colour;
  uint32_t count;
};

int Channel(uint32_t colour, int axis) {
  return (colour >> (16 - 8 * axis)) & 0xff;
}

// One box of the median cut: a range [begin, end) of the sorted colour list.
struct Box {
  size_t begin, end;
  int longestAxis = 0;
  int range = 0;
};

void Measure(const std::vector<ColourCount>& colours, Box& box) {
  std::array<int, 3> lo{255, 255, 255}, hi{0, 0, 0};
  for (size_t i = box.begin; i < box.end; ++i) {
    for (int a = 0; a < 3; ++a) {
      lo[a] = std::min(lo[a], Channel(colours[i].colour, a));
      hi[a] = std::max(hi[a], Channel(colours[i].colour, a));
    }
  }
  box.range = -1;
  for (int a = 0; a < 3; ++a) {
    if (hi[a] - lo[a] > box.range) {
      box.range = hi[a] - lo[a];
      box.longestAxis = a;
    }
  }
}

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, v & 0xffff);
  PutU16(out, v >> 16);
}
void SetU32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Colour-table indices of every pixel, bottom row first.
std::vector<uint8_t> MapToPalette(const Picture& picture, const std::vector<Rgb>& palette,
                                  bool dither) {
  static constexpr std::array<std::array<int, 4>, 4> kBayer{
      {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}}};
  const double spread = 128.0 / std::cbrt(static_cast<double>(palette.size()));
  std::unordered_map<uint32_t, uint8_t> cache;
  std::vector<uint8_t> indices(static_cast<size_t>(picture.width) * picture.height);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      Rgb c = picture.at(x, y);
      if (dither) {
        double offset = ((kBayer[y & 3][x & 3] + 0.5) / 16.0 - 0.5) * spread;
        auto shift = [offset](uint8_t v) {
          return static_cast<uint8_t>(
              std::clamp(static_cast<int>(std::lround(v + offset)), 0, 255));
        };
        c = {shift(c.r), shift(c.g), shift(c.b)};
      }
      uint32_t key = Pack(c);
      auto found = cache.find(key);
      uint8_t index;
      if (found != cache.end()) {
        index = found->second;
      } else {
        index = static_cast<uint8_t>(NearestPaletteIndex(palette, c));
        cache.emplace(key, index);
      }
      indices[static_cast<size_t>(y) * picture.width + x] = index;
    }
  }
  return indices;
}

size_t RowStride(int width, int bits) {
  return ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
}

void EncodeUncompressed(const Picture& picture, BmpPixelFormat format,
                        const std::vector<uint8_t>& indices, std::vector<uint8_t>& out) {
  const int bits = BmpBitsPerPixel(format);
  const size_t stride = RowStride(picture.width, bits);
  for (int y = 0; y < picture.height; ++y) {
    std::vector<uint8_t> row(stride, 0);
    for (int x = 0; x < picture.width; ++x) {
      Rgb c = picture.at(x, y);
      size_t index = indices.empty() ? 0 : indices[static_cast<size_t>(y) * picture.width + x];
      switch (format) {
        case BmpPixelFormat::Rgb24:
          row[x * 3] = c.b;
          row[x * 3 + 1] = c.g;
          row[x * 3 + 2] = c.r;
          break;
        case BmpPixelFormat::Rgb32:
          row[x * 4] = c.b;
          row[x * 4 + 1] = c.g;
          row[x * 4 + 2] = c.r;
          break;
        case BmpPixelFormat::Rgb555: {
          uint32_t v = ((c.r >> 3) << 10) | ((c.g >> 3) << 5) | (c.b >> 3);
          row[x * 2] = static_cast<uint8_t>(v);
          row[x * 2 + 1] = static_cast<uint8_t>(v >> 8);
          break;
        }
        case BmpPixelFormat::Indexed8:
          row[x] = static_cast<uint8_t>(index);
          break;
        case BmpPixelFormat::Indexed4:
          row[x / 2] |= static_cast<uint8_t>((x % 2 == 0) ? index << 4 : index);
          break;
        case BmpPixelFormat::Mono1:
          row[x / 8] |= static_cast<uint8_t>((index & 1) << (7 - x % 8));
          break;
        default:
          break;
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
}

// Run-length encoding, 8 or 4 bits per pixel: runs of equal pixels as (count, value), other
// stretches of three or more pixels in absolute mode, each row closed by an end-of-line code
// and the picture by an end-of-bitmap code.
void EncodeRle(const Picture& picture, bool fourBits, const std::vector<uint8_t>& indices,
               std::vector<uint8_t>& out) {
  const int w = picture.width;
  for (int y = 0; y < picture.height; ++y) {
    const uint8_t* row = indices.data() + static_cast<size_t>(y) * w;
    auto runAt = [&](int i) {
      int n = 1;
      while (i + n < w && n < 255 && row[i + n] == row[i]) ++n;
      return n;
    };
    auto encodedRun = [&](int count, uint8_t v) {
      out.push_back(static_cast<uint8_t>(count));
      out.push_back(fourBits ? static_cast<uint8_t>((v << 4) | v) : v);
    };
    int i = 0;
    while (i < w) {
      int run = runAt(i);
      if (run >= 2) {
        encodedRun(run, row[i]);
        i += run;
        continue;
      }
      int j = i;
      while (j < w && j - i < 255) {
        if (j + 2 < w && row[j] == row[j + 1] && row[j] == row[j + 2]) break;
        ++j;
      }
      int n = j - i;
      if (n >= 3) {
        out.push_back(0);
        out.push_back(static_cast<uint8_t>(n));
        size_t dataBytes = 0;
        if (fourBits) {
          for (int k = 0; k < n; k += 2) {
            uint8_t hi = row[i + k];
            uint8_t lo = (k + 1 < n) ? row[i + k + 1] : 0;
            out.push_back(static_cast<uint8_t>((hi << 4) | lo));
            ++dataBytes;
          }
        } else {
          out.insert(out.end(), row + i, row + j);
          dataBytes = static_cast<size_t>(n);
        }
        if (dataBytes % 2) out.push_back(0);  // absolute runs end on a 16-bit boundary
      } else {
        for (int k = i; k < j; ++k) encodedRun(1, row[k]);
      }
      i = j;
    }
    out.push_back(0);
    out.push_back(y + 1 == picture.height ? 1 : 0);
  }
}

}  // namespace

int NearestPaletteIndex(const std::vector<Rgb>& palette, Rgb c) {
  int best = 0;
  long bestDistance = -1;
  for (size_t i = 0; i < palette.size(); ++i) {
    long dr = long{c.r} - palette[i].r, dg = long{c.g} - palette[i].g,
         db = long{c.b} - palette[i].b;
    long d = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
    }
  }
  return best;
}

std::vector<Rgb> QuantisePalette(const Picture& picture, int maxColours) {
  std::unordered_map<uint32_t, uint32_t> counts;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) ++counts[Pack(picture.at(x, y))];
  std::vector<ColourCount> colours;
  colours.reserve(counts.size());
  for (auto& [colour, count] : counts) colours.push_back({colour, count});
  std::sort(colours.begin(), colours.end(),
            [](const ColourCount& a, const ColourCount& b) { return a.colour < b.colour; });

  std::vector<Rgb> palette;
  if (maxColours <= 0 || colours.empty()) return palette;
  if (colours.size() <= static_cast<size_t>(maxColours)) {
    for (auto& c : colours) palette.push_back(Unpack(c.colour));
    return palette;
  }

  std::vector<Box> boxes{{0, colours.size()}};
  Measure(colours, boxes[0]);
  while (boxes.size() < static_cast<size_t>(maxColours)) {
    // Split the box with the widest channel range that still holds more than one colour.
    int pick = -1;
    for (size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].end - boxes[i].begin < 2) continue;
      if (pick < 0 || boxes[i].range > boxes[pick].range) pick = static_cast<int>(i);
    }
    if (pick < 0) break;
    Box box = boxes[pick];
    const int axis = box.longestAxis;
    std::stable_sort(colours.begin() + box.begin, colours.begin() + box.end,
                     [axis](const ColourCount& a, const ColourCount& b) {
                       int ca = Channel(a.colour, axis), cb = Channel(b.colour, axis);
                       return ca != cb ? ca < cb : a.colour < b.colour;
                     });
    uint64_t total = 0;
    for (size_t i = box.begin; i < box.end; ++i) total += colours[i].count;
    uint64_t half = 0;
    size_t cut = box.begin + 1;
    for (size_t i = box.begin; i + 1 < box.end; ++i) {
      half += colours[i].count;
      cut = i + 1;
      if (half * 2 >= total) break;
    }
    Box left{box.begin, cut}, right{cut, box.end};
    Measure(colours, left);
    Measure(colours, right);
    boxes[pick] = left;
    boxes.push_back(right);
  }
  for (const Box& box : boxes) {
    uint64_t sum[3] = {0, 0, 0}, total = 0;
    for (size_t i = box.begin; i < box.end; ++i) {
      for (int a = 0; a < 3; ++a)
        sum[a] += uint64_t(Channel(colours[i].colour, a)) * colours[i].count;
      total += colours[i].count;
    }
    palette.push_back({static_cast<uint8_t>((sum[0] + total / 2) / total),
                       static_cast<uint8_t>((sum[1] + total / 2) / total),
                       static_cast<uint8_t>((sum[2] + total / 2) / total)});
  }
  std::sort(palette.begin(), palette.end(),
            [](const Rgb& a, const Rgb& b) { return Pack(a) < Pack(b); });
  return palette;
}

std::vector<uint8_t> EncodeBmp(const Picture& picture, const BmpOptions& options) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.rgb.size() != static_cast<size_t>(picture.width) * picture.height * 3)
    throw std::invalid_argument("EncodeBmp: empty or inconsistent picture");
  const BmpPixelFormat format = options.format;
  const bool core = options.header == BmpHeaderKind::Core12;
  const bool rle = format == BmpPixelFormat::Rle8 || format == BmpPixelFormat::Rle4;
  if (core && rle) throw std::invalid_argument("EncodeBmp: the old header has no compression");
  if (core && (picture.width > 0xffff || picture.height > 0xffff))
    throw std::invalid_argument("EncodeBmp: picture too large for the old header");

  const int bits = BmpBitsPerPixel(format);
  const bool indexed = bits <= 8;
  const size_t fullTable = indexed ? (size_t{1} << bits) : 0;
  std::vector<Rgb> palette = options.palette;
  std::vector<uint8_t> indices;
  if (indexed) {
    if (palette.empty()) palette = QuantisePalette(picture, static_cast<int>(fullTable));
    if (palette.size() > fullTable) throw std::invalid_argument("EncodeBmp: palette too large");
    indices = MapToPalette(picture, palette, options.dither);
  }
  // The old header always carries the full table; the standard one may carry a short one.
  const bool shortTable = indexed && !core && options.shortColourTable;
  const size_t tableEntries = indexed ? (shortTable ? palette.size() : fullTable) : 0;
  const size_t entrySize = core ? 3 : 4;

  std::vector<uint8_t> pixels;
  if (rle)
    EncodeRle(picture, format == BmpPixelFormat::Rle4, indices, pixels);
  else
    EncodeUncompressed(picture, format, indices, pixels);

  std::vector<uint8_t> out;
  if (options.fileHeader) {
    out.push_back('B');
    out.push_back('M');
    PutU32(out, 0);  // file size, filled in below
    PutU32(out, 0);
    PutU32(out, 0);  // pixel offset, filled in below
  }
  if (core) {
    PutU32(out, 12);
    PutU16(out, static_cast<uint32_t>(picture.width));
    PutU16(out, static_cast<uint32_t>(picture.height));
    PutU16(out, 1);
    PutU16(out, static_cast<uint32_t>(bits));
  } else {
    PutU32(out, 40);
    PutU32(out, static_cast<uint32_t>(picture.width));
    PutU32(out, static_cast<uint32_t>(picture.height));
    PutU16(out, 1);
    PutU16(out, static_cast<uint32_t>(bits));
    PutU32(out, format == BmpPixelFormat::Rle8 ? 1 : format == BmpPixelFormat::Rle4 ? 2 : 0);
    PutU32(out, static_cast<uint32_t>(pixels.size()));
    PutU32(out, 2835);  // 72 dots per inch
    PutU32(out, 2835);
    PutU32(out, shortTable ? static_cast<uint32_t>(palette.size()) : 0);
    PutU32(out, 0);
  }
  for (size_t i = 0; i < tableEntries; ++i) {
    Rgb c = i < palette.size() ? palette[i] : Rgb{};
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    if (entrySize == 4) out.push_back(0);
  }
  const size_t pixelOffset = out.size();
  out.insert(out.end(), pixels.begin(), pixels.end());
  if (options.fileHeader) {
    SetU32(out, 2, static_cast<uint32_t>(out.size()));
    SetU32(out, 10, static_cast<uint32_t>(pixelOffset));
  }
  return out;
}

bool WriteBytesToFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

bool WriteBmpFile(const std::string& path, const Picture& picture, const BmpOptions& options) {
  return WriteBytesToFile(path, EncodeBmp(picture, options));
}

}  // namespace formats
