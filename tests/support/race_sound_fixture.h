// Shared set-up of the sound tests: the recording sound output with every sound file in place,
// a race of roster car 0 on the first built-in track, and the end of a main-loop frame.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "formats/bmp_writer.h"
#include "formats/wave_writer.h"
#include "game/game_setup.h"
#include "game/game_sounds.h"
#include "platform/keys.h"
#include "platform/recording_sound_system.h"
#include "race/race.h"
#include "support/autopilot.h"
#include "support/scratch_folder.h"
#include "track/track.h"
#include "track/track_definitions.h"

namespace testing_support {

using Call = platform::RecordingSoundSystem::Call;

class RaceSoundsTest : public ::testing::Test {
 protected:
  RaceSoundsTest() {
    std::filesystem::create_directories("Data/Sounds");
    for (int i = 0; i < SoundCount; ++i)
      formats::WriteBytesToFile(SoundFileName(Sound(i)),
                                formats::EncodeWave16(22050, 1, {100, -100, 200, -200}));
  }
  ~RaceSoundsTest() override {
    StopGameSound();
    MuteSoundForRun(false);
    SetSoundInBackground(false);
    Races[0].player = nullptr;
    Races[0].cars.clear();
    ClearKeyState();
  }
  void startSound(bool deviceMissing = false) {
    auto system = std::make_unique<platform::RecordingSoundSystem>();
    system->deviceMissing = deviceMissing;
    out = system.get();
    StartGameSound(std::move(system), true);
  }
  // A race of roster car 0 on the first built-in track, without any GL.
  void startRace() {
    startSound();
    track.curve = BuiltInTrackCurve(0);
    track.name = "Sunny";
    CarRoster[0].health = 8.0f;
    Races[0].track = &track;
    Races[0].cars.assign(1, CarState{});
    Races[0].player = &Races[0].cars.front();
    Races[0].player->car = &CarRoster[0];
    Races[0].start();
  }
  // The end of one main-loop frame.
  void endFrame() {
    SoundFrame();
    ++out->frame;
  }
  std::vector<int> frames(Call call, Sound sound) const {
    std::vector<int> found;
    for (const auto& e : out->calls(call, platform::SoundId(sound))) found.push_back(e.frame);
    return found;
  }

  testing_support::ScratchFolder scratch;
  testing_support::ManualCalendar calendar;
  platform::RecordingSoundSystem* out = nullptr;
  Track track;
};

}  // namespace testing_support
