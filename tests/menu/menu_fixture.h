// Fixture for the menu tests: the game started as its window starts it, in the shared headless
// context and a scratch working directory.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/game_window.h"
#include "game/game_setup.h"
#include "game/players.h"
#include "menu/car_selection.h"
#include "menu/main_menu.h"
#include "menu/track_selection.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "support/gl_fixture.h"
#include "support/scratch_folder.h"
#include "track/track.h"

namespace menu_testing {

// The game's projection and start, in a fresh folder with an empty Data/ (a test that fills it
// runs GameSetup again).
class MenuTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    useGameProjection();
    ClearKeyState();
    QuitRequested = false;
    // Models of an earlier test stay loaded (a failed load keeps the model): start empty.
    for (Car& car : CarRoster) car.model.clear();
    InitScene();  // the game window's start: the main menu's setup, the fixed GL state, the font
    FinishGameSetup();
  }
  void TearDown() override {
    ClearKeyState();
    SelectionFrame = {};
  }

  // A selection screen drawn at this spin, tint held white: an untextured picture is white,
  // black around it; the track preview's lines and points are drawn last, over everything.
  std::vector<unsigned char> selectionFrame(float spin, void (*draw)()) {
    SpinAngle = spin;
    MenuTint = {1.0f, 1.0f, 1.0f};
    draw();
    glFinish();
    return framebuffer();
  }
  std::vector<unsigned char> trackSelectionFrame(float spin, Car* car) {
    Players[0].carIndex = static_cast<int16_t>(car - CarRoster);
    return selectionFrame(spin, DrawTrackSelection);
  }

  // What a line adds to the track selection: the pixels where `with` differs from `without`,
  // those outside rows [bandLow, bandHigh), those over anything but the background, and their
  // neighbours that are neither background nor preview (the name, the arrows, other lines).
  struct LineMarks {
    int pixels = 0, outsideBand = 0, covering = 0, touching = 0;
  };
  static void addLineMarks(const std::vector<unsigned char>& with,
                           const std::vector<unsigned char>& without, int bandLow, int bandHigh,
                           LineMarks& marks) {
    auto kind = [](const unsigned char* p) {  // 0 background, 1 preview, 2 anything else
      const int rgb = p[0] << 16 | p[1] << 8 | p[2];
      return rgb == 0xFFFFFF || rgb == 0 ? 0 : rgb == 0x9999FF || rgb == 0xFFFF00 ? 1 : 2;
    };
    for (int y = 1; y < 599; ++y)
      for (int x = 1; x < 799; ++x) {
        const size_t at = (size_t(y) * 800 + x) * 3;
        if (std::equal(&with[at], &with[at] + 3, &without[at])) continue;
        ++marks.pixels;
        marks.outsideBand += y < bandLow || y >= bandHigh;
        marks.covering += kind(&without[at]) != 0;
        for (int d : {-801, -800, -799, -1, 1, 799, 800, 801})
          marks.touching += kind(&without[at] + 3 * d) == 2;
      }
  }

 private:
  testing_support::ScratchFolder scratch_;
};

}  // namespace menu_testing
