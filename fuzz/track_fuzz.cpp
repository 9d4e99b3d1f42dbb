// Fuzzes the track file reader: any bytes are refused with at least one reason or read into a
// track whose keys keep their ranges, whose line samples without a zero-length step, and whose
// records name can be made.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "track/track_curve.h"
#include "track/track_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const TrackFileReading reading = ParseTrackFile(text);
  if (!reading.good()) {
    for (const TrackFileLine& line : reading.refusals) {
      if (line.text.empty() || line.line < 0) std::abort();
    }
    return 0;
  }
  const TrackFileContent& c = reading.content;
  if (c.steps < TrackMinSteps || c.steps > TrackMaxSteps || c.laps < TrackMinLaps ||
      c.laps > TrackMaxLaps || !(c.halfWidth >= 0.2f && c.halfWidth <= 5.0f) || c.name.empty() ||
      c.controlPoints.size() % 4 != 0 || c.controlPoints.size() > TrackMaxControlPoints ||
      !IsPlainFileName(c.sky) || !IsPlainFileName(c.banner))
    std::abort();
  TrackCurve curve(c.steps);
  curve.controlPoints = c.controlPoints;
  curve.generate();
  if (curve.points.size() != (c.controlPoints.size() / 4 + 1) * c.steps + 1) std::abort();
  return 0;
}
