// Entry point of the game: hands control to the application frame.
#include <iostream>
#include <string_view>

#include "app/game_main.h"
#include "race/best_times.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]) == "--records") return PrintRecords(std::cout);
  return GameMain();
}
