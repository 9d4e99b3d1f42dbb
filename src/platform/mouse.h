// Mouse state shared by the frame and the screens that use a pointer (the track editor), kept as
// KeyState is: the window system writes it, a screen reads and consumes it.
#pragma once

enum MouseButton { MouseLeft = 0, MouseMiddle = 1, MouseRight = 2, MouseButtonCount = 3 };

struct MouseState {
  // The pointer in the drawable's pixels, from its bottom left corner (as GL's window
  // coordinates); valid once `seen`.
  int x = 0, y = 0;
  bool seen = false;
  bool held[MouseButtonCount] = {};
  // Set at a button's press, cleared by the screen that takes it.
  bool pressed[MouseButtonCount] = {};
  // Wheel notches turned since a screen last took them: up positive.
  int wheel = 0;
};

extern MouseState Mouse;

// Clears every button and the wheel (a screen change, a test's start).
void ClearMouseState();

// Consumes a press of `button`.
inline bool TakeMousePress(int button) {
  if (!Mouse.pressed[button]) return false;
  Mouse.pressed[button] = false;
  return true;
}

// Consumes the wheel's notches.
inline int TakeMouseWheel() {
  const int notches = Mouse.wheel;
  Mouse.wheel = 0;
  return notches;
}
