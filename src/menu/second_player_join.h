// Player two on the car selection: joining with their own accelerate (their keys, or the second
// pad's button), leaving with their brake held for a second or their pad's Back, and the small
// line that names who has joined.
#pragma once

#include <string>

#include "game/players.h"
#include "platform/frame_rate.h"

// Frames player two's brake must be held to leave: one second of frames.
constexpr int LeaveHoldFrames = FramesPerSecond;

// One frame of joining and leaving, reading and taking KeyState.
void SecondPlayerJoinInput();
// Forgets a brake hold under way (the screen was left while it was held).
void ForgetLeaveHold();
// Sets who plays as player two and tells the window system whether the pads keep their players
// (while player two plays, on the keyboard or a pad).
void SetSecondPlayer(PlayerInput who);

// "Player 2: keyboard" or "Player 2: pad", ", choosing" added while they choose their car;
// empty with nobody joined.
std::string JoinedLineText(bool choosing);
// The line, small and still in the dark band at the top left, left of the picture and above the
// car; draws nothing with nobody joined.
void DrawJoinedLine(bool choosing);
