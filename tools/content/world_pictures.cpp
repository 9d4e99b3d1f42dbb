// Skies, roads and kerbs. Everything that repeats in the race is built from periodic noise and
// shapes that wrap round the picture's edges, so the repeats show no seam.
#include "content/world_pictures.h"

#include <cmath>

#include "content/noise.h"

namespace content {

namespace {

constexpr float kPi = 3.14159265f;

// Height of a ridge line at s (0..1), periodic in s: a sum of whole-number sine waves.
float Ridge(float s, uint32_t seed, float amplitude) {
  float h = 0;
  for (int k = 1; k <= 6; ++k) {
    float phase = Hash01(k, 0, seed) * 2 * kPi;
    float weight = 1.0f / k;
    h += weight * std::sin(2 * kPi * (k * 2) * s + phase);
  }
  h += 0.5f * (TileableFractal(s, 0.5f, 24, 1, 3, seed) - 0.5f);
  return amplitude * (0.5f + 0.35f * h);
}

struct SkyColours {
  Colour zenith, high, horizon;
  Colour farHills, nearGround, lowGround;
};

// Sky gradient over the horizon and ground below it, for canvas pixel (x, y).
Colour SkyGradient(const SkyColours& k, float t) {
  if (t >= kSkyHorizonT) {
    float u = (t - kSkyHorizonT) / (1 - kSkyHorizonT);
    return u < 0.25f ? Mix(k.horizon, k.high, u / 0.25f)
                     : Mix(k.high, k.zenith, (u - 0.25f) / 0.75f);
  }
  float u = (kSkyHorizonT - t) / kSkyHorizonT;
  return Mix(k.nearGround, k.lowGround, SmoothStep(0.0f, 0.4f, u));
}

void Clouds(Canvas& c, uint32_t seed, Colour light, Colour shade, float t0, float t1, float cover) {
  const int n = c.width();
  for (int y = 0; y < c.height(); ++y) {
    float t = 1 - (y + 0.5f) / c.height();
    if (t < t0 || t > t1) continue;
    float band = std::sin((t - t0) / (t1 - t0) * kPi);
    for (int x = 0; x < n; ++x) {
      float s = (x + 0.5f) / n;
      float d = TileableFractal(s, t * 4, 8, 4, 5, seed);
      float a = SmoothStep(cover, cover + 0.12f, d * (0.55f + 0.45f * band));
      if (a <= 0) continue;
      float lit = SmoothStep(0.3f, 0.8f, TileableFractal(s + 0.004f, t * 4 + 0.02f, 8, 4, 4, seed));
      c.blend(x, y, Mix(light, shade, lit * 0.6f), a * 0.92f);
    }
  }
}

// A band of ground from the horizon down, coloured by a function of (s, t) and a ridge line.
void Hills(Canvas& c, uint32_t seed, float amplitude, Colour top, Colour bottom, float baseT) {
  const int n = c.width(), h = c.height();
  for (int x = 0; x < n; ++x) {
    float s = (x + 0.5f) / n;
    float ridgeT = baseT + Ridge(s, seed, amplitude);
    for (int y = 0; y < h; ++y) {
      float t = 1 - (y + 0.5f) / h;
      if (t > ridgeT + 1.0f / h || t < baseT - 0.03f) continue;
      float a = Clamp01((ridgeT - t) * h + 0.5f);
      float fade = Clamp01((t - (baseT - 0.03f)) / 0.03f);
      c.blend(x, y, Mix(bottom, top, Clamp01((t - baseT) / std::max(amplitude, 0.001f))), a * fade);
    }
  }
}

// Textured ground below the horizon: a noisy field whose grain shrinks towards the horizon.
void Field(Canvas& c, uint32_t seed, Colour a, Colour b, float strength) {
  const int n = c.width(), h = c.height();
  for (int y = 0; y < h; ++y) {
    float t = 1 - (y + 0.5f) / h;
    if (t >= kSkyHorizonT) continue;
    float depth = (kSkyHorizonT - t);
    for (int x = 0; x < n; ++x) {
      float s = (x + 0.5f) / n;
      float v = TileableFractal(s, depth * 6, 32, 8, 4, seed);
      float near = SmoothStep(0.0f, 0.08f, depth);
      c.blend(x, y, Mix(a, b, v), strength * (0.4f + 0.6f * near));
    }
  }
}

}  // namespace

// The skies of the track files: a gradient, a cloud band, two rows of hills and a field, each in
// its own colours.
Canvas TrackFileSky(SkyKind kind) {
  const int n = kSkySize;
  Canvas c(n, n);
  struct Look {
    SkyColours sky;
    Colour cloudLight, cloudShade, farHill, nearHill, fieldA, fieldB;
    float cover;
    uint32_t seed;
  };
  const Look looks[] = {
      // Dawn over the sea: rose and gold, a calm grey-blue shore.
      {{Rgb255(60, 70, 140), Rgb255(200, 120, 150), Rgb255(255, 196, 140), Rgb255(90, 100, 130),
        Rgb255(70, 110, 140), Rgb255(40, 70, 100)},
       Rgb255(255, 220, 200),
       Rgb255(200, 120, 130),
       Rgb255(110, 110, 150),
       Rgb255(70, 90, 120),
       Rgb255(60, 100, 130),
       Rgb255(120, 150, 170),
       0.56f,
       71},
      // Desert noon: pale hot sky, ochre dunes.
      {{Rgb255(90, 150, 220), Rgb255(160, 200, 235), Rgb255(250, 236, 200), Rgb255(210, 170, 110),
        Rgb255(220, 170, 100), Rgb255(180, 120, 60)},
       Rgb255(255, 250, 240),
       Rgb255(230, 220, 200),
       Rgb255(200, 150, 90),
       Rgb255(225, 175, 105),
       Rgb255(200, 150, 80),
       Rgb255(240, 200, 130),
       0.66f,
       72},
      // Alpine: deep blue, white peaks, green pasture.
      {{Rgb255(10, 40, 130), Rgb255(40, 100, 210), Rgb255(190, 220, 250), Rgb255(220, 230, 245),
        Rgb255(70, 130, 60), Rgb255(40, 90, 40)},
       Rgb255(255, 255, 255),
       Rgb255(190, 200, 220),
       Rgb255(235, 240, 250),
       Rgb255(90, 120, 110),
       Rgb255(60, 120, 50),
       Rgb255(110, 160, 70),
       0.60f,
       73},
      // Storm: heavy grey-green clouds, dark moor.
      {{Rgb255(40, 46, 54), Rgb255(80, 90, 96), Rgb255(150, 160, 150), Rgb255(70, 80, 76),
        Rgb255(50, 64, 46), Rgb255(30, 40, 30)},
       Rgb255(150, 156, 160),
       Rgb255(60, 66, 74),
       Rgb255(60, 70, 70),
       Rgb255(40, 52, 40),
       Rgb255(40, 56, 36),
       Rgb255(80, 90, 60),
       0.45f,
       74},
  };
  const Look& k = looks[static_cast<int>(kind) - static_cast<int>(SkyKind::Dawn)];
  c.paint([&](float, float y) { return SkyGradient(k.sky, 1 - y / n); });
  Clouds(c, k.seed, k.cloudLight, k.cloudShade, 0.53f, 0.70f, k.cover);
  Hills(c, k.seed + 10, kind == SkyKind::Alpine ? 0.07f : 0.03f, k.farHill, k.farHill * 0.9f,
        kSkyHorizonT - 0.004f);
  Hills(c, k.seed + 20, 0.015f, k.nearHill, k.nearHill * 0.9f, kSkyHorizonT - 0.006f);
  Field(c, k.seed + 30, k.fieldA, k.fieldB, 0.6f);
  return c;
}

Canvas SkyPicture(SkyKind kind) {
  if (kind >= SkyKind::Dawn) return TrackFileSky(kind);
  const int n = kSkySize;
  Canvas c(n, n);
  auto yOf = [n](float t) { return (1 - t) * n; };
  if (kind == SkyKind::Sunny) {
    SkyColours k{Rgb255(30, 96, 200),   Rgb255(70, 150, 235), Rgb255(200, 232, 255),
                 Rgb255(120, 160, 170), Rgb255(96, 160, 60),  Rgb255(60, 120, 36)};
    c.paint([&](float, float y) { return SkyGradient(k, 1 - y / n); });
    // The sun, low over the horizon right of the starting view, with a wide glow.
    const float sunX = 0.58f * n, sunY = yOf(0.59f);
    for (int y = static_cast<int>(sunY - 160); y < sunY + 160; ++y)
      for (int x = static_cast<int>(sunX - 160); x < sunX + 160; ++x) {
        float d = std::hypot(x + 0.5f - sunX, y + 0.5f - sunY);
        c.blend((x + n) % n, y, Rgb255(255, 250, 220), 0.55f * std::exp(-d / 40.0f));
      }
    c.fillDisc(sunX, sunY, 16, Rgb255(255, 253, 235), 1.0f, true);
    Clouds(c, 11, Rgb255(255, 255, 255), Rgb255(180, 196, 220), 0.53f, 0.68f, 0.56f);
    Hills(c, 21, 0.030f, Rgb255(140, 170, 190), Rgb255(150, 180, 196), kSkyHorizonT - 0.004f);
    Hills(c, 22, 0.016f, Rgb255(70, 130, 60), Rgb255(84, 150, 60), kSkyHorizonT - 0.006f);
    Field(c, 23, Rgb255(70, 140, 44), Rgb255(130, 170, 60), 0.6f);
  } else if (kind == SkyKind::BlueForest) {
    SkyColours k{Rgb255(20, 60, 170),  Rgb255(50, 110, 220), Rgb255(170, 205, 250),
                 Rgb255(90, 120, 170), Rgb255(40, 80, 50),   Rgb255(24, 56, 34)};
    c.paint([&](float, float y) { return SkyGradient(k, 1 - y / n); });
    Clouds(c, 31, Rgb255(240, 246, 255), Rgb255(150, 170, 210), 0.55f, 0.70f, 0.60f);
    Hills(c, 41, 0.040f, Rgb255(100, 130, 180), Rgb255(110, 140, 180), kSkyHorizonT - 0.004f);
    // The forest: rows of fir trees whose tips form the horizon, each wrapping round the edges.
    for (int row = 0; row < 3; ++row) {
      float baseT = kSkyHorizonT - 0.004f - row * 0.006f;
      Colour tree = Mix(Rgb255(36, 80, 60), Rgb255(16, 46, 30), row / 2.0f);
      int count = 150 + row * 40;
      for (int i = 0; i < count; ++i) {
        float s = (i + Hash01(i, row, 43)) / count;
        float height = (0.020f + 0.018f * Hash01(i, row, 44)) * (1 + 0.3f * row);
        float halfWidth = height * n * 0.28f;
        float cx = s * n, baseY = yOf(baseT), topY = yOf(baseT + height);
        c.fillShape(
            cx - halfWidth, topY, cx + halfWidth, baseY + 2,
            [&](float x, float y) {
              float u = (y - topY) / (baseY - topY);  // 0 at the tip
              float jag = 0.75f + 0.25f * std::fabs(std::sin(u * 18));
              return std::fabs(x - cx) <= halfWidth * u * jag;
            },
            tree * (0.9f + 0.2f * Hash01(i, row, 45)), 1.0f, true);
      }
      c.fillRect(0, yOf(baseT), n, yOf(baseT - 0.01f), tree);
    }
    // Cornflower meadow in front of the forest.
    Field(c, 47, Rgb255(40, 100, 40), Rgb255(90, 140, 50), 0.7f);
    for (int i = 0; i < 2600; ++i) {
      float s = Hash01(i, 1, 48), depth = Hash01(i, 2, 48);
      float t = kSkyHorizonT - 0.016f - depth * depth * 0.2f;
      float r = 0.6f + 2.2f * depth;
      c.fillDisc(s * n, yOf(t), r,
                 Mix(Rgb255(70, 110, 255), Rgb255(130, 160, 255), Hash01(i, 3, 48)), 0.9f, true);
    }
  } else {
    SkyColours k{Rgb255(2, 3, 14),   Rgb255(10, 16, 48), Rgb255(40, 44, 86),
                 Rgb255(20, 20, 40), Rgb255(22, 20, 30), Rgb255(10, 10, 16)};
    c.paint([&](float, float y) { return SkyGradient(k, 1 - y / n); });
    // Stars, more and brighter higher up; a few larger ones with a glow.
    for (int i = 0; i < 5200; ++i) {
      float s = Hash01(i, 1, 51), t = kSkyHorizonT + 0.01f + Hash01(i, 2, 51) * (1 - kSkyHorizonT);
      float b = Hash01(i, 3, 51);
      float fade = SmoothStep(kSkyHorizonT, kSkyHorizonT + 0.05f, t);
      Colour tint = Mix(Rgb255(255, 240, 210), Rgb255(200, 220, 255), Hash01(i, 4, 51));
      float r = b > 0.97f ? 2.0f : 0.7f + 0.7f * b;
      if (b > 0.97f) c.fillDisc(s * n, yOf(t), 6, tint, 0.15f * fade, true);
      c.fillDisc(s * n, yOf(t), r, tint, (0.5f + 0.5f * b) * fade, true);
    }
    // A yellow moon: a full disc minus an offset one gives the crescent.
    const float moonX = 0.46f * n, moonY = yOf(0.595f), moonR = 20;
    for (int ring = 0; ring < 8; ++ring)
      c.fillDisc(moonX, moonY, 26 + ring * 5.0f, Rgb255(255, 230, 140), 0.035f, true);
    c.fillShape(
        moonX - moonR, moonY - moonR, moonX + moonR, moonY + moonR,
        [&](float x, float y) {
          float d1 = std::hypot(x - moonX, y - moonY),
                d2 = std::hypot(x - moonX - 9, y - moonY + 5);
          return d1 <= moonR && d2 > moonR * 0.9f;
        },
        Rgb255(255, 236, 150));
    Clouds(c, 53, Rgb255(60, 64, 100), Rgb255(30, 30, 60), 0.56f, 0.66f, 0.64f);
    Hills(c, 55, 0.028f, Rgb255(26, 26, 48), Rgb255(30, 28, 50), kSkyHorizonT - 0.004f);
    Hills(c, 56, 0.014f, Rgb255(14, 14, 22), Rgb255(18, 18, 26), kSkyHorizonT - 0.006f);
    // Yellow lights of far-off houses along the horizon.
    for (int i = 0; i < 140; ++i) {
      float s = Hash01(i, 1, 57), t = kSkyHorizonT - 0.003f - 0.01f * Hash01(i, 2, 57);
      c.fillDisc(s * n, yOf(t), 1.2f, Rgb255(255, 210, 90), 0.9f, true);
    }
    Field(c, 58, Rgb255(20, 18, 26), Rgb255(44, 38, 40), 0.6f);
  }
  return c;
}

Canvas RoadPicture(RoadKind kind) {
  const int n = kRoadSize;
  Canvas c(n, n);
  const bool sand = kind == RoadKind::Sand;
  c.paint([&](float x, float y) {
    float s = x / n, t = y / n;
    float coarse = TileableFractal(s, t, 4, 4, 3, sand ? 61 : 62);
    float fine = TileableFractal(s, t, 32, 32, 2, sand ? 63 : 64);
    float grain = Hash01(static_cast<int>(x), static_cast<int>(y), 65) - 0.5f;
    Colour base;
    if (sand) {
      base = Mix(Rgb255(214, 176, 96), Rgb255(236, 204, 120), coarse);
      base = base * (0.92f + 0.14f * fine + 0.06f * grain);
      // Tyre tracks worn into the sand, running along the road.
      for (float lane : {0.3f, 0.7f}) {
        float d = std::fabs(s - lane);
        base = base * (1 - 0.10f * SmoothStep(0.05f, 0.0f, d));
      }
    } else {
      base = Mix(Rgb255(70, 72, 78), Rgb255(96, 98, 104), coarse);
      base = base * (0.9f + 0.16f * fine + 0.08f * grain);
    }
    // Edge lines: white on asphalt, a red and white band on sand.
    float edge = std::min(s, 1 - s);
    float line = SmoothStep(0.028f, 0.034f, edge) * SmoothStep(0.078f, 0.072f, edge);
    float wear = 0.85f + 0.15f * fine;
    Colour lineColour = sand ? Rgb255(170, 60, 40) : Rgb255(240, 240, 236);
    base = Mix(base, lineColour * wear, line);
    // A darker rim right at the edge where the wall stands.
    base = base * (0.75f + 0.25f * SmoothStep(0.0f, 0.02f, edge));
    return base;
  });
  return c;
}

Canvas BorderPicture(BorderKind kind) {
  const int w = kBorderWidth, h = kBorderHeight;
  Canvas c(w, h);
  Colour light, dark;
  switch (kind) {
    case BorderKind::RedWhite:
      light = Rgb255(240, 240, 240);
      dark = Rgb255(210, 30, 30);
      break;
    case BorderKind::BlueWhite:
      light = Rgb255(240, 244, 250);
      dark = Rgb255(30, 70, 200);
      break;
    case BorderKind::YellowBlack:
      light = Rgb255(250, 210, 20);
      dark = Rgb255(24, 24, 24);
      break;
  }
  // Light block, dark block, light block: the edges are both light so the stripes continue
  // from one step to the next. Shaded in flat bands like a rounded kerb, few enough colours for
  // a 16-colour table.
  c.paint([&](float x, float y) {
    int column = static_cast<int>(x), row = static_cast<int>(y);
    bool inDark = column >= w / 4 && column < 3 * w / 4;
    bool groove = column == w / 4 || column == 3 * w / 4 - 1 || column == 0 || column == w - 1;
    // Four flat bands from the top: highlight, face, lower face, foot.
    float shade = row < h / 5 ? 1.0f : row < h / 2 ? 0.86f : row < h - h / 12 ? 0.72f : 0.5f;
    return (inDark ? dark : light) * (shade * (groove ? 0.8f : 1.0f));
  });
  return c;
}

}  // namespace content
