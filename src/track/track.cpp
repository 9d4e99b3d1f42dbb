// The track record's construction and destruction, and the program-wide track table.
#include "track/track.h"

Track TrackTable[TrackTableSize];
int TrackCount = 3;

Track::Track()
    : curve(23),
      halfWidth(0.7f),
      roadList(0),
      roadTexture(0),
      borderTexture(0),
      name("Happy"),
      skyTexture(0),
      skyUsable(false),
      skyTextureGeneration(0),
      laps(2),
      roadListGeneration(0) {}

// Members go in reverse order of declaration: the sky file name, the banner model, then the
// name, then the curve, whose points go before its control points.
Track::~Track() = default;
