// Reading and checking a `.track` file: line by line into its keys and control points, then the
// ranges and the shape of the sampled centre line.
#include "track/track_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <set>
#include <unordered_map>

#include "assets/terminal_text.h"
#include "assets/text_trim.h"
#include "assets/text_width.h"
#include "track/track_curve.h"

namespace {

constexpr std::string_view kFormatLine = "quillon-track 1";
constexpr std::string_view kFormatName = "quillon-track";

// Splits off the first word of `rest` (space or tab separated).
std::string_view NextWord(std::string_view& rest) {
  rest = Trim(rest);
  size_t end = 0;
  while (end < rest.size() && rest[end] != ' ' && rest[end] != '\t') ++end;
  const std::string_view word = rest.substr(0, end);
  rest.remove_prefix(end);
  return word;
}

std::optional<double> Number(std::string_view word) {
  if (!word.empty() && word.front() == '+') word.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (word.empty() || error != std::errc() || end != word.data() + word.size()) return {};
  return value;
}

std::optional<long> Whole(std::string_view word) {
  long value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (word.empty() || error != std::errc() || end != word.data() + word.size()) return {};
  return value;
}

// The number of characters of valid UTF-8 without control characters; nothing otherwise.
std::optional<size_t> PrintableLength(std::string_view text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++count) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = lead < 0x80                   ? 1
                    : lead >= 0xC2 && lead < 0xE0 ? 2
                    : lead >= 0xE0 && lead < 0xF0 ? 3
                    : lead >= 0xF0 && lead < 0xF5 ? 4
                                                  : 0;
    if (length == 0 || i + length > text.size()) return {};
    if (lead < 0x20 || lead == 0x7F) return {};
    uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return {};
      code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates, and the C1 controls.
    if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code <= 0xDFFF) || (code >= 0x80 && code < 0xA0))
      return {};
    i += length;
  }
  return count;
}

std::string SecondsText(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", seconds);
  return text;
}

struct Key {
  std::string_view name;
  int line = 0;           // where it was given; 0 while missing
  bool optional = false;  // may be left out
};

class Reader {
 public:
  explicit Reader(TrackFileReading& out) : out_(out) {}

  void refuse(int line, std::string reason, std::optional<Vector3d> where = {}) {
    out_.refusals.push_back(TrackFileLine{line, std::move(reason), where});
  }

  void readLine(int line, std::string_view text) {
    std::string_view rest = text;
    const std::string_view key = NextWord(rest);
    const std::string_view value = Trim(rest);
    if (key.empty() || key.front() == '#') return;
    if (key == "point") return readPoint(line, value);
    auto known = std::find_if(std::begin(keys_), std::end(keys_),
                              [&](const Key& k) { return k.name == key; });
    if (known == std::end(keys_)) {
      if (unknown_.insert(std::string(key)).second)
        out_.notes.push_back({line, "unknown key '" + TerminalText(key) + "' ignored"});
      return;
    }
    if (known->line != 0) {
      refuse(line, "'" + TerminalText(key) + "' given again (first on line " +
                       std::to_string(known->line) + ")");
      return;
    }
    known->line = line;
    readValue(line, key, value);
  }

  void finish(int lastLine) {
    for (const Key& key : keys_) {
      if (key.line == 0 && !key.optional) refuse(0, "'" + std::string(key.name) + "' missing");
    }
    checkPoints(lastLine);
  }

  const std::vector<int>& pointLines() const { return pointLines_; }

