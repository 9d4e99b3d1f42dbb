// Writing a track file's text, numbers in their shortest form that reads back exactly.
#include "track/track_file_text.h"

#include <charconv>

namespace {

template <typename Number>
std::string Text(Number value) {
  if (value == 0) return "0";  // also for -0
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string TrackFileText(const TrackFileContent& c, const std::vector<std::string>& comments) {
  std::string text = "quillon-track 1\n";
  for (const std::string& comment : comments) text += "# " + comment + "\n";
  text += "name " + c.name + "\n";
  text += "steps " + std::to_string(c.steps) + "\n";
  text += "halfWidth " + Text(c.halfWidth) + "\n";
  text += "laps " + std::to_string(c.laps) + "\n";
  text +=
      "road " + c.road + "\nborder " + c.border + "\nsky " + c.sky + "\nbanner " + c.banner + "\n";
  if (c.targets.medals)
    text += "medals " + Text((*c.targets.medals)[0]) + " " + Text((*c.targets.medals)[1]) + " " +
            Text((*c.targets.medals)[2]) + "\n";
  if (c.targets.author) text += "author " + Text(*c.targets.author) + "\n";
  for (const Vector3d& p : c.controlPoints)
    text += "point " + Text(p.x) + " " + Text(p.y) + " " + Text(p.z) + "\n";
  return text;
}
