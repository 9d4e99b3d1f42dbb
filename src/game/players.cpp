// Who is playing and what player two chose.
#include "game/players.h"

#include "game/game_setup.h"

SecondPlayer SecondPlayerJoined = SecondPlayer::None;
int16_t SecondCarIndex = 0;
Car* SecondCar = &CarRoster[0];
