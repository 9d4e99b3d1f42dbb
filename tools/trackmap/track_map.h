// Draws one track's map: road surface, edges, centre line, start point and checkpoint windows.
#pragma once

#include "formats/bmp_writer.h"
#include "track/track_curve.h"

// `fileTrack`: the lap windows of a track read from a file (placed by share of the line).
formats::Picture DrawTrackMap(const TrackCurve& curve, float halfWidth, int size,
                              bool fileTrack = false);
