// Sound for the game: opens the audio device, listens to what each frame
// did (the frame's happenings and the changes in the game's state) and
// posts the matching effects to the mixer on the audio thread. Output only:
// it reads the game and never writes it.
#pragma once

#include <cstdint>

#include "audio/effects.h"

namespace vorn {

// Enemy darts whose wreck is heard; darts past this many break up silently.
constexpr int32_t sound_dart_slots = 1024;

struct sound_state {
  bool enabled = false;  // the device is open and playing
  bool muted = false;
  int32_t volume = 70;   // 0..100
  // What the last frame left, so that a change is heard once.
  bool primed = false;
  int32_t lives = 0;
  bool game_over = false;
  bool victory = false;
  bool guns_firing = false;
  bool player_wrecked = false;
  bool dart_wrecked[sound_dart_slots] = {};
  double wait[effect_kinds] = {};  // seconds until each kind of effect may play again

};

extern sound_state sound;

// Opens the audio device at `volume` (0..100). Without a device the game
// plays on silently after one line on standard error; false then.
bool start_sound(int32_t volume);
void stop_sound();

// Once per frame, after the simulation: hears the frame (when sound is on)
// and forgets its happenings.
void sound_frame(double dt);

// Posts the sounds of this frame (dt seconds long) to the sound queue,
// whether or not a device plays them. Sounds of one kind are at least
// 30 ms apart.
void listen_to_frame(double dt);

// The mute key.
void toggle_sound_mute();

void reset_sound_state();

}  // namespace vorn
