// CarState: where one car of a race is, how it moves and how far through the race it is.
#pragma once

#include <cstdint>

#include "race/vector3f.h"

struct Car;

struct CarState {
  Vector3f position;         // world position; the camera sits here
  Vector3f rotation;         // degrees: x pitch, y heading, z roll
  Vector3f velocity;         // displacement per frame, subtracted from the position
  Vector3f angularVelocity;  // degrees per frame, added to the rotation
  Vector3f force;            // linear push gathered from the keys until the next step
  Vector3f torque;           // angular push gathered from the keys until the next step
  Car* car = nullptr;        // the roster car being driven (not owned)
  int32_t nitro = 5;         // nitro charges left
  int16_t laps = 0;          // laps completed
  bool checkpoint1 = false;  // passed the checkpoint before half-way
  bool checkpoint2 = false;  // passed the checkpoint after half-way, after the first
  // On a file's track: the 32 stretches of the line passed in order this lap (bit k is set only
  // once bit k - 1 is, or for k = 0), so that cutting across passes too few of them.
  uint32_t passedStretches = 0;
};
