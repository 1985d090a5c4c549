// The building blocks: envelopes, equal-power panning, the noise source
// (its range, and that it leaves the game's random generator alone) and
// the exponential glide of a voice's pitch.
#include <cmath>

#include "audio_fixture.h"
#include "base/rng.h"

namespace vorn {
namespace {

using Synth = AudioTest;

TEST_F(Synth, EnvelopeRisesDecaysAndEndsAtSilence) {
  voice_spec s;
  s.length = 1.0f;
  s.attack = 0.1f;
  s.decay = 0.5f;
  s.release = 0.2f;
  EXPECT_EQ(envelope_at(s, -0.01f), 0.0f);
  EXPECT_EQ(envelope_at(s, 1.01f), 0.0f);
  EXPECT_NEAR(envelope_at(s, 0.05f), 0.5f * std::exp(-0.1f), 1e-5);  // half way up the attack
  EXPECT_NEAR(envelope_at(s, 0.5f), std::exp(-1.0f), 1e-5);           // one decay time constant
  EXPECT_NEAR(envelope_at(s, 0.9f), 0.5f * std::exp(-1.8f), 1e-5);    // half way down the release
  EXPECT_NEAR(envelope_at(s, 1.0f), 0.0f, 1e-6);

  // A rendered voice follows its envelope and stops at its length.
  s.shape = wave::square;  // +-1, so the samples show the envelope itself
  s.freq_start = s.freq_end = 100.0f;
  s.level = 0.5f;
  s.pan = -1.0f;  // left only
  voice v;
  start_voice(v, s, 1);
  std::vector<float> buf(2 * sample_rate + 200, 0.0f);
  render_voice(v, buf.data(), sample_rate + 100);
  EXPECT_FALSE(v.active);
  EXPECT_NEAR(std::fabs(buf[2 * (sample_rate / 2)]), 0.5f * envelope_at(s, 0.5f), 1e-3);
  EXPECT_NEAR(buf[2 * (sample_rate / 2) + 1], 0.0f, 1e-6);
  for (int32_t i = sample_rate; i < sample_rate + 100; ++i) EXPECT_EQ(buf[2 * i], 0.0f);
}

TEST_F(Synth, PanKeepsPowerAndClampsAtTheEdges) {
  for (float p : {-1.0f, -0.5f, 0.0f, 0.3f, 1.0f}) {
    float l, r;
    pan_gains(p, l, r);
    EXPECT_NEAR(l * l + r * r, 1.0f, 1e-5) << p;
  }
  float l, r;
  pan_gains(-3.0f, l, r);
  EXPECT_NEAR(l, 1.0f, 1e-6);
  EXPECT_NEAR(r, 0.0f, 1e-6);
  pan_gains(0.0f, l, r);
  EXPECT_NEAR(l, r, 1e-6);
  // A world point half way from the centre to the right edge, and beyond it.
  EXPECT_FLOAT_EQ(pan_for(200.0, 800), 0.5f);
  EXPECT_FLOAT_EQ(pan_for(-1000.0, 800), -1.0f);
  EXPECT_FLOAT_EQ(pan_for(5.0, 0), 0.0f);
}

TEST_F(Synth, NoiseStaysInRangeAndNeverTouchesTheGamesGenerator) {
  set_random_seed(12345);
  noise_source n;
  double sum = 0;
  for (int32_t i = 0; i < 100000; ++i) {
    const float x = n.next();
    ASSERT_GE(x, -1.0f);
    ASSERT_LT(x, 1.0f);
    sum += x;
  }
  EXPECT_NEAR(sum / 100000, 0.0, 0.02);
  // Every effect and drone rendered: the game's seed is where it was.
  for (int32_t e = 0; e < effect_kinds; ++e) play_effect(static_cast<effect>(e));
  mixer_set_drone(drone_crackle, 0.3f, 300.0f, 0.0f);
  render(0.5f);
  EXPECT_EQ(random_seed(), 12345u);
}

TEST_F(Synth, PitchGlidesFromStartToEnd) {
  voice_spec s;
  s.shape = wave::sine;
  s.freq_start = 200.0f;
  s.freq_end = 800.0f;
  s.length = 2.0f;
  s.level = 0.5f;
  mixer_play(s);
  const auto out = render(2.0f);
  EXPECT_NEAR(crossings_per_second(out, 0.0, 0.2), 200.0 * std::pow(4.0, 0.05), 15.0);
  EXPECT_NEAR(crossings_per_second(out, 1.8, 2.0), 800.0 * std::pow(4.0, -0.05), 30.0);
}

}  // namespace
}  // namespace vorn
