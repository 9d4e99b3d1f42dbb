// The generated sounds judged from outside: ffmpeg's BS.1770 meter finds each file at the
// loudness of its kind with its true peak under -1 dBFS; the kinds sit in order (engine under
// the race's events, menus well under the race); loops run into their start without a seam;
// the engine's high recording is brighter than its idle one; all of them stay small.
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

struct Judged {
  double loudness = -200;  // loudest momentary (400 ms) loudness, LUFS
  double truePeak = 200;   // dBFS
};

// ffmpeg's ebur128 filter on a file: a loop repeated, a short sound padded to one window.
Judged Judge(const std::string& path, bool loop) {
  const std::string command = "ffmpeg -hide_banner -nostats -v verbose " +
                              std::string(loop ? "-stream_loop 2 " : "") + "-i '" + path +
                              "' -af apad=whole_dur=0.4,ebur128=peak=true:framelog=verbose "
                              "-f null - 2>&1";
  Judged judged;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return judged;
  char line[1024];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    const std::string text = line;
    if (auto at = text.find(" M:"); at != std::string::npos)
      judged.loudness = std::max(judged.loudness, std::stod(text.substr(at + 3)));
    if (auto at = text.find("Peak:");
        at != std::string::npos && text.find("TPK") == std::string::npos)
      judged.truePeak = std::stod(text.substr(at + 5));
  }
  pclose(pipe);
  return judged;
}

class ContentSounds : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sounds = new std::vector<content::SoundContent>(content::GameSounds());
    folder = fs::temp_directory_path() / ("quillon-sounds-" + std::to_string(getpid()));
    fs::create_directories(folder);
    for (const auto& sound : *sounds)
      formats::WriteBytesToFile(path(sound),
                                formats::EncodeWave16(content::SoundRate, 1, sound.samples));
  }
  static void TearDownTestSuite() {
    fs::remove_all(folder);
    delete sounds;
  }
  static std::string path(const content::SoundContent& sound) {
    return (folder / fs::path(sound.file).filename()).string();
  }
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
    const Judged judged = Judge(path(sound), sound.loop);
    EXPECT_NEAR(judged.loudness, sound.target, 0.5) << sound.file;
    EXPECT_LE(judged.truePeak, -1.0) << sound.file;
    int16_t loudest = 0;
    for (int16_t s : sound.samples) loudest = std::max<int16_t>(loudest, int16_t(std::abs(s)));
    EXPECT_LT(loudest, 32767) << sound.file;
    measured[fs::path(sound.file).stem()] = sound.target;
    bytes += fs::file_size(path(sound));
  }
  EXPECT_LE(bytes, 2u << 20);
  // The engine is the bed: every race event is above it, the menu's clicks well under those.
  for (const char* event : {"ready", "beep", "go", "damage", "crash", "nitro", "lap", "finish"}) {
    EXPECT_GE(measured[event], measured["engine"] + 3) << event;
    for (const char* menu : {"tick", "confirm", "back"})
      EXPECT_GE(measured[event], measured[menu] + 10) << event << " over " << menu;
  }
}

TEST_F(ContentSounds, LoopsHaveNoSeamAndTheEngineBrightensAtSpeed) {
  // How much a step or a bend between samples stands out at the join, against the steps and
  // bends everywhere else in the loop.
  auto seam = [](const std::vector<int16_t>& s, int order) {
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
  EXPECT_EQ(loops, 3);  // two engine recordings and the rumble

  // Brightness as the frequency of a sine with the same ratio of slope to level.
  auto brightness = [](const std::vector<int16_t>& s) {
    double level = 0, slope = 0;
    for (size_t i = 1; i < s.size(); ++i) {
      level += double(s[i]) * s[i];
      slope += (double(s[i]) - s[i - 1]) * (double(s[i]) - s[i - 1]);
    }
    return content::SoundRate / M_PI * std::asin(std::sqrt(slope / level) / 2);
  };
  const double idle = brightness(named("engine.wav").samples);
  const double high = brightness(named("engine_high.wav").samples);
  EXPECT_GT(idle, 300.0);  // not a hum below what small speakers play
  EXPECT_GT(high, idle * 1.3);
  EXPECT_LT(brightness(named("rumble.wav").samples), idle);
}

}  // namespace
