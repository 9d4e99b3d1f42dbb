// The content hash and records name of a track.
#include "track/track_identity.h"

#include <cstdio>
#include <cstring>

#include "track/track.h"

namespace {

void Mix(uint64_t& hash, const void* data, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) {
    hash ^= bytes[i];
    hash *= 0x100000001b3ULL;
  }
}

template <typename T>
void MixValue(uint64_t& hash, T value) {
  unsigned char bytes[sizeof value];
  std::memcpy(bytes, &value, sizeof value);
  Mix(hash, bytes, sizeof bytes);
}

}  // namespace

uint64_t TrackHash(const Track& track) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  MixValue(hash, static_cast<uint64_t>(track.name.size()));
  Mix(hash, track.name.data(), track.name.size());
  MixValue(hash, track.curve.steps);
  MixValue(hash, track.halfWidth);
  MixValue(hash, track.laps);
  for (const Vector3d& point : track.curve.controlPoints) {
    MixValue(hash, point.x);
    MixValue(hash, point.y);
    MixValue(hash, point.z);
  }
  return hash;
}

std::string TrackRecordsName(const Track& track) {
  if (!track.fromFile) return track.name;
  char hex[20];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(TrackHash(track)));
  return track.name + " #" + hex;
}
