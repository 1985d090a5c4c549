// The recipes of the sound effects.
#include "audio/effects.h"

#include <cmath>

namespace vorn {

namespace {

voice_spec tone(wave shape, float f0, float f1, float length, float level, float pan) {
  voice_spec s;
  s.shape = shape;
  s.freq_start = f0;
  s.freq_end = f1;
  s.length = length;
  s.level = level;
  s.pan = pan;
  return s;
}

float clamp01(float x) { return x < 0 ? 0 : x > 1 ? 1 : x; }

// A phrase of notes, each starting `step` seconds after the one before, the
// last held for `last` seconds; a triangle with a sine an octave below.
int32_t phrase(const float* notes, int32_t count, float step, float last, wave shape, float level, float pan,
               voice_spec* out) {
  int32_t n = 0;
  for (int32_t i = 0; i < count && n < effect_max_voices; ++i) {
    const bool final_note = i == count - 1;
    voice_spec s = tone(shape, notes[i], notes[i], final_note ? last : step * 1.1f, level, pan);
    s.attack = 0.01f;
    s.decay = final_note ? last * 0.5f : step;
    s.release = final_note ? last * 0.4f : 0.04f;
    s.cutoff = 2400.0f;
    s.delay = step * i;
    out[n++] = s;
  }
  return n;
}

}  // namespace

int32_t effect_voices(effect e, float strength, float pan, voice_spec* out) {
  const float k = clamp01(strength);
  switch (e) {
    case effect::impact_crack: {
      voice_spec burst = tone(wave::noise, 0, 0, 0.12f, 0.22f + 0.38f * k, pan);
      burst.attack = 0.001f;
      burst.decay = 0.025f;
      burst.cutoff = 6000.0f;
      voice_spec click = tone(wave::square, 900.0f, 300.0f, 0.05f, 0.1f + 0.15f * k, pan);
      click.attack = 0.001f;
      click.decay = 0.012f;
      click.cutoff = 3000.0f;
      out[0] = burst;
      out[1] = click;
      return 2;
    }
    case effect::link_snap: {
      voice_spec ping = tone(wave::triangle, 1800.0f, 600.0f, 0.07f, 0.22f * k, pan);
      ping.attack = 0.001f;
      ping.decay = 0.018f;
      voice_spec hiss = tone(wave::noise, 0, 0, 0.03f, 0.1f * k, pan);
      hiss.attack = 0.001f;
      hiss.decay = 0.008f;
      out[0] = ping;
      out[1] = hiss;
      return 2;
    }
    case effect::dart_wreck:
    case effect::player_wreck: {
      const bool big = e == effect::player_wreck;
      voice_spec thump = tone(wave::sine, big ? 110.0f : 150.0f, big ? 30.0f : 45.0f, big ? 0.7f : 0.35f,
                              big ? 0.7f : 0.55f, pan);
      thump.attack = 0.003f;
      thump.decay = big ? 0.25f : 0.12f;
      thump.release = 0.05f;
      voice_spec burst = tone(wave::noise, 0, 0, big ? 1.0f : 0.5f, big ? 0.45f : 0.32f, pan);
      burst.attack = 0.002f;
      burst.decay = big ? 0.3f : 0.14f;
      burst.release = 0.1f;
      burst.cutoff = big ? 1800.0f : 2600.0f;
      out[0] = thump;
      out[1] = burst;
      if (!big) return 2;
      voice_spec groan = tone(wave::saw, 400.0f, 60.0f, 0.6f, 0.14f, pan);
      groan.attack = 0.01f;
      groan.decay = 0.3f;
      groan.release = 0.1f;
      groan.cutoff = 1200.0f;
      out[2] = groan;
      return 3;
    }
    case effect::respawn_sweep: {
      voice_spec sweep = tone(wave::sine, 220.0f, 880.0f, 0.6f, 0.28f, pan);
      sweep.attack = 0.05f;
      sweep.release = 0.15f;
      voice_spec shine = tone(wave::triangle, 440.0f, 1760.0f, 0.6f, 0.08f, pan);
      shine.attack = 0.1f;
      shine.release = 0.2f;
      out[0] = sweep;
      out[1] = shine;
      return 2;
    }
    case effect::guns_wake: {
      const float notes[] = {330.0f, 247.0f, 330.0f, 247.0f};
      return phrase(notes, 4, 0.18f, 0.3f, wave::square, 0.14f, pan, out);
    }
    case effect::victory_phrase: {
      const float notes[] = {523.25f, 659.26f, 783.99f, 1046.5f};
      return phrase(notes, 4, 0.15f, 0.8f, wave::triangle, 0.45f, 0.0f, out);
    }
    case effect::game_over_phrase: {
      const float notes[] = {392.0f, 329.63f, 261.63f, 196.0f};
      return phrase(notes, 4, 0.3f, 1.0f, wave::saw, 0.36f, 0.0f, out);
    }
  }
  return 0;
}

float hum_pitch(float heat_fraction) { return 150.0f * std::exp2(2.0f * clamp01(heat_fraction)); }

float buzz_level(float distance, int32_t count) {
  if (count <= 0) return 0.0f;
  const float d = distance < 0 ? 0 : distance;
  // More guns are louder, but only up to twice one gun.
  const float many = 1.0f + clamp01((count - 1) / 8.0f);
  return 0.12f * many / (1.0f + d / 150.0f);
}

float crackle_rate(int32_t burning) {
  const int32_t n = burning < 0 ? 0 : burning > 40 ? 40 : burning;
  return 8.0f * n;
}

float crackle_level(int32_t burning) {
  if (burning <= 0) return 0.0f;
  return 0.12f + 0.18f * clamp01(burning / 30.0f);
}

int32_t snaps_to_play(int32_t broken) { return broken < 0 ? 0 : broken > 3 ? 3 : broken; }

float snap_level(int32_t broken) { return broken <= 1 ? 1.0f : broken <= 3 ? 0.8f : 0.6f; }

float pan_for(double dx, int32_t screen_width) {
  if (screen_width <= 0) return 0.0f;
  const double p = dx / (screen_width / 2.0);
  return static_cast<float>(p < -1 ? -1 : p > 1 ? 1 : p);
}

}  // namespace vorn
