// Controller buttons and axes to key messages. Every button, trigger and stick direction presses
// its own pad key, which the player's controls bind to actions; on the first pad the D-pad, the
// stick and the triggers also act as the arrow keys, and Start and Back as Enter and Escape in
// the menus (Start as Escape in the race), as the README's controls say. The second pad acts as
// no keyboard key: its stick acts as its own D-pad, its triggers as its own A and B.
#include "platform/controller_keys.h"

#include <algorithm>

#include "platform/frame_flags.h"
#include "platform/keys.h"

namespace platform {
namespace {

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

std::vector<SDL_JoystickID> ControllerKeys::connected(SDL_JoystickID id, std::deque<Message>& out) {
  if (std::find(order_.begin(), order_.end(), id) != order_.end()) return {};
  order_.push_back(id);
  if (!keep_) return assign(out);
  // Kept players: a pad plugged in plays for the first player without one.
  for (SDL_JoystickID& player : players_) {
    if (player >= 0) continue;
    player = id;
    return {id};
  }
  return {};
}

std::vector<SDL_JoystickID> ControllerKeys::disconnected(SDL_JoystickID id,
                                                         std::deque<Message>& out) {
  auto found = std::find(order_.begin(), order_.end(), id);
  if (found == order_.end()) return {};
  order_.erase(found);
  for (int player = 0; player < 2; ++player) {
    if (players_[player] != id) continue;
    releaseAll(player, out);
    players_[player] = -1;
  }
  return keep_ ? std::vector<SDL_JoystickID>() : assign(out);
}

std::vector<SDL_JoystickID> ControllerKeys::keepPlayers(bool keep, std::deque<Message>& out) {
  if (keep == keep_) return {};
  keep_ = keep;
  if (keep) return {};
  // The pads playing go first, in their players' order, so that letting go moves a pad only
  // into a player left without one.
  std::vector<SDL_JoystickID> order;
  for (SDL_JoystickID player : players_)
    if (player >= 0) order.push_back(player);
  for (SDL_JoystickID id : order_)
    if (std::find(order.begin(), order.end(), id) == order.end()) order.push_back(id);
  order_ = order;
  return assign(out);
}

std::vector<SDL_JoystickID> ControllerKeys::assign(std::deque<Message>& out) {
  std::vector<SDL_JoystickID> placed;
  for (int player = 0; player < 2; ++player) {
    const SDL_JoystickID wanted =
        order_.size() > static_cast<size_t>(player) ? order_[static_cast<size_t>(player)] : -1;
    if (players_[player] == wanted) continue;
    releaseAll(player, out);
    players_[player] = wanted;
    if (wanted >= 0) placed.push_back(wanted);
  }
  return placed;
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

int ControllerKeys::buttonKey(int player, Source source) {
  if (player != 0) return 0;
  const bool racing = ScreenState == screen::Race;
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
  const bool isButton =
      event.type == SDL_CONTROLLERBUTTONDOWN || event.type == SDL_CONTROLLERBUTTONUP;
  if (!isButton && event.type != SDL_CONTROLLERAXISMOTION) return;
  const SDL_JoystickID which = isButton ? event.cbutton.which : event.caxis.which;
  const int player = which < 0 ? -1 : which == players_[0] ? 0 : which == players_[1] ? 1 : -1;
  if (player < 0) return;
  if (isButton) {
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
      release(player, source, out);
    } else if (!pressed_[player][source]) {
      press(player, source, buttonKey(player, source), out);
    }
    return;
  }
  int value = event.caxis.value;
  bool beyondLow = value <= -PressTravel, beyondHigh = value >= PressTravel;
  bool insideLow = value > -ReleaseTravel, insideHigh = value < ReleaseTravel;
  // Each axis moves up to two directions; releases go first so that a stick flicked straight
  // across never holds both. Each also acts as a key: the first pad's, and the second pad's.
  struct Direction {
    Source source;
    bool beyond, inside;
    int keys[2];
  } directions[2];
  int count = 0;
  switch (event.caxis.axis) {
    case SDL_CONTROLLER_AXIS_LEFTX:
      directions[count++] = {StickLeft, beyondLow, insideLow, {VK_LEFT, VK_GAMEPAD_DPAD_LEFT}};
      directions[count++] = {StickRight, beyondHigh, insideHigh, {VK_RIGHT, VK_GAMEPAD_DPAD_RIGHT}};
      break;
    case SDL_CONTROLLER_AXIS_LEFTY:  // negative is up
      directions[count++] = {StickUp, beyondLow, insideLow, {VK_UP, VK_GAMEPAD_DPAD_UP}};
      directions[count++] = {StickDown, beyondHigh, insideHigh, {VK_DOWN, VK_GAMEPAD_DPAD_DOWN}};
      break;
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
      directions[count++] = {TriggerLeft, beyondHigh, insideHigh, {VK_DOWN, VK_GAMEPAD_B}};
      break;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
      directions[count++] = {TriggerRight, beyondHigh, insideHigh, {VK_UP, VK_GAMEPAD_A}};
      break;
    default:
      break;
  }
  for (int i = 0; i < count; ++i)
    if (directions[i].inside) release(player, directions[i].source, out);
  for (int i = 0; i < count; ++i) {
    const Direction& direction = directions[i];
    if (direction.beyond && !pressed_[player][direction.source])
      press(player, direction.source,
            player == 0 ? direction.keys[0] : direction.keys[1] + SecondPadKeys, out);
  }
}

void ControllerKeys::press(int player, Source source, int key, std::deque<Message>& out) {
  pressed_[player][source] = true;
  int* held = held_[player][source];
  held[0] = key > 0 && key < KeyCount ? key : 0;
  held[1] = PadKeys[source] + (player == 0 ? 0 : SecondPadKeys);
  // A key held by two sources (stick and D-pad, or the keyboard) goes down once and up with the
  // last of them.
  for (int i = 0; i < 2; ++i)
    if (held[i] != 0 && holders_[held[i]]++ == 0 && !keyboardHeld_[held[i]])
      out.push_back(KeyMessage(MessageKind::KeyDown, held[i]));
}

void ControllerKeys::release(int player, Source source, std::deque<Message>& out) {
  if (!pressed_[player][source]) return;
  pressed_[player][source] = false;
  for (int& held : held_[player][source]) {
    if (held != 0 && --holders_[held] == 0 && !keyboardHeld_[held])
      out.push_back(KeyMessage(MessageKind::KeyUp, held));
    held = 0;
  }
}

void ControllerKeys::releaseAll(int player, std::deque<Message>& out) {
  for (int source = 0; source < SourceCount; ++source)
    release(player, static_cast<Source>(source), out);
}

}  // namespace platform
