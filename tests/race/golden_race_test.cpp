// Built-in races pinned: every built-in track with every car under a few fixed key plans. Each
// frame's car state, laps and health are folded into a chained hash; its top byte every 64
// frames and its full value at the end must be the ones written here, so a change to how a
// built-in race drives fails naming the race and the frames where it first differs. Whatever
// the pins, the autopilot finishes every race and the car driven into the wall is wrecked at its
// hit count.
// QUILLON_PIN_RACES=1 prints the table anew (for a change that means to alter the races).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "race_fixture.h"

namespace {

using race_testing::RaceTest;

enum Plan { Autopilot, Crash, NitroAndViews };
constexpr const char* PlanNames[] = {"autopilot", "crash", "nitro and views"};
constexpr int Span = 64;  // frames between two checked bytes

// FNV-1a over the bytes of each value.
struct Hash {
  uint64_t value;
  template <typename T>
  void add(const T& field) {
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &field, sizeof(T));
    for (unsigned char b : bytes) value = (value ^ b) * 1099511628211ull;
  }
  void add(const Vector3f& v) { add(v.x), add(v.y), add(v.z); }
};

// The previous frame's hash with every field of the race that a step or a key changes.
uint64_t FrameHash(uint64_t previous) {
  const Race& race = Races[0];
  const CarState& car = *race.player;
  Hash hash{previous};
  hash.add(car.position), hash.add(car.rotation), hash.add(car.velocity);
  hash.add(car.angularVelocity), hash.add(car.force), hash.add(car.torque);
  hash.add(car.nitro), hash.add(car.laps), hash.add(car.checkpoint1), hash.add(car.checkpoint2);
  hash.add(race.nearestIndex), hash.add(race.state), hash.add(race.view), hash.add(race.health());
  return hash.value;
}

// One pinned race: its frames, the hash after the last one, and the hash's top byte after
// every 64th frame as two hex digits.
struct Pinned {
  int frames;
  uint64_t last;
  const char* spans;
};

