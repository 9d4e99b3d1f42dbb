// The players' records.
#include "game/players.h"

#include "game/game_setup.h"

Player::Player(int number)
    : number(number),
      input(number == 1 ? PlayerInput::Keyboard : PlayerInput::None),
      controls(number) {}

Car& Player::car() const {
  return CarRoster[carIndex];
}

Player Players[MaxPlayers] = {Player(1), Player(2)};
