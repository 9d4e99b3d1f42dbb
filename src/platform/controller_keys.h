// Game controllers as keys: buttons, D-pad, left stick and triggers become the key-down and
// key-up messages of the keys they stand for, so the game reads them through KeyState. A key
// is down while the keyboard or a controller holds it. The first pad plays for player one, the
// second for player two, on keys of its own (SecondPadKeys up).
#pragma once

#include <SDL.h>

#include <deque>
#include <vector>

#include "platform/keys.h"
#include "platform/window_system.h"

namespace platform {

class ControllerKeys {
 public:
  // Stick and trigger travel (of 32767) at which a direction presses, and back inside which it
  // lets go again; the gap keeps a stick resting near the edge from chattering.
  static constexpr int PressTravel = 12000;
  static constexpr int ReleaseTravel = 8000;

  // A controller joined or left (by joystick instance id). The first connected one drives for
  // player one, the second for player two; when one leaves, every key it held is released and
  // the next ones in order move up a player, unless the players are kept (below). Each returns
  // the controllers that came to play for a player: their caller feeds each one's current
  // state to handle().
  std::vector<SDL_JoystickID> connected(SDL_JoystickID id, std::deque<Message>& out);
  std::vector<SDL_JoystickID> disconnected(SDL_JoystickID id, std::deque<Message>& out);
  // Player one's controller, or -1; player two's.
  SDL_JoystickID driver() const { return players_[0]; }
  SDL_JoystickID secondDriver() const { return players_[1]; }

  // Kept, each pad stays with its player: one unplugged leaves its player without a pad (until
  // a pad is plugged in) and hands nothing over. Let go, the pads are assigned in order again;
  // returns the controllers that came to play for a player, as above.
  std::vector<SDL_JoystickID> keepPlayers(bool keep, std::deque<Message>& out);

  // A keyboard key message: passes, except a key-up of a key a controller still holds.
  bool keyboard(const Message& message);

  // The keys were cleared (a message box had the keyboard): what the controller still holds
  // goes down again.
  void pressHeldAgain(std::deque<Message>& out);

  // Controller button and axis events; other events and those of controllers playing for
  // nobody are ignored. Appends the key messages they cause.
  void handle(const SDL_Event& event, std::deque<Message>& out);

  bool driving() const { return players_[0] >= 0; }

 private:
  // Whatever can hold a key: each button, and each direction of the stick and the triggers.
  enum Source {
    ButtonA,
    ButtonB,
    ButtonX,
    ButtonY,
    ButtonBack,
    ButtonStart,
    DpadUp,
    DpadDown,
    DpadLeft,
    DpadRight,
    StickLeft,
    StickRight,
    StickUp,
    StickDown,
    TriggerLeft,
    TriggerRight,
    ShoulderLeft,
    ShoulderRight,
    StickButtonLeft,
    StickButtonRight,
    SourceCount
  };

  void press(int player, Source source, int key, std::deque<Message>& out);
  void release(int player, Source source, std::deque<Message>& out);
  void releaseAll(int player, std::deque<Message>& out);
  // The key a button also acts as for a player (0 for only its pad key).
  int buttonKey(int player, Source source);
  // Gives each player the pad the rules say (see keepPlayers); returns those newly placed.
  std::vector<SDL_JoystickID> assign(std::deque<Message>& out);

  std::vector<SDL_JoystickID> order_;  // connected controllers, first connected first
  SDL_JoystickID players_[2] = {-1, -1};
  bool keep_ = false;
  bool pressed_[2][SourceCount] = {};
  int held_[2][SourceCount][2] = {};  // the key each source acts as and its pad key, 0 for none
  int holders_[KeyCount] = {};        // how many sources hold each key
  bool keyboardHeld_[KeyCount] = {};  // keys down on the keyboard
};

}  // namespace platform
