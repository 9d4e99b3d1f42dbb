// The map of one track. The checkpoint windows are the race's lap windows: with n centre points
// and m = n / 2, the first is m - 80 < i < m - 40, the second m + 40 < i < m + 80, and a lap is
// counted at i < 80. On a track read from a file the 40 and 80 are n / 12 and n / 6.
#include "track_map.h"

#include <algorithm>
#include <vector>

#include "map_canvas.h"
#include "track/road_edges.h"

namespace {

constexpr formats::Rgb kGrass{46, 84, 40};
constexpr formats::Rgb kRoad{96, 96, 100};
constexpr formats::Rgb kEdge{235, 235, 235};
constexpr formats::Rgb kCentre{240, 200, 40};
constexpr formats::Rgb kFirstWindow{60, 140, 255};
constexpr formats::Rgb kSecondWindow{230, 70, 230};
constexpr formats::Rgb kLapZone{120, 230, 120};
constexpr formats::Rgb kStart{230, 30, 30};

}  // namespace

formats::Picture DrawTrackMap(const TrackCurve& curve, float halfWidth, int size, bool fileTrack) {
  const std::vector<Vector3d>& p = curve.points;
  const size_t n = p.size();
  double minX = 0, maxX = 1, minZ = 0, maxZ = 1;
  for (const Vector3d& v : p) {
    minX = std::min(minX, v.x - 1);
    maxX = std::max(maxX, v.x + 1);
    minZ = std::min(minZ, v.z - 1);
    maxZ = std::max(maxZ, v.z + 1);
  }
  MapCanvas canvas(size, size, minX, maxX, minZ, maxZ, 16, kGrass);
  if (n < 2) return canvas.picture();

  // Edge pairs as the road mesh makes them; after the last pair the road closes at x = 1.
  std::vector<EdgePair> edges;
  SideDirection side = kStartSideDirection;
  for (size_t i = 0; i + 1 < n; ++i) {
    side = SideDirectionAt(p, i, side);
    edges.push_back(EdgesAt(p[i], halfWidth, side));
  }
  edges.push_back({Vector3d(1, 0, -halfWidth), Vector3d(1, 0, halfWidth)});

  for (size_t i = 0; i + 1 < edges.size(); ++i) {
    const EdgePair& a = edges[i];
    const EdgePair& b = edges[i + 1];
    canvas.quad({a.left.x, a.right.x, b.right.x, b.left.x},
                {a.left.z, a.right.z, b.right.z, b.left.z}, kRoad);
  }
  for (size_t i = 0; i + 1 < edges.size(); ++i) {
    const EdgePair& a = edges[i];
    const EdgePair& b = edges[i + 1];
    canvas.line(a.left.x, a.left.z, b.left.x, b.left.z, kEdge, 2);
    canvas.line(a.right.x, a.right.z, b.right.x, b.right.z, kEdge, 2);
  }

  const double m = static_cast<double>(n) * 0.5;
  const double nearShare = fileTrack ? static_cast<double>(n) / 12.0 : 40;
  const double farShare = fileTrack ? static_cast<double>(n) / 6.0 : 80;
  for (size_t i = 0; i + 1 < n; ++i) {
    const double index = static_cast<double>(i);
    formats::Rgb colour = kCentre;
    double thickness = 1.5;
    if (m - farShare < index && index < m - nearShare) {
      colour = kFirstWindow;
      thickness = 5;
    } else if (m + nearShare < index && index < m + farShare) {
      colour = kSecondWindow;
      thickness = 5;
    } else if (index < farShare) {
      colour = kLapZone;
      thickness = 3;
    }
    canvas.line(p[i].x, p[i].z, p[i + 1].x, p[i + 1].z, colour, thickness);
  }
  canvas.disc(p[0].x, p[0].z, 6, kStart);
  return canvas.picture();
}