 private:
  void readValue(int line, std::string_view key, std::string_view value) {
    TrackFileContent& c = out_.content;
    const std::string k(key);
    if (key == "name") {
      const auto length = PrintableLength(value);
      if (value.empty()) return refuse(line, "the name is empty");
      if (!length) return refuse(line, "the name holds control characters or is not UTF-8");
      if (*length > TrackMaxNameLength)
        return refuse(
            line, "the name is longer than " + std::to_string(TrackMaxNameLength) + " characters");
      if (const float width = TextWidth(value); width > TrackMaxNameWidth) {
        char text[120];
        std::snprintf(text, sizeof text,
                      "the name is wider than the track selection shows (%.1f em, at most %.1f)",
                      width, TrackMaxNameWidth);
        return refuse(line, text);
      }
      c.name = value;
    } else if (key == "steps" || key == "laps") {
      const auto number = Whole(value);
      const bool steps = key == "steps";
      const long low = steps ? TrackMinSteps : TrackMinLaps;
      const long high = steps ? TrackMaxSteps : TrackMaxLaps;
      if (!number) return refuse(line, k + " '" + TerminalText(value) + "' is not a whole number");
      if (*number < low || *number > high)
        return refuse(line, k + " " + std::to_string(*number) + " is outside " +
                                std::to_string(low) + " to " + std::to_string(high));
      if (steps)
        c.steps = static_cast<int32_t>(*number);
      else
        c.laps = static_cast<int16_t>(*number);
    } else if (key == "halfWidth") {
      const auto number = Number(value);
      if (!number || !std::isfinite(*number))
        return refuse(line, "halfWidth '" + TerminalText(value) + "' is not a finite number");
      if (*number < TrackMinHalfWidth || *number > TrackMaxHalfWidth)
        return refuse(line, "halfWidth " + TerminalText(value) + " is outside 0.2 to 5");
      c.halfWidth = static_cast<float>(*number);
    } else if (key == "medals" || key == "author") {
      if (auto reason = ReadTargetTimes(key, value, c.targets)) return refuse(line, *reason);
    } else {
      if (!IsPlainFileName(value))
        return refuse(line, k + " '" + TerminalText(value) +
                                "' is not a plain file name (no folders, no control characters)");
      (key == "road"     ? c.road
       : key == "border" ? c.border
       : key == "sky"    ? c.sky
                         : c.banner) = value;
    }
  }

  void readPoint(int line, std::string_view value) {
    if (out_.content.controlPoints.size() >= TrackMaxControlPoints) {
      if (!tooMany_) refuse(line, "more than " + std::to_string(TrackMaxControlPoints) + " points");
      tooMany_ = true;
      return;
    }
    std::string_view rest = value;
    double xyz[3] = {};
    for (double& coordinate : xyz) {
      const auto number = Number(NextWord(rest));
      // Far-off points would make the road's edges and the car's sums lose their precision.
      if (!number || !std::isfinite(*number) || std::fabs(*number) > 10000.0) {
        badPoint_ = true;
        return refuse(line, "a point needs three finite numbers X Y Z between -10000 and 10000");
      }
      coordinate = *number;
    }
    if (!Trim(rest).empty()) {
      badPoint_ = true;
      return refuse(line, "a point has more than three numbers");
    }
    out_.content.controlPoints.push_back(Vector3d(xyz[0], xyz[1], xyz[2]));
    pointLines_.push_back(line);
  }

  void checkPoints(int lastLine);

  TrackFileReading& out_;
  Key keys_[10] = {
      {"name"}, {"steps"},  {"halfWidth"},       {"laps"},           {"road"}, {"border"},
      {"sky"},  {"banner"}, {"medals", 0, true}, {"author", 0, true}};
  std::set<std::string> unknown_;
  std::vector<int> pointLines_;
  bool tooMany_ = false;
  // A point was refused: the line's shape is unknown, so it is not judged.
  bool badPoint_ = false;
};

bool Same(const Vector3d& a, const Vector3d& b) {
  return a.x == b.x && a.y == b.y && a.z == b.z;
}

