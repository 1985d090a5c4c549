// From the game to sound: what the frame did reaches the sound queue as the
// matching effects and drone targets, and listening changes nothing in the
// game, its checksum or its random generator.
#include <gtest/gtest.h>

#include <vector>

#include "app/sound.h"
#include "app/state_hash.h"
#include "audio/effects.h"
#include "audio/sound_queue.h"
#include "base/rng.h"
#include "config/tunables.h"
#include "sim/step.h"
#include "support/clean_game.h"
#include "world/happenings.h"
#include "world/ships.h"
#include "world/world.h"

namespace vorn {
namespace {

class SoundBridge : public testing::Test {
 protected:
  void SetUp() override {
    vorn_test::start_clean_game();
    reset_sound_state();
    reset_sound_queue();
  }
  void TearDown() override {
    reset_sound_state();
    reset_sound_queue();
    clear_world();
  }

  // The effects whose voices were posted since the last call, in order.
  static std::vector<effect> posted_effects() {
    std::vector<sound_command> got;
    sound_command c;
    while (take_sound(c)) {
      if (c.op == sound_op::play) got.push_back(c);
    }
    std::vector<effect> found;
    size_t i = 0;
    while (i < got.size()) {
      bool matched = false;
      for (int32_t e = 0; e < effect_kinds && !matched; ++e) {
        voice_spec params[effect_max_voices];
        const int32_t n = effect_voices(static_cast<effect>(e), 1.0f, 0.0f, params);
        if (i + n > got.size()) continue;
        matched = true;
        for (int32_t k = 0; k < n; ++k) {
          const voice_spec& s = got[i + k].params;
          matched &= s.shape == params[k].shape && s.freq_start == params[k].freq_start &&
                     s.length == params[k].length && s.delay == params[k].delay;
        }
        if (matched) {
          found.push_back(static_cast<effect>(e));
          i += n;
        }
      }
      if (!matched) ++i;
    }
    return found;
  }

  static bool has(const std::vector<effect>& v, effect e) {
    for (effect x : v) {
      if (x == e) return true;
    }
    return false;
  }

  static int32_t free_link(vec2 a, vec2 b) {
    const int32_t na = add_node(false, grey, a.x, a.y, 0, 0);
    const int32_t nb = add_node(false, grey, b.x, b.y, 0, 0);
    add_link(na, nb, grey);
    return static_cast<int32_t>(links.size()) - 1;
  }
};

TEST_F(SoundBridge, TheBeamHumRisesWithTheHeatOfTheLinkItHits) {
  make_player(grey, 0, 0);
  add_ship();  // the station's slot, empty
  const int32_t target = free_link(vec(-10, -100), vec(10, -100));
  listen_to_frame(0.01);
  EXPECT_TRUE(has(posted_effects(), effect::respawn_sweep));  // the first frame is a new ship
  EXPECT_EQ(drone_targets.level[drone_hum].load(), 0.0f);     // not firing yet

  ships[0].firing = true;
  float last = 0.0f;
  for (int32_t frame = 0; frame < 5; ++frame) {
    run_substeps(0.05);
    listen_to_frame(0.05);
    clear_happenings();
    EXPECT_GT(drone_targets.level[drone_hum].load(), 0.0f);
    EXPECT_GT(drone_targets.freq[drone_hum].load(), last);
    last = drone_targets.freq[drone_hum].load();
  }
  EXPECT_GT(links[target].temp, 0.0);
  paused = true;
  listen_to_frame(0.05);
  EXPECT_EQ(drone_targets.level[drone_hum].load(), 0.0f);  // a paused game is quiet
}

TEST_F(SoundBridge, ImpactsBreaksAndWrecksAreHeardOnce) {
  make_player(grey, 0, 0);
  add_ship();
  listen_to_frame(0.01);
  posted_effects();
  // A long link across the diamond: the sampled player link meets it.
  free_link(vec(-30, 5), vec(30, 5));
  for (int32_t i = 0; i < 40 && happenings.impacts == 0; ++i) substep(0.001);
  ASSERT_GT(happenings.impacts, 0);
  EXPECT_GT(happenings.links_broken, 0);
  listen_to_frame(0.01);
  const auto heard = posted_effects();
  EXPECT_TRUE(has(heard, effect::impact_crack));
  EXPECT_TRUE(has(heard, effect::link_snap));

  // The player's ship loses its nose: one wreck sound, not one per frame.
  clear_happenings();
  kill_node(2);
  listen_to_frame(0.01);
  EXPECT_TRUE(has(posted_effects(), effect::player_wreck));
  listen_to_frame(0.01);
  EXPECT_FALSE(has(posted_effects(), effect::player_wreck));
}

TEST_F(SoundBridge, TheRulesHaveTheirPhrases) {
  make_player(grey, 0, 0);
  add_ship();
  listen_to_frame(0.01);
  posted_effects();
  ships[1].firing = true;
  victory = true;
  listen_to_frame(0.01);
  auto heard = posted_effects();
  EXPECT_TRUE(has(heard, effect::guns_wake));
  EXPECT_TRUE(has(heard, effect::victory_phrase));
  lives = 0;
  respawn();  // no life left
  listen_to_frame(0.01);
  EXPECT_TRUE(has(posted_effects(), effect::game_over_phrase));
  listen_to_frame(0.01);
  EXPECT_TRUE(posted_effects().empty());
}

TEST_F(SoundBridge, ListeningChangesNothingInTheGame) {
  make_player(grey, 0, 0);
  add_ship();
  free_link(vec(-30, 5), vec(30, 5));
  ships[0].firing = true;
  set_random_seed(777);
  for (int32_t i = 0; i < 20; ++i) substep(0.001);
  const uint64_t before = state_checksum();
  const uint32_t seed = random_seed();
  listen_to_frame(0.02);
  sound_frame(0.02);
  EXPECT_EQ(state_checksum(), before);
  EXPECT_EQ(random_seed(), seed);
  // With sound off the frame's happenings are still forgotten, so they never pile up.
  EXPECT_EQ(happenings.impacts, 0);
  EXPECT_EQ(happenings.player_hit_link, -1);
}

}  // namespace
}  // namespace vorn
