// The one mouse state of the program.
#include "platform/mouse.h"

MouseState Mouse;

void ClearMouseState() {
  const int x = Mouse.x, y = Mouse.y;
  const bool seen = Mouse.seen;
  Mouse = MouseState{};
  Mouse.x = x;
  Mouse.y = y;
  Mouse.seen = seen;
}
