// Keeps the keys that answered a message box from also acting on the game behind it.
#pragma once

#include "platform/window_system.h"

namespace platform {

// Called when a message box has been answered: every key is taken as released (releases made
// while the box had the keyboard never reach the game), and Enter and Escape, the keys that
// answer boxes, are watched.
void NoteMessageBoxAnswered();

// Called on every turn of the main loop with the message taken (null when the queue was empty)
// and the monotonic time in seconds. True when the message is the tail of a box's answer and
// must be dropped: a key-down of a watched key (the key still held as the box closed, its
// auto-repeat, or the press the window system reports again when the game gets the focus
// back). A key stops being watched at its key-up, or at a turn with an empty queue once no
// key-down of it has come for BoxAnswerQuietSeconds from the loop's first turn after the box.
bool DropAfterMessageBox(const Message* message, double now);

constexpr double BoxAnswerQuietSeconds = 0.3;

}  // namespace platform
