// Where the menu screens' own drawing lands on their background pictures, worked out from the
// screens' transformations, so the pictures can put their texts in the right places.
#pragma once

namespace content {

// The background quad spans -1..1 at eye depth 3.2 (translated to -4.2, drawn at +1.0); a
// point at eye depth d projects onto it scaled by 3.2 / d. Picture coordinates: x right and
// y up, both -1..1 across the picture.
constexpr float kMenuPictureDepth = 3.2f;

// Converts picture coordinates to pixels of a size-by-size canvas (y down).
inline float PictureToPixelX(float x, int size) {
  return (x + 1) / 2 * size;
}
inline float PictureToPixelY(float y, int size) {
  return (1 - y) / 2 * size;
}

// Main menu: the highlight frame is drawn at depth 1.1 in front of the picture (at 1.0), with
// its centre at x -0.01 and y 0.34 (start entry) or -0.72 (quit entry); its innermost
// rectangle is 1.6 by 0.25 and its outermost 2.8 by 0.45.
constexpr float kFrameScale = kMenuPictureDepth / (kMenuPictureDepth - 0.1f);
constexpr float kFrameCentreX = -0.01f * kFrameScale;
constexpr float kStartEntryY = 0.34f * kFrameScale;
constexpr float kQuitEntryY = -0.72f * kFrameScale;
constexpr float kFrameInnerWidth = 1.6f * kFrameScale;
constexpr float kFrameInnerHeight = 0.25f * kFrameScale;

// Selection screens: the scene is translated by (0.7, 0.25, -4.2), so the picture is offset
// by (0.7, 0.25) from the view axis. The arrows sit at eye depth 3.0, (0.61, y) with y -0.34
// (car screen) or 0.0 (track screen), spanning -0.05..0.20 across and -0.05..0.05 up.
constexpr float kArrowScale = kMenuPictureDepth / 3.0f;
constexpr float kArrowsLeft = (0.61f - 0.05f) * kArrowScale - 0.7f;
constexpr float kArrowsRight = (0.61f + 0.20f) * kArrowScale - 0.7f;
constexpr float kCarArrowsY = -0.34f * kArrowScale - 0.25f;
constexpr float kTrackArrowsY = 0.0f * kArrowScale - 0.25f;
constexpr float kArrowsHalfHeight = 0.05f * kArrowScale;
// The turning car stands at eye (-0.3, 0.05, -1.2): left of the picture; while it turns it
// can reach over the picture's left fifth (up to x -0.6). The names are printed below the
// picture. The track preview starts left of the picture and sweeps over much of it.
constexpr float kCarReachX = -0.6f;

}  // namespace content
