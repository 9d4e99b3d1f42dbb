// The three built-in tracks. Their shapes are fixed data: control points in the plane y = 0,
// four to a group, each group's end repeated as the next group's start.
#include "track/track_definitions.h"

#include <cstddef>
#include <iterator>
#include <string>
#include <utility>

#include "assets/texture.h"
#include "track/built_in_targets.h"
#include "track/track.h"

namespace {

struct ControlPoint {
  int x;
  int z;
};

struct TrackDefinition {
  const char* name;
  const char* roadFile;
  const char* borderFile;
  const char* bannerFile;
  const char* skyFile;
  const ControlPoint* points;
  size_t pointCount;
};

constexpr ControlPoint kSunny[] = {
    {0, 0},    {1, 0},    {4, 0},    {5, 0},     // 0
    {5, 0},    {6, 0},    {8, 0},    {8, 2},     // 1
    {8, 2},    {8, 4},    {8, 5},    {8, 10},    // 2
    {8, 10},   {8, 13},   {11, 13},  {12, 13},   // 3
    {12, 13},  {13, 13},  {15, 15},  {15, 17},   // 4
    {15, 17},  {15, 19},  {12, 19},  {10, 19},   // 5
    {10, 19},  {8, 19},   {7, 17},   {5, 15},    // 6
    {5, 15},   {3, 13},   {4, 10},   {2, 5},     // 7
    {2, 5},    {0, 0},    {-3, 3},   {-5, 6},    // 8
    {-5, 6},   {-7, 9},   {-7, 9},   {-12, 12},  // 9
    {-12, 12}, {-17, 15}, {-13, -2}, {-8, -1},   // 10
};

constexpr ControlPoint kBlueSky[] = {
    {0, 0},     {1, 0},     {3, 0},     {4, 0},      // 0
    {4, 0},     {5, 0},     {5, 0},     {7, -3},     // 1
    {7, -3},    {9, -6},    {6, -8},    {7, -10},    // 2
    {7, -10},   {8, -12},   {5, -15},   {4, -20},    // 3
    {4, -20},   {3, -25},   {16, -30},  {13, -33},   // 4
    {13, -33},  {10, -36},  {5, -40},   {-1, -31},   // 5
    {-1, -31},  {-10, -21}, {-15, -19}, {-16, -16},  // 6
    {-16, -16}, {-19, -9},  {-20, -7},  {-23, -5},   // 7
    {-23, -5},  {-26, -3},  {-31, 0},   {-28, 1},    // 8
    {-28, 1},   {-25, 2},   {-19, 3},   {-17, 5},    // 9
    {-17, 5},   {-15, 7},   {-10, 8},   {-9, 2},     // 10
    {-9, 2},    {-8, -4},   {-6, 0},    {-4, 0},     // 11
};

constexpr ControlPoint kYello[] = {
    {0, 0},   {1, 0},   {2, 0},   {3, 0},    // 0
    {3, 0},   {4, 0},   {5, 1},   {6, 0},    // 1
    {6, 0},   {7, -1},  {6, -5},  {13, 0},   // 2
    {13, 0},  {20, 5},  {23, 0},  {25, 1},   // 3
    {25, 1},  {27, 2},  {32, 1},  {30, 7},   // 4
    {30, 7},  {28, 13}, {20, 10}, {18, 14},  // 5
    {18, 14}, {16, 18}, {9, 16},  {8, 15},   // 6
    {8, 15},  {7, 14},  {3, 13},  {2, 12},   // 7
    {2, 12},  {1, 11},  {-5, 10}, {-6, 9},   // 8
    {-6, 9},  {-7, 8},  {-6, 6},  {-12, 5},  // 9
    {-12, 5}, {-18, 4}, {-8, 0},  {-5, 0},   // 10
};

const TrackDefinition kDefinitions[BuiltInTrackCount] = {
    {"Sunny", "Data/Road.bmp", "Data/border.bmp", "Data/bannerStart.ms3d", "Data/Sky.bmp", kSunny,
     std::size(kSunny)},
    {"BlueSky", "Data/Road.bmp", "Data/border1.bmp", "Data/bannerStart1.ms3d",
     "Data/SkyBleuetForet.bmp", kBlueSky, std::size(kBlueSky)},
    {"Yello", "Data/Road2.bmp", "Data/border2.bmp", "Data/bannerStart2.ms3d",
     "Data/SkyNocturne.bmp", kYello, std::size(kYello)},
};

constexpr int32_t kSteps = 40;

}  // namespace

TrackCurve BuiltInTrackCurve(int index) {
  TrackCurve curve(kSteps);
  if (index < 0 || index >= BuiltInTrackCount) return curve;
  const TrackDefinition& definition = kDefinitions[index];
  curve.controlPoints.reserve(definition.pointCount);
  for (size_t i = 0; i < definition.pointCount; ++i) {
    curve.controlPoints.push_back(Vector3d(definition.points[i].x, 0.0, definition.points[i].z));
  }
  curve.generate();
  return curve;
}

TrackFileContent BuiltInTrackContent(int index) {
  TrackFileContent content;
  if (index < 0 || index >= BuiltInTrackCount) return content;
  const TrackDefinition& definition = kDefinitions[index];
  const auto plain = [](const char* file) { return std::string(file).substr(5); };  // "Data/"
  content.name = definition.name;
  content.steps = kSteps;
  content.halfWidth = 0.7f;
  content.laps = 2;
  content.road = plain(definition.roadFile);
  content.border = plain(definition.borderFile);
  content.sky = plain(definition.skyFile);
  content.banner = plain(definition.bannerFile);
  content.controlPoints = BuiltInTrackCurve(index).controlPoints;
  return content;
}

const char* BuiltInTrackName(int index) {
  return index >= 0 && index < BuiltInTrackCount ? kDefinitions[index].name : "";
}

std::vector<PictureRequest> BuiltInTrackPictures() {
  std::vector<PictureRequest> requests;
  for (const TrackDefinition& definition : kDefinitions) {
    requests.insert(requests.end(), {{definition.roadFile}, {definition.borderFile}});
    for (PictureRequest& skin : ModelTextureRequests(definition.bannerFile))
      requests.push_back(std::move(skin));
    requests.push_back({definition.skyFile, PictureRequest::Check});
  }
  return requests;
}

void DefineTracks() {
  for (int index = 0; index < BuiltInTrackCount; ++index) {
    const TrackDefinition& definition = kDefinitions[index];
    Track& track = TrackTable[index];
    TrackCurve curve = BuiltInTrackCurve(index);
    track.curve.steps = curve.steps;
    track.curve.controlPoints = std::move(curve.controlPoints);
    track.curve.points = std::move(curve.points);
    track.roadTexture = LoadTexture(definition.roadFile);
    track.borderTexture = LoadTexture(definition.borderFile);
    track.banner.load(definition.bannerFile);
    // Only the raced track's sky becomes a texture, when its race starts; a broken picture still
    // shows its box now, in file order.
    ReleaseSky(track);
    track.skyFile = definition.skyFile;
    track.skyUsable = CheckTexture(definition.skyFile);
    track.name = definition.name;
  }
  ReadBuiltInTrackTargets();
}
