// The watch on Enter and Escape after a message box: which key messages are dropped, when.
#include "platform/box_answer_keys.h"

#include <gtest/gtest.h>

#include "platform/keys.h"

namespace {

using platform::DropAfterMessageBox;
using platform::Message;
using platform::MessageKind;

struct Turn {
  double time;
  MessageKind kind;
  int key;
  bool dropped;
  bool idleTurnBefore = false;  // the loop found its queue empty just before this message
};

TEST(BoxAnswerKeys, DropsTheAnswerKeysUntilReleasedOrQuiet) {
  struct Case {
    const char* name;
    std::vector<Turn> turns;
  } cases[] = {
      {"held Enter and its repeats, then its release and a fresh press",
       {{0.0, MessageKind::KeyDown, VK_RETURN, true},
        {0.2, MessageKind::KeyDown, VK_RETURN, true},
        {0.45, MessageKind::KeyDown, VK_RETURN, true},
        {0.5, MessageKind::KeyUp, VK_RETURN, false},
        {0.6, MessageKind::KeyDown, VK_RETURN, false}}},
      {"a press after the quiet time counts",
       {{0.0, MessageKind::KeyUp, 'A', false},
        {0.31, MessageKind::KeyDown, VK_ESCAPE, false, true}}},
      {"repeats queued behind a frame longer than the quiet time still drop",
       {{0.5, MessageKind::KeyDown, VK_RETURN, true},
        {0.51, MessageKind::KeyDown, VK_RETURN, true}}},
      {"other keys pass; Escape is watched on its own",
       {{0.0, MessageKind::KeyDown, VK_UP, false},
        {0.1, MessageKind::KeyUp, VK_RETURN, false},
        {0.1, MessageKind::KeyDown, VK_RETURN, false},
        {0.2, MessageKind::KeyDown, VK_ESCAPE, true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::NoteMessageBoxAnswered();
    // A long load after the box: the quiet time starts at the loop's next turn.
    EXPECT_FALSE(DropAfterMessageBox(nullptr, 100.0));
    for (const Turn& t : c.turns) {
      Message m = {};
      m.kind = t.kind;
      m.key = t.key;
      if (t.idleTurnBefore) DropAfterMessageBox(nullptr, 100.0 + t.time);
      EXPECT_EQ(DropAfterMessageBox(&m, 100.0 + t.time), t.dropped) << t.time;
    }
    DropAfterMessageBox(nullptr, 1000.0);  // every watch over
  }
}

}  // namespace
