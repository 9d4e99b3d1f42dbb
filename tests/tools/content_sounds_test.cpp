// The generated sounds judged from outside: ffmpeg's BS.1770 meter finds each file at the
// loudness of its kind with its true peak under -1 dBFS, and the kinds in order; the off-road
// sounds keep their loudness through a small speaker's high pass (sox); each car's engine rings
// at its own resonance; loops run into their start without a seam and hold no shorter repeat;
// the crash ends in a broadband tail and the noisy sounds keep their top octave.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "content/sounds.h"
#include "formats/bmp_writer.h"
#include "formats/wave_writer.h"

namespace {

namespace fs = std::filesystem;
using Samples = std::vector<int16_t>;

// The loudest momentary (400 ms) loudness by ffmpeg's ebur128 filter on a file, in LUFS (a loop
// repeated, a short sound padded to one window), and its true peak in dBFS.
std::pair<double, double> Judge(const std::string& path, bool loop) {
  const std::string command = "ffmpeg -hide_banner -nostats -v verbose " +
                              std::string(loop ? "-stream_loop 2 " : "") + "-i '" + path +
                              "' -af apad=whole_dur=0.4,ebur128=peak=true:framelog=verbose "
                              "-f null - 2>&1";
  double loudness = -200, peak = 200;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {loudness, peak};
  char line[1024];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    const std::string text = line;
    if (auto at = text.find(" M:"); at != std::string::npos)
      loudness = std::max(loudness, std::stod(text.substr(at + 3)));
    if (auto at = text.find("Peak:"); at != std::string::npos && text.find("TPK") == text.npos)
      peak = std::stod(text.substr(at + 5));
  }
  pclose(pipe);
  return {loudness, peak};
}

// sox's RMS amplitude of a file after `effects`.
double SoxRms(const std::string& path, const std::string& effects) {
  FILE* pipe = popen(("sox '" + path + "' -n " + effects + " stat 2>&1").c_str(), "r");
  double rms = 0;
  char line[256];
  while (pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr)
    std::sscanf(line, "RMS amplitude: %lf", &rms);
  if (pipe != nullptr) pclose(pipe);
  return rms;
}

// The main resonance of a file: the centre of the strongest third of an octave between 150 Hz
// and 4 kHz in sox's power spectrum, searched in steps of a 48th of an octave.
double MainResonance(const std::string& path) {
  std::vector<std::pair<double, double>> spectrum;  // {Hz, power}, summed over sox's frames
  FILE* pipe = popen(("sox '" + path + "' -n stat -freq 2>&1").c_str(), "r");
  double hz, power;
  for (size_t i = 0; pipe != nullptr && std::fscanf(pipe, "%lf %lf", &hz, &power) == 2; ++i) {
    if (i > 0 && hz == 0) i = 0;
    if (i == spectrum.size()) spectrum.push_back({hz, 0});
    spectrum[i].second += power;
  }
  if (pipe != nullptr) pclose(pipe);
  double best = 0, strongest = 0;
  for (double f = 150; f <= 4000; f *= std::pow(2.0, 1.0 / 48)) {
    double sum = 0;
    for (const auto& [at, p] : spectrum)
      if (std::fabs(std::log2(at / f)) <= 1.0 / 6) sum += p;
    if (sum > strongest) strongest = sum, best = f;
  }
  return best;
}

// The level envelope of a loop (RMS over 20 ms windows) against itself shifted by each whole
// number of windows, round the loop; 1 at no shift.
std::vector<double> EnvelopeCorrelation(const Samples& s, int rate) {
  const size_t window = size_t(rate) / 50, count = s.size() / window;
  std::vector<double> level(count, 0.0);
  for (size_t w = 0; w < count; ++w) {
    for (size_t i = w * window; i < (w + 1) * window; ++i) level[w] += double(s[i]) * s[i];
    level[w] = std::sqrt(level[w] / double(window));
  }
  double mean = 0;
  for (double l : level) mean += l / double(count);
  std::vector<double> r(count, 0.0);
  for (size_t lag = 0; lag < count; ++lag)
    for (size_t w = 0; w < count; ++w)
      r[lag] += (level[w] - mean) * (level[(w + lag) % count] - mean);
  for (size_t lag = count; lag-- > 0;) r[lag] /= r[0];
  return r;
}

