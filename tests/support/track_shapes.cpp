// Random loops written as track files, and the README's example read from the source folder.
#include "support/track_shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

namespace testing_support {

namespace {

struct Point {
  double x, y, z;
};

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", v);
  return text;
}

std::string SourceFile(const std::string& name) {
  const char* root = std::getenv("QUILLON_SOURCE_DIR");
  std::ifstream in(std::string(root ? root : ".") + "/" + name);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

std::string RandomLoopTrack(uint32_t seed) {
  std::mt19937 random(seed);
  const auto uniform = [&](double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
  };
  const auto whole = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  // Reach from the centre (0, 0, -reach0) at angle a (0 at the origin, growing towards +x):
  // two smooth waves of at most a quarter of the mean reach.
  const double mean = uniform(6.0, 400.0);
  const double wave1 = uniform(0, 0.15), wave2 = uniform(0, 0.1);
  const double phase1 = uniform(0, 6.3), phase2 = uniform(0, 6.3);
  const auto reach = [&](double a) {
    return mean * (1 + wave1 * (std::sin(2 * a + phase1) - std::sin(phase1)) +
                   wave2 * (std::sin(3 * a + phase2) - std::sin(phase2)));
  };
  const double hill = uniform(0, std::min(8.0, mean / 8)), hillPhase = uniform(0, 6.3);
  // The start straight's back end, and the waypoints on the loop between its ends.
  const double back = uniform(2.5, std::min(mean / 3, 40.0));
  const int waypoints = whole(4, 30);
  std::vector<Point> w = {{0, 0, 0}};
  const double first = std::atan2(back, mean) + 0.3, last = 2 * M_PI - first;
  for (int i = 0; i < waypoints; ++i) {
    const double a = first + (last - first) * i / (waypoints - 1);
    const double r = reach(a);
    w.push_back({r * std::sin(a), hill * std::sin(a / 2) * std::sin(a + hillPhase),
                 -mean + r * std::cos(a)});
  }
  w.push_back({-back, 0, 0});
  // Handles a third of the way along each waypoint's tangent (half its neighbours' chord), along
  // the x axis at both ends of the line.
  const size_t n = w.size();
  std::vector<Point> tangent(n);
  for (size_t i = 1; i + 1 < n; ++i)
    tangent[i] = {(w[i + 1].x - w[i - 1].x) / 2, (w[i + 1].y - w[i - 1].y) / 2,
                  (w[i + 1].z - w[i - 1].z) / 2};
  // The start straight's handles no longer than it, so that it never turns back on itself.
  tangent[0] = {std::min(w[1].x / 2, back * 0.6), 0, 0};
  tangent[n - 1] = {back * 0.6, 0, 0};
  double smallest = mean;
  for (double a = 0; a < 2 * M_PI; a += 0.01) smallest = std::min(smallest, reach(a));
  std::string text = "quillon-track 1\nname Random " + std::to_string(seed) + "\nsteps " +
                     std::to_string(whole(4, 200)) + "\nhalfWidth " +
                     Number(uniform(0.2, std::min(5.0, std::min(smallest, back) / 4))) + "\nlaps " +
                     std::to_string(whole(1, 20)) +
                     "\nroad Road.bmp\nborder border.bmp\nsky Sky.bmp\nbanner bannerStart.ms3d\n";
  const auto line = [&](Point p) {
    text += "point " + Number(p.x) + " " + Number(p.y) + " " + Number(p.z) + "\n";
  };
  for (size_t i = 0; i + 1 < n; ++i) {
    line(w[i]);
    line({w[i].x + tangent[i].x / 3, w[i].y + tangent[i].y / 3, w[i].z + tangent[i].z / 3});
    line({w[i + 1].x - tangent[i + 1].x / 3, w[i + 1].y - tangent[i + 1].y / 3,
          w[i + 1].z - tangent[i + 1].z / 3});
    line(w[i + 1]);
  }
  return text;
}

std::string ReadmeExampleTrack() {
  return SourceFile("tests/track/readme_example.track");
}

std::string ReadmeExampleAsPrinted() {
  const std::string readme = SourceFile("README.md");
  const size_t section = readme.find("## Your own tracks");
  const size_t start = readme.find("```text\n", section);
  if (section == std::string::npos || start == std::string::npos) return {};
  const size_t end = readme.find("```", start + 8);
  return readme.substr(start + 8, end == std::string::npos ? 0 : end - start - 8);
}

}  // namespace testing_support
