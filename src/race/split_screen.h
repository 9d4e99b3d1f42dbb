// Pictures stacked in the window: a race of two (or its replay) draws each player's in a band of
// its own, player one's on top.
#pragma once

#include <functional>

// Calls `draw(i)` for each of `count` bands of the current viewport, top first, each with the
// viewport and scissor on its band and the game's projection narrowed to it, then darkens a
// line between the bands and puts the viewport, projection and an identity modelview back.
void DrawStacked(int count, const std::function<void(int)>& draw);
