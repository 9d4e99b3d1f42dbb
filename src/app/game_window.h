// The one game window with its OpenGL context: creation (full screen or windowed), teardown,
// the projection for the client size, the fixed GL state, and the window procedure that keeps
// the keyboard state and the active flag.
#pragma once

#include "platform/window_system.h"

// Creates the window, context and scene; false after a message box on any failure.
bool CreateGameWindow(const char* title, int width, int height, int bits, bool fullscreen);
// Restores the display mode and releases context, window and video system; reports failures.
void DestroyGameWindow();
// Viewport and 45-degree perspective for a drawable of that size in pixels (height 0 taken as
// 1). In full screen the picture keeps the shape of the size the window was asked for, centred.
void ResizeScene(int width, int height);
// Main menu, game setup, fixed GL state, outline font; always succeeds.
bool InitScene();
// Applies one window message: keys, activation, size, close.
void WindowProc(const platform::Message& message);

// Colour bits the window's pixel format asks for: those of the first creation, kept after.
int PixelFormatColourBits();
