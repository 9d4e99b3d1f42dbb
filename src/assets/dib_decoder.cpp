// Bitmap decoder: headers, colour tables and every accepted pixel format, bounds-checked against
// the bytes it is given.
#include "assets/dib_decoder.h"

#include <algorithm>
#include <array>
#include <new>

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
// Later headers begin with the 40-byte header's fields: 52 and 56 add the colour masks
// (without and with alpha), 64 is the OS/2 2.x header, 108 and 124 add colour-space, gamma and
// profile fields that are read past.
constexpr uint32_t kMasksInHeaderSize = 52;
constexpr uint32_t kOs2HeaderSize = 64;
bool KnownHeaderSize(uint32_t size) {
  for (uint32_t known : {12u, 40u, 52u, 56u, 64u, 108u, 124u}) {
    if (size == known) return true;
  }
  return false;
}

constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionRle8 = 1;
constexpr uint32_t kCompressionRle4 = 2;
constexpr uint32_t kCompressionBitFields = 3;

uint32_t U16(std::span<const unsigned char> b, size_t at) {
  return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8;
}

uint32_t U32(std::span<const unsigned char> b, size_t at) {
  return U16(b, at) | U16(b, at + 2) << 16;
}

struct Rgb {
  unsigned char r = 0, g = 0, b = 0;
};

// One colour channel of a 16- or 32-bit pixel: where its bits lie and how many there are.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  // False for a mask whose bits are not contiguous.
  bool set(uint32_t m) {
    mask = m;
    shift = 0;
    bits = 0;
    if (m == 0) return true;
    while (!(m & 1)) {
      m >>= 1;
      ++shift;
    }
    if (m & (m + 1)) return false;
    while (m) {
      m >>= 1;
      ++bits;
    }
    return true;
  }

  // The channel widened (or narrowed) to 8 bits: narrower channels repeat their top bits.
  unsigned char extract(uint32_t pixel) const {
    if (bits == 0) return 0;
    uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return static_cast<unsigned char>(v >> (bits - 8));
    uint32_t out = 0;
    for (int pos = 8 - bits;; pos -= bits) {
      out |= pos >= 0 ? v << pos : v >> -pos;
      if (pos <= 0) break;
    }
    return static_cast<unsigned char>(out);
  }
};

struct Layout {
  int32_t width = 0;
  int32_t height = 0;  // always positive
  bool topDown = false;
  int bitsPerPixel = 0;
  uint32_t compression = kCompressionNone;
  std::array<Rgb, 256> palette{};  // entries missing from the table stay black
  std::array<Channel, 3> channels{};
  size_t pixelStart = 0;
};

// The output row for the stored row `row`.
unsigned char* OutputRow(RgbImage& image, const Layout& layout, int32_t row) {
  int32_t target = layout.topDown ? layout.height - 1 - row : row;
  return image.pixels.data() + static_cast<size_t>(target) * 3 * layout.width;
}

void Put(unsigned char* out, const Rgb& c) {
  out[0] = c.r;
  out[1] = c.g;
  out[2] = c.b;
}

// Bytes per stored row of an uncompressed picture: padded to a multiple of 4.
size_t RowStride(const Layout& layout) {
  return (static_cast<size_t>(layout.width) * layout.bitsPerPixel + 31) / 32 * 4;
}