class ContentSounds : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sounds = new std::vector<content::SoundContent>(content::GameSounds());
    folder = fs::temp_directory_path() / ("quillon-sounds-" + std::to_string(getpid()));
    fs::create_directories(folder);
    for (const auto& sound : *sounds)
      formats::WriteBytesToFile(path(sound), formats::EncodeWave16(sound.rate, 1, sound.samples));
  }
  static void TearDownTestSuite() {
    fs::remove_all(folder);
    delete sounds;
  }
  static std::string path(const content::SoundContent& sound) {
    return (folder / fs::path(sound.file).filename()).string();
  }
  static std::string path(const std::string& file) { return (folder / file).string(); }
  static const content::SoundContent& named(const std::string& file) {
    for (const auto& sound : *sounds)
      if (sound.file == "Sounds/" + file) return sound;
    ADD_FAILURE() << file << " missing";
    return sounds->front();
  }
  static inline std::vector<content::SoundContent>* sounds = nullptr;
  static inline fs::path folder;
};

TEST_F(ContentSounds, EachFileMeetsItsLoudnessAndPeakByTheOutsideMeter) {
  ASSERT_EQ(std::system("ffmpeg -version >/dev/null 2>&1"), 0) << "ffmpeg is needed";
  std::map<std::string, double> measured;
  size_t bytes = 0;
  for (const auto& sound : *sounds) {
    const auto [loudness, truePeak] = Judge(path(sound), sound.loop);
    EXPECT_NEAR(loudness, sound.target, 0.5) << sound.file;
    EXPECT_LE(truePeak, -1.0) << sound.file;
    measured[fs::path(sound.file).stem()] = loudness;
    bytes += fs::file_size(path(sound));
  }
  EXPECT_LE(bytes, 2u << 20);
  // The engine is the bed: every race event is above it; the menu's clicks are close together
  // and well under the countdown; the crash is no more than 3 LU under it.
  for (const char* event : {"ready", "beep", "go", "damage", "crash", "nitro", "lap", "finish"})
    EXPECT_GE(measured[event], measured["engine"] + 3) << event;
  for (const char* menu : {"tick", "confirm", "back"}) {
    EXPECT_LE(measured[menu], measured["beep"] - 6) << menu;
    for (const char* other : {"tick", "confirm", "back"})
      EXPECT_LE(std::fabs(measured[menu] - measured[other]), 6) << menu << " " << other;
  }
  EXPECT_GE(measured["crash"], measured["beep"] - 3);
}

TEST_F(ContentSounds, OffTheRoadIsHeardThroughSmallSpeakers) {
  // A 200 Hz high pass of 36 dB an octave stands in for a laptop's speakers.
  for (const char* file : {"rumble.wav", "damage.wav", "crash.wav"}) {
    const auto& sound = named(file);
    const std::string cut = path(std::string("hp-") + file);
    // Taken 6 dB down first, so that the filters' ringing cannot clip.
    ASSERT_EQ(std::system(("sox '" + path(sound) + "' '" + cut +
                           "' gain -6 highpass 200 highpass 200 highpass 200")
                              .c_str()),
              0);
    const double lost = Judge(path(sound), sound.loop).first - Judge(cut, sound.loop).first - 6;
    EXPECT_LE(lost, 4.0) << file;
  }
}

