// The sound synthesis: oscillators, a noise source with its own generator,
// envelopes and a one-pole filter, and the voice that plays one sound built
// from them into a stereo buffer. Pure arithmetic over sample buffers.
#pragma once

#include <cstdint>

namespace vorn {

constexpr int32_t sample_rate = 44100;

// White noise from a 32-bit xorshift of its own, so sound never draws from
// the game's random generator.
struct noise_source {
  uint32_t state = 0x9E3779B9u;
  // A value in [-1, 1).
  float next();
};

enum class wave : uint8_t { sine, triangle, square, saw, noise };

// One sound: a wave gliding exponentially from freq_start to freq_end over
// its length, shaped by an envelope (a linear attack, an exponential decay
// with the time constant `decay`, 0 for none, and a linear release at the
// end) and a one-pole low-pass filter (cutoff in Hz, 0 for none). It waits
// `delay` seconds before it starts.
struct voice_spec {
  wave shape = wave::sine;
  float freq_start = 440.0f;
  float freq_end = 440.0f;
  float length = 0.1f;
  float attack = 0.002f;
  float decay = 0.0f;
  float release = 0.01f;
  float level = 0.5f;   // peak amplitude, 0..1
  float pan = 0.0f;     // -1 left .. 1 right
  float cutoff = 0.0f;
  float delay = 0.0f;
};

// The envelope of a params at `t` seconds after the sound's start (its delay
// left out), 0 outside [0, length].
float envelope_at(const voice_spec& s, float t);

// Equal-power gains of a pan position (clamped to [-1, 1]).
void pan_gains(float pan, float& left, float& right);

// A voice playing one params; silent once done.
struct voice {
  voice_spec params;
  bool active = false;
  int32_t wait = 0;       // samples of delay left
  int32_t pos = 0;        // samples played
  int32_t total = 0;      // samples in the sound
  double phase = 0.0;     // 0..1
  double freq = 0.0;
  double freq_step = 1.0; // per-sample frequency factor of the glide
  float decay_env = 1.0f;
  float decay_step = 1.0f;
  float filter_coeff = 1.0f;
  float filtered = 0.0f;
  float gain_l = 0.0f;
  float gain_r = 0.0f;
  float last_env = 0.0f;
  noise_source noise;
};

void start_voice(voice& v, const voice_spec& s, uint32_t noise_seed);

// The voice's present loudness (its level times its envelope), for choosing
// which voice to steal.
float voice_loudness(const voice& v);

// Adds `frames` stereo frames of the voice into out (interleaved, left first).
void render_voice(voice& v, float* out, int32_t frames);

// The coefficient of a one-pole low-pass filter at `cutoff` Hz (1: no filter).
float lowpass_coeff(float cutoff);

}  // namespace vorn
