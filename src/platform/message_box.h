// Message boxes: the game's only error report. Shown by the active window system; tests
// install their own handler to record or answer them.
#pragma once

#include <functional>
#include <string>

namespace platform {

enum class Buttons { Ok, YesNo };
enum class Icon { Exclamation, Stop, Information, Question };
// Failed means the box could not be shown at all (no display); callers treat it as No.
enum class Answer { Ok, Yes, No, Failed };

// Shows a box owned by the game window when there is one. When the box cannot be shown the
// text is written to standard error so no failure passes silently. Our worker threads rest while
// the box is up (platform/worker_gate.h); it waits for the job each of them is in.
Answer ShowMessageBox(const std::string& text, const std::string& caption, Buttons buttons,
                      Icon icon);

using MessageBoxHandler = std::function<Answer(const std::string& text, const std::string& caption,
                                               Buttons buttons, Icon icon)>;

// Replaces the handler; an empty handler restores the default (the window system's box).
void SetMessageBoxHandler(MessageBoxHandler handler);

}  // namespace platform
