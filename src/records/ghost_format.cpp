// Reading and writing ghost files: varints, zigzag deltas of float bits and the checksum.
// In records/, the player's own files, GL-free and below the menus and race.
#include "records/ghost_format.h"

#include <bit>
#include <cmath>

namespace {

constexpr std::string_view Magic = "QGHOST";
constexpr size_t ValuesPerPose = 6;

uint32_t Checksum(std::string_view bytes) {
  uint32_t hash = 2166136261u;
  for (unsigned char c : bytes) hash = (hash ^ c) * 16777619u;
  return hash;
}

void PutVarint(std::string& out, uint32_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<char>((value & 0x7F) | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<char>(value));
}

uint32_t Zigzag(uint32_t delta) {
  const int32_t d = static_cast<int32_t>(delta);
  return (static_cast<uint32_t>(d) << 1) ^ static_cast<uint32_t>(d >> 31);
}

uint32_t Unzigzag(uint32_t value) {
  return (value >> 1) ^ (0u - (value & 1));
}

// The six values of a pose in file order.
constexpr float GhostPose::*Members[ValuesPerPose] = {&GhostPose::x,       &GhostPose::y,
                                                      &GhostPose::z,       &GhostPose::pitch,
                                                      &GhostPose::heading, &GhostPose::roll};

// Guesses each value's bits from the two before it: the same step again. A car moves and turns
// smoothly, and pitch and roll settle geometrically, which keeps the bits of a float on a line.
class Predictor {
 public:
  uint32_t next(size_t i) const { return last_[i] + step_[i]; }
  void take(size_t i, uint32_t bits) {
    step_[i] = seen_[i] ? bits - last_[i] : 0;
    last_[i] = bits;
    seen_[i] = true;
  }

 private:
  uint32_t last_[ValuesPerPose] = {};
  uint32_t step_[ValuesPerPose] = {};
  bool seen_[ValuesPerPose] = {};
};

// Reads the bytes in order; any read past the end or any non-canonical varint marks it failed.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool failed() const { return failed_; }
  bool atEnd() const { return at_ == bytes_.size(); }

  // A length-prefixed name of at most GhostMaxName bytes.
  std::string name() {
    const uint32_t length = varint();
    if (failed_ || length > GhostMaxName || length > bytes_.size() - at_) {
      failed_ = true;
      return {};
    }
    std::string text(bytes_.substr(at_, length));
    at_ += length;
    return text;
  }

  uint32_t varint() {
    uint32_t value = 0;
    for (int shift = 0; shift < 35; shift += 7) {
      if (at_ >= bytes_.size()) break;
      const auto byte = static_cast<unsigned char>(bytes_[at_++]);
      // The fifth byte holds the top 4 bits; a last byte of 0 after others is not the fewest.
      if (shift == 28 && byte > 0x0F) break;
      value |= static_cast<uint32_t>(byte & 0x7F) << shift;
      if ((byte & 0x80) == 0) {
        if (byte == 0 && shift > 0) break;
        return value;
      }
    }
    failed_ = true;
    return 0;
  }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
  bool failed_ = false;
};

}  // namespace

bool IsWholeGhost(const GhostPath& path) {
  if (path.poses.empty() || path.steps() > GhostMaxSteps) return false;
  if (path.lapSteps.empty() || path.lapSteps.size() > GhostMaxLaps) return false;
  int32_t previous = 0;
  for (int32_t step : path.lapSteps) {
    if (step <= previous) return false;
    previous = step;
  }
  if (previous != path.steps()) return false;
  for (const GhostPose& pose : path.poses) {
    for (size_t i = 0; i < ValuesPerPose; ++i) {
      if (!std::isfinite(pose.*Members[i])) return false;
    }
  }
  return true;
}

