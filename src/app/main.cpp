// Entry point of the game: hands control to the application frame.
#include "app/game_main.h"
#include "platform/timeline.h"

int main(int argc, char** argv) {
  platform::StartTimeline();
  return GameMain(argc, argv);
}
