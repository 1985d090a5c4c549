// Helpers for the sound tests: a fresh mixer at full volume, and renders
// measured the way a listener would notice them (peak, length, pitch).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "audio/effects.h"
#include "audio/mixer.h"
#include "audio/sound_queue.h"

namespace vorn {

class AudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_mixer();
    reset_sound_queue();
    mixer_set_volume(1.0f);
    mixer.gain = 1.0f;
  }

  static std::vector<int16_t> render(float seconds) {
    std::vector<int16_t> out(static_cast<size_t>(seconds * sample_rate) * 2);
    mixer_render(out.data(), static_cast<int32_t>(out.size() / 2));
    return out;
  }

  // Largest sample magnitude over both channels, 0..32767.
  static int32_t peak(const std::vector<int16_t>& s) {
    int32_t p = 0;
    for (const int16_t x : s) p = std::max(p, std::abs(static_cast<int32_t>(x)));
    return p;
  }

  // Seconds until the last sample louder than `floor`.
  static double audible_length(const std::vector<int16_t>& s, int32_t floor = 30) {
    for (size_t i = s.size(); i-- > 0;) {
      if (std::abs(static_cast<int32_t>(s[i])) > floor) return static_cast<double>(i / 2 + 1) / sample_rate;
    }
    return 0.0;
  }

  // Upward zero crossings of the left channel per second in [from, to) s.
  static double crossings_per_second(const std::vector<int16_t>& s, double from, double to) {
    const size_t a = static_cast<size_t>(from * sample_rate), b = static_cast<size_t>(to * sample_rate);
    int32_t n = 0;
    for (size_t i = a + 1; i < b && 2 * i < s.size(); ++i) n += s[2 * (i - 1)] < 0 && s[2 * i] >= 0;
    return n / (to - from);
  }

  static void play_effect(effect e, float strength = 1.0f, float pan = 0.0f) {
    voice_spec params[effect_max_voices];
    const int32_t n = effect_voices(e, strength, pan, params);
    for (int32_t i = 0; i < n; ++i) mixer_play(params[i]);
  }
};

}  // namespace vorn
