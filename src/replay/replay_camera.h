// The replay's trackside cameras: where they stand along a track's centre line, which one films
// the car, and the angles that aim a camera at it. GL-free.
#pragma once

#include <cstddef>
#include <vector>

#include "race/camera_aim.h"
#include "race/vector3f.h"

class Track;

// One camera every CameraSpacing of road, beside the road's left edge and raised, so a car on
// the road never comes nearer than about half a unit.
constexpr double CameraSpacing = 1.5;
constexpr double CameraBeyondEdge = 0.3;
constexpr double CameraHeight = 0.35;

std::vector<Vector3f> TracksideCameras(const Track& track);
// The camera nearest the car: the film cuts to the next one as the car passes half-way.
// Requires at least one camera.
size_t NearestCamera(const std::vector<Vector3f>& cameras, const Vector3f& car);
