// The game's sounds: the files they come from, the output they play on, and what the player
// hears (M, --mute, the volume, a window in the background). Menus and race ask for sounds here;
// the main loop calls SoundFrame once a frame. Without an output every call does nothing.
#pragma once

#include <memory>

#include "platform/sound_system.h"

enum class Sound {
  Engine,      // a seamless loop of SMiLE's engine near idle, pitched with the car's speed
  Beep,        // the countdown's "3", "2" and "1"
  Go,          // the countdown's "GO"
  Damage,      // a hit that costs the car health
  Nitro,       // a nitro used
  Crash,       // the race ends in a crash
  Lap,         // a lap completed
  Finish,      // the race finished
  NewBest,     // the race set a new best time
  Tick,        // a menu selection moved
  Confirm,     // Enter in a menu
  Back,        // Escape in a menu
  EngineHigh,  // a seamless loop of SMiLE's engine at twice those revs under load
  Rumble,      // a seamless loop of wheels off the road
  Ready,       // the countdown's "READY"
  // The other cars' engines, as Engine and EngineHigh.
  EnginePizzaCar,
  EnginePizzaCarHigh,
  EngineFlyingTaco,
  EngineFlyingTacoHigh,
};
constexpr int SoundCount = 19;

// The looping sounds, each on its own voice: the engine's two recordings, cross-faded by the
// race, and the rumble off the road. Each voice plays its own sound (Engine, EngineHigh,
// Rumble) unless DriveLoop names another. Each seat (a player's car in a race of two, or in its
// replay) has voices of its own for the three.
enum class Loop { EngineLow, EngineHigh, Rumble };
constexpr int LoopCount = 3;
constexpr int LoopSeats = 2;

// The master volume's steps: 0 is silent, 10 the sounds' own level.
constexpr int MaxSoundVolume = 10;

// The file a sound is read from, under the data root ("Data/Sounds/engine.wav", ...).
const char* SoundFileName(Sound sound);

// Opens the output and reads every sound file: on a worker thread unless `wait`, so start-up
// goes on meanwhile. No output, or a file that cannot be read, is said once on standard error.
void StartGameSound(std::unique_ptr<platform::SoundSystem> system, bool wait = false);
// Ends every sound and closes the output. A worker still opening the output is waited for
// StopWaitSeconds at most and then left running: false then, and the process is to end at once
// (what the worker holds is not freed).
bool StopGameSound();
constexpr double StopWaitSeconds = 0.3;

// Plays a sound once, at a gain, a pitch (1 its recorded pitch) and a pan (-1 left to 1 right).
void PlaySound(Sound sound, float gain = 1.0f, float pitch = 1.0f, float pan = 0.0f);
// A loop this frame: its gain and pitch (1 its recorded pitch), playing `sound` (the loop's own
// unless given), of seat 0 unless given, at `pan`. A frame without this call fades the loop
// out; it is silent within 18 frames.
void DriveLoop(Loop loop, float gain, float pitch);
void DriveLoop(Loop loop, float gain, float pitch, Sound sound, int seat = 0, float pan = 0.0f);
// Holds every sound where it is for this frame (a paused replay): the next frame without this
// call lets them go on.
void HoldSound();

// What the player hears: the kept choice (M) unless this run is muted (--mute); nothing while
// the window is minimised or in the background.
void MuteSoundForRun(bool muted);
// M: switches the sound the player hears, and keeps the choice.
void ToggleSound();
// Whether the sound is on by M and --mute (in the background it is silent all the same).
bool SoundOn();
// The monotonic time M last switched the sound; negative before any switch.
double SoundSwitchedAt();
void SetSoundInBackground(bool background);
bool SoundHeard();

// `-` and `=`: the master volume one step down or up (0 to MaxSoundVolume), kept.
void ChangeSoundVolume(int steps);
int SoundVolume();
// The monotonic time the volume last changed; negative before any change.
double SoundVolumeChangedAt();

// The end of a frame: takes over the output once the worker has it ready, and fades the engine.
void SoundFrame();
