// The ghost file format: the path of one finished race, a pose for each simulation step, parsed
// and written without touching any file, so tests and the fuzzer call it directly.
// In records/, the player's own files, GL-free and below the menus and race.
//
//   "QGHOST"          6 bytes
//   version           1 byte, 1
//   steps             varint, 1 to GhostMaxSteps: simulation steps from "GO" to the finish
//   laps              varint, 1 to GhostMaxLaps
//   lap steps         one varint a lap: steps since the previous lap's end (at least 1); the
//                     last lap ends on the last step
//   poses             one a step, six values each (x, y, z, pitch, heading, roll): the bits of
//                     each 32-bit float minus a guess, wrapped to 32 bits and zigzag-encoded as
//                     a varint. The guess is the value's bits a step earlier plus the change
//                     between the two steps before (0 for the first step, no change for the
//                     second)
//   checksum          4 bytes, little-endian: 32-bit FNV-1a of every byte before it
//
// Varints are little-endian groups of 7 bits, the high bit set on all but the last, in the
// fewest bytes. The values are the exact floats the race draws the car with; a car moves, turns
// and settles smoothly, so a value takes about two bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Where and how the car was after one simulation step: its position and its angles in degrees.
struct GhostPose {
  float x = 0, y = 0, z = 0;
  float pitch = 0, heading = 0, roll = 0;
  bool operator==(const GhostPose&) const = default;
};

struct GhostPath {
  std::vector<GhostPose> poses;   // one a simulation step, the first after the first step
  std::vector<int32_t> lapSteps;  // the step (counted from 1) on which each lap was completed
  int32_t steps() const { return static_cast<int32_t>(poses.size()); }
  bool operator==(const GhostPath&) const = default;
};

// The race's fine clock: one simulation step a frame, at the paced 60 frames a second.
constexpr int32_t GhostStepsPerSecond = 60;
// A race longer than ten minutes keeps no ghost.
constexpr int32_t GhostMaxSteps = 10 * 60 * GhostStepsPerSecond;
constexpr int32_t GhostMaxLaps = 1000;
constexpr uint8_t GhostFormatVersion = 1;

enum class GhostRead {
  Read,    // `path` holds the ghost
  Broken,  // not a ghost file this game wrote, or damaged
  Newer,   // a ghost file of a later version: left as it is
};
// Reads a ghost file's bytes into `path`.
GhostRead ParseGhost(std::string_view bytes, GhostPath& path);

// True when `path` can be written and read back: 1 to GhostMaxSteps finite poses, laps ending
// in increasing steps, the last on the last step.
bool IsWholeGhost(const GhostPath& path);
// The file's bytes for a whole ghost (empty for any other path).
std::string FormatGhost(const GhostPath& path);
