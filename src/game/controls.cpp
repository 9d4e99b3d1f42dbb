// The controls' bindings and the rules of which key or button may go where, as a player sets
// them on the controls screen and as the settings' lines give them.
#include "game/controls.h"

#include <algorithm>

#include "assets/terminal_text.h"
#include "platform/key_names.h"
#include "platform/keys.h"

namespace {

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

// An action's binding from its two settings lines (the default for what they do not give); a
// line that cannot be read or names one of the game's own keys leaves the default, said in
// `problems`. `fromFile` is set once a line has given it a key or button.
Binding ReadBinding(Action action, int player, const Controls::LineReader& line, bool& fromFile,
                    std::vector<std::string>& problems) {
  Binding binding = DefaultBinding(action, player);
  const std::string keyLine = KeyLine(action, player), padLine = PadLine(action, player);
  const auto refuse = [&](const std::string& name, const std::string& text) {
    problems.push_back(name + ": cannot use \"" + TerminalText(text) + "\"; the default (" +
                       FormatKeys(DefaultBinding(action, player)) + ") is used");
    return DefaultBinding(action, player);
  };
  if (const auto text = line(keyLine)) {
    const auto keys = ParseKeys(*text);
    bool fixed = false;
    if (keys)
      for (int key : keys->keys) fixed = fixed || (key != 0 && FixedKey(action, key));
    if (!keys || fixed) return refuse(keyLine, *text);
    std::copy(std::begin(keys->keys), std::end(keys->keys), binding.keys);
    fromFile = true;
  }
  if (const auto text = line(padLine)) {
    const auto pad = ParsePad(*text);
    if (!pad) return refuse(padLine, *text);
    binding.pad = *pad;
    fromFile = true;
  }
  return binding;
}

}  // namespace

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

std::vector<std::string> Controls::read(const LineReader& line, int player) {
  player_ = player;
  std::vector<std::string> problems;
  bool fromFile[ActionCount] = {};
  for (int i = 0; i < ActionCount; ++i) {
    const auto action = static_cast<Action>(i);
    bindings_[i] = PlayerHasAction(player, action)
                       ? ReadBinding(action, player, line, fromFile[i], problems)
                       : Default(action, player);
  }
  // Going back to a default may clash again, so until nothing changes.
  for (bool changed = true; changed;) {
    const bool own = dropClashes(fromFile, problems);
    changed = yieldToPartner(fromFile, problems) || own;
  }
  return problems;
}

bool Controls::dropClashes(bool* fromFile, std::vector<std::string>& problems) {
  bool changed = false;
  for (int i = 0; i < ActionCount; ++i) {
    const auto action = static_cast<Action>(i);
    if (!fromFile[i]) continue;
    std::optional<Action> holder = padHolder(action, bindings_[i].pad);
    for (int key : bindings_[i].keys) holder = holder ? holder : keyHolder(action, key);
    if (!holder) continue;
    problems.push_back(KeyLine(action, player_) + " or " + PadLine(action, player_) +
                       ": shares a key or button with " + std::string(InfoOf(*holder).name) +
                       "; the default is used");
    bindings_[i] = Default(action, player_);
    fromFile[i] = false;
    changed = true;
  }
  return changed;
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
