// The main menu screen: the background picture and the pulsing highlight frame over the chosen
// entry (start a game or quit), and its keys.
#pragma once

#include <cstdint>

// Position, size and pulse colour of the stack of five outlines marking the current entry.
struct SelectionFrame {
  float x = -0.01f;
  float y = 0.34f;  // 0.34 on the start entry, -0.72 on the quit entry
  float z = 1.1f;
  float width = 1.6f;  // innermost rectangle; grows while drawing, restored afterwards
  float height = 0.25f;
  float red = 1.0f;
  float green = 1.0f;
  float blue = 1.0f;

  // One colour step: each component above 0.2 drops by its own step, otherwise jumps to 1.0.
  void pulse();
};

// The one highlight frame of the main menu (same name as its type, like the C `struct stat`).
extern struct SelectionFrame SelectionFrame;

// Main menu entry: 0 start a game, 1 quit.
extern int16_t MainMenuChoice;

// Frame positions of the two entries.
constexpr float SelectionFrameStartY = 0.34f;
constexpr float SelectionFrameQuitY = -0.72f;

// Puts the choice and its frame back on the start entry (with GameSetup, at every new window).
void ResetMainMenu();
// Draws one frame of the main menu.
void DrawMainMenu();
// ESC quits; Down and Up move between the entries (no wrap-around); Enter confirms.
void MainMenuInput();
