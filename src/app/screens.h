// The screen dispatch table: one draw and one input operation per value of ScreenState.
#pragma once

struct ScreenOps {
  void (*draw)();
  void (*input)();
};

constexpr int ScreenCount = 6;
// 0 main menu, 1 car selection, 2 track selection, 3 race, 4 controls, 5 replay. Tests may
// replace entries.
extern ScreenOps Screens[ScreenCount];
// The operations for the current ScreenState, or null when it names no screen.
const ScreenOps* CurrentScreen();
