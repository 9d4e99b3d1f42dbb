// Keys by their physical place on the keyboard (SDL scancode numbers, the USB usage codes):
// their stored names, their names in the player's keyboard layout, and the virtual key they
// give in that layout, so a key kept by its place acts wherever the layout puts its letter.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The scancode of a stored name ("W", "Up", "Keypad Enter"; any case), 0 when there is none.
int ScancodeFromName(std::string_view name);
// The stored name of a scancode (the same on every layout); empty for none.
std::string ScancodeName(int scancode);
// What the key at that place shows in the layout in use ("Z" for the W place on a French
// keyboard); the stored name when the layout gives none.
std::string KeyNameInLayout(int scancode);
// The virtual-key code (KeyState index) a press of that key sets in the layout in use; 0 for none.
int VirtualKeyOfScancode(int scancode);
// The key whose press sets that virtual key in the layout in use (the first such); 0 for none.
int ScancodeOfVirtualKey(int key);

}  // namespace platform
