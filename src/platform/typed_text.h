// Text typed on the keyboard as the layout and input method make it (UTF-8), kept as KeyState
// is: the window system appends it, the screen that takes text (the editor's name) consumes it.
#pragma once

#include <string>

// What was typed since a screen last took it; at most TypedTextLimit bytes are kept, the oldest
// dropped whole (never inside a character).
extern std::string TypedText;
constexpr size_t TypedTextLimit = 256;

// Adds text the window system received.
void AppendTypedText(const std::string& text);

// Consumes what was typed.
inline std::string TakeTypedText() {
  std::string text;
  text.swap(TypedText);
  return text;
}
