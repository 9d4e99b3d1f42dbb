// Who is playing: player one always, player two once they have joined on the car selection,
// and the roster car each of them has chosen.
// In game/, what the menus choose and the race reads; it includes no menu or race code.
#pragma once

#include <cstdint>

struct Car;

// How player two plays: not at all, on the keyboard (their own keys), or on the second pad.
enum class SecondPlayer { None, Keyboard, Pad };

// Set by the car selection when player two joins or leaves; read by the race start.
extern SecondPlayer SecondPlayerJoined;
// Roster slot player two chose (0 to 2) and that slot; like the first player's choice, it
// persists across races and only GameSetup puts it back on slot 0.
extern int16_t SecondCarIndex;
extern Car* SecondCar;

inline bool TwoPlayers() {
  return SecondPlayerJoined != SecondPlayer::None;
}
