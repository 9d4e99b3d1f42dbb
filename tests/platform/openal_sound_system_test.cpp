// The OpenAL sound output on OpenAL Soft's silent driver: its mixer thread is stopped while a
// message box is shown and runs again after it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/message_box.h"
#include "platform/sound_system.h"

namespace {

// Threads of this process (the silent driver leaves its mixer unnamed, so all are counted).
int Threads() {
  int threads = 0;
  std::error_code error;
  for (auto task = std::filesystem::directory_iterator("/proc/self/task", error);
       task != std::filesystem::directory_iterator(); task.increment(error))
    ++threads;
  return threads;
}

TEST(OpenAlSoundSystemTest, MixerIsStoppedWhileABoxIsShown) {
  setenv("ALSOFT_DRIVERS", "null", 1);
  std::unique_ptr<platform::SoundSystem> sound = platform::MakeOpenAlSoundSystem();
  std::string why;
  if (!sound->open(why)) GTEST_SKIP() << "no OpenAL output: " << why;
  const int mixing = Threads();

  int threadsDuringBox = -1;
  platform::SetMessageBoxHandler(
      [&](const std::string&, const std::string&, platform::Buttons, platform::Icon) {
        threadsDuringBox = Threads();
        return platform::Answer::Yes;
      });
  EXPECT_EQ(platform::ShowMessageBox("Play?", "Quillon", platform::Buttons::YesNo,
                                     platform::Icon::Question),
            platform::Answer::Yes);
  EXPECT_EQ(threadsDuringBox, mixing - 1);  // the mixer was stopped and joined
  platform::SetMessageBoxHandler(nullptr);
  while (Threads() != mixing) std::this_thread::yield();  // mixing again after the box
}

}  // namespace
