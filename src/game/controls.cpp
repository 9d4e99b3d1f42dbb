// The actions, their default keys and pad buttons, the settings lines and the live reading.
#include "game/controls.h"

#include <algorithm>
#include <array>
#include <iostream>

#include "assets/terminal_text.h"
#include "assets/text_trim.h"
#include "game/players.h"
#include "platform/key_names.h"
#include "platform/keys.h"
#include "records/settings.h"

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

// The pad button both view actions share by default: each press switches to the other view.
bool MayShare(Action a, Action b) {
  return (a == Action::DriverView && b == Action::ChaseView) ||
         (a == Action::ChaseView && b == Action::DriverView);
}

// Keys the game keeps for itself: F1, F4, M everywhere, and Escape leaving the race.
bool FixedKey(Action action, int scancode) {
  const int key = platform::VirtualKeyOfScancode(scancode);
  return key == VK_F1 || key == VK_F4 || key == 'M' || (InfoOf(action).race && key == VK_ESCAPE);
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

Binding Controls::Default(Action action, int player) {
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

void Controls::reset() {
  for (int i = 0; i < ActionCount; ++i) bindings_[i] = Default(static_cast<Action>(i), player_);
}

std::optional<Action> Controls::keyHolder(Action action, int scancode) const {
  if (scancode == 0) return std::nullopt;
  for (int i = 0; i < ActionCount; ++i) {
    const auto other = static_cast<Action>(i);
    if (other == action || InfoOf(other).race != InfoOf(action).race) continue;
    for (int key : bindings_[i].keys)
      if (key == scancode) return other;
  }
  return std::nullopt;
}

std::optional<Action> Controls::padHolder(Action action, int pad) const {
  if (pad == 0) return std::nullopt;
  for (int i = 0; i < ActionCount; ++i) {
    const auto other = static_cast<Action>(i);
    if (other == action || InfoOf(other).race != InfoOf(action).race) continue;
    if (bindings_[i].pad == pad && !MayShare(action, other)) return other;
  }
  return std::nullopt;
}

std::optional<Action> Controls::partnerKeyHolder(Action action, int scancode) const {
  if (!partner_ || scancode == 0 || !InfoOf(action).race) return std::nullopt;
  for (int i = 0; i < ActionCount; ++i) {
    const auto other = static_cast<Action>(i);
    if (!InfoOf(other).race || !PlayerHasAction(partner_->player_, other)) continue;
    for (int key : partner_->bindings_[i].keys)
      if (key == scancode) return other;
  }
  return std::nullopt;
}

std::optional<Refusal> Controls::bindKey(Action action, int slot, int scancode) {
  const Refusal itself{action, player_};
  if (slot < 0 || slot > 1 || !PlayerHasAction(player_, action)) return itself;
  if (scancode != 0 && FixedKey(action, scancode)) return itself;
  if (auto holder = keyHolder(action, scancode)) return Refusal{*holder, player_};
  if (auto holder = partnerKeyHolder(action, scancode)) return Refusal{*holder, partner_->player_};
  Binding& binding = bindings_[Index(action)];
  if (binding.keys[1 - slot] == scancode && scancode != 0) return std::nullopt;  // already has it
  binding.keys[slot] = scancode;
  return std::nullopt;
}

std::optional<Action> Controls::setKey(Action action, int slot, int scancode) {
  if (const auto refusal = bindKey(action, slot, scancode)) return refusal->action;
  return std::nullopt;
}

std::optional<Action> Controls::setPad(Action action, int pad) {
  if (!PlayerHasAction(player_, action)) return action;
  if (auto holder = padHolder(action, pad)) return holder;
  bindings_[Index(action)].pad = pad;
  return std::nullopt;
}

std::vector<std::string> Controls::read(
    const std::function<std::optional<std::string>(const std::string&)>& line, int player) {
  player_ = player;
  std::vector<std::string> problems;
  bool fromFile[ActionCount] = {};
  for (int i = 0; i < ActionCount; ++i) {
    const auto action = static_cast<Action>(i);
    Binding binding = Default(action, player);
    if (!PlayerHasAction(player, action)) {
      bindings_[i] = binding;
      continue;
    }
    bool bad = false;
    const std::string keyLine = KeyLine(action, player), padLine = PadLine(action, player);
    if (const auto text = line(keyLine)) {
      const auto keys = ParseKeys(*text);
      bool fixed = false;
      if (keys)
        for (int key : keys->keys) fixed = fixed || (key != 0 && FixedKey(action, key));
      if (!keys || fixed) {
        problems.push_back(keyLine + ": cannot use \"" + TerminalText(*text) + "\"");
        bad = true;
      } else {
        std::copy(std::begin(keys->keys), std::end(keys->keys), binding.keys);
        fromFile[i] = true;
      }
    }
    if (const auto text = line(padLine); text && !bad) {
      if (const auto pad = ParsePad(*text)) {
        binding.pad = *pad;
        fromFile[i] = true;
      } else {
        problems.push_back(padLine + ": cannot use \"" + TerminalText(*text) + "\"");
        bad = true;
      }
    }
    bindings_[i] = bad ? Default(action, player) : binding;
    if (bad) {
      problems.back() += "; the default (" + FormatKeys(bindings_[i]) + ") is used";
    }
  }
  // An action given a key or button another action of its screen keeps goes back to its
  // default; going back may clash again, so until nothing changes.
  for (bool changed = true; changed;) {
    changed = false;
    for (int i = 0; i < ActionCount; ++i) {
      const auto action = static_cast<Action>(i);
      if (!fromFile[i]) continue;
      std::optional<Action> holder = padHolder(action, bindings_[i].pad);
      for (int key : bindings_[i].keys) holder = holder ? holder : keyHolder(action, key);
      if (!holder) continue;
      problems.push_back(KeyLine(action, player) + " or " + PadLine(action, player) +
                         ": shares a key or button with " + std::string(InfoOf(*holder).name) +
                         "; the default is used");
      bindings_[i] = Default(action, player);
      fromFile[i] = false;
      changed = true;
    }
    changed = yieldToPartner(fromFile, problems) || changed;
  }
  return problems;
}

bool Controls::yieldToPartner(bool* fromFile, std::vector<std::string>& problems) {
  if (player_ != 2 || !partner_) return false;
  for (int i = 0; i < SecondPlayerActionCount; ++i) {
    const auto action = static_cast<Action>(i);
    for (int& key : bindings_[i].keys) {
      const auto holder = partnerKeyHolder(action, key);
      if (!holder) continue;
      const std::string theirs = "player 1's " + std::string(InfoOf(*holder).name);
      // Keys the file gave go back to the default; a default key is only left out.
      const Binding fallback = Default(action, player_);
      const bool keysFromFile =
          fromFile[i] && !std::equal(std::begin(bindings_[i].keys), std::end(bindings_[i].keys),
                                     std::begin(fallback.keys));
      if (keysFromFile) {
        problems.push_back(KeyLine(action, player_) + ": shares a key with " + theirs +
                           "; the default is used");
        bindings_[i] = fallback;
        fromFile[i] = false;
      } else {
        problems.push_back(KeyLine(action, player_) + ": the default " +
                           platform::ScancodeName(key) + " is " + theirs + "; left out");
        key = 0;
      }
      return true;
    }
  }
  return false;
}

bool ActionHeld(const Controls& controls, Action action) {
  const Binding& binding = controls[action];
  for (int key : binding.keys) {
    const int code = platform::VirtualKeyOfScancode(key);
    if (code > 0 && KeyState[code]) return true;
  }
  return binding.pad != 0 && KeyState[PadKeyOf(binding.pad, controls.player())];
}

bool TakeAction(const Controls& controls, Action action) {
  const Binding& binding = controls[action];
  bool taken = false;
  for (int key : binding.keys) {
    const int code = platform::VirtualKeyOfScancode(key);
    if (code > 0) taken = TakeKeyPress(code) || taken;
  }
  if (binding.pad != 0) taken = TakeKeyPress(PadKeyOf(binding.pad, controls.player())) || taken;
  return taken;
}

int PadKeyOf(int pad, int player) {
  return player == 2 ? pad + SecondPadKeys : pad;
}

namespace {

// Player one's and player two's controls are each the other's partner; player one's lines are
// read first, so a key both players' lines give stays player one's.
bool ReadPlayersControls() {
  Players[0].controls.setPartner(&Players[1].controls);
  Players[1].controls.setPartner(&Players[0].controls);
  for (Player& player : Players) {
    const auto problems = player.controls.read(
        [](const std::string& name) { return GameSettings.value(name); }, player.number);
    for (const std::string& problem : problems)
      std::cerr << "quillon: settings: " << problem << "\n";
  }
  return true;
}

}  // namespace

Controls& GameControls(int player) {
  static const bool read = ReadPlayersControls();
  (void)read;
  return Players[std::clamp(player, 1, MaxPlayers) - 1].controls;
}

void SaveBinding(Action action, int player) {
  const Binding& binding = GameControls(player)[action];
  GameSettings.setValue(KeyLine(action, player), FormatKeys(binding));
  GameSettings.setValue(PadLine(action, player), FormatPad(binding.pad));
}
