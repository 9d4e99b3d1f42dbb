// Fixture for the menu tests: the game started as its window starts it, in the shared headless
// context and a scratch working directory.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include "app/game_window.h"
#include "game/game_setup.h"
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
    InitScene();  // the game window's start: GameSetup, the fixed GL state and the font
  }
  void TearDown() override {
    ClearKeyState();
    SelectionFrame = {};
  }

 private:
  testing_support::ScratchFolder scratch_;
};

}  // namespace menu_testing
