// The game's speed: frames a second the main loop is paced to, one simulation step a frame. The
// race's clock, the ghost's steps and the times shown from them all count in these frames.
#pragma once

#include <cstdint>

constexpr int32_t FramesPerSecond = 60;
