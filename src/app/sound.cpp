// From the game's frame to sound commands: one-off effects for what
// happened, the drones for what goes on (beams, burning links).
#include "app/sound.h"

#include <cstdio>
#include <string>

#include "app/window.h"
#include "audio/effects.h"
#include "audio/mixer.h"
#include "audio/sound_queue.h"
#include "config/tunables.h"
#include "platform/audio_out.h"
#include "sim/step.h"
#include "world/geometry.h"
#include "world/happenings.h"
#include "world/ships.h"
#include "world/world.h"

namespace vorn {

sound_state sound;

namespace {

// At most this many impacts are heard per frame.
constexpr int32_t cracks_per_frame = 3;
// At most this many darts are heard breaking up in one frame (victory
// breaks them all at once).
constexpr int32_t wrecks_per_frame = 2;

void fill_sound(int16_t* out, int32_t frames) {
  apply_sound_commands();
  mixer_render(out, frames);
}

bool node_up(int32_t k) { return k >= 0 && static_cast<size_t>(k) < nodes.size() && nodes[k].alive; }
bool link_up(int32_t j) { return j >= 0 && static_cast<size_t>(j) < links.size() && links[j].alive; }

// The same wreck tests as the respawn rule: nose or tail gone, or both
// diagonals, or either pair of opposite sides.
bool player_is_wrecked() {
  if (ships.empty()) return true;
  return !node_up(0) || !node_up(2) || (!link_up(4) && !link_up(5)) || (!link_up(0) && !link_up(2)) ||
         (!link_up(1) && !link_up(3));
}

// Pan of a world point: left or right of the screen's centre (the point the
// camera looks at), the shortest way round the wrapped world.
float pan_of(vec2 p) { return pan_for(wrap_diff(p, scale(camera, -1.0)).x, screen_w); }

void play(effect e, float strength, float pan) {
  voice_spec params[effect_max_voices];
  const int32_t n = effect_voices(e, strength, pan, params);
  sound_command c;
  c.op = sound_op::play;
  for (int32_t i = 0; i < n; ++i) {
    c.params = params[i];
    post_sound(c);
  }
}

void set_drone(int32_t id, float level, float freq, float pan) { set_drone_target(id, level, freq, pan); }

// Least time between two sounds of the same kind of one-off, so that a game
// running at hundreds of frames per second does not flood the mixer.
constexpr double effect_gap = 0.03;

bool may_play(effect e) {
  double& wait = sound.wait[static_cast<int32_t>(e)];
  if (wait > 0) return false;
  wait = effect_gap;
  return true;
}

void player_hum() {
  const bool firing = !paused && !ships.empty() && ships[0].firing && node_up(2);
  if (!firing) {
    set_drone(drone_hum, 0.0f, hum_pitch(0.0f), 0.0f);
    return;
  }
  float heat = 0.0f;
  const int32_t hit = happenings.player_hit_link;
  if (hit >= 0 && static_cast<size_t>(hit) < links.size() && blow_temp > 0) {
    heat = static_cast<float>(links[hit].temp / blow_temp);
  }
  set_drone(drone_hum, hum_level, hum_pitch(heat), pan_of(nodes[2].pos));
}

// The nearest hostile gun firing, and how many fire: enemy noses, and the
// station's guns that have the player in their beam.
void hostile_buzz() {
  int32_t count = 0;
  double nearest = 0.0;
  vec2 at;
  const vec2 me = ships.empty() ? vec(0, 0) : ships[0].pos;
  auto source = [&](vec2 p) {
    const double d = len(wrap_diff(p, me));
    if (count == 0 || d < nearest) {
      nearest = d;
      at = p;
    }
    ++count;
  };
  if (!paused) {
    for (size_t k = 2; k < ships.size(); ++k) {
      if (ships[k].firing && ships[k].nalive > 0) source(ships[k].pos);
    }
    if (ships.size() >= 2 && ships[1].firing) {
      const shprec& station = ships[1];
      for (size_t g = 0; g < station.gun_fire.size() && g < station.guns.size(); ++g) {
        if (station.gun_fire[g] && node_up(station.guns[g])) source(nodes[station.guns[g]].pos);
      }
    }
  }
  set_drone(drone_buzz, buzz_level(static_cast<float>(nearest), count), buzz_pitch, count ? pan_of(at) : 0.0f);
}

void burning_crackle() {
  int32_t burning = 0;
  if (!paused) {
    for (const linkrec& l : links) burning += l.alive && l.burning;
  }
  set_drone(drone_crackle, crackle_level(burning), crackle_rate(burning), 0.0f);
}

void one_off_effects() {
  int32_t heard = happenings.impacts < cracks_per_frame ? happenings.impacts : cracks_per_frame;
  if (heard > 0 && !may_play(effect::impact_crack)) heard = 0;
  for (int32_t i = 0; i < heard; ++i) {
    const double h = happenings.impact_heat[i];
    play(effect::impact_crack, static_cast<float>(h > 0 ? h / (h + 500.0) : 0.0), pan_of(happenings.impact_at[i]));
  }
  int32_t snaps = snaps_to_play(happenings.links_broken);
  if (snaps > 0 && !may_play(effect::link_snap)) snaps = 0;
  for (int32_t i = 0; i < snaps; ++i) {
    play(effect::link_snap, snap_level(happenings.links_broken), pan_of(happenings.broken_at[i]));
  }
  int32_t wrecks = 0;
  for (size_t k = 2; k < ships.size() && k < static_cast<size_t>(sound_dart_slots); ++k) {
    const bool wrecked = ships[k].nalive <= 3;
    if (wrecked && !sound.dart_wrecked[k] && sound.primed && wrecks++ < wrecks_per_frame) {
      play(effect::dart_wreck, 1.0f, pan_of(ships[k].pos));
    }
    sound.dart_wrecked[k] = wrecked;
  }
  const bool wrecked = player_is_wrecked();
  if (wrecked && !sound.player_wrecked && sound.primed) play(effect::player_wreck, 1.0f, pan_of(ships[0].pos));
  sound.player_wrecked = wrecked;
}

void rule_effects() {
  const bool guns = ships.size() >= 2 && ships[1].firing;
  const bool restarted = sound.primed && sound.game_over && !game_over;
  const bool respawned = sound.primed && lives < sound.lives && !game_over;
  if (!sound.primed || restarted || respawned) play(effect::respawn_sweep, 1.0f, pan_of(vec(spawn_x, spawn_y)));
  if (guns && !sound.guns_firing && sound.primed) play(effect::guns_wake, 1.0f, pan_of(ships[1].pos));
  if (victory && !sound.victory) play(effect::victory_phrase, 1.0f, 0.0f);
  if (game_over && !sound.game_over) play(effect::game_over_phrase, 1.0f, 0.0f);
  sound.lives = lives;
  sound.game_over = game_over;
  sound.victory = victory;
  sound.guns_firing = guns;
}

void post_level(sound_op op, float level) {
  sound_command c;
  c.op = op;
  c.level = level;
  post_sound(c);
}

}  // namespace

bool start_sound(int32_t volume) {
  reset_mixer();
  reset_sound_queue();
  sound.volume = volume < 0 ? 0 : volume > 100 ? 100 : volume;
  mixer_set_volume(sound.volume / 100.0f);
  mixer.gain = mixer.volume;
  mixer_set_muted(sound.muted);
  std::string why;
  if (!open_audio(fill_sound, why)) {
    std::fprintf(stderr, "vorn: no sound (%s); playing on silently\n", why.c_str());
    sound.enabled = false;
    return false;
  }
  sound.enabled = true;
  return true;
}

void stop_sound() {
  close_audio();
  sound.enabled = false;
}

void listen_to_frame(double dt) {
  for (double& wait : sound.wait) wait -= dt;
  one_off_effects();
  rule_effects();
  player_hum();
  hostile_buzz();
  burning_crackle();
  sound.primed = true;
}

void sound_frame(double dt) {
  if (sound.enabled) listen_to_frame(dt);
  clear_happenings();
}

void toggle_sound_mute() {
  sound.muted = !sound.muted;
  if (sound.enabled) post_level(sound_op::mute, sound.muted ? 1.0f : 0.0f);
}

void reset_sound_state() {
  sound = sound_state{};
  clear_happenings();
}

}  // namespace vorn
