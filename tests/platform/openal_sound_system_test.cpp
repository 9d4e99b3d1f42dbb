// The OpenAL sound output on OpenAL Soft's silent driver: its mixer thread is stopped while a
// message box is shown and runs again after it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/message_box.h"
#include "platform/sound_system.h"

namespace {

// Threads of this process that OpenAL Soft named as its mixers.
int MixerThreads() {
  int mixers = 0;
  std::error_code error;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
    std::string name;
    std::getline(std::ifstream(task.path() / "comm"), name);
    if (name == "alsoft-mixer") ++mixers;
  }
  return mixers;
}

void WaitForMixers(int count) {
  while (MixerThreads() != count) std::this_thread::yield();
}

TEST(OpenAlSoundSystemTest, MixerIsStoppedWhileABoxIsShown) {
  setenv("ALSOFT_DRIVERS", "null", 1);
  std::unique_ptr<platform::SoundSystem> sound = platform::MakeOpenAlSoundSystem();
  std::string why;
  if (!sound->open(why)) GTEST_SKIP() << "no OpenAL output: " << why;
  WaitForMixers(1);

  int mixersDuringBox = -1;
  platform::SetMessageBoxHandler(
      [&](const std::string&, const std::string&, platform::Buttons, platform::Icon) {
        mixersDuringBox = MixerThreads();
        return platform::Answer::Yes;
      });
  EXPECT_EQ(platform::ShowMessageBox("Play?", "Quillon", platform::Buttons::YesNo,
                                     platform::Icon::Question),
            platform::Answer::Yes);
  EXPECT_EQ(mixersDuringBox, 0);
  platform::SetMessageBoxHandler(nullptr);
  WaitForMixers(1);  // mixing again after the box
}

}  // namespace