std::string FormatGhost(const GhostPath& path, const GhostLabel& label) {
  if (!IsWholeGhost(path)) return {};
  std::string out(Magic);
  out.push_back(static_cast<char>(GhostFormatVersion));
  for (const std::string* name : {&label.player, &label.track, &label.car}) {
    if (name->size() > GhostMaxName) return {};
    PutVarint(out, static_cast<uint32_t>(name->size()));
    out += *name;
  }
  PutVarint(out, static_cast<uint32_t>(path.steps()));
  PutVarint(out, static_cast<uint32_t>(path.lapSteps.size()));
  int32_t previous = 0;
  for (int32_t step : path.lapSteps) {
    PutVarint(out, static_cast<uint32_t>(step - previous));
    previous = step;
  }
  Predictor predict;
  for (const GhostPose& pose : path.poses) {
    for (size_t i = 0; i < ValuesPerPose; ++i) {
      const auto bits = std::bit_cast<uint32_t>(pose.*Members[i]);
      PutVarint(out, Zigzag(bits - predict.next(i)));
      predict.take(i, bits);
    }
  }
  const uint32_t sum = Checksum(out);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(sum >> (8 * i)));
  return out;
}

std::string ClipGhostName(std::string name) {
  if (name.size() <= GhostMaxName) return name;
  size_t end = GhostMaxName;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  name.resize(end);
  return name;
}

int GhostVersion(std::string_view bytes) {
  if (bytes.size() < Magic.size() + 1 || bytes.substr(0, Magic.size()) != Magic) return 0;
  return static_cast<unsigned char>(bytes[Magic.size()]);
}

bool ParseGhostHeader(std::string_view bytes, GhostLabel& label, int32_t& steps) {
  const int version = GhostVersion(bytes);
  if (version < 1 || version > GhostFormatVersion) return false;
  Reader in(bytes.substr(Magic.size() + 1));
  label = GhostLabel();
  if (version >= 2) {
    label.player = in.name();
    label.track = in.name();
    label.car = in.name();
  }
  const uint32_t count = in.varint();
  const uint32_t laps = in.varint();
  if (in.failed() || count == 0 || count > GhostMaxSteps || laps == 0 || laps > GhostMaxLaps ||
      laps > count)
    return false;
  steps = static_cast<int32_t>(count);
  return true;
}

GhostRead ParseGhost(std::string_view bytes, GhostPath& path, GhostLabel* label) {
  path = GhostPath();
  if (label != nullptr) *label = GhostLabel();
  const int version = GhostVersion(bytes);
  if (version > GhostFormatVersion) return GhostRead::Newer;
  if (version < 1 || bytes.size() < Magic.size() + 5) return GhostRead::Broken;
  const std::string_view body = bytes.substr(0, bytes.size() - 4);
  uint32_t stored = 0;
  for (int i = 0; i < 4; ++i)
    stored |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[body.size() + i])) << (8 * i);

  // The checksum is compared last, so that fuzzing reaches the reading below.
  Reader in(body.substr(Magic.size() + 1));
  GhostLabel names;
  if (version >= 2) {
    names.player = in.name();
    names.track = in.name();
    names.car = in.name();
  }
  const uint32_t steps = in.varint();
  const uint32_t laps = in.varint();
  if (in.failed() || steps == 0 || steps > GhostMaxSteps || laps == 0 || laps > GhostMaxLaps ||
      laps > steps)
    return GhostRead::Broken;
  GhostPath read;
  int64_t step = 0;
  for (uint32_t lap = 0; lap < laps && !in.failed(); ++lap) {
    step += in.varint();
    if (step > steps) return GhostRead::Broken;
    read.lapSteps.push_back(static_cast<int32_t>(step));
  }
  // Each pose takes at least six bytes: a file too short for its count is refused before the
  // poses are reserved.
  if (in.failed() || body.size() < static_cast<size_t>(steps) * ValuesPerPose)
    return GhostRead::Broken;
  read.poses.resize(steps);
  Predictor predict;
  for (GhostPose& pose : read.poses) {
    for (size_t i = 0; i < ValuesPerPose; ++i) {
      const uint32_t bits = predict.next(i) + Unzigzag(in.varint());
      pose.*Members[i] = std::bit_cast<float>(bits);
      predict.take(i, bits);
    }
  }
  if (in.failed() || !in.atEnd() || !IsWholeGhost(read) || stored != Checksum(body))
    return GhostRead::Broken;
  path = std::move(read);
  if (label != nullptr) *label = std::move(names);
  return GhostRead::Read;
}
