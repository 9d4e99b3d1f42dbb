// A replay's sounds through the recording output: a replayed crash sounds as the race did (the
// engine from the poses, hits, rumble, crash at their steps); a kept ghost has its engine, laps
// and finish; the replay's speed pitches it, above 2x it is silent, pause holds it; a replay of
// two plays both engines apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "game/players.h"
#include "race/race_of_two.h"
#include "replay/replay.h"
#include "replay/replay_sounds.h"
#include "support/race_sound_fixture.h"

namespace {

using testing_support::Call;
using testing_support::DrivingPlan;

class ReplaySoundsTest : public testing_support::RaceSoundsTest {
 protected:
  // Plays `frames` frames of `replay` from the start; the engine's low pitch and gain heard at
  // each step while car `car` races (on its seat), and every call kept in `out`.
  std::map<int, std::pair<float, float>> watch(Replay replay, int frames, int car = 0) {
    for (int i = 0; i < 20; ++i) SoundFrame();  // what played before dies away
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
  // The calls of a kind, by the step they came in at 1x (the frame).
  std::map<int, platform::RecordingSoundSystem::Event> byStep(Call call, Sound sound,
                                                              int shift = 0) {
    std::map<int, platform::RecordingSoundSystem::Event> found;
    for (const auto& e : out->calls(call, platform::SoundId(sound))) found[e.frame - shift] = e;
    return found;
  }
};

TEST_F(ReplaySoundsTest, AReplayedCrashSoundsAsTheRaceDid) {
  startRace();
  std::vector<int> stepOf;  // each frame of the race: the step just simulated
  std::map<int, std::pair<float, float>> raced;
  const auto report = testing_support::DriveRace(calendar, DrivingPlan::IntoWall, 30000, 60, [&] {
    endFrame();
    stepOf.push_back(int(Races[0].shownSeconds.size()) - 1);
    const auto& e = out->events;
    for (size_t i = e.size(); i-- > 0 && e[i].frame == out->frame - 1;)
      if (e[i].call == Call::Loop && e[i].voice == 0 && Races[0].state == Race::Running)
        raced[stepOf.back()] = {e[i].pitch, e[i].gain};
  });
  ASSERT_EQ(report.state, Race::Crashed);
  const int go = int(std::find(stepOf.begin(), stepOf.end(), 0) - stepOf.begin());
  const auto hits = byStep(Call::Play, Sound::Damage, go),
             crash = byStep(Call::Play, Sound::Crash, go);
  const auto rumble = byStep(Call::Loop, Sound::Rumble, go);
  ASSERT_TRUE(hits.size() >= 3 && crash.size() == 1);

  const Replay replay = Replay::OfRace(Races[0]);
  const auto replayed = watch(replay, replay.steps() + 30);
  // Each hit with its own pitch and gain, the rumble and the crash at the race's steps.
  const auto hitsAgain = byStep(Call::Play, Sound::Damage);
  ASSERT_EQ(hitsAgain.size(), hits.size());
  for (const auto& [step, e] : hits)
    EXPECT_TRUE(hitsAgain.count(step) && hitsAgain.at(step).pitch == e.pitch &&
                hitsAgain.at(step).gain == e.gain)
        << step;
  EXPECT_EQ(byStep(Call::Play, Sound::Crash).begin()->first, crash.begin()->first);
  std::vector<int> rumbleSteps, rumbleAgain;
  for (const auto& [step, e] : rumble) rumbleSteps.push_back(step);
  for (const auto& [step, e] : byStep(Call::Loop, Sound::Rumble))
    if (step < replay.steps()) rumbleAgain.push_back(step);
  EXPECT_EQ(rumbleAgain, rumbleSteps);
  // The engine as the race had it, step by step.
  ASSERT_EQ(replayed.size(), raced.size());
  for (const auto& [step, heard] : replayed) EXPECT_EQ(heard, raced[step]) << step;
}

TEST_F(ReplaySoundsTest, KeptGhostsAndRacesOfTwoAreHeardAtTheViewersSpeed) {
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
  for (const auto& [step, e] : byStep(Call::Play, Sound::Lap)) laps.push_back(step + 1);
  EXPECT_EQ(laps, std::vector<int>(ghost.path().lapSteps.begin(), ghost.path().lapSteps.end() - 1));
  EXPECT_EQ(byStep(Call::Play, Sound::Finish).begin()->first, last);

  // Its engine read from the poses: the speed within 1 % and Up held or not as the race had
  // them at nearly every step.
  int speedRight = 0, pushRight = 0;
  for (int k = 0; k < last; ++k) {
    const RecordedMotion motion = MotionAt(ghost.path(), k, &CarRoster[0]);
    const EngineStep raced = Races[0].sounds.engine()[size_t(k)];
    speedRight += std::abs(motion.speed - raced.speed) <= 0.01 * raced.speed + 1e-6;
    pushRight += motion.pushed == (raced.throttle > 0.5f);
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
  EXPECT_FALSE(out->audible());
  EXPECT_TRUE(out->calls(Call::Play).empty());
  watch(ghost, 1);
  EXPECT_TRUE(out->audible());

  // The race of two: both engines, each its car's own, apart as in the race.
  const auto one = watch(both, 200, 0), two = watch(both, 200, 1);
  const auto voiceTwo = out->calls(Call::Loop, platform::SoundId(Sound::EnginePizzaCar));
  ASSERT_TRUE(one.size() == 200u && two.size() == 200u && !voiceTwo.empty());
  EXPECT_TRUE(voiceTwo[0].voice == 3 && voiceTwo[0].pan > 0);
  EXPECT_LT(out->calls(Call::Loop, platform::SoundId(Sound::Engine))[0].pan, 0);
}

}  // namespace
