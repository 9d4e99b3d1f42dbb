// Shipped tracks: waypoints joined by smooth cubic segments (the handles a third of the way
// along the neighbours' chord, as in a Catmull-Rom spline), starting at the origin along +x and
// ending on the -x axis, so the closing segment is the start straight.
#include "content/track_files.h"

#include <cstdio>

namespace content {

namespace {

struct Point {
  double x, y, z;
};

Point operator+(Point a, Point b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Point operator-(Point a, Point b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Point operator*(double k, Point a) {
  return {k * a.x, k * a.y, k * a.z};
}

struct TrackPlan {
  const char* name;
  const char* file;
  const char* comment;
  int steps;
  double halfWidth;
  int laps;
  const char* medals;  // bronze, silver and gold, in seconds
  const char* road;
  const char* border;
  const char* banner;
  std::vector<Point> waypoints;  // from 0 0 0 to a point on the -x axis
};

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", v);
  std::string s = text;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

std::string Write(const TrackPlan& plan) {
  std::string text =
      "quillon-track 1\n# " + std::string(plan.comment) + "\n# Written by the content generator.\n";
  text += "name " + std::string(plan.name) + "\n";
  text += "steps " + std::to_string(plan.steps) + "\n";
  text += "halfWidth " + Number(plan.halfWidth) + "\n";
  text += "laps " + std::to_string(plan.laps) + "\n";
  text += "medals " + std::string(plan.medals) + "\n";
  text += "road " + std::string(plan.road) + "\nborder " + plan.border + "\n";
  text += "sky " + std::string(plan.file) + "-sky.bmp\nbanner " + plan.banner + "\n";
  const std::vector<Point>& w = plan.waypoints;
  const size_t n = w.size();
  // Tangents: along +x at both ends (the start straight), else half the neighbours' chord.
  std::vector<Point> tangent(n);
  for (size_t i = 0; i < n; ++i) {
    if (i == 0 || i + 1 == n) {
      const double length = i == 0 ? w[1].x - w[0].x : w[i].x - w[i - 1].x;
      tangent[i] = {length > 0 ? length * 0.5 : 3.0, 0, 0};
    } else {
      tangent[i] = 0.5 * (w[i + 1] - w[i - 1]);
    }
  }
  // The end tangent as the chord to the origin, so the last handle lies on the axis too.
  tangent[n - 1] = {-w[n - 1].x * 0.6, 0, 0};
  tangent[0] = {w[1].x > 0 ? w[1].x * 0.5 : 3.0, 0, 0};
  const auto line = [&](Point p) {
    text += "point " + Number(p.x) + " " + Number(p.y) + " " + Number(p.z) + "\n";
  };
  for (size_t i = 0; i + 1 < n; ++i) {
    text += "# from waypoint " + std::to_string(i) + "\n";
    line(w[i]);
    line(w[i] + (1.0 / 3.0) * tangent[i]);
    line(w[i + 1] - (1.0 / 3.0) * tangent[i + 1]);
    line(w[i + 1]);
  }
  return text;
}

}  // namespace

TrackFileText BuiltInMedalsFile() {
  return {"medals.txt",
          "# The built-in tracks' medals in seconds: track, bronze, silver, gold.\n"
          "# Written by the content generator from the autopilot's race with the first car.\n"
          "Sunny 138.2 121.6 110.5\n"
          "BlueSky 168.4 148.2 134.7\n"
          "Yello 145.3 127.9 116.2\n"};
}

std::vector<TrackFileText> ShippedTrackFiles() {
  const TrackPlan plans[] = {
      {"Longshore",
       "Longshore",
       "A long fast loop along the shore: wide road, sweeping bends.",
       90,
       1.0,
       2,
       "122.9 108.2 98.3",
       "Road.bmp",
       "border1.bmp",
       "bannerStart1.ms3d",
       {{0, 0, 0},
        {28, 0, 0},
        {52, 0, -8},
        {64, 0, -30},
        {56, 0, -54},
        {30, 0, -66},
        {0, 0, -64},
        {-26, 0, -52},
        {-40, 0, -30},
        {-32, 0, -10},
        {-10, 0, 0}}},
      {"Knots",
       "Knots",
       "A tight technical track: hairpins and chicanes on a narrow road.",
       32,
       0.6,
       2,
       "163.2 143.6 130.5",
       "Road2.bmp",
       "border2.bmp",
       "bannerStart2.ms3d",
       {{0, 0, 0},
        {7, 0, 0},
        {11, 0, -4},
        {8, 0, -8},
        {3, 0, -9},
        {2, 0, -14},
        {7, 0, -17},
        {12, 0, -15},
        {16, 0, -18},
        {14, 0, -23},
        {7, 0, -25},
        {0, 0, -22},
        {-5, 0, -25},
        {-10, 0, -21},
        {-8, 0, -16},
        {-12, 0, -12},
        {-16, 0, -7},
        {-13, 0, -2},
        {-6, 0, 0}}},
      {"Overpass",
       "Overpass",
       "Climbs round and crosses over its own start on a bridge.",
       60,
       0.7,
       2,
       "101.5 89.4 81.2",
       "Road.bmp",
       "border.bmp",
       "bannerStart.ms3d",
       {{0, 0, 0},
        {14, 0, 0},
        {26, 0, -8},
        {26, 1.5, -22},
        {14, 3.5, -26},
        {8, 4, -14},
        {8, 4, 8},
        {2, 3, 18},
        {-12, 1.5, 16},
        {-20, 0.5, 6},
        {-8, 0, 0}}},
      {"Dunes",
       "Dunes",
       "Rolling over sand hills in long S bends.",
       70,
       0.8,
       3,
       "132.9 117 106.3",
       "Road2.bmp",
       "border2.bmp",
       "bannerStart2.ms3d",
       {{0, 0, 0},
        {16, 0, 0},
        {30, 1.5, -6},
        {40, 0.5, -18},
        {36, 2, -32},
        {22, 0.5, -38},
        {10, 2.5, -30},
        {-4, 0.5, -34},
        {-18, 2, -28},
        {-24, 0.5, -14},
        {-18, 0, -4},
        {-8, 0, 0}}},
  };
  std::vector<TrackFileText> files;
  for (const TrackPlan& plan : plans)
    files.push_back({"Tracks/" + std::string(plan.file) + ".track", Write(plan)});
  return files;
}

}  // namespace content
