// Controller buttons and axes to key messages. Every button, trigger and stick direction presses
// its own pad key, which the player's controls bind to actions; the D-pad, the stick and the
// triggers also act as the arrow keys, and Start and Back as Enter and Escape in the menus
// (Start as Escape in the race), as the README's controls say.
#include "platform/controller_keys.h"

#include <algorithm>

#include "platform/frame_flags.h"
#include "platform/keys.h"

namespace platform {
namespace {

constexpr int RaceScreen = 3;

// The pad key of each source, in the order of ControllerKeys::Source.
constexpr int PadKeys[] = {
    VK_GAMEPAD_A,
    VK_GAMEPAD_B,
    VK_GAMEPAD_X,
    VK_GAMEPAD_Y,
    VK_GAMEPAD_VIEW,
    VK_GAMEPAD_MENU,
    VK_GAMEPAD_DPAD_UP,
    VK_GAMEPAD_DPAD_DOWN,
    VK_GAMEPAD_DPAD_LEFT,
    VK_GAMEPAD_DPAD_RIGHT,
    VK_GAMEPAD_LEFT_THUMBSTICK_LEFT,
    VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT,
    VK_GAMEPAD_LEFT_THUMBSTICK_UP,
    VK_GAMEPAD_LEFT_THUMBSTICK_DOWN,
    VK_GAMEPAD_LEFT_TRIGGER,
    VK_GAMEPAD_RIGHT_TRIGGER,
    VK_GAMEPAD_LEFT_SHOULDER,
    VK_GAMEPAD_RIGHT_SHOULDER,
    VK_GAMEPAD_LEFT_THUMBSTICK_BUTTON,
    VK_GAMEPAD_RIGHT_THUMBSTICK_BUTTON,
};

Message KeyMessage(MessageKind kind, int key) {
  Message message;
  message.kind = kind;
  message.key = key;
  return message;
}

}  // namespace

void ControllerKeys::connected(SDL_JoystickID id) {
  if (std::find(order_.begin(), order_.end(), id) == order_.end()) order_.push_back(id);
}

bool ControllerKeys::disconnected(SDL_JoystickID id, std::deque<Message>& out) {
  auto found = std::find(order_.begin(), order_.end(), id);
  if (found == order_.end()) return false;
  const bool wasDriving = found == order_.begin();
  if (wasDriving) releaseAll(out);
  order_.erase(found);
  return wasDriving && !order_.empty();
}

bool ControllerKeys::keyboard(const Message& message) {
  if (message.key <= 0 || message.key >= KeyCount) return true;
  if (message.kind == MessageKind::KeyDown) keyboardHeld_[message.key] = true;
  if (message.kind == MessageKind::SysKeyUp) keyboardHeld_[message.key] = false;
  if (message.kind != MessageKind::KeyUp) return true;
  keyboardHeld_[message.key] = false;
  return holders_[message.key] == 0;
}

void ControllerKeys::pressHeldAgain(std::deque<Message>& out) {
  for (int key = 1; key < KeyCount; ++key)
    if (holders_[key] > 0) out.push_back(KeyMessage(MessageKind::KeyDown, key));
}

int ControllerKeys::buttonKey(Source source) {
  const bool racing = ScreenState == RaceScreen;
  switch (source) {
    case ButtonBack:
      return racing ? 0 : VK_ESCAPE;
    case ButtonStart:
      return racing ? VK_ESCAPE : VK_RETURN;
    case DpadUp:
      return VK_UP;
    case DpadDown:
      return VK_DOWN;
    case DpadLeft:
      return VK_LEFT;
    case DpadRight:
      return VK_RIGHT;
    default:
      return 0;  // the face buttons, shoulders and stick buttons are only their pad keys
  }
}

void ControllerKeys::handle(const SDL_Event& event, std::deque<Message>& out) {
  if (order_.empty()) return;
  SDL_JoystickID driver = order_.front();
  if (event.type == SDL_CONTROLLERBUTTONDOWN || event.type == SDL_CONTROLLERBUTTONUP) {
    if (event.cbutton.which != driver) return;
    Source source;
    switch (event.cbutton.button) {
      case SDL_CONTROLLER_BUTTON_A:
        source = ButtonA;
        break;
      case SDL_CONTROLLER_BUTTON_B:
        source = ButtonB;
        break;
      case SDL_CONTROLLER_BUTTON_X:
        source = ButtonX;
        break;
      case SDL_CONTROLLER_BUTTON_Y:
        source = ButtonY;
        break;
      case SDL_CONTROLLER_BUTTON_BACK:
        source = ButtonBack;
        break;
      case SDL_CONTROLLER_BUTTON_START:
        source = ButtonStart;
        break;
      case SDL_CONTROLLER_BUTTON_DPAD_UP:
        source = DpadUp;
        break;
      case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        source = DpadDown;
        break;
      case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        source = DpadLeft;
        break;
      case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        source = DpadRight;
        break;
      case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
        source = ShoulderLeft;
        break;
      case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        source = ShoulderRight;
        break;
      case SDL_CONTROLLER_BUTTON_LEFTSTICK:
        source = StickButtonLeft;
        break;
      case SDL_CONTROLLER_BUTTON_RIGHTSTICK:
        source = StickButtonRight;
        break;
      default:
        return;
    }
    if (event.type == SDL_CONTROLLERBUTTONUP) {
      release(source, out);
    } else if (!pressed_[source]) {
      press(source, buttonKey(source), out);
    }
    return;
  }
  if (event.type != SDL_CONTROLLERAXISMOTION || event.caxis.which != driver) return;
  int value = event.caxis.value;
  bool beyondLow = value <= -PressTravel, beyondHigh = value >= PressTravel;
  bool insideLow = value > -ReleaseTravel, insideHigh = value < ReleaseTravel;
  // Each axis moves up to two directions; releases go first so that a stick flicked straight
  // across never holds both.
  struct Direction {
    Source source;
    bool beyond, inside;
    int key;
  } directions[2];
  int count = 0;
  switch (event.caxis.axis) {
    case SDL_CONTROLLER_AXIS_LEFTX:
      directions[count++] = {StickLeft, beyondLow, insideLow, VK_LEFT};
      directions[count++] = {StickRight, beyondHigh, insideHigh, VK_RIGHT};
      break;
    case SDL_CONTROLLER_AXIS_LEFTY:  // negative is up
      directions[count++] = {StickUp, beyondLow, insideLow, VK_UP};
      directions[count++] = {StickDown, beyondHigh, insideHigh, VK_DOWN};
      break;
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
      directions[count++] = {TriggerLeft, beyondHigh, insideHigh, VK_DOWN};
      break;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
      directions[count++] = {TriggerRight, beyondHigh, insideHigh, VK_UP};
      break;
    default:
      break;
  }
  for (int i = 0; i < count; ++i)
    if (directions[i].inside) release(directions[i].source, out);
  for (int i = 0; i < count; ++i)
    if (directions[i].beyond && !pressed_[directions[i].source])
      press(directions[i].source, directions[i].key, out);
}

void ControllerKeys::press(Source source, int key, std::deque<Message>& out) {
  pressed_[source] = true;
  held_[source][0] = key > 0 && key < KeyCount ? key : 0;
  held_[source][1] = PadKeys[source];
  // A key held by two sources (stick and D-pad, or the keyboard) goes down once and up with the
  // last of them.
  for (int held : held_[source])
    if (held != 0 && holders_[held]++ == 0 && !keyboardHeld_[held])
      out.push_back(KeyMessage(MessageKind::KeyDown, held));
}

void ControllerKeys::release(Source source, std::deque<Message>& out) {
  if (!pressed_[source]) return;
  pressed_[source] = false;
  for (int& held : held_[source]) {
    if (held != 0 && --holders_[held] == 0 && !keyboardHeld_[held])
      out.push_back(KeyMessage(MessageKind::KeyUp, held));
    held = 0;
  }
}

void ControllerKeys::releaseAll(std::deque<Message>& out) {
  for (int source = 0; source < SourceCount; ++source) release(static_cast<Source>(source), out);
}

}  // namespace platform
