// The controls screen, opened from the main menu: every action with its two keys and its pad
// button; Up and Down choose an action, Left and Right a column, Enter waits for the new key
// or button (Escape cancels), Backspace empties a cell, and the last entry puts back every
// default. Each change is written to the settings at once.
#pragma once

#include <cstdint>
#include <string>

constexpr int16_t ControlsScreenNumber = 4;

struct ControlsView {
  int row = 0;     // an action, or the reset entry after the last action
  int column = 0;  // 0 and 1: the keys, 2: the pad button
  bool waiting = false;
  std::string message;  // what the last change said: a refusal, the wait, the reset
};
extern ControlsView ControlsScreen;

// The text of a cell as drawn: an action's title, its keys (in the layout in use), its pad
// button; for the reset row, its entry in column 0 and nothing else.
std::string ControlsCellText(int row, int column);

// The main menu's way in: its hint line, and opening the screen on its first row.
constexpr const char* ControlsHint = "C: controls";
void OpenControlsScreen();

void DrawControlsScreen();
void ControlsScreenInput();
// The hint line at the bottom of the main menu, below its picture.
void DrawControlsHint();
