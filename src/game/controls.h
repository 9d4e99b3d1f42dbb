// A player's controls: each action with up to two keys (kept by their place on the keyboard)
// and one pad button, and the rules of which key may go where: no key or button twice on one
// screen, none of the game's own keys, player two never on player one's race keys.
// In game/, what the menus and the race both use; it includes no menu or race code.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "game/actions.h"

// Why a binding was refused: the action (of `player`) that has the key or button; an action
// refused as itself is the game's own key.
struct Refusal {
  Action action;
  int player;
};

class Controls {
 public:
  // `player` 2 reads its pad buttons from the second pad's keys (see PadKeyOf in
  // action_input.h).
  explicit Controls(int player = 1) : player_(player) { reset(); }
  int player() const { return player_; }
  // A player's default (see DefaultBinding).
  static Binding Default(Action action, int player = 1) { return DefaultBinding(action, player); }

  // The other player's controls: a key of a race action of one player is refused to the other.
  void setPartner(const Controls* partner) { partner_ = partner; }

  const Binding& operator[](Action action) const { return bindings_[static_cast<int>(action)]; }

  // Reads the lines of `player` through `line` (the value of a settings line, if any), and
  // becomes that player's. A line that cannot be read, or takes a key another action of its
  // screen keeps, leaves that action at its default; each such problem is returned as a
  // sentence. Player two's lines also yield to player one's race keys (the partner's): an
  // action whose default has such a key goes without it.
  using LineReader = std::function<std::optional<std::string>(const std::string&)>;
  std::vector<std::string> read(const LineReader& line, int player = 1);

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
  // Actions the settings gave a key or button another action of its screen keeps go back to
  // their default, said in `problems`. True when it changed a binding.
  bool dropClashes(bool* fromFile, std::vector<std::string>& problems);
  // Player two's keys that player one's race actions have: the action goes back to its
  // default, or, when the default has one too, without that key.
  // True when it changed a binding.
  bool yieldToPartner(bool* fromFile, std::vector<std::string>& problems);
  int player_ = 1;
  const Controls* partner_ = nullptr;
  Binding bindings_[ActionCount];
};