TEST_F(ContentSounds, EachCarHasItsOwnEngineWithoutAShorterRepeat) {
  // At the same firing rate (a recording's resonances move with the pitch it is played at), the
  // three cars' main resonances lie at least 15 % apart, idle and high alike.
  for (const char* suffix : {".wav", "_high.wav"}) {
    std::vector<double> at;
    for (const char* car : {"engine", "engine_pizzacar", "engine_flyingtaco"}) {
      const auto& sound = named(std::string(car) + suffix);
      at.push_back(MainResonance(path(sound)) / sound.firings);
    }
    for (size_t a = 0; a < at.size(); ++a)
      for (size_t b = a + 1; b < at.size(); ++b)
        EXPECT_GE(std::max(at[a], at[b]) / std::min(at[a], at[b]), 1.15) << suffix << a << b;
  }
  // Engine loops of 3 s or more whose level at no shift of 0.25 s or more matches itself
  // closely, and at 1 s no better than around it.
  for (const auto& sound : *sounds) {
    if (sound.firings == 0) continue;
    EXPECT_GE(double(sound.samples.size()), 3.0 * sound.rate) << sound.file;
    const std::vector<double> r = EnvelopeCorrelation(sound.samples, sound.rate);
    // How far the correlation at a shift stands above the highest 60 to 200 ms either side
    // (which holds the engine's own turn, a cylinder cycle or more).
    auto standsOut = [&](size_t lag) {
      double around = -1;
      for (size_t d = 3; d <= 10; ++d) around = std::max({around, r[lag - d], r[lag + d]});
      return r[lag] - around;
    };
    double most = -1;
    for (size_t lag = 13; lag + 13 < r.size(); ++lag) most = std::max(most, standsOut(lag));
    EXPECT_LE(most, 0.2) << sound.file;
  }
}

TEST_F(ContentSounds, LoopsHaveNoSeamAndTheEngineBrightensAtSpeed) {
  // How much a step or a bend between samples stands out at the join, against the steps and
  // bends everywhere else in the loop.
  auto seam = [](const Samples& s, int order) {
    const size_t n = s.size();
    auto at = [&](size_t i) { return double(s[i % n]); };
    auto change = [&](size_t i) {
      return order == 1 ? std::fabs(at(i + 1) - at(i))
                        : std::fabs(at(i + 2) - 2 * at(i + 1) + at(i));
    };
    std::vector<double> inside;
    for (size_t i = 0; i + 2 < n; ++i) inside.push_back(change(i));
    std::sort(inside.begin(), inside.end());
    const double p999 = inside[inside.size() * 999 / 1000];
    return std::max(change(n - 1), change(n - 2)) / p999;
  };
  int loops = 0;
  for (const auto& sound : *sounds) {
    if (!sound.loop) continue;
    ++loops;
    EXPECT_LE(seam(sound.samples, 1), 1.0) << sound.file;
    EXPECT_LE(seam(sound.samples, 2), 1.0) << sound.file;
  }
  EXPECT_EQ(loops, 7);  // three cars' two engine recordings and the rumble

  // Brightness as the frequency of a sine with the same ratio of slope to level.
  auto brightness = [](const content::SoundContent& sound) {
    const Samples& s = sound.samples;
    double level = 0, slope = 0;
    for (size_t i = 1; i < s.size(); ++i) {
      level += double(s[i]) * s[i];
      slope += (double(s[i]) - s[i - 1]) * (double(s[i]) - s[i - 1]);
    }
    return sound.rate / M_PI * std::asin(std::sqrt(slope / level) / 2);
  };
  for (const char* car : {"engine", "engine_pizzacar", "engine_flyingtaco"}) {
    const double idle = brightness(named(std::string(car) + ".wav"));
    EXPECT_GT(idle, 300.0) << car;  // not a hum below what small speakers play
    EXPECT_GT(brightness(named(std::string(car) + "_high.wav")), idle * 1.3) << car;
  }
}

TEST_F(ContentSounds, TheCrashEndsInDebrisAndNoiseKeepsItsTopOctave) {
  // From 0.3 s to 0.8 s, the crash's debris sounds in every octave from 250 Hz to 8 kHz.
  const std::string crash = path(named("crash.wav"));
  const double whole = SoxRms(crash, "trim 0.3 0.5");
  for (int low = 250; low <= 8000; low *= 2)
    EXPECT_GE(
        SoxRms(crash, "trim 0.3 0.5 sinc " + std::to_string(low) + "-" + std::to_string(low * 2)),
        whole * 0.03)
        << low << " Hz";
  for (const char* file : {"rumble.wav", "crash.wav", "nitro.wav"}) {
    const auto& sound = named(file);
    EXPECT_EQ(sound.rate, 44100) << file;
    EXPECT_GE(SoxRms(path(sound), "sinc 11025-20000"), SoxRms(path(sound), "") * 0.01) << file;
  }
}

}  // namespace
