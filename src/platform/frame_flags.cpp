// Storage for the frame's program-wide flags and the keyboard state.
#include "platform/frame_flags.h"

#include <algorithm>
#include <iterator>

#include "platform/keys.h"

int16_t ScreenState = screen::MainMenu;
bool QuitRequested = false;
bool Active = true;
bool Fullscreen = true;
bool KeyState[KeyCount] = {};

void ClearKeyState() {
  std::fill(std::begin(KeyState), std::end(KeyState), false);
}
