// The game's sounds through the recording output: a scripted race plays each in its frame
// (countdown, engine, laps, finish, new best, hits and rumble, crash, nitro) and its replay the
// same at the same steps, a race of two both engines apart, Escape fades the engine, the menus
// click, the volume steps and is kept, M, --mute and the background silence everything, and
// faults are said once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <tuple>

#include "formats/bmp_writer.h"
#include "formats/wave_writer.h"
#include "game/game_setup.h"
#include "game/game_sounds.h"
#include "game/players.h"
#include "menu/car_selection.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "platform/recording_sound_system.h"
#include "race/race.h"
#include "race/race_of_two.h"
#include "race/race_screen.h"
#include "race/race_sounds.h"
#include "records/settings.h"
#include "replay/replay.h"
#include "replay/replay_sounds.h"
#include "support/autopilot.h"
#include "support/scratch_folder.h"
#include "track/track.h"
#include "track/track_definitions.h"

namespace {

using Call = platform::RecordingSoundSystem::Call;
using testing_support::DrivingPlan;

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
  // Plays `frames` frames of `replay` from the start once what played before has died away: the
  // engine's low pitch and gain heard at each step while car `car` races.
  std::map<int, std::pair<float, float>> watch(Replay replay, int frames, int car = 0) {
    for (int i = 0; i < 20; ++i) SoundFrame();
    out->events.clear();
    out->frame = 0;
    ReplaySounds sounds;
    std::map<int, std::pair<float, float>> engine;
    for (int i = 0; i < frames; ++i) {
      sounds.frame(replay);
      endFrame();
      for (const auto& e : out->events)
        if (e.frame == i && e.call == Call::Loop && e.voice == 3 * car &&
            replay.step() < replay.path(car).steps() - 1)
          engine[replay.step()] = {e.pitch, e.gain};
      replay.advance();
    }
    return engine;
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

TEST_F(RaceSoundsTest, ARaceSoundsEachEventInItsFrame) {
  startRace();
  track.targets.medals = {{200, 150, 120}};  // the autopilot's first race wins gold
  const auto report =
      testing_support::DriveRace(calendar, DrivingPlan::FollowRoad, 30000, 60, [&] { endFrame(); });
  ASSERT_EQ(report.state, Race::Finished);
  const int finish = report.frames - 1;
  // "READY" has its own sound; "3", "2" and "1" beep as they appear, one second apart; "GO"
  // has its own.
  EXPECT_EQ(frames(Call::Play, Sound::Ready), (std::vector<int>{0}));
  EXPECT_EQ(frames(Call::Play, Sound::Beep), (std::vector<int>{60, 120, 180}));
  EXPECT_EQ(frames(Call::Play, Sound::Go), (std::vector<int>{240}));
  EXPECT_EQ(frames(Call::Play, Sound::Lap).size(), 1u);
  EXPECT_EQ(frames(Call::Play, Sound::Finish), (std::vector<int>{finish}));
  EXPECT_TRUE(frames(Call::Play, Sound::Crash).empty());

  // The engine idles on its low recording at its own pitch until the race runs (frame 300),
  // then follows the speed; at speed the high recording (made at twice the revs) takes over.
  auto driven = [&](Sound sound) {
    auto calls = out->calls(Call::Loop, platform::SoundId(sound));
    std::erase_if(calls, [&](const auto& e) { return e.frame >= finish; });
    return calls;
  };
  const auto low = driven(Sound::Engine), high = driven(Sound::EngineHigh);
  ASSERT_EQ(low.size(), high.size());
  float highest = 0;
  for (size_t i = 0; i < low.size(); ++i) {
    const auto& e = low[i];
    EXPECT_TRUE(e.frame <= 300 ? e.pitch == 1.0f : e.pitch > 1.0f) << e.frame << " " << e.pitch;
    EXPECT_FLOAT_EQ(high[i].pitch * 2, e.pitch);
    EXPECT_TRUE(e.pan == 0 && e.voice == 0);  // alone: in the middle
    if (e.frame <= 300) {
      EXPECT_EQ(high[i].gain, 0.0f);
    }
    highest = std::max(highest, e.pitch);
    EXPECT_LE(e.pitch, 2.4f);
    // Equal power across the cross-fade: never a dip between the two.
    EXPECT_GE(std::hypot(e.gain, high[i].gain), 0.55f - 1e-4f) << e.frame;
  }
  EXPECT_GT(highest, 2.0f);
  EXPECT_GT(high.back().gain, low.back().gain);
  EXPECT_TRUE(out->calls(Call::Loop, platform::SoundId(Sound::Rumble)).empty());  // on the road

  // After the finish: the engine dies away within 18 frames, the new best flourish follows, and
  // the new medal's chime after it, a fifth higher.
  EXPECT_EQ(Races[0].newMedal, Medal::Gold);
  for (int i = 0; i < 160; ++i) {
    Races[0].step();
    endFrame();
  }
  ASSERT_EQ(out->calls(Call::StopLoop).size(), 2u);
  EXPECT_LE(out->calls(Call::StopLoop)[0].frame - finish, 18);
  EXPECT_EQ(frames(Call::Play, Sound::NewBest), (std::vector<int>{finish + 90, finish + 150}));
  EXPECT_EQ(out->calls(Call::Play, platform::SoundId(Sound::NewBest)).back().pitch, 1.5f);
  // The same time again wins nothing new: the medal follows from the best time, unchanged.
  Races[0].start();
  testing_support::DriveRace(calendar, DrivingPlan::FollowRoad);
  EXPECT_TRUE(Races[0].state == Race::Finished && Races[0].newMedal == Medal::None);
}

TEST_F(RaceSoundsTest, ACrashBangsOnceHitsAreSpacedAndItsReplaySoundsTheSame) {
  startRace();
  std::map<int, std::pair<float, float>> raced;  // the engine at each step while running
  const auto report = testing_support::DriveRace(calendar, DrivingPlan::IntoWall, 30000, 60, [&] {
    endFrame();
    for (const auto& e : out->events)
      if (e.frame == out->frame - 1 && e.call == Call::Loop && e.voice == 0 &&
          Races[0].state == Race::Running)
        raced[int(Races[0].shownSeconds.size()) - 1] = {e.pitch, e.gain};
  });
  ASSERT_EQ(report.state, Race::Crashed);
  EXPECT_EQ(frames(Call::Play, Sound::Crash), (std::vector<int>{report.frames - 1}));
  const auto hits = frames(Call::Play, Sound::Damage);
  ASSERT_GE(hits.size(), 3u);
  EXPECT_LT(int(hits.size()), report.borderHits);
  for (size_t i = 1; i < hits.size(); ++i) EXPECT_GE(hits[i] - hits[i - 1], 30);
  // Each hit within 10 % of the recording's pitch and 2 dB of its gain, never the same twice in
  // a row.
  const auto played = out->calls(Call::Play, platform::SoundId(Sound::Damage));
  for (size_t i = 0; i < played.size(); ++i) {
    EXPECT_NEAR(played[i].pitch, 1.0f, 0.1001f);
    EXPECT_NEAR(20 * std::log10(played[i].gain), 0.0f, 2.001f);
    if (i > 0) {
      EXPECT_GE(std::fabs(played[i].pitch - played[i - 1].pitch), 0.039f) << i;
    }
  }
  // The rumble starts with the first hit and goes on while the car grinds along the border:
  // the only silences are half a second or more back on the road, not a stutter between hits.
  const auto rumble = frames(Call::Loop, Sound::Rumble);
  ASSERT_FALSE(rumble.empty());
  EXPECT_EQ(rumble.front(), hits.front());
  for (size_t i = 1; i < rumble.size(); ++i)
    if (rumble[i] != rumble[i - 1] + 1) {
      EXPECT_GT(rumble[i] - rumble[i - 1], 30) << rumble[i];
    }

  // Replayed (step k at frame k; the race ran from frame `go`): the same hits at their pitch and
  // gain, the rumble and the crash at the same steps, the engine as raced at every step.
  const int go = report.frames - Races[0].ghost.recorded().steps();
  const auto heard = [&](Call call, Sound sound, int from, int until) {
    std::vector<std::tuple<int, float, float>> found;
    for (const auto& e : out->calls(call, platform::SoundId(sound)))
      if (e.frame - from < until) found.emplace_back(e.frame - from, e.pitch, e.gain);
    return found;
  };
  const auto hitsRaced = heard(Call::Play, Sound::Damage, go, 1 << 30);
  const auto rumbleRaced = heard(Call::Loop, Sound::Rumble, go, 1 << 30);
  const Replay replay = Replay::OfRace(Races[0]);
  const auto replayed = watch(replay, replay.steps() + 30);
  EXPECT_EQ(heard(Call::Play, Sound::Damage, 0, replay.steps()), hitsRaced);
  EXPECT_EQ(heard(Call::Loop, Sound::Rumble, 0, replay.steps()), rumbleRaced);
  EXPECT_EQ(frames(Call::Play, Sound::Crash), (std::vector<int>{replay.steps() - 1}));
  EXPECT_EQ(replayed, raced);
}

TEST_F(RaceSoundsTest, TheRumbleFollowsTheSpeedAndStopsOnTheRoad) {
  startRace();
  Races[0].state = Race::Running;
  CarState& car = *Races[0].player;
  auto hitAt = [&](float speed) {
    car.velocity = {speed, 0, 0};
    CarRoster[0].health -= 0.23f;
    Races[0].sounds.frame(Races[0], false);
    endFrame();
    return out->calls(Call::Loop, platform::SoundId(Sound::Rumble)).back();
  };
  Races[0].sounds.frame(Races[0], false);
  endFrame();
  const auto slow = hitAt(0.01f), fast = hitAt(0.1f);
  EXPECT_GT(fast.gain, slow.gain);
  EXPECT_GT(fast.pitch, slow.pitch);
  // Back on the road: it holds a moment, then fades out and stops.
  int frame = 0;
  for (; frame < 60 && out->calls(Call::StopLoop).empty(); ++frame) {
    Races[0].sounds.frame(Races[0], false);
    endFrame();
  }
  ASSERT_EQ(out->calls(Call::StopLoop).size(), 1u);
  EXPECT_EQ(out->calls(Call::StopLoop)[0].voice, int(Loop::Rumble));
  EXPECT_GT(frame, 12);
  EXPECT_LE(frame, 12 + 18);
}

TEST_F(RaceSoundsTest, InARaceOfTwoBothEnginesAndBothCarsEventsAreHeardApart) {
  startRace();
  Players[1].carIndex = 1;
  StartRaceBeside(Players[1]);
  for (int frame = 0; frame < 400; ++frame) {
    if (frame > 0 && frame % 60 == 0) calendar.advance();
    if (frame == 350) Races[1].player->nitro -= 1;          // as player two's key takes one
    if (frame == 351) Races[1].player->position.z += 1.0f;  // and off the road
    StepRaceOfTwo();
    endFrame();
  }
  EndRacesBeside();
  Players[1].carIndex = 0;
  // One countdown; player two's nitro and rumble on their own side, quieter.
  EXPECT_EQ(frames(Call::Play, Sound::Beep), (std::vector<int>{60, 120, 180}));
  const auto nitro = out->calls(Call::Play, platform::SoundId(Sound::Nitro));
  ASSERT_EQ(nitro.size(), 1u);
  EXPECT_EQ(std::tuple(nitro[0].frame, nitro[0].gain, nitro[0].pan), std::tuple(350, 0.72f, 0.3f));
  const auto rumble = out->calls(Call::Loop, platform::SoundId(Sound::Rumble));
  ASSERT_FALSE(rumble.empty());
  for (const auto& e : rumble) EXPECT_EQ(std::tuple(e.voice, e.pan), std::tuple(5, 0.3f));
  // Both engines once a frame, each its car's own, player one's at the left on the first
  // voices, player two's at the right on their own and quieter; both idle at their own pitch.
  const auto one = out->calls(Call::Loop, platform::SoundId(Sound::Engine));
  const auto two = out->calls(Call::Loop, platform::SoundId(Sound::EnginePizzaCar));
  ASSERT_TRUE(one.size() == 400u && two.size() == 400u);
  for (size_t i = 0; i < one.size(); ++i) {
    EXPECT_EQ(std::tuple(one[i].voice, one[i].pan, two[i].voice, two[i].pan),
              std::tuple(0, -0.3f, 3, 0.3f));
    if (one[i].frame < 300) {
      EXPECT_TRUE(one[i].pitch == 1.0f && two[i].pitch == 1.0f) << one[i].frame;
      EXPECT_FLOAT_EQ(two[i].gain, 0.8f * one[i].gain);
    }
  }
}

TEST_F(RaceSoundsTest, EachCarOfTheRosterHasItsOwnEngineWhateverItsHealth) {
  // The quick car brightens soonest, the slow one latest (each car's own recordings: below and
  // in the races of two).
  CarRoster[1].acceleration = 0.00031f;
  CarRoster[2].acceleration = 0.00018f;
  const EngineVoice smile = VoiceOf(&CarRoster[0]), pizza = VoiceOf(&CarRoster[1]),
                    taco = VoiceOf(&CarRoster[2]);
  EXPECT_GT(pizza.brightness, smile.brightness);
  EXPECT_LT(taco.brightness, smile.brightness);

  // A FlyingTaco standing against a wall for ten seconds, losing health: its engine idles at
  // its own recording's pitch throughout.
  startRace();
  Races[0].player->car = &CarRoster[2];
  CarRoster[2].health = 18.0f;
  Races[0].state = Race::Running;
  for (int frame = 0; frame < 600; ++frame) {
    CarRoster[2].health -= 0.02f;
    Races[0].sounds.frame(Races[0], false);
    endFrame();
  }
  const auto engine = out->calls(Call::Loop, platform::SoundId(Sound::EngineFlyingTaco));
  ASSERT_EQ(engine.size(), 600u);
  for (const auto& e : engine) EXPECT_EQ(e.pitch, 1.0f) << e.frame;
  EXPECT_EQ(out->calls(Call::Loop, platform::SoundId(Sound::EngineFlyingTacoHigh)).size(), 600u);
  CarRoster[1].acceleration = CarRoster[2].acceleration = 0.0002f;
}

TEST_F(RaceSoundsTest, NitroWhooshesAndEscapeFadesTheEngine) {
  startRace();
  Races[0].state = Race::Running;
  Races[0].step();
  endFrame();
  KeyState[0x4E] = true;  // N
  Races[0].handleInput();
  Races[0].step();
  EXPECT_EQ(frames(Call::Play, Sound::Nitro).size(), 1u);
  endFrame();
  ScreenState = screen::Race;
  KeyState[VK_ESCAPE] = true;
  RaceScreenInput();
  ASSERT_EQ(ScreenState, 0);
  // The race is no longer stepped: each frame the engine is quieter, until it stops.
  const auto engine = [&] { return out->calls(Call::Loop, platform::SoundId(Sound::Engine)); };
  float gain = engine().back().gain;
  int frame = 0;
  for (; frame < 30 && out->calls(Call::StopLoop).size() < 2; ++frame) {
    const size_t before = engine().size();
    endFrame();
    if (engine().size() > before) {
      EXPECT_LT(engine().back().gain, gain);
      gain = engine().back().gain;
    }
  }
  EXPECT_LE(frame, 18);
}

TEST_F(RaceSoundsTest, MenusClickAndTheKeysAndWindowSilenceEverything) {
  startSound();
  ScreenState = screen::CarSelection;
  Players[0].carIndex = 0;
  for (int key : {VK_LEFT, VK_RIGHT, VK_RETURN}) {
    KeyState[key] = true;
    CarSelectionInput();
  }
  ScreenState = screen::CarSelection;
  KeyState[VK_ESCAPE] = true;
  CarSelectionInput();
  std::vector<platform::SoundId> played;
  for (const auto& e : out->calls(Call::Play)) played.push_back(e.sound);
  // Left at the first car moves nothing and says nothing.
  EXPECT_EQ(played, (std::vector<platform::SoundId>{int(Sound::Tick), int(Sound::Confirm),
                                                    int(Sound::Back)}));

  // The volume: 8 at first, a step down and up again, kept, 0 silent, never past 0 or 10.
  EXPECT_EQ(SoundVolume(), 8);
  const float start = out->volume();
  EXPECT_LT(start, 1.0f);
  EXPECT_LT(SoundVolumeChangedAt(), 0);
  ChangeSoundVolume(+1);
  EXPECT_GT(out->volume(), start);
  EXPECT_GE(SoundVolumeChangedAt(), 0);
  for (int i = 0; i < 12; ++i) ChangeSoundVolume(-1);
  EXPECT_EQ(SoundVolume(), 0);
  EXPECT_FALSE(out->audible());
  for (int i = 0; i < 12; ++i) ChangeSoundVolume(+1);
  GameSettings.reload();
  EXPECT_EQ(SoundVolume(), 10);
  EXPECT_EQ(out->volume(), 1.0f);
  ChangeSoundVolume(-2);

  ASSERT_TRUE(out->audible());
  ToggleSound();  // M
  EXPECT_FALSE(out->audible());
  GameSettings.reload();
  EXPECT_FALSE(GameSettings.sound());  // kept in the settings file
  ToggleSound();
  EXPECT_TRUE(out->audible());
  EXPECT_TRUE(GameSettings.sound());
  MuteSoundForRun(true);  // --mute: silent, the kept choice untouched
  EXPECT_FALSE(out->audible());
  EXPECT_TRUE(GameSettings.sound());
  ToggleSound();  // M brings the sound back in a muted run
  EXPECT_TRUE(out->audible());
}

TEST_F(RaceSoundsTest, FaultsAreSaidOnceAndLeaveTheRestPlaying) {
  testing::internal::CaptureStderr();
  startSound(true);
  PlaySound(Sound::Tick);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "quillon: no audio device could be opened; playing without sound\n");

  std::filesystem::remove(SoundFileName(Sound::Tick));
  std::ofstream(SoundFileName(Sound::Lap)) << "RIFF";
  testing::internal::CaptureStderr();
  startSound();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
  EXPECT_NE(said.find("Data/Sounds/tick.wav"), std::string::npos) << said;
  EXPECT_NE(said.find("Data/Sounds/lap.wav"), std::string::npos) << said;
  PlaySound(Sound::Tick);
  PlaySound(Sound::Confirm);
  ASSERT_EQ(out->calls(Call::Play).size(), 2u);
  EXPECT_EQ(out->calls(Call::Play)[0].sound, platform::NoSound);
}

TEST_F(RaceSoundsTest, KeptGhostsAndRacesOfTwoAreHeardAtTheViewersSpeed) {
  startRace();
  Players[1].input = PlayerInput::Keyboard;
  Players[1].carIndex = 1;
  StartRaceBeside(Players[1]);
  const auto report = testing_support::DriveRaceOfTwo(calendar);
  Players[1].input = PlayerInput::None;
  Players[1].carIndex = 0;
  ASSERT_TRUE(report.one.state == Race::Finished && report.two.state == Race::Finished);
  Replay both = Replay::OfRace(Races[0]);
  both.addRace(Races[1]);
  EndRacesBeside();

  // A kept ghost (no marks): its engine throughout, each lap but the last, and the finish.
  const Replay ghost(Races[0].ghost.recorded(), &track, &CarRoster[0]);
  const int last = ghost.steps() - 1;
  const auto normal = watch(ghost, last + 30);
  EXPECT_EQ(int(normal.size()), last);
  std::vector<int> laps;
  for (int frame : frames(Call::Play, Sound::Lap)) laps.push_back(frame + 1);
  EXPECT_EQ(laps, std::vector<int>(ghost.path().lapSteps.begin(), ghost.path().lapSteps.end() - 1));
  EXPECT_EQ(frames(Call::Play, Sound::Finish), std::vector<int>{last});

  // Its engine read from the poses: the speed within 1 % and Up held or not as the race had
  // them at nearly every step.
  int speedRight = 0, pushRight = 0;
  for (int k = 0; k < last; ++k) {
    const auto [speed, pushed] = MotionAt(ghost.path(), k, &CarRoster[0]);
    const EngineStep raced = Races[0].sounds.engine()[size_t(k)];
    speedRight += std::abs(speed - raced.speed) <= 0.01 * raced.speed + 1e-6;
    pushRight += pushed == (raced.throttle > 0.5f);
  }
  EXPECT_GE(speedRight, last * 99 / 100);
  EXPECT_GE(pushRight, last * 85 / 100);

  // Half speed: the same steps an octave down. 4x: silent.
  Replay slow = ghost;
  slow.slower();
  for (const auto& [step, heard] : watch(slow, 400))
    EXPECT_FLOAT_EQ(heard.first, 0.5f * normal.at(step).first) << step;
  Replay fast = ghost;
  fast.faster();
  fast.faster();
  watch(fast, 60);
  EXPECT_TRUE(out->calls(Call::Play).empty() && out->calls(Call::Loop).empty());
  // Paused: held silent, heard again once it goes on.
  Replay paused = ghost;
  paused.togglePause();
  watch(paused, 2);
  EXPECT_TRUE(!out->audible() && out->calls(Call::Play).empty());
  watch(ghost, 1);
  EXPECT_TRUE(out->audible());
  // The race of two: both engines, each its car's own, apart as in the race.
  EXPECT_TRUE(watch(both, 200, 0).size() == 200u && watch(both, 200, 1).size() == 200u);
  const auto two = out->calls(Call::Loop, platform::SoundId(Sound::EnginePizzaCar));
  EXPECT_TRUE(!two.empty() && two[0].pan > 0 &&
              out->calls(Call::Loop, platform::SoundId(Sound::Engine))[0].pan < 0);
}

}  // namespace
