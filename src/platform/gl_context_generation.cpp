// The running count of GL contexts.
#include "platform/gl_context_generation.h"

namespace platform {
namespace {
uint32_t gGeneration = 1;
}

uint32_t GlContextGeneration() { return gGeneration; }
void AdvanceGlContextGeneration() { ++gGeneration; }

}  // namespace platform
