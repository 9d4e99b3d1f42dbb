// The volume's note in a headless GL context: after a change it is drawn, within a second, in
// the bottom right corner only, with the GL state given back; after a second nothing is drawn.
// M's "Sound on" and "Sound off" likewise.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
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
  struct Lit {
    int inside = 0, outside = 0;
  };
  Lit lit() {
    const auto pixels = framebuffer();
    Lit found;
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x) {
        const size_t i = size_t(y * 800 + x) * 3;
        if (pixels[i] + pixels[i + 1] + pixels[i + 2] < 100) continue;
        (x >= 600 && y < 80 ? found.inside : found.outside)++;
      }
    return found;
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
  EXPECT_EQ(lit().inside, 0);
  ChangeSoundVolume(+1);  // the kept volume as it was
}

TEST_F(VolumeDisplayTest, MShowsSoundOffOrOnThereTooTheLaterChangeWinning) {
  StartGameSound(std::make_unique<platform::RecordingSoundSystem>(), true);
  MuteSoundForRun(false);
  ASSERT_TRUE(SoundOn());
  ToggleSound();
  EXPECT_FALSE(SoundOn());
  DrawVolumeShown(SoundSwitchedAt() + 0.5);
  const Lit off = lit();
  const auto offPicture = framebuffer();
  EXPECT_GT(off.inside, 50);
  EXPECT_EQ(off.outside, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  ToggleSound();
  DrawVolumeShown(SoundSwitchedAt() + 0.5);
  const Lit on = lit();
  const auto onPicture = framebuffer();
  EXPECT_TRUE(SoundOn());
  EXPECT_GT(on.inside, 50);
  EXPECT_EQ(on.outside, 0);
  EXPECT_NE(onPicture, offPicture);
  // A volume step after M shows the volume.
  glClear(GL_COLOR_BUFFER_BIT);
  ChangeSoundVolume(0);
  DrawVolumeShown(SoundVolumeChangedAt() + 0.5);
  EXPECT_NE(framebuffer(), onPicture);
  EXPECT_GT(lit().inside, 50);
  glClear(GL_COLOR_BUFFER_BIT);
  DrawVolumeShown(std::max(SoundSwitchedAt(), SoundVolumeChangedAt()) + 1.1);
  EXPECT_EQ(lit().inside, 0);
}

}  // namespace
