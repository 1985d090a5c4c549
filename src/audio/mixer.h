// The mixer: a fixed set of voices for one-off sounds (the quietest is
// stolen when all are busy), three continuous drones (the player's beam hum,
// the hostile beams' buzz, the crackle of burning links), the master volume
// and mute, and a soft limiter so the mix never clips. Runs on the audio
// thread only; the game reaches it through the sound queue.
#pragma once

#include <cstdint>

#include "audio/synth.h"

namespace vorn {

constexpr int32_t mixer_voice_count = 24;
// Frames mixed at a time into the float buffer.
constexpr int32_t mixer_block = 256;

enum drone_id : int32_t { drone_hum = 0, drone_buzz = 1, drone_crackle = 2, drone_count = 3 };

// A continuous sound whose level, pitch (for the crackle: sparks per second)
// and pan glide towards their targets, so changes never click.
struct drone {
  float level = 0.0f;
  float freq = 100.0f;
  float pan = 0.0f;
  float target_level = 0.0f;
  float target_freq = 100.0f;
  float target_pan = 0.0f;
  double phase = 0.0;
  float filtered = 0.0f;
  float spark = 0.0f;
  float spark_filtered = 0.0f;
};

struct mixer_state {
  voice voices[mixer_voice_count];
  drone drones[drone_count];
  float volume = 0.7f;   // 0..1
  bool muted = false;
  float gain = 0.7f;     // the master gain as it glides to volume (0 when muted)
  noise_source noise;
  uint32_t next_seed = 1;
  float buffer[2 * mixer_block];
};

extern mixer_state mixer;

void reset_mixer();

// Starts a sound on a free voice, or on the quietest busy one; returns the
// voice's index.
int32_t mixer_play(const voice_spec& s);
void mixer_set_drone(int32_t id, float level, float freq, float pan);
void mixer_set_volume(float volume);
void mixer_set_muted(bool muted);

// Voices busy now.
int32_t mixer_busy_voices();

// Mixes `frames` interleaved stereo frames of 16-bit samples into out.
void mixer_render(int16_t* out, int32_t frames);

// The soft limiter: unchanged up to 0.7, then bending towards 1, never
// reaching it.
float limit_sample(float x);

}  // namespace vorn
