// The scripted games and their runner.
#include "tools/scenarios.h"

#include <cmath>
#include <cstdlib>

#include "app/commands.h"
#include "app/game.h"
#include "app/version.h"
#include "app/window.h"
#include "base/rounding.h"
#include "config/load_config.h"
#include "config/tunables.h"
#include "gfx/font.h"
#include "sim/rules.h"
#include "sim/session.h"
#include "world/geometry.h"
#include "world/ships.h"
#include "world/world.h"

namespace vorn {

namespace {

// Key symbols of the keyboard commands.
constexpr int32_t key_return = 13;
constexpr int32_t key_w = 119;

vec2 player_centre() { return ships.empty() ? vec(0, 0) : ships[0].pos; }

vec2 station_centre() { return ships.size() > 1 ? ships[1].pos : vec(0, 0); }

// The centre of the nearest enemy still in one piece, or false.
bool nearest_enemy(vec2& out) {
  double best = -1;
  for (size_t k = 2; k < ships.size(); ++k) {
    if (ships[k].nalive < 4) continue;
    const double d = len2(wrap_diff(ships[k].pos, player_centre()));
    if (best < 0 || d < best) {
      best = d;
      out = ships[k].pos;
    }
  }
  return best >= 0;
}

// Fly straight into the station, forward thrust held.
void ram_station(scenario_player& p) {
  if (p.frame == 0) p.key_down(key_w);
  p.point_at(station_centre());
}

// Hunt the nearest enemy dart with the beam held on it.
void shoot_enemy(scenario_player& p) {
  vec2 target;
  if (nearest_enemy(target)) p.point_at(target);
  if (p.frame == 10) p.button_down(p.frame % 7 + 300, 200);
}

// Spawned in the station's hollow centre, below the core: aim up and fire,
// then leave through the victory prompt.
void reach_core(scenario_player& p) {
  p.point_at_screen(screen_w / 2, screen_h / 2 - 200);
  if (p.frame == 5) p.button_down(screen_w / 2, screen_h / 2 - 200);
  if (p.frame == 170) p.key_down(key_return);
}

const std::vector<scenario> all_scenarios = {
    {"ram_station", "", 300, 1.0 / 60, ram_station},
    // Darts that are not thrown off by the station hover near the player,
    // and a beam hot enough to cut them while they dodge.
    {"shoot_enemy", "ai_ds_repulse=0\nplr_gun_heat=3000\n", 1200, 1.0 / 60, shoot_enemy},
    {"wrecked_to_game_over", "def_lives=2\ndef_restart_dt=0.5\n", 600, 1.0 / 60, ram_station},
    // A station of wide cells with the player inside its hollow centre.
    {"victory", "def_ds_cell_size=32\nenemy_count=2\nspawn_x=-172.5\nspawn_y=129.5\n", 240, 1.0 / 60, reach_core},
};

}  // namespace

void scenario_player::send(int32_t kind, int32_t x, int32_t y, int32_t key, uint16_t state) {
  if (exit_requested) return;
  if (recorder_) recorder_->event({kind, x, y, key, state});
  game_event(kind, x, y, key, state);
}

void scenario_player::point_at_screen(int32_t x, int32_t y) {
  send(ev_mouse_move, x, y, 0, left_held_ ? st_left : 0);
}

void scenario_player::point_at(vec2 world_point) {
  // Like a person: the pointer goes in the target's direction from the ship
  // (which the camera keeps at the centre), at most 250 pixels out.
  const vec2 d = wrap_diff(world_point, player_centre());
  const double l = len(d);
  const double r = l < 250 ? l : 250;
  const vec2 u = l > 0 ? scale(d, r / l) : vec(0, -1);
  point_at_screen(screen_w / 2 + round_int(u.x), screen_h / 2 + round_int(u.y));
}

void scenario_player::key_down(int32_t key) { send(ev_key_down, 0, 0, key, left_held_ ? st_left : 0); }

void scenario_player::key_up(int32_t key) { send(ev_key_up, 0, 0, key, left_held_ ? st_left : 0); }

void scenario_player::button_down(int32_t x, int32_t y) {
  left_held_ = true;
  send(ev_button_down, x, y, 0, st_left);
}

void scenario_player::button_up(int32_t x, int32_t y) {
  left_held_ = false;
  send(ev_button_up, x, y, 0, 0);
}

const std::vector<scenario>& scenarios() { return all_scenarios; }

const scenario* find_scenario(const std::string& name) {
  for (const scenario& s : all_scenarios)
    if (s.name == name) return &s;
  return nullptr;
}

int64_t run_scenario(const scenario& s, const std::string& demo_file) {
  reset_session();
  reset_window_state();
  apply_config_text(s.settings);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (!font_ready) load_font();
  if (!open_window(screenx, screeny, 32, false, game_caption, game_frame, game_event)) return 0;
  game_reset(false);
  demo_recorder recorder;
  if (!demo_file.empty() && !recorder.open(demo_file)) {
    close_window();
    return 0;
  }
  scenario_player player(demo_file.empty() ? nullptr : &recorder);
  int64_t frames = 0;
  for (; frames < s.frames; ++frames) {
    player.frame = frames;
    s.play(player);
    if (exit_requested) break;
    const double t = static_cast<double>(frames + 1) * s.dt;
    if (recorder.is_open()) recorder.frame(s.dt, t);
    game_frame(s.dt, t);
    if (recorder.is_open()) recorder.after_frame(frames + 1);
  }
  const bool recorded = !recorder.is_open() || recorder.close(frames);
  close_window();
  return recorded ? frames : 0;
}

}  // namespace vorn
