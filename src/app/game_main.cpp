// Placeholder until the frame lands.
#include "app/game_main.h"

int GameMain() { return 0; }