void Reader::checkPoints(int lastLine) {
  const auto& points = out_.content.controlPoints;
  const size_t n = points.size();
  if (tooMany_ || badPoint_) return;
  if (n < TrackMinControlPoints) return refuse(lastLine, "fewer than 4 points");
  if (n % 4 != 0) return refuse(pointLines_.back(), "the points do not make whole groups of four");
  for (size_t g = 1; g < n / 4; ++g) {
    if (!Same(points[4 * g], points[4 * g - 1]))
      return refuse(pointLines_[4 * g], "a group does not start where the one before it ends");
  }
  if (!Same(points[0], Vector3d(0, 0, 0)))
    return refuse(pointLines_[0], "the first point is not 0 0 0", points[0]);
  if (!(points[1].x > 0 && points[1].y == 0 && points[1].z == 0))
    return refuse(pointLines_[1], "the second point is not ahead on the +x axis (X > 0, Y = Z = 0)",
                  points[1]);
  const Vector3d& last = points[n - 1];
  const Vector3d& before = points[n - 2];
  if (!(last.x <= -TrackStartStraight && last.y == 0 && last.z == 0 && before.y == 0 &&
        before.z == 0 && before.x < last.x))
    return refuse(pointLines_[n - 1],
                  "the last two points are not a straight on the -x axis at least 2.5 long "
                  "(the start grid)",
                  last);
  if (out_.content.steps == 0 || out_.content.halfWidth == 0.0f) return;  // refused already

  // A piece whose control points all lie together has no length, at any number of steps; the
  // test is made on the points as written, so that no rounding of the samples can trip it. (The
  // closing piece always spans the start straight.)
  for (size_t g = 0; g < n / 4; ++g) {
    double reach = 0.0;
    for (size_t k = 4 * g + 1; k < 4 * g + 4; ++k) {
      const Vector3d& a = points[4 * g];
      reach = std::max(reach, std::sqrt((points[k].x - a.x) * (points[k].x - a.x) +
                                        (points[k].y - a.y) * (points[k].y - a.y) +
                                        (points[k].z - a.z) * (points[k].z - a.z)));
    }
    if (reach < TrackMinPieceReach)
      return refuse(pointLines_[4 * g], "a segment of the road has zero length", points[4 * g]);
  }

  TrackCurve curve(out_.content.steps);
  curve.controlPoints = points;
  curve.generate();
  const auto& line = curve.points;
  const auto lineOf = [&](size_t index) {
    const size_t group = index / static_cast<size_t>(curve.steps);
    return pointLines_[std::min(4 * group, n - 1)];
  };
  const long crossing = FindRoadCrossing(line, out_.content.halfWidth);
  if (crossing >= 0)
    return refuse(lineOf(static_cast<size_t>(crossing)),
                  "the road crosses itself at one height (a bridge needs " +
                      std::to_string(out_.content.halfWidth + TrackBridgeClearance).substr(0, 4) +
                      " of height between the two roads)",
                  line[static_cast<size_t>(crossing)]);
  out_.content.centreLine = std::move(curve.points);
}

}  // namespace

std::optional<std::string> ReadTargetTimes(std::string_view key, std::string_view value,
                                           TrackTargets& into) {
  const bool medals = key == "medals";
  const size_t count = medals ? 3 : 1;
  std::array<double, 3> times{};
  std::string_view rest = value;
  for (size_t i = 0; i < count; ++i) {
    const auto number = Number(NextWord(rest));
    if (!number || !std::isfinite(*number))
      return medals ? "medals needs three times in seconds: BRONZE SILVER GOLD"
                    : "author needs one time in seconds";
    if (*number < TrackMinTargetSeconds || *number > TrackMaxTargetSeconds)
      return std::string(key) + " time " + SecondsText(*number) + " is outside 1 to 3600 seconds";
    times[i] = *number;
  }
  if (!Trim(rest).empty())
    return medals ? "medals has more than three times" : "author has more than one time";
  if (!medals) {
    into.author = times[0];
  } else if (times[0] > times[1] && times[1] > times[2]) {
    into.medals = times;
  } else {
    return "the medal times are not each faster than the one before (bronze, silver, gold)";
  }
  return {};
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || name.size() > 255) return false;
  const auto length = PrintableLength(name);
  if (!length) return false;
  return name.find_first_of("/\\") == std::string_view::npos;
}

namespace {

struct Closest {
  double distance, s, t;
};

// Nearest points of the segments a0-a1 and b0-b1 in the x-z plane: distance and the two
// parameters along them.
Closest SegmentDistance(const Vector3d& a0, const Vector3d& a1, const Vector3d& b0,
                        const Vector3d& b1) {
  const double ux = a1.x - a0.x, uz = a1.z - a0.z, vx = b1.x - b0.x, vz = b1.z - b0.z;
  const double wx = a0.x - b0.x, wz = a0.z - b0.z;
  const double a = ux * ux + uz * uz, b = ux * vx + uz * vz, c = vx * vx + vz * vz;
  const double d = ux * wx + uz * wz, e = vx * wx + vz * wz;
  const double den = a * c - b * b;
  double s = den > 1e-12 ? std::clamp((b * e - c * d) / den, 0.0, 1.0) : 0.0;
  double t = c > 1e-12 ? (b * s + e) / c : 0.0;
  if (t < 0.0 || t > 1.0) {
    t = std::clamp(t, 0.0, 1.0);
    s = a > 1e-12 ? std::clamp((b * t - d) / a, 0.0, 1.0) : 0.0;
  }
  const double px = wx + s * ux - t * vx, pz = wz + s * uz - t * vz;
  return {std::sqrt(px * px + pz * pz), s, t};
}

}  // namespace

