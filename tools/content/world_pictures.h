// The race's pictures: the three skies, the two road surfaces and the three kerb borders.
#pragma once

#include "content/canvas.h"

namespace content {

// The first three are the built-in tracks' skies, the others those of the shipped track files.
enum class SkyKind { Sunny, BlueForest, Night, Dawn, Desert, Alpine, Storm };
enum class RoadKind { Asphalt, Sand };
enum class BorderKind { RedWhite, BlueWhite, YellowBlack };

constexpr int kSkySize = 1024;
constexpr int kRoadSize = 256;
constexpr int kBorderWidth = 128;
constexpr int kBorderHeight = 64;

// The race draws the sky as a quad much larger than the view, so only the middle of the picture
// (about t 0.40 to 0.60, a fifth of its width at a time) is ever on screen; the horizon lies
// between the driver's view (t 0.50) and the chase view (t 0.535). The picture repeats across
// its left and right edges.
constexpr float kSkyHorizonT = 0.515f;

Canvas SkyPicture(SkyKind kind);
// Spans the road's width once (s) and repeats along it (t), so its top and bottom rows meet.
Canvas RoadPicture(RoadKind kind);
// Spans one centre-point step along the wall (s) and the wall's height (t); repeats along s.
Canvas BorderPicture(BorderKind kind);

}  // namespace content
