// Scancode names and the layout's key names through SDL (see key_names.h).
#include "platform/key_names.h"

#include <SDL.h>

#include "platform/sdl_window_system.h"

namespace platform {
namespace {

bool Valid(int scancode) {
  return scancode > 0 && scancode < SDL_NUM_SCANCODES;
}

}  // namespace

int ScancodeFromName(std::string_view name) {
  if (name.empty()) return 0;
  const std::string text(name);
  const int scancode = SDL_GetScancodeFromName(text.c_str());
  return Valid(scancode) && !ScancodeName(scancode).empty() ? scancode : 0;
}

std::string ScancodeName(int scancode) {
  if (!Valid(scancode)) return {};
  return SDL_GetScancodeName(static_cast<SDL_Scancode>(scancode));
}

std::string KeyNameInLayout(int scancode) {
  if (!Valid(scancode)) return {};
  const SDL_Keycode key = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode));
  std::string name = key == SDLK_UNKNOWN ? "" : SDL_GetKeyName(key);
  return name.empty() ? ScancodeName(scancode) : name;
}

int VirtualKeyOfScancode(int scancode) {
  if (!Valid(scancode)) return 0;
  const auto sc = static_cast<SDL_Scancode>(scancode);
  return VirtualKeyFromSdl(SDL_GetKeyFromScancode(sc), sc);
}

int ScancodeOfVirtualKey(int key) {
  if (key <= 0) return 0;
  for (int scancode = 1; scancode < SDL_NUM_SCANCODES; ++scancode)
    if (VirtualKeyOfScancode(scancode) == key) return scancode;
  return 0;
}

}  // namespace platform
