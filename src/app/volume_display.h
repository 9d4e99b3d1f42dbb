// The master volume, shown small in the bottom right corner for a second after `-` or `=`, and
// the sound's switch likewise after M.
#pragma once

// Draws "Volume N" over the frame when the volume changed less than a second before `now`
// (monotonic seconds), "Sound on" or "Sound off" when M switched the sound so (the later of the
// two); nothing otherwise. Leaves the GL state as it found it.
void DrawVolumeShown(double now);
