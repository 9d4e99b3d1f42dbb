// The player's controls: the race's and the menus' actions, each with up to two keys (kept by
// their place on the keyboard) and one pad button, read from and written to the settings as
// `key.<action>` and `pad.<action>` lines; and whether an action is held or pressed now.
// In game/, what the menus and the race both use; it includes no menu or race code.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

class Controls {
 public:
  // `player` 2 reads its pad buttons from the second pad's keys (see PadKeyOf).
  explicit Controls(int player = 1) : player_(player) { reset(); }
  int player() const { return player_; }
  static Binding Default(Action action);

  const Binding& operator[](Action action) const { return bindings_[static_cast<int>(action)]; }

  // Reads the lines of `player` through `line` (the value of a settings line, if any). A line
  // that cannot be read, or takes a key another action of its screen keeps, leaves that action
  // at its default; each such problem is returned as a sentence.
  std::vector<std::string> read(
      const std::function<std::optional<std::string>(const std::string&)>& line, int player = 1);

  // Binds a key to slot 0 or 1 (0 empties the slot) or the pad button of an action. Refused
  // (nothing changes) when another action of the same screen has it: that action is returned.
  // F1, F4, M and the race's Escape are the game's own and never bound: refused as `action`.
  std::optional<Action> setKey(Action action, int slot, int scancode);
  std::optional<Action> setPad(Action action, int pad);
  void reset();

 private:
  std::optional<Action> keyHolder(Action action, int scancode) const;
  std::optional<Action> padHolder(Action action, int pad) const;
  int player_ = 1;
  Binding bindings_[ActionCount];
};

// The KeyState entry of a pad button for a player: the first pad's own code for player one,
// the same code moved up by SecondPadKeys for the second pad.
int PadKeyOf(int pad, int player);

// Whether an action's key or pad button is down now in KeyState (its keys where the layout in
// use puts them), and the same taking the press, so that it acts once.
bool ActionHeld(const Controls& controls, Action action);
bool TakeAction(const Controls& controls, Action action);

// The game's controls, read from the settings at first use (problems said once on standard
// error); SaveBinding writes an action's two lines.
Controls& GameControls(int player = 1);
void SaveBinding(Action action);
