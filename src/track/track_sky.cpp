// The sky texture of the raced track: loaded when a race starts, the other tracks' skies freed.
#include <GL/gl.h>

#include "assets/texture.h"
#include "platform/gl_context_generation.h"
#include "track/track.h"

void ReleaseSky(Track& track) {
  // A texture of an earlier context went with it; its number may now name another one.
  if (track.skyTexture != 0 && track.skyTextureGeneration == platform::GlContextGeneration())
    glDeleteTextures(1, &track.skyTexture);
  track.skyTexture = 0;
}

void UseSkyOf(Track& raced) {
  const uint32_t generation = platform::GlContextGeneration();
  for (Track& track : TrackTable) {
    if (&track != &raced) ReleaseSky(track);
  }
  if (raced.skyTexture != 0 && raced.skyTextureGeneration == generation) return;
  raced.skyTexture = 0;
  if (raced.skyUsable) {
    raced.skyTexture = LoadTexture(raced.skyFile.c_str(), TextureFilter::Linear);
    // Gone since it was checked: its box has been shown, once is enough.
    raced.skyUsable = raced.skyTexture != 0;
  }
  raced.skyTextureGeneration = generation;
}
