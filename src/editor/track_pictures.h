// The pictures a track may use for its sky, road and border: those in the data folder named so,
// and every picture beside the track's file. GL-free.
#pragma once

#include <string>
#include <vector>

// Kinds of picture, as TrackEditing::setPicture numbers them.
enum class PictureKind { Road = 0, Border = 1, Sky = 2 };

// The plain file names, in name order without repeats: `dataFolder`'s BMP files whose names
// start with "Road", "border" or "Sky" (any case) for their kind, then every BMP file in
// `trackFolder` (when given), then `current` if it is among neither.
std::vector<std::string> PictureChoices(PictureKind kind, const std::string& dataFolder,
                                        const std::string& trackFolder, const std::string& current);

// The choice `step` places from `current` in `choices`, round the ends.
std::string StepPicture(const std::vector<std::string>& choices, const std::string& current,
                        int step);