bool DecodeUncompressed(std::span<const unsigned char> bytes, const Layout& layout,
                        RgbImage& image) {
  const size_t stride = RowStride(layout);
  const int bpp = layout.bitsPerPixel;
  for (int32_t row = 0; row < layout.height; ++row) {
    const unsigned char* in = bytes.data() + layout.pixelStart + stride * row;
    unsigned char* out = OutputRow(image, layout, row);
    const int32_t w = layout.width;
    switch (bpp) {
      case 1:
      case 4:
      case 8: {
        const int perByte = 8 / bpp;
        const unsigned mask = (1u << bpp) - 1;
        for (int32_t x = 0; x < w; ++x, out += 3) {
          int shift = 8 - bpp * (x % perByte + 1);
          Put(out, layout.palette[(in[x / perByte] >> shift) & mask]);
        }
        break;
      }
      case 24:
        for (int32_t x = 0; x < w; ++x, in += 3, out += 3) {
          out[0] = in[2];
          out[1] = in[1];
          out[2] = in[0];
        }
        break;
      case 16:
      case 32: {
        const auto& ch = layout.channels;
        const size_t step = bpp / 8;
        for (int32_t x = 0; x < w; ++x, in += step, out += 3) {
          uint32_t pixel = bpp == 16 ? U16({in, 2}, 0) : U32({in, 4}, 0);
          out[0] = ch[0].extract(pixel);
          out[1] = ch[1].extract(pixel);
          out[2] = ch[2].extract(pixel);
        }
        break;
      }
    }
  }
  return true;
}

// Run-length data of 4 or 8 bits: encoded runs, absolute runs, end of line, end of bitmap and
// delta. Pixels the runs skip stay black. Encoders may code a row's padding too, so a run may
// reach up to the row's width rounded up to whole 32-bit words; the pixels past the width are
// dropped. A run that leaves the padded row, a delta that leaves the picture or data that ends
// before the last row is finished is refused. Without an image the stream is only walked, and
// `covered` counts the pixels inside the picture that its runs write.
bool DecodeRunLength(std::span<const unsigned char> bytes, const Layout& layout, RgbImage* image,
                     int64_t& covered) {
  const bool four = layout.compression == kCompressionRle4;
  const int32_t w = layout.width, h = layout.height;
  const int32_t padded = static_cast<int32_t>(RowStride(layout) * 8 / layout.bitsPerPixel);
  size_t at = layout.pixelStart;
  const size_t end = bytes.size();
  int32_t x = 0, y = 0;
  covered = 0;
  // Writes n pixels from x on, the i-th of palette index index(i), dropping those past the row.
  auto put = [&](unsigned n, auto index) {
    if (x < w) {
      unsigned inside = std::min(n, static_cast<unsigned>(w - x));
      covered += inside;
      if (image != nullptr) {
        unsigned char* out = OutputRow(*image, layout, y) + static_cast<size_t>(x) * 3;
        for (unsigned i = 0; i < inside; ++i, out += 3) Put(out, layout.palette[index(i)]);
      }
    }
    x += static_cast<int32_t>(n);
  };
  while (true) {
    if (end - at < 2) return y >= h;
    const unsigned count = bytes[at], value = bytes[at + 1];
    at += 2;
    if (count > 0) {
      if (y >= h || count > static_cast<unsigned>(padded - x)) return false;
      put(count, [&](unsigned i) { return four ? (i % 2 ? value & 0x0F : value >> 4) : value; });
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of bitmap
        return true;
      case 2: {  // delta: move right and up
        if (end - at < 2) return false;
        int32_t nx = x + bytes[at], ny = y + bytes[at + 1];
        at += 2;
        if (nx > w || ny >= h) return false;
        x = nx;
        y = ny;
        break;
      }
      default: {  // absolute run of `value` pixels, padded to a 16-bit boundary
        const unsigned n = value;
        size_t length = four ? (n + 1) / 2 : n;
        length += length % 2;
        if (y >= h || n > static_cast<unsigned>(padded - x) || end - at < length) return false;
        const unsigned char* in = bytes.data() + at;
        put(n,
            [&](unsigned i) { return four ? (i % 2 ? in[i / 2] & 0x0F : in[i / 2] >> 4) : in[i]; });
        at += length;
        break;
      }
    }
  }
}

bool FormatAccepted(int bpp, uint32_t compression) {
  switch (compression) {
    case kCompressionNone:
      return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    case kCompressionRle8:
      return bpp == 8;
    case kCompressionRle4:
      return bpp == 4;
    case kCompressionBitFields:
      return bpp == 16 || bpp == 32;
    default:
      return false;
  }
}

