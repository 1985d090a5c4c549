// Oscillators, noise, envelopes and the voice renderer.
#include "audio/synth.h"

#include <cmath>

namespace vorn {

namespace {

constexpr double two_pi = 6.283185307179586;

float oscillator(wave shape, double phase, noise_source& noise) {
  switch (shape) {
    case wave::sine: return static_cast<float>(std::sin(two_pi * phase));
    case wave::triangle: return static_cast<float>(phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase);
    case wave::square: return phase < 0.5 ? 1.0f : -1.0f;
    case wave::saw: return static_cast<float>(2.0 * phase - 1.0);
    case wave::noise: return noise.next();
  }
  return 0.0f;
}

int32_t to_samples(float seconds) {
  return seconds > 0 ? static_cast<int32_t>(seconds * sample_rate + 0.5f) : 0;
}

}  // namespace

float noise_source::next() {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return static_cast<float>(state) / 2147483648.0f - 1.0f;
}

float envelope_at(const voice_spec& s, float t) {
  if (t < 0 || t > s.length) return 0.0f;
  float e = 1.0f;
  if (s.attack > 0 && t < s.attack) e = t / s.attack;
  if (s.decay > 0) e *= std::exp(-t / s.decay);
  const float left = s.length - t;
  if (s.release > 0 && left < s.release) e *= left / s.release;
  return e;
}

void pan_gains(float pan, float& left, float& right) {
  if (pan < -1) pan = -1;
  if (pan > 1) pan = 1;
  const float angle = (pan + 1.0f) * 0.25f * static_cast<float>(two_pi) * 0.5f;
  left = std::cos(angle);
  right = std::sin(angle);
}

float lowpass_coeff(float cutoff) {
  if (cutoff <= 0) return 1.0f;
  return 1.0f - std::exp(static_cast<float>(-two_pi) * cutoff / sample_rate);
}

void start_voice(voice& v, const voice_spec& s, uint32_t noise_seed) {
  v.params = s;
  v.active = true;
  v.wait = to_samples(s.delay);
  v.pos = 0;
  v.total = to_samples(s.length);
  v.phase = 0.0;
  v.freq = s.freq_start;
  v.freq_step = (v.total > 0 && s.freq_start > 0 && s.freq_end > 0)
                    ? std::pow(static_cast<double>(s.freq_end) / s.freq_start, 1.0 / v.total)
                    : 1.0;
  v.decay_env = 1.0f;
  v.decay_step = s.decay > 0 ? std::exp(-1.0f / (s.decay * sample_rate)) : 1.0f;
  v.filter_coeff = lowpass_coeff(s.cutoff);
  v.filtered = 0.0f;
  pan_gains(s.pan, v.gain_l, v.gain_r);
  v.last_env = 0.0f;
  v.noise.state = noise_seed ? noise_seed : 0x9E3779B9u;
}

float voice_loudness(const voice& v) {
  if (!v.active) return 0.0f;
  // A voice still waiting to start counts at its full level, so a phrase's
  // later notes are not the first to go.
  if (v.wait > 0) return v.params.level;
  return v.params.level * v.last_env;
}

void render_voice(voice& v, float* out, int32_t frames) {
  const voice_spec& s = v.params;
  const int32_t attack = to_samples(s.attack);
  const int32_t release = to_samples(s.release);
  for (int32_t i = 0; i < frames && v.active; ++i) {
    if (v.wait > 0) {
      --v.wait;
      continue;
    }
    if (v.pos >= v.total) {
      v.active = false;
      break;
    }
    float env = v.decay_env;
    if (v.pos < attack) env *= static_cast<float>(v.pos) / attack;
    const int32_t left = v.total - v.pos;
    if (left < release) env *= static_cast<float>(left) / release;
    v.last_env = env;
    const float raw = oscillator(s.shape, v.phase, v.noise);
    v.filtered += v.filter_coeff * (raw - v.filtered);
    const float x = v.filtered * env * s.level;
    out[2 * i] += x * v.gain_l;
    out[2 * i + 1] += x * v.gain_r;
    v.phase += v.freq / sample_rate;
    v.phase -= std::floor(v.phase);
    v.freq *= v.freq_step;
    v.decay_env *= v.decay_step;
    ++v.pos;
  }
}

}  // namespace vorn
