// The content hash and records name of a track.
#include "track/track_identity.h"

#include <cstdio>
#include <cstring>

#include "track/track.h"
#include "track/track_file.h"

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

uint64_t ContentHash(const std::string& name, int32_t steps, float halfWidth, int16_t laps,
                     const std::vector<Vector3d>& controlPoints) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  MixValue(hash, static_cast<uint64_t>(name.size()));
  Mix(hash, name.data(), name.size());
  MixValue(hash, steps);
  MixValue(hash, halfWidth);
  MixValue(hash, laps);
  for (const Vector3d& point : controlPoints) {
    MixValue(hash, point.x);
    MixValue(hash, point.y);
    MixValue(hash, point.z);
  }
  return hash;
}

std::string HashedName(const std::string& name, uint64_t hash) {
  char hex[20];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return name + " #" + hex;
}

}  // namespace

uint64_t TrackHash(const Track& track) {
  return ContentHash(track.name, track.curve.steps, track.halfWidth, track.laps,
                     track.curve.controlPoints);
}

uint64_t TrackHash(const TrackFileContent& content) {
  return ContentHash(content.name, content.steps, content.halfWidth, content.laps,
                     content.controlPoints);
}

std::string TrackRecordsName(const Track& track) {
  return track.fromFile ? HashedName(track.name, TrackHash(track)) : track.name;
}

std::string TrackRecordsName(const TrackFileContent& content) {
  return HashedName(content.name, TrackHash(content));
}