// Reads the headers, colour table and masks into layout.
DibStatus ReadLayout(std::span<const unsigned char> bytes, int32_t maxDimension, Layout& layout) {
  const size_t size = bytes.size();
  const bool fileHeader = size >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
  const size_t header = fileHeader ? kFileHeaderSize : 0;
  if (size < header + 4) return DibStatus::ConversionError;
  const uint32_t headerSize = U32(bytes, header);
  if (!KnownHeaderSize(headerSize)) return DibStatus::UnknownFormat;
  if (size - header < headerSize) return DibStatus::ConversionError;

  const bool core = headerSize == kCoreHeaderSize;
  int64_t width, height;
  uint32_t colorsUsed = 0;
  if (core) {
    width = U16(bytes, header + 4);
    height = U16(bytes, header + 6);
    layout.bitsPerPixel = static_cast<int>(U16(bytes, header + 10));
    layout.compression = kCompressionNone;
  } else {
    width = static_cast<int32_t>(U32(bytes, header + 4));
    height = static_cast<int32_t>(U32(bytes, header + 8));
    layout.bitsPerPixel = static_cast<int>(U16(bytes, header + 14));
    layout.compression = U32(bytes, header + 16);
    colorsUsed = U32(bytes, header + 32) & 0xFFFF;
  }
  const int bpp = layout.bitsPerPixel;
  if (width <= 0 || width > maxDimension || height == 0 || height > maxDimension ||
      -height > maxDimension || !FormatAccepted(bpp, layout.compression)) {
    return DibStatus::ConversionError;
  }
  layout.width = static_cast<int32_t>(width);
  layout.height = static_cast<int32_t>(height < 0 ? -height : height);
  layout.topDown = height < 0;

  size_t entries = colorsUsed;
  if (entries == 0) entries = bpp == 1 ? 2 : bpp == 4 ? 16 : bpp == 8 ? 256 : 0;
  const size_t entrySize = core ? 3 : 4;

  // Bit-field masks are the header's bytes 40 to 51 in the headers that hold them; after a
  // 40- or 64-byte header they sit between the header and the colour table.
  size_t table = header + headerSize;
  if (layout.compression == kCompressionBitFields) {
    const bool inHeader = headerSize >= kMasksInHeaderSize && headerSize != kOs2HeaderSize;
    const size_t masks = inHeader ? header + kInfoHeaderSize : table;
    if (size - masks < 12) return DibStatus::ConversionError;
    for (int i = 0; i < 3; ++i) {
      if (!layout.channels[i].set(U32(bytes, masks + 4 * i))) return DibStatus::ConversionError;
    }
    if (!inHeader) table += 12;
  } else if (bpp == 16) {
    layout.channels[0].set(0x7C00);
    layout.channels[1].set(0x03E0);
    layout.channels[2].set(0x001F);
  } else if (bpp == 32) {
    layout.channels[0].set(0x00FF0000);
    layout.channels[1].set(0x0000FF00);
    layout.channels[2].set(0x000000FF);
  }

  const size_t tableBytes = entries * entrySize;
  if (bpp <= 8) {
    if (size - table < tableBytes) return DibStatus::ConversionError;
    for (size_t i = 0; i < entries && i < layout.palette.size(); ++i) {
      const unsigned char* e = bytes.data() + table + i * entrySize;
      layout.palette[i] = {e[2], e[1], e[0]};
    }
  }

  layout.pixelStart = fileHeader ? U32(bytes, 10) : table + tableBytes;
  if (layout.pixelStart > size) return DibStatus::ConversionError;
  // Uncompressed data must be all there before the picture is allocated.
  const bool runLength =
      layout.compression == kCompressionRle8 || layout.compression == kCompressionRle4;
  const size_t available = size - layout.pixelStart;
  if (!runLength && RowStride(layout) * layout.height > available) {
    return DibStatus::ConversionError;
  }
  // A run-length picture is walked before it is allocated: a broken stream is refused, and a
  // large picture must be covered by its runs for at least its share of pixels.
  if (runLength) {
    int64_t covered = 0;
    if (!DecodeRunLength(bytes, layout, nullptr, covered)) return DibStatus::ConversionError;
    const int64_t pixels = static_cast<int64_t>(layout.width) * layout.height;
    if (pixels > kRunLengthFreePixels && pixels > kRunLengthPixelsPerCovered * covered) {
      return DibStatus::ConversionError;
    }
  }
  return DibStatus::Ok;
}

}  // namespace