long FindRoadCrossing(const std::vector<Vector3d>& sampled, double halfWidth) {
  // The line thinned to steps of at least a quarter of the road's width: a chord that short
  // strays from the curve by far less than the road's width, and there are fewer pairs to test.
  std::vector<Vector3d> points;
  std::vector<size_t> original;
  for (size_t i = 0; i < sampled.size(); ++i) {
    if (!points.empty() && i + 1 < sampled.size()) {
      const Vector3d& last = points.back();
      if (std::hypot(sampled[i].x - last.x, sampled[i].z - last.z) < halfWidth * 0.5 &&
          std::fabs(sampled[i].y - last.y) < halfWidth * 0.5)
        continue;
    }
    points.push_back(sampled[i]);
    original.push_back(i);
  }
  const size_t segments = points.size() < 2 ? 0 : points.size() - 1;
  if (segments < 3) return -1;
  std::vector<double> along(points.size(), 0.0);
  double longest = 0.0;
  for (size_t i = 0; i < segments; ++i) {
    const double dx = points[i + 1].x - points[i].x, dy = points[i + 1].y - points[i].y,
                 dz = points[i + 1].z - points[i].z;
    const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
    along[i + 1] = along[i] + length;
    longest = std::max(longest, std::hypot(dx, dz));
  }
  const double total = along.back();
  const double reach = 2.0 * halfWidth;
  const double bend = 2.0 * 3.14159265 * halfWidth;
  // Each segment goes into every cell its box, grown by the reach, touches: two segments nearer
  // than the reach then share a cell. Cells twice the reach wide keep that to a few.
  const double cell = std::max(2.0 * reach, longest);
  std::unordered_map<uint64_t, std::vector<uint32_t>> grid;
  grid.reserve(segments);
  const auto key = [](long long cx, long long cz) {
    return (static_cast<uint64_t>(cx) << 32) ^ static_cast<uint64_t>(cz & 0xFFFFFFFF);
  };
  for (size_t i = 0; i < segments; ++i) {
    const Vector3d &p = points[i], &q = points[i + 1];
    const auto x0 = static_cast<long long>(std::floor((std::min(p.x, q.x) - reach) / cell));
    const auto x1 = static_cast<long long>(std::floor((std::max(p.x, q.x) + reach) / cell));
    const auto z0 = static_cast<long long>(std::floor((std::min(p.z, q.z) - reach) / cell));
    const auto z1 = static_cast<long long>(std::floor((std::max(p.z, q.z) + reach) / cell));
    for (long long cx = x0; cx <= x1; ++cx) {
      for (long long cz = z0; cz <= z1; ++cz) {
        std::vector<uint32_t>& here = grid[key(cx, cz)];
        for (uint32_t j : here) {
          if (j + 1 >= i) continue;  // neighbours share an end
          // Parts of the road this close along the line are one bend, whatever their distance.
          if (along[i + 1] - along[j] <= bend || total - (along[i] - along[j + 1]) <= bend)
            continue;
          const Vector3d &a = points[j], &b = points[j + 1];
          const Closest near = SegmentDistance(a, b, p, q);
          if (near.distance >= reach) continue;
          const double sa = along[j] + near.s * (along[j + 1] - along[j]);
          const double sb = along[i] + near.t * (along[i + 1] - along[i]);
          const double apart = std::min(sb - sa, total - (sb - sa));
          // A bend brings two parts of the road close only over a short way round.
          if (apart <= 2.0 * near.distance + bend) continue;
          const double ya = a.y + near.s * (b.y - a.y), yb = p.y + near.t * (q.y - p.y);
          if (std::fabs(ya - yb) < halfWidth + TrackBridgeClearance)
            return static_cast<long>(original[i]);
        }
        if (here.empty() || here.back() != i) here.push_back(static_cast<uint32_t>(i));
      }
    }
  }
  return -1;
}

TrackFileReading ParseTrackFile(std::string_view text) {
  TrackFileReading out;
  Reader reader(out);
  if (text.size() > TrackFileMaxBytes) {
    reader.refuse(0, "larger than " + std::to_string(TrackFileMaxBytes) + " bytes");
    return out;
  }
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  int line = 0;
  bool first = true;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view row = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++line;
    if (first) {
      first = false;
      const std::string_view format = Trim(row);
      if (format != kFormatLine) {
        reader.refuse(line, format.starts_with(kFormatName)
                                ? "unknown version '" + TerminalText(format) + "'"
                                : "not a track file (the first line is not 'quillon-track 1')");
        return out;
      }
      continue;
    }
    if (row.find('\0') != std::string_view::npos) {
      reader.refuse(line, "a NUL byte");
      return out;
    }
    reader.readLine(line, row);
  }
  if (first) {
    reader.refuse(0, "empty file");
    return out;
  }
  reader.finish(line);
  return out;
}
