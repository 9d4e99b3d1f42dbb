// Entry point of the game: hands control to the application frame.
#include "app/game_main.h"

int main(int argc, char** argv) {
  return GameMain(argc, argv);
}
