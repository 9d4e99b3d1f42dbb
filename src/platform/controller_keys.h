// Game controllers as keys: buttons, D-pad, left stick and triggers become the key-down and
// key-up messages of the keys they stand for, so the game reads them through KeyState. A key
// is down while the keyboard or the driving controller holds it.
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

  // A controller joined or left (by joystick instance id). The first connected one drives;
  // when it leaves, every key it held is released and the next one in order takes over. True
  // when another controller now drives: its caller feeds that one's current state to handle().
  void connected(SDL_JoystickID id);
  bool disconnected(SDL_JoystickID id, std::deque<Message>& out);
  SDL_JoystickID driver() const { return order_.empty() ? -1 : order_.front(); }

  // A keyboard key message: passes, except a key-up of a key a controller still holds.
  bool keyboard(const Message& message);

  // The keys were cleared (a message box had the keyboard): what the controller still holds
  // goes down again.
  void pressHeldAgain(std::deque<Message>& out);

  // Controller button and axis events; other events and other controllers' are ignored.
  // Appends the key messages they cause.
  void handle(const SDL_Event& event, std::deque<Message>& out);

  bool driving() const { return !order_.empty(); }

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

  void press(Source source, int key, std::deque<Message>& out);
  void release(Source source, std::deque<Message>& out);
  void releaseAll(std::deque<Message>& out);
  int buttonKey(Source source);

  std::vector<SDL_JoystickID> order_;  // connected controllers, first connected first
  bool pressed_[SourceCount] = {};
  int held_[SourceCount][2] = {};     // the key each source acts as and its pad key, 0 for none
  int holders_[KeyCount] = {};        // how many sources hold each key
  bool keyboardHeld_[KeyCount] = {};  // keys down on the keyboard
};

}  // namespace platform
