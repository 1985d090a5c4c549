// Each effect heard alone: how long it lasts and how loud it is, that the
// crack grows with the heat, that the player's wreck outweighs a dart's,
// that the respawn rises, and how the drones follow the game.
#include "audio_fixture.h"

namespace vorn {
namespace {

using Effects = AudioTest;

struct expected_sound {
  effect kind;
  double shortest, longest;  // audible length in seconds
  int32_t quietest, loudest; // peak sample
};

TEST_F(Effects, EachEffectHasItsLengthAndLevel) {
  const expected_sound table[] = {
      {effect::impact_crack, 0.03, 0.15, 6000, 24000},  {effect::link_snap, 0.02, 0.09, 2000, 12000},
      {effect::dart_wreck, 0.2, 0.55, 8000, 26000},    {effect::player_wreck, 0.5, 1.05, 12000, 30000},
      {effect::respawn_sweep, 0.45, 0.65, 4000, 16000}, {effect::guns_wake, 0.6, 0.9, 2000, 12000},
      {effect::victory_phrase, 1.0, 1.3, 6000, 22000},  {effect::game_over_phrase, 1.5, 2.0, 6000, 22000},
  };
  for (const expected_sound& e : table) {
    SetUp();
    play_effect(e.kind);
    const auto out = render(2.5f);
    const double length = audible_length(out);
    EXPECT_GE(length, e.shortest) << static_cast<int>(e.kind);
    EXPECT_LE(length, e.longest) << static_cast<int>(e.kind);
    EXPECT_GE(peak(out), e.quietest) << static_cast<int>(e.kind);
    EXPECT_LE(peak(out), e.loudest) << static_cast<int>(e.kind);
    EXPECT_EQ(mixer_busy_voices(), 0) << static_cast<int>(e.kind);
  }
}

TEST_F(Effects, LoudnessFollowsWhatHappened) {
  play_effect(effect::impact_crack, 0.1f);
  const int32_t soft = peak(render(0.3f));
  SetUp();
  play_effect(effect::impact_crack, 1.0f);
  const int32_t hard = peak(render(0.3f));
  EXPECT_GT(hard, soft * 3 / 2);

  SetUp();
  play_effect(effect::dart_wreck);
  const auto dart = render(1.2f);
  SetUp();
  play_effect(effect::player_wreck);
  const auto player = render(1.2f);
  EXPECT_GT(peak(player), peak(dart));
  EXPECT_GT(audible_length(player), audible_length(dart));

  // The respawn's sweep rises two octaves: zero crossings near its end
  // against near its start.
  SetUp();
  voice_spec params[effect_max_voices];
  effect_voices(effect::respawn_sweep, 1.0f, 0.0f, params);
  mixer_play(params[0]);
  const auto sweep = render(0.6f);
  EXPECT_GT(crossings_per_second(sweep, 0.4, 0.5), 2.0 * crossings_per_second(sweep, 0.05, 0.15));
}

TEST_F(Effects, EffectsArePlacedInStereo) {
  play_effect(effect::dart_wreck, 1.0f, -1.0f);
  const auto out = render(0.5f);
  int64_t left = 0, right = 0;
  for (size_t i = 0; i < out.size(); i += 2) {
    left += std::abs(out[i]);
    right += std::abs(out[i + 1]);
  }
  EXPECT_GT(left, 0);
  EXPECT_EQ(right, 0);
}

TEST_F(Effects, DronesFollowTheGame) {
  // The hum climbs two octaves as the hit link heats up to breaking, and no
  // further for a link past it.
  mixer_set_drone(drone_hum, hum_level, hum_pitch(0.5f), 0.0f);
  const auto hum = render(0.5f);
  EXPECT_NEAR(crossings_per_second(hum, 0.1, 0.5), 300.0, 10.0);
  EXPECT_FLOAT_EQ(hum_pitch(7.0f), 4 * hum_pitch(0.0f));

  // The buzz: quieter with distance, louder with more guns but not without
  // bound. The crackle is capped, so a whole ship breaking up at once
  // sounds like a handful of links, not hundreds.
  EXPECT_GT(buzz_level(50.0f, 1), buzz_level(400.0f, 1));
  EXPECT_LE(buzz_level(0.0f, 1000), 2 * buzz_level(0.0f, 1));
  EXPECT_LT(snap_level(400), snap_level(1));
  mixer_set_drone(drone_crackle, crackle_level(1000), crackle_rate(1000), 0.0f);
  const auto crackle = render(1.0f);
  EXPECT_GT(peak(crackle), 1000);
  EXPECT_LT(peak(crackle), 16000);

  // A drone switched off fades out instead of stopping with a click.
  mixer_set_drone(drone_crackle, 0.0f, 0.0f, 0.0f);
  mixer_set_drone(drone_hum, 0.0f, 150.0f, 0.0f);
  const auto fade = render(0.3f);
  EXPECT_GT(std::abs(fade[2]), 0);
  EXPECT_EQ(peak(std::vector<int16_t>(fade.end() - 2000, fade.end())), 0);
}

}  // namespace
}  // namespace vorn