DibStatus DecodeDib(std::span<const unsigned char> bytes, RgbImage& image, int32_t maxDimension) {
  image = RgbImage{};
  Layout layout;
  if (DibStatus status = ReadLayout(bytes, maxDimension, layout); status != DibStatus::Ok) {
    return status;
  }
  RgbImage decoded;
  decoded.width = layout.width;
  decoded.height = layout.height;
  try {
    decoded.pixels.resize(static_cast<size_t>(layout.width) * layout.height * 3);
  } catch (const std::bad_alloc&) {
    return DibStatus::OutOfMemory;
  }
  int64_t covered = 0;
  const bool ok = layout.compression == kCompressionRle8 || layout.compression == kCompressionRle4
                      ? DecodeRunLength(bytes, layout, &decoded, covered)
                      : DecodeUncompressed(bytes, layout, decoded);
  if (!ok) return DibStatus::ConversionError;
  image = std::move(decoded);
  return DibStatus::Ok;
}

DibStatus CheckDib(std::span<const unsigned char> bytes, int32_t& width, int32_t& height,
                   int32_t maxDimension) {
  // The layout's reading refuses all that the decoding would, a run-length stream included.
  Layout layout;
  const DibStatus status = ReadLayout(bytes, maxDimension, layout);
  width = status == DibStatus::Ok ? layout.width : 0;
  height = status == DibStatus::Ok ? layout.height : 0;
  return status;
}

size_t DibReadLimit(std::span<const unsigned char> header) {
  const size_t size = header.size();
  const bool fileHeader = size >= 2 && header[0] == 'B' && header[1] == 'M';
  const size_t start = fileHeader ? kFileHeaderSize : 0;
  if (size < start + 4 || !KnownHeaderSize(U32(header, start))) return size;
  const uint32_t headerSize = U32(header, start);
  if (size - start < headerSize) return size;
  Layout layout;
  int64_t height;
  if (headerSize == kCoreHeaderSize) {
    layout.width = static_cast<int32_t>(U16(header, start + 4));
    height = U16(header, start + 6);
    layout.bitsPerPixel = static_cast<int>(U16(header, start + 10));
  } else {
    layout.width = static_cast<int32_t>(U32(header, start + 4));
    height = static_cast<int32_t>(U32(header, start + 8));
    layout.bitsPerPixel = static_cast<int>(U16(header, start + 14));
    layout.compression = U32(header, start + 16);
  }
  height = height < 0 ? -height : height;
  if (layout.width <= 0 || layout.width > kMaxDibDimension || height == 0 ||
      height > kMaxDibDimension || !FormatAccepted(layout.bitsPerPixel, layout.compression)) {
    return size;
  }
  // The colour table and masks as the decoder reads them; a table of 65535 entries is the most.
  const size_t tableEnd = start + headerSize + 12 + size_t{0xFFFF} * 4;
  const size_t pixelStart = fileHeader ? U32(header, 10) : tableEnd;
  if (pixelStart > tableEnd + kDibPixelGap) return size;
  const size_t rows = static_cast<size_t>(height);
  if (layout.compression != kCompressionRle8 && layout.compression != kCompressionRle4) {
    return pixelStart + RowStride(layout) * rows;
  }
  // A run-length row never needs more than two bytes a pixel of its padded width (runs of one
  // pixel each) and its end of line; then the end of bitmap.
  const size_t paddedPixels = RowStride(layout) * 8 / static_cast<size_t>(layout.bitsPerPixel);
  return pixelStart + (2 * paddedPixels + 2) * rows + 2;
}
