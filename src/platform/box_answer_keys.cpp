// The watch on Enter and Escape after a message box.
#include "platform/box_answer_keys.h"

#include "platform/keys.h"

namespace platform {
namespace {

struct Watch {
  int key;
  bool watched = false;
  double lastSeen = 0;  // time of the loop's first turn after the box, or of the latest drop
};

Watch gWatches[] = {{VK_RETURN}, {VK_ESCAPE}};
bool gBoxPending = false;

}  // namespace

void NoteMessageBoxAnswered() {
  ClearKeyState();
  gBoxPending = true;
  for (Watch& w : gWatches) w.watched = true;
}

bool DropAfterMessageBox(const Message* message, double now) {
  if (gBoxPending) {
    // The quiet time counts from when the game reads its queue again, not from the box: a
    // long load after the box must not use it up.
    gBoxPending = false;
    for (Watch& w : gWatches) w.lastSeen = now;
  }
  if (!message) {
    // Quiet is judged on turns that found the queue empty: on a slow machine one frame can
    // outlast the quiet time while the key's repeats wait in the queue behind it.
    for (Watch& w : gWatches) {
      if (w.watched && now - w.lastSeen > BoxAnswerQuietSeconds) w.watched = false;
    }
    return false;
  }
  for (Watch& w : gWatches) {
    if (!w.watched || message->key != w.key) continue;
    if (message->kind == MessageKind::KeyUp) {
      w.watched = false;
      return false;
    }
    if (message->kind == MessageKind::KeyDown) {
      w.lastSeen = now;
      return true;
    }
  }
  return false;
}

}  // namespace platform
