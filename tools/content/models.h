// The generated models: the three cars and the three start banners, each with its skins.
#pragma once

#include <string>
#include <vector>

#include "content/canvas.h"
#include "formats/bmp_writer.h"
#include "formats/ms3d_writer.h"

namespace content {

struct ModelSkin {
  std::string file;  // named by a material as "./file"
  Canvas canvas;
  formats::BmpOptions options;
};

struct ModelContent {
  std::string file;
  formats::Ms3dMesh mesh;
  std::vector<ModelSkin> skins;
};

// Cars, in model units: y up with the road at y -20.36 (the car's position is 0.05 above the
// road and the chase view draws the model at 1/400), the nose along +z. In the chase view a
// point is in front of the near plane while 0.139 y - 0.990 z < 12, so nothing reaches further
// back than about z -10.
constexpr float kCarGroundY = -20.36f;
// The compact shapes are stretched by these factors (height above the road, and length) and
// moved by kCarShiftZ along z before they are written.
constexpr float kCarStretchY = 1.35f;
constexpr float kCarStretchZ = 1.12f;
constexpr float kCarShiftZ = 2.0f;

ModelContent SmileCar();    // "SMiLE": Data/wingman.ms3d
ModelContent PizzaCar();    // "911PIZ": Data/pizzacar.ms3d
ModelContent FlyingTaco();  // "FlyingTaco": Data/flyingtaco.ms3d

// Start banners, in banner units (1/100 of the world): the road surface is at y -19.5 and
// 70 units to each side of x 0; the driver comes from +z.
constexpr float kBannerRoadY = -19.5f;
constexpr float kBannerRoadHalfWidth = 70.0f;

// track 0 "Sunny" red and white, 1 "BlueSky" blue and white, 2 "Yello" yellow and black.
ModelContent StartBanner(int track);

}  // namespace content
