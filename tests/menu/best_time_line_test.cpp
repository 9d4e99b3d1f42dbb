// The track selection's best-time line over a full turn of every track: it never touches the
// turning name or the arrows and never covers the preview, judged by pixels.
#include <algorithm>

#include "menu_fixture.h"
#include "records/best_times.h"

namespace {

using menu_testing::MenuTest;

constexpr int Width = 800, Height = 600;

bool Is(const unsigned char* rgb, int r, int g, int b) {
  return rgb[0] == r && rgb[1] == g && rgb[2] == b;
}
// The white of the untextured background picture or the black around it.
bool Background(const unsigned char* rgb) {
  return Is(rgb, 255, 255, 255) || Is(rgb, 0, 0, 0);
}
// The preview's lines and points: drawn after the line, over it.
bool Preview(const unsigned char* rgb) {
  return Is(rgb, 153, 153, 255) || Is(rgb, 255, 255, 0);
}

}  // namespace

class BestTimeLineTest : public MenuTest {
 protected:
  // Pixels drawn at a spin angle, with the tint held white so that only the drawings differ
  // from the (untextured, white) background.
  std::vector<unsigned char> frame(float spin) {
    SpinAngle = spin;
    MenuTint = {1.0f, 1.0f, 1.0f};
    DrawTrackSelection();
    glFinish();
    return framebuffer();
  }
};

TEST_F(BestTimeLineTest, NeverTouchesTheNameOrArrowsNorCoversThePreviewAtAnyAngle) {
  Car* timed = &CarRoster[0];
  Car* untimed = &CarRoster[1];
  for (int track = 0; track < 3; ++track) {
    SelectedTrackIndex = static_cast<int16_t>(track);
    SelectedTrack = &TrackTable[track];
    GameBestTimes.recordFinish({SelectedTrack->name, timed->name, 9999, 0});
    int touching = 0, covering = 0, linePixels = 0;
    // Every angle of the name (a turn each 12), then the slower turn of the preview.
    std::vector<float> spins;
    for (int i = 0; i < 72; ++i) spins.push_back(i / 6.0f);
    for (int i = 0; i < 24; ++i) spins.push_back(15.0f * i + 0.3f * i);
    for (float spin : spins) {
      SelectedCar = untimed;
      const auto without = frame(spin);
      SelectedCar = timed;
      const auto with = frame(spin);
      for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
          const size_t at = (size_t(y) * Width + x) * 3;
          if (std::equal(&with[at], &with[at] + 3, &without[at])) continue;
          covering += !Background(&without[at]);
          ++linePixels;
          // No pixel of the name or arrows next to the line's.
          for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
              const int nx = x + dx, ny = y + dy;
              if (nx < 0 || ny < 0 || nx >= Width || ny >= Height) continue;
              const size_t n = (size_t(ny) * Width + nx) * 3;
              touching += !Background(&without[n]) && !Preview(&without[n]);
            }
        }
      }
    }
    EXPECT_GT(linePixels, 100 * int(spins.size())) << SelectedTrack->name;
    EXPECT_EQ(touching, 0) << SelectedTrack->name;
    EXPECT_EQ(covering, 0) << SelectedTrack->name;
  }
}
