// The screen dispatch table: one draw and one input operation per value of ScreenState.
#pragma once

struct ScreenOps {
  void (*draw)();
  void (*input)();
};

#include "platform/frame_flags.h"

constexpr int ScreenCount = screen::Count;
// By the screens' numbers (platform/frame_flags.h). Tests may replace entries.
extern ScreenOps Screens[ScreenCount];
// The operations for the current ScreenState, or null when it names no screen.
const ScreenOps* CurrentScreen();
