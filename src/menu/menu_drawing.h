// Drawing pieces the pictured menu screens (main menu, car and track selection) share: the tinted
// background picture, the arrow pair and the per-frame fade of the tint.
#pragma once

#include <cstdint>

// The picture as one quad at depth 1.0 spanning -1..1, textured and tinted by MenuTint; leaves
// the colour white and texturing disabled.
void DrawMenuBackground(uint32_t texture);

// The left and right arrow heads, coloured per vertex from MenuTint, in the current frame.
void DrawSelectionArrows();

// One frame of fading: each tint component above its floor drops by its step, else becomes 1.0.
struct TintFade {
  float redFloor, redStep;
  float greenFloor, greenStep;
  float blueFloor, blueStep;
};
void FadeMenuTint(const TintFade& fade);

// The fade of the two selection screens.
constexpr TintFade SelectionTintFade{0.6f, 0.005f, 0.8f, 0.0035f, 0.6f, 0.0033f};
