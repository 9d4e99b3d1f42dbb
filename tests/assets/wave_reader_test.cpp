// The WAVE reader: hand-made headers (what it takes, skips and refuses, a truncated file among
// them), files that sox writes in every format held against sox's own decoding, oversized files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "assets/wave_reader.h"
#include "support/bmp_bytes.h"
#include "support/command_output.h"
#include "support/scratch_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

const auto Put = testing_support::PutLittleEndian;
void Chunk(Bytes& b, const char* id, const Bytes& body) {
  b.insert(b.end(), id, id + 4);
  Put(b, uint32_t(body.size()), 4);
  b.insert(b.end(), body.begin(), body.end());
  if (body.size() % 2) b.push_back(0);
}
Bytes Fmt(uint16_t code, int channels, uint32_t rate, int bits, int align = -1) {
  Bytes f;
  Put(f, code, 2), Put(f, channels, 2), Put(f, rate, 4);
  if (align < 0) align = channels * bits / 8;
  Put(f, rate * align, 4), Put(f, align, 2), Put(f, bits, 2);
  return f;
}
Bytes Extensible(uint16_t sub, int channels, int bits, uint8_t guidEnd = 0x71) {
  Bytes f = Fmt(0xFFFE, channels, 44100, bits);
  Put(f, 22, 2), Put(f, bits, 2), Put(f, channels == 2 ? 3 : 4, 4), Put(f, sub, 2);
  for (uint8_t x : {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B}) f.push_back(x);
  f.push_back(guidEnd);
  return f;
}
Bytes Wave(const std::vector<std::pair<const char*, Bytes>>& chunks) {
  Bytes body = {'W', 'A', 'V', 'E'};
  for (auto& [id, data] : chunks) Chunk(body, id, data);
  Bytes file = {'R', 'I', 'F', 'F'};
  Put(file, uint32_t(body.size()), 4);
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

// Two 16-bit samples, 1000 and -1000.
const Bytes Pcm16 = {0xE8, 0x03, 0x18, 0xFC};

struct HeaderCase {
  const char* name;
  Bytes file;
  bool ok;
  std::vector<int16_t> samples;  // when ok
};

TEST(WaveReader, HeaderCases) {
  const float half = 0.5f;
  Bytes floatData(4);
  std::memcpy(floatData.data(), &half, 4);
  Bytes truncated = Wave({{"fmt ", Fmt(1, 1, 44100, 16)}, {"data", Pcm16}});
  truncated.resize(truncated.size() - 1);
  const HeaderCase cases[] = {
      {"odd LIST, fact and cue skipped",
       Wave({{"LIST", {'I', 'N', 'F'}},
             {"fmt ", Fmt(1, 1, 8000, 16)},
             {"fact", {2, 0, 0, 0}},
             {"cue ", Bytes(5, 1)},
             {"data", Pcm16}}),
       true,
       {1000, -1000}},
      {"extensible float",
       Wave({{"fmt ", Extensible(3, 1, 32)}, {"data", floatData}}),
       true,
       {16384}},
      {"extensible, foreign GUID",
       Wave({{"fmt ", Extensible(1, 1, 16, 0x70)}, {"data", Pcm16}}),
       false,
       {}},
      {"samples before format", Wave({{"data", Pcm16}, {"fmt ", Fmt(1, 1, 44100, 16)}}), false, {}},
      {"no samples", Wave({{"fmt ", Fmt(1, 1, 44100, 16)}}), false, {}},
      {"empty samples", Wave({{"fmt ", Fmt(1, 1, 44100, 16)}, {"data", {}}}), false, {}},
      {"truncated", truncated, false, {}},
      {"three channels", Wave({{"fmt ", Fmt(1, 3, 44100, 16)}, {"data", Bytes(6)}}), false, {}},
      {"rate too low", Wave({{"fmt ", Fmt(1, 1, 7999, 16)}, {"data", Pcm16}}), false, {}},
      {"rate too high", Wave({{"fmt ", Fmt(1, 1, 96001, 16)}, {"data", Pcm16}}), false, {}},
      {"12 bits", Wave({{"fmt ", Fmt(1, 1, 44100, 12, 2)}, {"data", Pcm16}}), false, {}},
      {"ADPCM", Wave({{"fmt ", Fmt(2, 1, 44100, 4, 1)}, {"data", Pcm16}}), false, {}},
      {"64-bit float", Wave({{"fmt ", Fmt(3, 1, 44100, 64)}, {"data", Bytes(8)}}), false, {}},
      {"block size wrong", Wave({{"fmt ", Fmt(1, 1, 44100, 16, 4)}, {"data", Pcm16}}), false, {}},
      {"short format", Wave({{"fmt ", Bytes(14)}, {"data", Pcm16}}), false, {}},
      {"not RIFF", Bytes{'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, false, {}},
  };
  for (const HeaderCase& c : cases) {
    platform::SoundSamples sound;
    std::string error;
    const bool ok = DecodeWave(c.file.data(), c.file.size(), sound, error);
    EXPECT_EQ(ok, c.ok) << c.name << ": " << error;
    EXPECT_TRUE(ok ? sound.samples == c.samples : !error.empty()) << c.name;
  }
}

TEST(WaveReader, MatchesSoxInEveryFormat) {
  if (std::system("command -v sox >/dev/null 2>&1") != 0) GTEST_SKIP() << "no sox";
  testing_support::ScratchFolder scratch;
  const char* encodings[] = {"-e unsigned -b 8", "-e signed -b 16", "-e signed -b 24",
                             "-e signed -b 32", "-e floating-point -b 32"};
  for (const char* encoding : encodings) {
    for (int channels : {1, 2}) {
      for (int rate : {8000, 44100, 96000}) {
        const std::string name = "Data/t.wav";
        const std::string make = "sox -D -n -r " + std::to_string(rate) + " -c " +
                                 std::to_string(channels) + " " + encoding + " " + name +
                                 " synth 0.02 sine 440 sine 1234 vol 0.9 2>/dev/null";
        ASSERT_EQ(std::system(make.c_str()), 0) << make;
        const Bytes raw =
            testing_support::CommandOutput("sox -D " + name + " -t raw -e signed -b 16 -L -");
        platform::SoundSamples sound;
        std::string error;
        const std::string what =
            std::string(encoding) + " " + std::to_string(channels) + "ch " + std::to_string(rate);
        ASSERT_TRUE(ReadWaveFile(name.c_str(), sound, error)) << what << ": " << error;
        EXPECT_EQ(sound.rate, rate) << what;
        EXPECT_EQ(sound.channels, channels) << what;
        ASSERT_EQ(sound.samples.size() * 2, raw.size()) << what;
        int worst = 0;
        for (size_t i = 0; i < sound.samples.size(); ++i) {
          const int expected = int16_t(raw[2 * i] | raw[2 * i + 1] << 8);
          worst = std::max(worst, std::abs(expected - sound.samples[i]));
        }
        // sox rounds the same way; float conversion may differ by one step.
        EXPECT_LE(worst, 1) << what;
      }
    }
  }
}

TEST(WaveReader, RefusesOversizedFiles) {
  testing_support::ScratchFolder scratch;
  platform::SoundSamples sound;
  std::string error;
  EXPECT_FALSE(ReadWaveFile("Data/missing.wav", sound, error));

  Bytes big = Wave({{"fmt ", Fmt(1, 2, 44100, 16)}, {"data", Bytes(kMaxWaveFileBytes, 0)}});
  formats::WriteBytesToFile("Data/big.wav", big);
  EXPECT_FALSE(ReadWaveFile("Data/big.wav", sound, error));
  EXPECT_NE(error.find("larger than 4 MiB"), std::string::npos) << error;

  // Just within the limit is read.
  big.resize(kMaxWaveFileBytes);
  big[40] = 0, big[41] = 0, big[42] = 0x3F, big[43] = 0;  // data: 4 MiB - 64 KiB
  formats::WriteBytesToFile("Data/fits.wav", big);
  EXPECT_TRUE(ReadWaveFile("Data/fits.wav", sound, error)) << error;
}

}  // namespace
