// The actions of the race and the menus, their default keys and pad buttons, and their text:
// the settings lines (`key.<action>`, `pad.<action>`) and the names of keys and pad buttons.
// In game/, what the menus and the race both use; it includes no menu or race code.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class Action {
  Accelerate,
  Brake,
  SteerLeft,
  SteerRight,
  Nitro,
  DriverView,
  ChaseView,
  Ghost,
  Restart,
  MenuUp,
  MenuDown,
  MenuLeft,
  MenuRight,
  MenuTake,
  MenuBack,
};
constexpr int ActionCount = 15;
// Player two has the first seven, the driving and the views: accelerate to chase view.
constexpr int SecondPlayerActionCount = 7;
// Whether a player has an action of their own (player one has all).
bool PlayerHasAction(int player, Action action);

// The name in the settings file ("steer_left"), the title on the controls screen ("Steer left"),
// and whether it acts in the race (else in the menus): one key serves one action of each.
struct ActionInfo {
  std::string_view name;
  std::string_view title;
  bool race;
};
const ActionInfo& InfoOf(Action action);
std::optional<Action> ActionNamed(std::string_view name);

struct Binding {
  int keys[2] = {0, 0};  // scancodes (see platform/key_names.h), 0 for an empty slot
  int pad = 0;           // the pad's key (VK_GAMEPAD_*), 0 for none
  bool operator==(const Binding&) const = default;
};

// "Up, W": at most two known key names, separated by commas; an empty text is no key.
std::optional<Binding> ParseKeys(std::string_view text);
std::string FormatKeys(const Binding& binding);
// A pad button's name as the file keeps it ("a", "back", "dpleft", "lefttrigger", "leftx-"); an
// empty text is none (0).
std::optional<int> ParsePad(std::string_view text);
std::string FormatPad(int pad);
// As the controls screen shows it: "Pad A", "Pad Back".
std::string PadTitle(int pad);

// The settings lines of an action for a player: "key.accelerate", "pad.accelerate"; a second
// player's are "key2.accelerate" and "pad2.accelerate".
std::string KeyLine(Action action, int player = 1);
std::string PadLine(Action action, int player = 1);

// An action's default keys and pad button for a player: player two's keys are W, S, A, D, Left
// Shift, Tab and Q, their pad buttons player one's; the actions player two has not are empty.
Binding DefaultBinding(Action action, int player = 1);
