// The three menu background pictures: main menu, car selection, track selection.
#pragma once

#include "content/canvas.h"

namespace content {

constexpr int kMenuPictureSize = 512;

Canvas MainMenuPicture();
Canvas CarMenuPicture();
Canvas TrackMenuPicture();

}  // namespace content
