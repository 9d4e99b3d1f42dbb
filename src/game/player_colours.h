// The colour player two's texts are drawn in (their car's name, who has joined), so that they
// tell apart from player one's teal at a glance.
#pragma once

struct PlayerColour {
  float red, green, blue;
};
constexpr PlayerColour SecondPlayerColour{1.0f, 0.55f, 0.1f};
