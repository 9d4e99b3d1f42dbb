// The volume's note in a headless GL context: after a change it is drawn, within a second, in
// the bottom right corner only, with the GL state given back; after a second nothing is drawn.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <memory>

#include "app/volume_display.h"
#include "assets/outline_font.h"
#include "game/game_sounds.h"
#include "platform/recording_sound_system.h"
#include "support/gl_fixture.h"
#include "support/scratch_folder.h"

namespace {

class VolumeDisplayTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    BuildFont();
    useGameProjection();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
  void TearDown() override { StopGameSound(); }
  // Lit pixels of the framebuffer inside and outside the bottom right 200 by 80 corner.
  std::pair<int, int> lit() {
    const auto pixels = framebuffer();
    int inside = 0, outside = 0;
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x) {
        const size_t i = size_t(y * 800 + x) * 3;
        if (pixels[i] + pixels[i + 1] + pixels[i + 2] < 100) continue;
        (x >= 600 && y < 80 ? inside : outside)++;
      }
    return {inside, outside};
  }
  testing_support::ScratchFolder scratch;
};

TEST_F(VolumeDisplayTest, ShownInTheCornerForASecondAfterAChange) {
  StartGameSound(std::make_unique<platform::RecordingSoundSystem>(), true);
  ChangeSoundVolume(-1);
  const double changed = SoundVolumeChangedAt();
  glEnable(GL_DEPTH_TEST);
  DrawVolumeShown(changed + 0.5);
  const auto [inside, outside] = lit();
  EXPECT_GT(inside, 50);
  EXPECT_EQ(outside, 0);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));

  glClear(GL_COLOR_BUFFER_BIT);
  DrawVolumeShown(changed + 1.1);
  EXPECT_EQ(lit().first, 0);
  ChangeSoundVolume(+1);  // the kept volume as it was
}

}  // namespace
