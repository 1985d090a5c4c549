// The mixer and its queue: the quietest voice is stolen, a full mix never
// clips, volume and mute, and the command ring between two threads keeps
// order, loses nothing it accepted and refuses what does not fit.
#include <cmath>
#include <thread>

#include "audio_fixture.h"

namespace vorn {
namespace {

using Mixer = AudioTest;

voice_spec long_tone(float level) {
  voice_spec s;
  s.shape = wave::sine;
  s.freq_start = s.freq_end = 300.0f;
  s.length = 2.0f;
  s.attack = 0.0f;
  s.level = level;
  return s;
}

TEST_F(Mixer, AFullMixStealsTheQuietestVoice) {
  for (int32_t i = 0; i < mixer_voice_count; ++i) EXPECT_EQ(mixer_play(long_tone(0.9f - 0.03f * i)), i);
  render(0.01f);
  const int32_t quietest = mixer_voice_count - 1;
  EXPECT_EQ(mixer_play(long_tone(0.5f)), quietest);
  EXPECT_EQ(mixer.voices[quietest].params.level, 0.5f);
  // A voice that has faded counts by what is left of it, not its peak.
  voice_spec fading = long_tone(1.0f);
  fading.decay = 0.01f;
  mixer.voices[3].active = false;
  EXPECT_EQ(mixer_play(fading), 3);
  render(0.1f);
  EXPECT_EQ(mixer_play(long_tone(0.5f)), 3);
  EXPECT_EQ(mixer_busy_voices(), mixer_voice_count);
}

TEST_F(Mixer, TheLoudestPossibleMixNeverClips) {
  for (int32_t i = 0; i < mixer_voice_count; ++i) {
    voice_spec s = long_tone(1.0f);
    s.shape = i % 2 ? wave::square : wave::saw;
    mixer_play(s);
  }
  mixer_set_drone(drone_hum, 1.0f, 200.0f, 0.0f);
  mixer_set_drone(drone_buzz, 1.0f, 70.0f, 0.0f);
  mixer_set_drone(drone_crackle, 1.0f, 2000.0f, 0.0f);
  const auto out = render(0.5f);
  EXPECT_GT(peak(out), 30000);
  EXPECT_LT(peak(out), 32767);
  // The limiter leaves quiet sound alone, bends loud sound smoothly and
  // turns a broken sample into silence.
  EXPECT_EQ(limit_sample(0.5f), 0.5f);
  EXPECT_EQ(limit_sample(-0.7f), -0.7f);
  EXPECT_LT(limit_sample(0.8f), 0.8f);
  EXPECT_LT(limit_sample(0.8f), limit_sample(0.9f));
  EXPECT_LT(limit_sample(1e9f), 1.0f);
  EXPECT_EQ(limit_sample(-limit_sample(3.0f)), -limit_sample(limit_sample(3.0f)));
  EXPECT_EQ(limit_sample(std::nanf("")), 0.0f);
}

TEST_F(Mixer, VolumeAndMute) {
  // In the middle, each side gets 1/sqrt(2) of the level.
  const double side = 0.5 * 32767 / std::sqrt(2.0);
  mixer_play(long_tone(0.5f));
  EXPECT_NEAR(peak(render(0.2f)), side, 100);
  mixer_set_volume(0.5f);
  render(0.3f);  // the gain glides to its new value
  EXPECT_NEAR(peak(render(0.1f)), side / 2, 100);
  mixer_set_muted(true);
  render(0.3f);
  EXPECT_EQ(peak(render(0.1f)), 0);
  mixer_set_muted(false);
  render(0.3f);
  EXPECT_NEAR(peak(render(0.1f)), side / 2, 100);

  // The same through the queue, as the game sends them.
  sound_command c;
  c.op = sound_op::mute;
  c.level = 1.0f;
  ASSERT_TRUE(post_sound(c));
  apply_sound_commands();
  EXPECT_TRUE(mixer.muted);
  c.op = sound_op::volume;
  c.level = 1.5f;
  ASSERT_TRUE(post_sound(c));
  apply_sound_commands();
  EXPECT_EQ(mixer.volume, 1.0f);
}

TEST_F(Mixer, TheQueueKeepsOrderAcrossThreadsAndRefusesWhenFull) {
  sound_command c;
  c.op = sound_op::play;
  for (uint32_t i = 0; i < sound_queue_capacity; ++i) {
    c.params.level = static_cast<float>(i);
    ASSERT_TRUE(post_sound(c));
  }
  EXPECT_FALSE(post_sound(c));
  EXPECT_EQ(sound_queue.dropped, 1u);
  sound_command got;
  for (uint32_t i = 0; i < sound_queue_capacity; ++i) {
    ASSERT_TRUE(take_sound(got));
    ASSERT_EQ(got.params.level, static_cast<float>(i));
  }
  EXPECT_FALSE(take_sound(got));

  // A producer and a consumer at once: every accepted command arrives, in
  // order, whole.
  reset_sound_queue();
  constexpr int32_t total = 50000;
  std::vector<int32_t> seen;
  seen.reserve(total);
  std::thread consumer([&] {
    sound_command in;
    while (static_cast<int32_t>(seen.size()) < total) {
      if (take_sound(in)) {
        ASSERT_EQ(in.params.length, in.params.level);
        seen.push_back(static_cast<int32_t>(in.params.level));
      }
    }
  });
  for (int32_t i = 0; i < total;) {
    c.params.level = c.params.length = static_cast<float>(i);
    if (post_sound(c)) ++i;
  }
  consumer.join();
  for (int32_t i = 0; i < total; ++i) ASSERT_EQ(seen[i], i);
}

}  // namespace
}  // namespace vorn