// Track by track, car by car, plan by plan.
const Pinned PinnedRaces[27] = {
    {6925, 0xd2bc95d5ff59c12aull,
     "8ce9c5d8b62b4a2356db603a299bef72a46a29613a93f462370126c21f2f123b9b0de798bac6fec5995061e2"
     "a3760d8ce50ff67ce95fdddc57fda137a743f72ebac553688dfb720f49fc25995ae058a5b8392a399a2599eb"
     "7d7f767b5df506aea42e2b40dab38625cdf86cbb"},
    {826, 0x9bc603ddf031b860ull, "59842bac3fd1d7d14b8b762b"},
    {960, 0x88bb581f1567c084ull, "8c7a81f22cce5bb6f701bf4c6a0588"},
    {6076, 0x5c006fcedbb2a0fdull,
     "ccdd59113a34118c437593495780a0359399a7c2d50e26926937c667dcce79d383b0fe1fab4e5de010b7c8da"
     "a9d2110397bfe6f232d1677f069e84c8c6c8c8906d752cf53923f6f577314e2b0cb9a436b6efba70f8bda139"
     "eab35465ad6f"},
    {524, 0xbb9670bdcc31d6adull, "ede19092cdd66139"},
    {960, 0x2f31b568ff0c5b5bull, "ccf61a4f014a11982693846821e32f"},
    {7718, 0x892beb43d0b39b77ull,
     "521f95c97b38171f50b08419dd8bd82c65973caba26918e7b2ee9ed70fd020309e584d31dcebff337f8733d0"
     "783c9967b40050a2d83d21af6281373a14de00c937e60d106235e7a2c7e8557fc1a0f184c0e6eb3d106b199e"
     "387049dc36b7ad0e59475a5dcedd22ef3227a92d7e44e6c37b735d34995896e5"},
    {1452, 0x4bca29d548613fb4ull, "4900f9b0128a0faebe6d6ea4b3947f3dbb84dd267fed"},
    {960, 0x8266a4694fedd0e5ull, "52d4dc7069616684f6d3c58c543582"},
    {8381, 0x6c29dff2210d3a98ull,
     "24e47e8025bd7fdb45dd1fadbea34785ddf0c2547994e52c5ce26d9e7fadfcda2e394a45c51762328f4e9c6d"
     "60e7331652e824bb712f21b430d0c64916822bf6df59089bf7656c9569177e0836066930ffdf36fceebc7b78"
     "4beb9b22309d58ec0b483eb07c28e1c6404d441b98bc4ae950106977375179055f83f17818b681a15efb"},
    {834, 0xda3215453ff40680ull, "d02873caa2826b62f3c44b71f2"},
    {960, 0xb47e5338a57fae47ull, "24ea7ca2d59a5325d1d85cf4c660b4"},
    {7459, 0x8cbc9b80a6992aceull,
     "15f5d340d311be5627e349e3cd297535533a34e7ef2681d13374ff518c72d862fcd9c8a66dfe2509acf9253a"
     "653770e861efe4292746c10dad34fed99f1ca5b80d76e8b0685264fe315f25cf602859de77d15f410811024b"
     "9156b3944ffbed45d9b23adcd57c39496ef6a09c4f3a95b667710a52"},
    {534, 0x346588ae98bcb819ull, "2d061b9d99b1d2c5"},
    {960, 0xeb7b229fc66de563ull, "155460e011a258b3ded4150ec51deb"},
    {9257, 0xdef19df89fbc0c94ull,
     "0f4159f9e8f194fad9827888e8d6c5f6004ceb5d905c2980da28ba26e04783d12795584e7d5ed0a3f8d4b804"
     "6e7b9a8c646b09ba2fb38dd0f3158e203977855590b00ce3b66da28aa169ecac4807de4d397b50d87259eb5c"
     "d3290818af75d546168606233180940f4ccf1999a8920ed53745de0d848d4345a7fe9a36b3b61ab5ad18b583"
     "f67c4072fd04cb89248fea21"},
    {1380, 0xb7ccd1173e73fa73ull, "7e20013cd32af023c7fda8713f920552b4b5f6b8d8"},
    {960, 0x849cf2b30ababbe4ull, "0f149b07bb9953deb414ade8bb1d84"},
    {7268, 0x5b5ccab0c43bae58ull,
     "4ef00e8fa965fa94728f182df6f01a10953d086d20112d87a6e615736807c29869062228c5835ee74e797532"
     "4a67f7545e948ed3fc16f828813a6917baa492e239ea4b1d7feef8181ac48f072e7702a85095368ace040afb"
     "ef92451f03e554b1c3a9880f3fc138fdbbe691fe4116694bef"},
    {834, 0xce7f2654194a09f8ull, "94b51006f488f6b3cd51a5717c"},
    {960, 0xbd7192d196df0a52ull, "4e7ef37a40ec15efdadf5cb0ddc6bd"},
    {6480, 0x6a21e4ae2162e85full,
     "0b6beca679391edb8a8d0575a9fc59056f504a55c4d481bee39c33d198fba3c20aef18d26076970819a14d79"
     "fff0425668d2bcd25d933df88cd9eb73f5cf84a5d07806d07ea33aef3da73722afea280bb6d7c644c59e4276"
     "194dfd47833664566df6b2a188"},
    {531, 0x034270a639aff9f1ull, "9526d3e9c876775b"},
    {960, 0x6546d235aa6609a0ull, "0b825ac12ad196b5098edbe5d88a65"},
    {8140, 0xcaa3636f0a7b195aull,
     "4608a3e807bf5fc62c37c0fb775c2e9c6cafef3d376698893cd0f0ddcf79db66f8dcf5d1b6760f69100d413e"
     "19b3b43292220d34fa614806d12b5f6620c392d07f128ad2fd07b471271a6921473e76b63c9c1791a801b55e"
     "4d36b7e4fd78278d358ef955ed2a4fa69618c853fc613c3109742cc9412247986b33f6551bd969"},
    {1380, 0xcd391b2e4ca248ccull, "d11937967239ef0252cd2b69bf132bac49b2515585"},
    {960, 0x008ce37796423d47ull, "46ed71776bd833af6eb1f10588c700"},
};

