// The three menu background pictures: main menu, car selection, track selection.
#pragma once

#include <string>
#include <vector>

#include "content/canvas.h"
#include "content/pixel_font.h"

namespace content {

constexpr int kMenuPictureSize = 512;

// A text of a menu picture with where it is painted (picture pixels, y down).
struct PlacedText {
  std::string text;
  TextBox box;
};
// The texts each picture paints: for the main menu the title, then "Start race" and "Quit";
// for the selections the heading, then the two lines of keys.
std::vector<PlacedText> MainMenuTexts();
std::vector<PlacedText> CarMenuTexts();
std::vector<PlacedText> TrackMenuTexts();

Canvas MainMenuPicture();
Canvas CarMenuPicture();
Canvas TrackMenuPicture();

}  // namespace content
