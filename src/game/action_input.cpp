// Reading the actions from KeyState, and each player's controls from the settings.
#include "game/action_input.h"

#include <algorithm>
#include <iostream>

#include "game/players.h"
#include "platform/key_names.h"
#include "platform/keys.h"
#include "records/settings.h"

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
