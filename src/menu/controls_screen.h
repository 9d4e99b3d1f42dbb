// The controls screen, opened from the main menu: every action with its two keys and its pad
// button; Up and Down choose an action, Left and Right a column, Enter waits for the new key
// or button (Escape cancels), Backspace empties a cell, and the last entry puts back every
// default. Each change is written to the settings at once. Tab turns to player two's page (their
// driving actions, the same editing) and back.
#pragma once

#include <cstdint>
#include <string>

struct ControlsView {
  int player = 1;  // whose page: 1, or 2 for player two's actions
  int row = 0;     // an action, or the reset entry after the last action of the page
  int column = 0;  // 0 and 1: the keys, 2: the pad button
  bool waiting = false;
  std::string message;  // what the last change said: a refusal, the wait, the reset
};
extern ControlsView ControlsScreen;

// The text of a cell of a player's page as drawn: an action's title, its keys (in the layout in
// use), its pad button; for the reset row, its entry in column 0 and nothing else.
std::string ControlsCellText(int row, int column, int player = 1);
// The line naming the key that turns the page, at the top right.
constexpr const char* ControlsPageHint[2] = {"Tab: player 2", "Tab: player 1"};

// The main menu's way in: its hint line, and opening the screen on its first row.
constexpr const char* ControlsHint = "C: controls";
void OpenControlsScreen();

void DrawControlsScreen();
void ControlsScreenInput();
// The hint line at the bottom of the main menu, below its picture.
void DrawControlsHint();
