// Records the message boxes a test raises instead of showing them, for the recorder's lifetime;
// every box is answered OK.
#pragma once

#include <string>
#include <vector>

#include "platform/message_box.h"

namespace testing_support {

class BoxRecorder {
 public:
  BoxRecorder() {
    platform::SetMessageBoxHandler([this](const std::string& text, const std::string& caption,
                                          platform::Buttons buttons, platform::Icon) {
      texts.push_back(text);
      captions.push_back(caption);
      okOnly = okOnly && buttons == platform::Buttons::Ok;
      return platform::Answer::Ok;
    });
  }
  ~BoxRecorder() { platform::SetMessageBoxHandler(nullptr); }
  BoxRecorder(const BoxRecorder&) = delete;
  BoxRecorder& operator=(const BoxRecorder&) = delete;

  std::vector<std::string> texts, captions;
  bool okOnly = true;  // every box had the OK button only
};

}  // namespace testing_support
