// The action table, the default keys and buttons, and the text of keys, buttons and settings
// lines.
#include "game/actions.h"

#include <array>

#include "assets/text_trim.h"
#include "platform/key_names.h"
#include "platform/keys.h"

namespace {

constexpr ActionInfo Infos[ActionCount] = {
    {"accelerate", "Accelerate", true},
    {"brake", "Brake", true},
    {"steer_left", "Steer left", true},
    {"steer_right", "Steer right", true},
    {"nitro", "Nitro", true},
    {"driver_view", "Driver's view", true},
    {"chase_view", "Chase view", true},
    {"ghost", "Ghost on/off", true},
    {"restart", "Restart", true},
    {"menu_up", "Menu up", false},
    {"menu_down", "Menu down", false},
    {"menu_left", "Menu left", false},
    {"menu_right", "Menu right", false},
    {"menu_take", "Menu take", false},
    {"menu_back", "Menu back", false},
};

struct PadName {
  int pad;
  std::string_view name;
  std::string_view title;
};
constexpr PadName PadNames[] = {
    {VK_GAMEPAD_A, "a", "A"},
    {VK_GAMEPAD_B, "b", "B"},
    {VK_GAMEPAD_X, "x", "X"},
    {VK_GAMEPAD_Y, "y", "Y"},
    {VK_GAMEPAD_VIEW, "back", "Back"},
    {VK_GAMEPAD_MENU, "start", "Start"},
    {VK_GAMEPAD_LEFT_SHOULDER, "leftshoulder", "Left shoulder"},
    {VK_GAMEPAD_RIGHT_SHOULDER, "rightshoulder", "Right shoulder"},
    {VK_GAMEPAD_LEFT_TRIGGER, "lefttrigger", "Left trigger"},
    {VK_GAMEPAD_RIGHT_TRIGGER, "righttrigger", "Right trigger"},
    {VK_GAMEPAD_DPAD_UP, "dpup", "D-pad up"},
    {VK_GAMEPAD_DPAD_DOWN, "dpdown", "D-pad down"},
    {VK_GAMEPAD_DPAD_LEFT, "dpleft", "D-pad left"},
    {VK_GAMEPAD_DPAD_RIGHT, "dpright", "D-pad right"},
    {VK_GAMEPAD_LEFT_THUMBSTICK_BUTTON, "leftstick", "Left stick button"},
    {VK_GAMEPAD_RIGHT_THUMBSTICK_BUTTON, "rightstick", "Right stick button"},
    {VK_GAMEPAD_LEFT_THUMBSTICK_UP, "lefty-", "Stick up"},
    {VK_GAMEPAD_LEFT_THUMBSTICK_DOWN, "lefty+", "Stick down"},
    {VK_GAMEPAD_LEFT_THUMBSTICK_LEFT, "leftx-", "Stick left"},
    {VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT, "leftx+", "Stick right"},
};

int Index(Action action) {
  return static_cast<int>(action);
}

}  // namespace

bool PlayerHasAction(int player, Action action) {
  return player != 2 || Index(action) < SecondPlayerActionCount;
}

const ActionInfo& InfoOf(Action action) {
  return Infos[Index(action)];
}

std::optional<Action> ActionNamed(std::string_view name) {
  for (int i = 0; i < ActionCount; ++i)
    if (Infos[i].name == name) return static_cast<Action>(i);
  return std::nullopt;
}

std::optional<Binding> ParseKeys(std::string_view text) {
  Binding binding;
  int count = 0;
  text = Trim(text);
  while (!text.empty()) {
    const size_t comma = text.find(',');
    const std::string_view name = Trim(text.substr(0, comma));
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    const int scancode = platform::ScancodeFromName(name);
    if (scancode == 0 || count == 2) return std::nullopt;
    if (count == 1 && binding.keys[0] == scancode) return std::nullopt;
    binding.keys[count++] = scancode;
    if (comma != std::string_view::npos && Trim(text).empty()) return std::nullopt;  // "Up,"
  }
  return binding;
}

std::string FormatKeys(const Binding& binding) {
  std::string text;
  for (int key : binding.keys) {
    if (key == 0) continue;
    if (!text.empty()) text += ", ";
    text += platform::ScancodeName(key);
  }
  return text;
}

std::optional<int> ParsePad(std::string_view text) {
  text = Trim(text);
  if (text.empty()) return 0;
  for (const PadName& entry : PadNames)
    if (entry.name == text) return entry.pad;
  return std::nullopt;
}

std::string FormatPad(int pad) {
  for (const PadName& entry : PadNames)
    if (entry.pad == pad) return std::string(entry.name);
  return {};
}

std::string PadTitle(int pad) {
  for (const PadName& entry : PadNames)
    if (entry.pad == pad) return "Pad " + std::string(entry.title);
  return {};
}

std::string KeyLine(Action action, int player) {
  return (player == 1 ? "key." : "key" + std::to_string(player) + ".") +
         std::string(InfoOf(action).name);
}

std::string PadLine(Action action, int player) {
  return (player == 1 ? "pad." : "pad" + std::to_string(player) + ".") +
         std::string(InfoOf(action).name);
}

Binding DefaultBinding(Action action, int player) {
  static const std::array<Binding, ActionCount> defaults = [] {
    struct Row {
      const char* keys;
      const char* pad;
    };
    // Exactly the keys and buttons the game had before they could be chosen.
    const Row rows[ActionCount] = {
        {"Up", "a"},          {"Down", "b"},
        {"Left", "dpleft"},   {"Right", "dpright"},
        {"N", "x"},           {"1", "y"},
        {"2", "y"},           {"G", ""},
        {"R", "back"},        {"Up", "dpup"},
        {"Down", "dpdown"},   {"Left", "dpleft"},
        {"Right", "dpright"}, {"Return, Keypad Enter", "a"},
        {"Escape", "b"},
    };
    std::array<Binding, ActionCount> result;
    for (int i = 0; i < ActionCount; ++i) {
      result[i] = *ParseKeys(rows[i].keys);
      result[i].pad = *ParsePad(rows[i].pad);
    }
    return result;
  }();
  // Player two's keys sit on the left of the keyboard; their pad is their own, so it has the
  // same buttons as the first.
  static const std::array<Binding, ActionCount> second = [] {
    const char* keys[SecondPlayerActionCount] = {"W", "S", "A", "D", "Left Shift", "Tab", "Q"};
    std::array<Binding, ActionCount> result{};
    for (int i = 0; i < SecondPlayerActionCount; ++i) {
      result[i] = *ParseKeys(keys[i]);
      result[i].pad = defaults[i].pad;
    }
    return result;
  }();
  return player == 2 ? second[Index(action)] : defaults[Index(action)];
}
