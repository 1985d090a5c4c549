// Voice allocation with stealing, the drones, the master gain and the
// limiter.
#include "audio/mixer.h"

#include <cmath>

namespace vorn {

mixer_state mixer;

namespace {

constexpr double two_pi = 6.283185307179586;
// Per-sample glide of drone parameters and master gain (about 20 ms).
constexpr float glide = 0.0011f;
constexpr float limit_knee = 0.7f;
// lowpass_coeff(700): the buzz's filter, worked out once here.
constexpr float buzz_filter = 0.0949f;

void glide_to(float& value, float target) { value += glide * (target - value); }

// The player's beam: a sine with its octave, softened.
float hum_sample(drone& d) {
  const double p = d.phase;
  const float x = static_cast<float>(std::sin(two_pi * p) + 0.3 * std::sin(2 * two_pi * p) +
                                     0.1 * std::sin(3 * two_pi * p));
  return 0.7f * x;
}

// Hostile beams: a square wave through a low-pass filter, with a little noise.
float buzz_sample(drone& d, noise_source& noise) {
  const float raw = (d.phase < 0.5 ? 1.0f : -1.0f) + 0.15f * noise.next();
  d.filtered += buzz_filter * (raw - d.filtered);
  return d.filtered;
}

// Burning links: random sparks, each a click decaying in a few
// milliseconds, high-passed so they crackle rather than thump.
float crackle_sample(drone& d, noise_source& noise) {
  const float chance = d.freq / sample_rate;
  const float roll = 0.5f * (noise.next() + 1.0f);
  if (roll < chance) d.spark = (noise.next() > 0 ? 1.0f : -1.0f) * (0.5f + 0.5f * std::fabs(noise.next()));
  d.spark *= 0.985f;
  const float x = d.spark * noise.next();
  d.spark_filtered += 0.2f * (x - d.spark_filtered);
  return x - d.spark_filtered;
}

void render_drone(int32_t id, float* out, int32_t frames) {
  drone& d = mixer.drones[id];
  if (d.level < 1e-5f && d.target_level <= 0) {
    d.level = 0;
    return;
  }
  float gl = 0, gr = 0;
  for (int32_t i = 0; i < frames; ++i) {
    glide_to(d.level, d.target_level);
    glide_to(d.freq, d.target_freq);
    glide_to(d.pan, d.target_pan);
    if ((i & 31) == 0) pan_gains(d.pan, gl, gr);
    float x = 0;
    if (id == drone_hum) x = hum_sample(d);
    if (id == drone_buzz) x = buzz_sample(d, mixer.noise);
    if (id == drone_crackle) x = crackle_sample(d, mixer.noise);
    x *= d.level;
    out[2 * i] += x * gl;
    out[2 * i + 1] += x * gr;
    d.phase += d.freq / sample_rate;
    d.phase -= std::floor(d.phase);
  }
}

int16_t to_pcm(float x) { return static_cast<int16_t>(std::lrint(limit_sample(x) * 32767.0f)); }

}  // namespace

void reset_mixer() { mixer = mixer_state{}; }

float limit_sample(float x) {
  const float a = std::fabs(x);
  if (!(a > limit_knee)) return a == a ? x : 0.0f;
  const float room = 1.0f - limit_knee;
  const float y = limit_knee + room * std::tanh((a - limit_knee) / room) * 0.999f;
  return x < 0 ? -y : y;
}

int32_t mixer_play(const voice_spec& s) {
  int32_t pick = 0;
  float quietest = 2.0f;
  for (int32_t i = 0; i < mixer_voice_count; ++i) {
    if (!mixer.voices[i].active) {
      pick = i;
      break;
    }
    const float l = voice_loudness(mixer.voices[i]);
    if (l < quietest) {
      quietest = l;
      pick = i;
    }
  }
  mixer.next_seed = mixer.next_seed * 1664525u + 1013904223u;
  start_voice(mixer.voices[pick], s, mixer.next_seed);
  return pick;
}

void mixer_set_drone(int32_t id, float level, float freq, float pan) {
  if (id < 0 || id >= drone_count) return;
  drone& d = mixer.drones[id];
  d.target_level = level < 0 ? 0 : level;
  d.target_freq = freq;
  d.target_pan = pan;
  // A drone that was silent starts at its new pitch and place.
  if (d.level < 1e-4f) {
    d.freq = freq;
    d.pan = pan;
  }
}

void mixer_set_volume(float volume) {
  mixer.volume = volume < 0 ? 0 : volume > 1 ? 1 : volume;
}

void mixer_set_muted(bool muted) { mixer.muted = muted; }

int32_t mixer_busy_voices() {
  int32_t n = 0;
  for (const voice& v : mixer.voices) n += v.active;
  return n;
}

void mixer_render(int16_t* out, int32_t frames) {
  while (frames > 0) {
    const int32_t n = frames < mixer_block ? frames : mixer_block;
    float* buf = mixer.buffer;
    for (int32_t i = 0; i < 2 * n; ++i) buf[i] = 0.0f;
    for (voice& v : mixer.voices) {
      if (v.active) render_voice(v, buf, n);
    }
    for (int32_t id = 0; id < drone_count; ++id) render_drone(id, buf, n);
    const float target = mixer.muted ? 0.0f : mixer.volume;
    for (int32_t i = 0; i < n; ++i) {
      glide_to(mixer.gain, target);
      out[2 * i] = to_pcm(buf[2 * i] * mixer.gain);
      out[2 * i + 1] = to_pcm(buf[2 * i + 1] * mixer.gain);
    }
    out += 2 * n;
    frames -= n;
  }
}

}  // namespace vorn
