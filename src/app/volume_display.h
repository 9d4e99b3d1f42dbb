// The master volume, shown small in the bottom right corner for a second after `-` or `=`.
#pragma once

// Draws "Volume N" over the frame when the volume changed less than a second before `now`
// (monotonic seconds); nothing otherwise. Leaves the GL state as it found it.
void DrawVolumeShown(double now);
