// Counts GL contexts made by the window system. A GL name (texture, display list) belongs to
// the context it was made in: after the context is replaced, the same number may name another
// object, so holders compare generations and forget stale names instead of deleting them.
#pragma once

#include <cstdint>

namespace platform {

uint32_t GlContextGeneration();
// Called by whoever makes a new context current for the game (window creation, tests).
void AdvanceGlContextGeneration();

}  // namespace platform
