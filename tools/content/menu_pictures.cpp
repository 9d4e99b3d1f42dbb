// Menu backgrounds: a sunset road scene with the title and the two entries for the main menu,
// a showroom for the car selection and a map table for the track selection.
#include "content/menu_pictures.h"

#include <cmath>

#include "content/menu_layout.h"
#include "content/noise.h"
#include "content/pixel_font.h"

namespace content {

namespace {

constexpr int N = kMenuPictureSize;

TextStyle TitleStyle(float cell) {
  TextStyle s;
  s.cellSize = cell;
  s.strokeRadius = 0.62f;
  s.slant = 0.18f;
  s.gradient = true;
  s.fill = Rgb255(255, 246, 140);
  s.fillBottom = Rgb255(255, 120, 30);
  s.outline = 0.45f;
  s.outlineColour = Rgb255(40, 8, 30);
  s.shadowOffset = 0.7f;
  s.shadowOpacity = 0.7f;
  return s;
}

TextStyle EntryStyle(float cell) {
  TextStyle s;
  s.cellSize = cell;
  s.strokeRadius = 0.6f;
  s.gradient = true;
  s.fill = Rgb255(255, 255, 255);
  s.fillBottom = Rgb255(255, 214, 90);
  s.outline = 0.4f;
  s.outlineColour = Rgb255(20, 10, 30);
  s.shadowOffset = 0.5f;
  return s;
}

TextStyle HintStyle(float cell) {
  TextStyle s;
  s.cellSize = cell;
  s.strokeRadius = 0.58f;
  s.fill = Rgb255(235, 240, 255);
  s.outline = 0.35f;
  s.outlineColour = Rgb255(10, 12, 25);
  return s;
}

// A text with where and how it is painted.
struct TextPlacement {
  std::string text;
  float x, y;
  TextStyle style;
  PlacedText placed() const { return {text, TextBounds(text, x, y, style)}; }
  void draw(Canvas& c) const { DrawText(c, text, x, y, style); }
};

// A text's cap height in pixels is 7 cells; this centres the capitals on y.
float CapTop(float centreY, float cell) {
  return centreY - 3.5f * cell;
}

// Dark translucent plate with a light rim, behind a menu entry.
void Plate(Canvas& c, float cx, float cy, float w, float h) {
  c.fillRoundedRect(cx - w / 2 - 2, cy - h / 2 - 2, cx + w / 2 + 2, cy + h / 2 + 2, h / 2 + 2,
                    Rgb255(255, 210, 120), 0.55f);
  c.fillRoundedRect(cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2, h / 2, Rgb255(16, 10, 36),
                    0.82f);
}

void CheckerBand(Canvas& c, float y0, float y1, float square) {
  for (int col = 0; col * square < N; ++col)
    for (int row = 0; y0 + row * square < y1; ++row)
      if ((col + row) % 2 == 0)
        c.fillRect(col * square, y0 + row * square, (col + 1) * square,
                   std::min(y1, y0 + (row + 1) * square), Rgb255(245, 245, 245));
      else
        c.fillRect(col * square, y0 + row * square, (col + 1) * square,
                   std::min(y1, y0 + (row + 1) * square), Rgb255(20, 20, 24));
}

// Title at the top; the entries centred where the frame is drawn over the picture.
std::vector<TextPlacement> MainMenuLayout() {
  const float entryX = PictureToPixelX(kFrameCentreX, N);
  const float entryCell = 5.4f;
  return {
      {"Quillon", N / 2.0f, 16, TitleStyle(10.5f)},
      {"Start race", entryX, CapTop(PictureToPixelY(kStartEntryY, N), entryCell),
       EntryStyle(entryCell)},
      {"Quit", entryX, CapTop(PictureToPixelY(kQuitEntryY, N), entryCell), EntryStyle(entryCell)}};
}

}  // namespace

Canvas MainMenuPicture() {
  Canvas c(N, N);
  const float horizon = 300;
  const float vanishX = N / 2.0f;
  // Sunset sky above the horizon, dark ground below.
  c.paint([&](float x, float y) {
    if (y < horizon) {
      float t = y / horizon;
      Colour top = Rgb255(12, 14, 48), mid = Rgb255(92, 30, 110), low = Rgb255(255, 128, 64);
      Colour sky = t < 0.55f ? Mix(top, mid, t / 0.55f) : Mix(mid, low, (t - 0.55f) / 0.45f);
      float star = Hash01(static_cast<int>(x), static_cast<int>(y), 7) > 0.996f ? (1 - t) : 0;
      return sky + Colour{star, star, star * 0.9f};
    }
    float t = (y - horizon) / (N - horizon);
    Colour ground = Mix(Rgb255(40, 18, 60), Rgb255(14, 8, 24), t);
    // Perspective grid on the ground.
    float depth = 1.0f / std::max(t, 0.02f);
    float across = (x - vanishX) * depth / 60.0f;
    float lineA = std::abs(across - std::round(across));
    float lineB = std::abs(depth * 0.6f - std::round(depth * 0.6f));
    float glow = std::max(SmoothStep(0.06f * depth, 0.0f, lineA) * 0.8f,
                          SmoothStep(0.08f, 0.0f, lineB * t * 3));
    return ground + Rgb255(255, 60, 200) * (glow * 0.45f * (0.3f + t));
  });
  // A striped setting sun on the horizon.
  const float sunR = 92, sunX = vanishX, sunY = horizon - 6;
  c.fillShape(
      sunX - sunR, sunY - sunR, sunX + sunR, horizon,
      [&](float x, float y) {
        float d2 = (x - sunX) * (x - sunX) + (y - sunY) * (y - sunY);
        if (d2 > sunR * sunR || y > horizon) return false;
        float band = (sunY - y) / sunR;  // 0 at the bottom, 1 at the top
        float gap = std::fmod(y - (sunY - sunR), 14.0f);
        return band > 0.55f || gap > 9.0f * (0.55f - band) / 0.55f;
      },
      [&](float, float y) {
        return Mix(Rgb255(255, 240, 120), Rgb255(255, 70, 90), (y - (sunY - sunR)) / sunR);
      });
  // Hills on both sides of the horizon.
  for (int side = -1; side <= 1; side += 2) {
    std::vector<std::pair<float, float>> hill{{side < 0 ? 0.f : float(N), horizon}};
    for (int i = 0; i <= 24; ++i) {
      float u = i / 24.0f;
      float x = side < 0 ? u * 200 : N - u * 200;
      float h = 34 * std::sin(u * 3.14159f) * (1 - 0.5f * u) + 10 * std::sin(u * 17 + side);
      hill.push_back({x, horizon - std::max(h, 0.0f)});
    }
    hill.push_back({side < 0 ? 200.f : N - 200.f, horizon});
    c.fillPolygon(hill, Rgb255(48, 16, 62));
  }
  // The road to the horizon: asphalt, white edges, yellow centre dashes.
  auto roadX = [&](float y, float u) {  // u -1 left edge, +1 right edge
    float t = (y - horizon) / (N - horizon);
    return vanishX + u * t * 210;
  };
  c.fillShape(
      0, horizon, N, N, [&](float x, float y) { return x >= roadX(y, -1) && x <= roadX(y, 1); },
      [&](float, float y) {
        return Mix(Rgb255(70, 64, 80), Rgb255(36, 32, 44), (y - horizon) / (N - horizon));
      });
  for (int side = -1; side <= 1; side += 2)
    c.fillShape(
        0, horizon, N, N,
        [&](float x, float y) {
          float a = roadX(y, side * 0.92f), b = roadX(y, side * 0.98f);
          return x >= std::min(a, b) && x <= std::max(a, b);
        },
        Rgb255(240, 240, 240));
  c.fillShape(
      0, horizon, N, N,
      [&](float x, float y) {
        float t = (y - horizon) / (N - horizon);
        float depth = 1.0f / std::max(t, 0.01f);
        return std::abs(x - vanishX) <= 5 * t && std::fmod(depth * 1.5f, 1.0f) < 0.5f;
      },
      Rgb255(255, 210, 60));
  CheckerBand(c, 0, 8, 8);

  // The two entries sit on plates inside the highlight frame's innermost rectangle.
  const float entryX = PictureToPixelX(kFrameCentreX, N);
  const float plateW = kFrameInnerWidth / 2 * N * 0.93f;
  const float plateH = kFrameInnerHeight / 2 * N * 0.8f;
  Plate(c, entryX, PictureToPixelY(kStartEntryY, N), plateW, plateH);
  Plate(c, entryX, PictureToPixelY(kQuitEntryY, N), plateW, plateH);
  for (const TextPlacement& t : MainMenuLayout()) t.draw(c);
  return c;
}

namespace {

TextStyle HeadingStyle() {
  TextStyle s = TitleStyle(4.3f);
  s.slant = 0.12f;
  return s;
}

// A heading and two lines of keys, centred on x; the keys' first line has its capitals at y.
std::vector<TextPlacement> SelectionLayout(const char* heading, float headingX, float headingY,
                                           float x, float y, const char* first,
                                           const char* second) {
  TextStyle s = HintStyle(2.4f);
  return {{heading, headingX, headingY, HeadingStyle()},
          {first, x, y, s},
          {second, x, y + 11 * s.cellSize, s}};
}

std::vector<TextPlacement> CarMenuLayout() {
  // The keys keep clear of the picture's left part, where the turning car can reach.
  float helpX = (PictureToPixelX(kCarReachX, N) + N) / 2 - 10;
  return SelectionLayout("Choose your car", N / 2.0f + 12, 30, helpX, 446,
                         "Left / Right: pick a car", "Enter: go on   Esc: back");
}

std::vector<TextPlacement> TrackMenuLayout() {
  return SelectionLayout("Choose your track", N / 2.0f, 34, N / 2.0f + 20, 446,
                         "Left / Right: pick a track", "Enter: race!   Esc: back");
}

std::vector<PlacedText> Placed(const std::vector<TextPlacement>& layout) {
  std::vector<PlacedText> out;
  for (const TextPlacement& t : layout) out.push_back(t.placed());
  return out;
}

// A soft dark disc behind the game's arrow pair so its coloured arrows stand out.
void ArrowBackdrop(Canvas& c, float arrowsY) {
  float x0 = PictureToPixelX(kArrowsLeft, N), x1 = PictureToPixelX(kArrowsRight, N);
  float cy = PictureToPixelY(arrowsY, N);
  float cx = (x0 + x1) / 2, rx = (x1 - x0) / 2 + 22, ry = kArrowsHalfHeight / 2 * N + 18;
  c.fillShape(
      cx - rx, cy - ry, cx + rx, cy + ry,
      [&](float x, float y) {
        return (x - cx) * (x - cx) / (rx * rx) + (y - cy) * (y - cy) / (ry * ry) <= 1;
      },
      Rgb255(235, 235, 245), 0.22f);
  c.fillShape(
      cx - rx + 4, cy - ry + 4, cx + rx - 4, cy + ry - 4,
      [&](float x, float y) {
        float a = rx - 4, b = ry - 4;
        return (x - cx) * (x - cx) / (a * a) + (y - cy) * (y - cy) / (b * b) <= 1;
      },
      Rgb255(8, 8, 14), 0.9f);
}

}  // namespace

Canvas CarMenuPicture() {
  Canvas c(N, N);
  const float floorY = 330;
  // Showroom: a dark blue wall with vertical panels, a chequered floor in perspective, and a
  // spotlight from the left where the turning car stands.
  c.paint([&](float x, float y) {
    if (y < floorY) {
      float t = y / floorY;
      Colour wall = Mix(Rgb255(18, 22, 52), Rgb255(44, 52, 96), t);
      float panel = std::fmod(x, 64.0f);
      if (panel < 2.5f) wall = wall * 0.6f;
      float spot = std::exp(-((x - 20) * (x - 20) / 26000.0f + (y - 260) * (y - 260) / 30000.0f));
      return wall + Rgb255(120, 110, 80) * (spot * 0.55f);
    }
    float t = (y - floorY) / (N - floorY);
    float depth = 1.0f / std::max(t, 0.03f);
    float u = (x - N / 2.0f) * depth / 70.0f, v = depth * 1.2f;
    bool dark = (static_cast<int>(std::floor(u)) + static_cast<int>(std::floor(v))) % 2 != 0;
    Colour tile = dark ? Rgb255(30, 32, 44) : Rgb255(92, 96, 116);
    Colour fog = Rgb255(44, 52, 96);
    float spot = std::exp(-((x - 30) * (x - 30) / 40000.0f));
    return Mix(fog, tile, SmoothStep(0.0f, 0.5f, t)) + Rgb255(90, 80, 60) * (spot * 0.4f);
  });
  c.fillRect(0, floorY - 3, N, floorY + 1, Rgb255(160, 170, 220), 0.6f);
  CheckerBand(c, 92, 102, 10);
  ArrowBackdrop(c, kCarArrowsY);
  for (const TextPlacement& t : CarMenuLayout()) t.draw(c);
  return c;
}

Canvas TrackMenuPicture() {
  Canvas c(N, N);
  // A map table: deep green-blue with contour lines and a faint grid, darker towards the rim,
  // so the light blue preview line and its yellow points stand out.
  c.paint([&](float x, float y) {
    float u = x / N, v = y / N;
    float h = TileableFractal(u, v, 4, 4, 4, 33);
    float contour = std::abs(std::fmod(h * 14.0f, 1.0f) - 0.5f);
    Colour base = Mix(Rgb255(10, 30, 34), Rgb255(22, 52, 58), h);
    base = base + Rgb255(60, 120, 110) * (SmoothStep(0.06f, 0.0f, 0.5f - contour) * 0.35f);
    float gx = std::abs(std::fmod(x, 32.0f) - 16.0f), gy = std::abs(std::fmod(y, 32.0f) - 16.0f);
    if (gx > 15.3f || gy > 15.3f) base = base + Rgb255(30, 60, 70) * 0.5f;
    float r = std::hypot(u - 0.5f, v - 0.55f);
    return base * (1.05f - 0.6f * r);
  });
  // A frame like a table's edge, top banner strip.
  c.fillRect(0, 0, N, 104, Rgb255(8, 14, 20), 0.75f);
  CheckerBand(c, 98, 106, 8);
  ArrowBackdrop(c, kTrackArrowsY);
  c.fillRect(0, 420, N, N, Rgb255(8, 14, 20), 0.7f);
  for (const TextPlacement& t : TrackMenuLayout()) t.draw(c);
  return c;
}

std::vector<PlacedText> MainMenuTexts() {
  return Placed(MainMenuLayout());
}
std::vector<PlacedText> CarMenuTexts() {
  return Placed(CarMenuLayout());
}
std::vector<PlacedText> TrackMenuTexts() {
  return Placed(TrackMenuLayout());
}

}  // namespace content
