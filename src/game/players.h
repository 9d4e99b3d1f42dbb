// The players: each one's record of what they chose on the menus and how they play (car,
// controls, keyboard or pad), all of them in one array. Player one is Players[0].
// In game/, what the menus choose and the race reads; it includes no menu or race code. Each
// player's race (and its sounds) is the race's: Races[i] in race/race.h serves Players[i].
#pragma once

#include <cstdint>

#include "game/controls.h"

struct Car;

constexpr int MaxPlayers = 2;

// How a player plays: not at all (player two until they join on the car selection), on the
// keyboard (their own keys), or on their own pad. Player one always plays.
enum class PlayerInput { None, Keyboard, Pad };

struct Player {
  explicit Player(int number);
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  // The car of the roster slot chosen.
  Car& car() const;

  const int number;  // 1, 2: the settings' lines, the texts and the pad's keys say so
  // Roster slot chosen (0 to 2); it persists across races and only GameSetup puts it back on 0.
  int16_t carIndex = 0;
  PlayerInput input;
  // Keys and pad buttons, read from the settings at first use: reach them through GameControls.
  Controls controls;
};

extern Player Players[MaxPlayers];

inline bool Playing(const Player& player) {
  return player.input != PlayerInput::None;
}
inline bool TwoPlayers() {
  return Playing(Players[1]);
}
