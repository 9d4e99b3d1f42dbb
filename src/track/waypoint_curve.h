// A track's centre line made from waypoints: smooth cubic pieces through them, written as the
// track file's groups of four control points. GL-free.
#pragma once

#include <vector>

#include "track/vector3d.h"

// The control points of cubic pieces through `waypoints`, one group of four from each waypoint
// to the next (the first at 0 0 0, the last on the -x axis, where the closing piece runs straight
// along +x back to the first). Each handle lies a third of the waypoint's tangent away; the
// tangent is half the chord between its neighbours (a Catmull-Rom spline), along +x at the first
// and last waypoints (and no longer than the start straight), so the file's start straight holds
// by construction. Empty for fewer than two waypoints.
std::vector<Vector3d> WaypointControlPoints(const std::vector<Vector3d>& waypoints);

// The waypoints control points pass through: each group's first point, then the last point.
std::vector<Vector3d> ControlPointWaypoints(const std::vector<Vector3d>& controlPoints);