// Drives the started race under the plan, noting the hash after each frame.
testing_support::AutopilotReport Drive(testing_support::ManualCalendar& calendar, Plan plan,
                                       std::vector<uint64_t>& hashes) {
  auto afterStep = [&] {
    hashes.push_back(FrameHash(hashes.empty() ? 1469598103934665603ull : hashes.back()));
    // Nitro every two seconds, the chase view after five and the driver's view after ten.
    const size_t frame = hashes.size();
    if (plan == NitroAndViews) {
      KeyState['N'] = frame % 120 == 0;
      KeyState['2'] = frame == 300;
      KeyState['1'] = frame == 600;
    }
  };
  using testing_support::DrivingPlan;
  return testing_support::DriveRace(calendar,
                                    plan == Crash ? DrivingPlan::IntoWall : DrivingPlan::FollowRoad,
                                    plan == NitroAndViews ? 960 : 30000, 60, afterStep);
}

std::string SpanBytes(const std::vector<uint64_t>& hashes) {
  std::string spans;
  char hex[3];
  for (size_t end = Span; end <= hashes.size(); end += Span) {
    std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned>(hashes[end - 1] >> 56));
    spans += hex;
  }
  return spans;
}

// Empty when the race drove as pinned, else where it first differs.
std::string Difference(const std::vector<uint64_t>& hashes, const Pinned& pinned) {
  const std::string spans = SpanBytes(hashes), expected = pinned.spans;
  size_t same = 0;  // whole spans that match
  while (same < spans.size() / 2 && same < expected.size() / 2 &&
         spans.compare(2 * same, 2, expected, 2 * same, 2) == 0)
    ++same;
  const int from = static_cast<int>(same) * Span + 1;
  const int frames = static_cast<int>(hashes.size());
  if (same == expected.size() / 2 && frames == pinned.frames && hashes.back() == pinned.last)
    return {};
  std::string text = "first differs in frames " + std::to_string(from) + " to " +
                     std::to_string(std::min(from + Span - 1, std::max(frames, pinned.frames))) +
                     " (the same up to frame " + std::to_string(from - 1) + ")";
  if (frames != pinned.frames)
    text += "; ran " + std::to_string(frames) + " frames, pinned " + std::to_string(pinned.frames);
  return text;
}

TEST_F(RaceTest, EveryBuiltInTrackDrivesAsPinnedWithEveryCarUnderEveryPlan) {
  const bool print = std::getenv("QUILLON_PIN_RACES") != nullptr;
  // 8.0, 4.5 and 18.0 health at 0.23 a hit: the 35th, 20th and 79th hits go below zero.
  const int hitsToCrash[3] = {35, 20, 79};
  for (int track = 0; track < 3; ++track) {
    for (int car = 0; car < 3; ++car) {
      for (Plan plan : {Autopilot, Crash, NitroAndViews}) {
        SCOPED_TRACE(testing::Message() << TrackTable[track].name << ", " << CarRoster[car].name
                                        << ", " << PlanNames[plan]);
        startRace(car, track);
        std::vector<uint64_t> hashes;
        const auto report = Drive(calendar, plan, hashes);
        if (plan == Autopilot) {
          EXPECT_EQ(report.state, Race::Finished);
          EXPECT_EQ(report.laps, TrackTable[track].laps);
          EXPECT_GT(report.health, 0.0f);
        } else if (plan == Crash) {
          EXPECT_EQ(report.state, Race::Crashed);
          EXPECT_EQ(report.borderHits, hitsToCrash[car]);
        }
        if (print) {
          const std::string spans = SpanBytes(hashes);
          std::printf("{%zu, 0x%016llxull,\n", hashes.size(),
                      static_cast<unsigned long long>(hashes.back()));
          for (size_t at = 0; at < spans.size(); at += 88)
            std::printf(" \"%s\"\n", spans.substr(at, 88).c_str());
          std::printf("},\n");
          continue;
        }
        const std::string difference = Difference(hashes, PinnedRaces[9 * track + 3 * car + plan]);
        if (!difference.empty()) ADD_FAILURE() << difference;
      }
    }
  }
}

}  // namespace
