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

// Why a binding was refused: the action (of `player`) that has the key or button; an action
// refused as itself is the game's own key.
struct Refusal {
  Action action;
  int player;
};

class Controls {
 public:
  // `player` 2 reads its pad buttons from the second pad's keys (see PadKeyOf).
  explicit Controls(int player = 1) : player_(player) { reset(); }
  int player() const { return player_; }
  // A player's default: player two's keys are W, S, A, D, Left Shift, Tab and Q, their pad
  // buttons player one's; the actions player two has not are empty.
  static Binding Default(Action action, int player = 1);

  // The other player's controls: a key of a race action of one player is refused to the other.
  void setPartner(const Controls* partner) { partner_ = partner; }

  const Binding& operator[](Action action) const { return bindings_[static_cast<int>(action)]; }

  // Reads the lines of `player` through `line` (the value of a settings line, if any), and
  // becomes that player's. A line that cannot be read, or takes a key another action of its
  // screen keeps, leaves that action at its default; each such problem is returned as a
  // sentence. Player two's lines also yield to player one's race keys (the partner's): an
  // action whose default has such a key goes without it.
  std::vector<std::string> read(
      const std::function<std::optional<std::string>(const std::string&)>& line, int player = 1);

  // Binds a key to slot 0 or 1 (0 empties the slot) or the pad button of an action. Refused
  // (nothing changes) when another action of the same screen has it: that action is returned.
  // F1, F4, M and the race's Escape are the game's own and never bound: refused as `action`.
  // An action the player has not is refused as itself. bindKey says which player's action
  // holds the key; setKey gives only the action.
  std::optional<Action> setKey(Action action, int slot, int scancode);
  std::optional<Refusal> bindKey(Action action, int slot, int scancode);
  std::optional<Action> setPad(Action action, int pad);
  void reset();

 private:
  std::optional<Action> keyHolder(Action action, int scancode) const;
  std::optional<Action> padHolder(Action action, int pad) const;
  // The partner's race action with that key, when `action` is a race action.
  std::optional<Action> partnerKeyHolder(Action action, int scancode) const;
  // Player two's keys that player one's race actions have: the action goes back to its
  // default, or, when the default has one too, without that key.
  // True when it changed a binding.
  bool yieldToPartner(bool* fromFile, std::vector<std::string>& problems);
  int player_ = 1;
  const Controls* partner_ = nullptr;
  Binding bindings_[ActionCount];
};

// The KeyState entry of a pad button for a player: the first pad's own code for player one,
// the same code moved up by SecondPadKeys for the second pad.
int PadKeyOf(int pad, int player);

// Whether an action's key or pad button is down now in KeyState (its keys where the layout in
// use puts them), and the same taking the press, so that it acts once.
bool ActionHeld(const Controls& controls, Action action);
bool TakeAction(const Controls& controls, Action action);

// The game's controls of both players, read from the settings at first use (problems said once
// on standard error); each is the other's partner. SaveBinding writes an action's two lines of a
// player.
Controls& GameControls(int player = 1);
void SaveBinding(Action action, int player = 1);
