// The ghost file format: the path of one finished race, a pose for each simulation step, parsed
// and written without touching any file, so tests and the fuzzer call it directly.
// In records/, the player's own files, GL-free and below the menus and race.
//
//   "QGHOST"          6 bytes
//   version           1 byte, 2
//   player            the name of the player who drove it: a varint length (at most
//                     GhostMaxName) then that many bytes of UTF-8
//   track             the key of the track it was driven on (its records name, see
//                     TrackRecordsName), the same way
//   car               the car's name, the same way
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
// Version 1 is the same without the three names; it is still read.
//
// Varints are little-endian groups of 7 bits, the high bit set on all but the last, in the
// fewest bytes. The values are the exact floats the race draws the car with; a car moves, turns
// and settles smoothly, so a value takes about two bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/frame_rate.h"

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

// A race longer than ten minutes keeps no ghost (a pose a frame).
constexpr int32_t GhostMaxSteps = 10 * 60 * FramesPerSecond;
constexpr int32_t GhostMaxLaps = 1000;
// The longest file a whole ghost can make (five bytes a value at most), with room to spare.
constexpr size_t GhostFileLimit = static_cast<size_t>(GhostMaxSteps) * 6 * 5 + (64 << 10);
constexpr uint8_t GhostFormatVersion = 2;
constexpr size_t GhostMaxName = 255;

// Whose ghost it is and what it was driven on; empty in a file of version 1.
struct GhostLabel {
  std::string player, track, car;
  bool operator==(const GhostLabel&) const = default;
};

enum class GhostRead {
  Read,    // `path` holds the ghost
  Broken,  // not a ghost file this game wrote, or damaged
  Newer,   // a ghost file of a later version: left as it is
};
// `name` cut to at most GhostMaxName bytes, never inside a UTF-8 sequence.
std::string ClipGhostName(std::string name);

// Reads a ghost file's bytes into `path` (and its names into `label`, when given).
GhostRead ParseGhost(std::string_view bytes, GhostPath& path, GhostLabel* label = nullptr);
// The longest header a ghost file can have: the names and counts before the laps and poses.
constexpr size_t GhostHeaderLimit = 1024;
// Reads only the names and the steps at the start of a ghost file's bytes (the first
// GhostHeaderLimit bytes are enough): false for bytes that do not start a ghost this version
// reads. A header that reads says nothing of the rest of the file: ParseGhost checks it whole.
bool ParseGhostHeader(std::string_view bytes, GhostLabel& label, int32_t& steps);
// The version byte of a file that begins as a ghost file does; 0 for any other bytes.
int GhostVersion(std::string_view bytes);

// True when `path` can be written and read back: 1 to GhostMaxSteps finite poses, laps ending
// in increasing steps, the last on the last step.
bool IsWholeGhost(const GhostPath& path);
// The file's bytes for a whole ghost with its names (empty for any other path, or a name longer
// than GhostMaxName).
std::string FormatGhost(const GhostPath& path, const GhostLabel& label = {});
