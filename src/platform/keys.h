// Keyboard state shared by the frame and every screen: one flag per Windows virtual-key code.
#pragma once

// Virtual-key codes the game reacts to (Windows numbering, kept so key tables stay familiar).
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_PAUSE = 0x13;
constexpr int VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_F1 = 0x70;
constexpr int VK_F4 = 0x73;
constexpr int VK_F10 = 0x79;
constexpr int VK_F12 = 0x7B;

// A game controller's buttons, triggers and left-stick directions have keys of their own, beside
// the keys they act as (Windows' gamepad codes), so that a pad button can be bound to an action.
constexpr int VK_GAMEPAD_A = 0xC3;
constexpr int VK_GAMEPAD_B = 0xC4;
constexpr int VK_GAMEPAD_X = 0xC5;
constexpr int VK_GAMEPAD_Y = 0xC6;
constexpr int VK_GAMEPAD_RIGHT_SHOULDER = 0xC7;
constexpr int VK_GAMEPAD_LEFT_SHOULDER = 0xC8;
constexpr int VK_GAMEPAD_LEFT_TRIGGER = 0xC9;
constexpr int VK_GAMEPAD_RIGHT_TRIGGER = 0xCA;
constexpr int VK_GAMEPAD_DPAD_UP = 0xCB;
constexpr int VK_GAMEPAD_DPAD_DOWN = 0xCC;
constexpr int VK_GAMEPAD_DPAD_LEFT = 0xCD;
constexpr int VK_GAMEPAD_DPAD_RIGHT = 0xCE;
constexpr int VK_GAMEPAD_MENU = 0xCF;  // Start
constexpr int VK_GAMEPAD_VIEW = 0xD0;  // Back
constexpr int VK_GAMEPAD_LEFT_THUMBSTICK_BUTTON = 0xD1;
constexpr int VK_GAMEPAD_RIGHT_THUMBSTICK_BUTTON = 0xD2;
constexpr int VK_GAMEPAD_LEFT_THUMBSTICK_UP = 0xD3;
constexpr int VK_GAMEPAD_LEFT_THUMBSTICK_DOWN = 0xD4;
constexpr int VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT = 0xD5;
constexpr int VK_GAMEPAD_LEFT_THUMBSTICK_LEFT = 0xD6;

// The second pad's buttons have keys of their own above every Windows code: the first pad's
// code plus SecondPadKeys. They act as no keyboard key; only player two's pad bindings read them.
constexpr int SecondPadKeys = 0x100;
constexpr int KeyCount = 0x200;

// True from a key-down message until its key-up, or until a screen clears it to consume a press.
extern bool KeyState[KeyCount];

// Clears every key (used on start and by tests).
void ClearKeyState();

// Consumes a press: true when the key is down, and clears its entry so the press acts once
// (until the next key-down or auto-repeat message).
inline bool TakeKeyPress(int key) {
  if (!KeyState[key]) return false;
  KeyState[key] = false;
  return true;
}
