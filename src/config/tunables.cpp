// The tunables and their table.
#include "config/tunables.h"

#include <array>

namespace vorn {

// The defaults live in the table below alone; a static initializer applies
// them before main() runs (nothing reads a tunable during static start-up).
bool debug;
int32_t screenx;
int32_t screeny;
double def_burndt;
double def_ds_cell_size;
double def_ds_radius;
double spawn_x;
double spawn_y;
int32_t spawn_particles;
double dt_max;
double dt_alpha;
double dt_beta;
double dt_gamma;
int32_t def_lives;
int32_t enemy_count;
double ds_xpos;
double ds_ypos;
double blow_temp;
double temp_decline;
double locked_repulse;
double impact_reaction;
int32_t impact_particles;
double hit_particle_dt;
double def_restart_dt;
double ai_ds_repulse;
double ai_repulse;
double ai_attract;
double ai_distance;
double ai_ram_distance;
double ai_turn_p;
double ai_turn_d;
double ai_firing_dist;
double ai_firing_ang;
double ai_beam_length;
double ai_gun_heat;
double ai_gun_force;
double ds_gun_heat;
double ds_gun_force;
double plr_turn_p;
double plr_turn_d;
double plr_thrust;
double plr_gun_heat;
double plr_gun_force;
double plr_beam_length;
int32_t pad_aim_x;
int32_t pad_aim_y;
int32_t pad_fire_axis;
int32_t pad_thrust_axis;
int32_t pad_fire_button;
int32_t pad_forward_button;
int32_t pad_reverse_button;
int32_t pad_pause_button;
int32_t pad_restart_button;
int32_t pad_dead_zone;
int32_t pad_aim_distance;

namespace {

constexpr tunable flag_key(const char* key, bool* p, bool def, const char* meaning) {
  return tunable{key, tunable_kind::flag, p, nullptr, nullptr, def ? 1.0 : 0.0, meaning};
}
constexpr tunable int_key(const char* key, int32_t* p, int32_t def, const char* meaning) {
  return tunable{key, tunable_kind::integer, nullptr, p, nullptr, double(def), meaning};
}
constexpr tunable real_key(const char* key, double* p, double def, const char* meaning) {
  return tunable{key, tunable_kind::real, nullptr, nullptr, p, def, meaning};
}

const std::array table{
    flag_key("debug", &debug, false, "debug view of the world drawing (node dots, ship circles, seam lines)"),
    int_key("screenx", &screenx, 800, "requested screen width in pixels (the window may fit it smaller)"),
    int_key("screeny", &screeny, 600, "requested screen height in pixels"),
    real_key("def_burndt", &def_burndt, 1.0, "seconds a broken link burns before it disappears"),
    real_key("def_ds_cell_size", &def_ds_cell_size, 16.0, "cell size of the station's lattice"),
    real_key("def_ds_radius", &def_ds_radius, 130.0, "radius of the station ship"),
    real_key("spawn_x", &spawn_x, 200.0, "x of the player's spawn point"),
    real_key("spawn_y", &spawn_y, 200.0, "y of the player's spawn point"),
    int_key("spawn_particles", &spawn_particles, 1000, "particles in the burst at each player spawn"),
    real_key("dt_max", &dt_max, 0.05, "largest frame time simulated; longer frames are clamped"),
    real_key("dt_alpha", &dt_alpha, 0.002, "below it one substep per frame; also the link stiffness reference"),
    real_key("dt_beta", &dt_beta, 0.004, "below it (and from dt_alpha up) two substeps"),
    real_key("dt_gamma", &dt_gamma, 0.008, "below it (and from dt_beta up) four substeps, from it up eight"),
    int_key("def_lives", &def_lives, 3, "lives given by a game reset (building the first ship spends one)"),
    int_key("enemy_count", &enemy_count, 5, "enemy ships built by a game reset"),
    real_key("ds_xpos", &ds_xpos, -172.5, "x of the station's build point (enemies start near it)"),
    real_key("ds_ypos", &ds_ypos, -182.5, "y of the station's build point"),
    real_key("blow_temp", &blow_temp, 100.0, "link temperature above which the link breaks"),
    real_key("temp_decline", &temp_decline, 100.0, "link cooling per second"),
    real_key("locked_repulse", &locked_repulse, 100.0, "strength of the spring holding anchored station nodes"),
    real_key("impact_reaction", &impact_reaction, 1000.0, "heat added to each of the two links of an impact"),
    int_key("impact_particles", &impact_particles, 20, "particles sprayed per impact"),
    real_key("hit_particle_dt", &hit_particle_dt, 0.01, "least time between two beam-hit sparks"),
    real_key("def_restart_dt", &def_restart_dt, 2.0, "quiet time after the last impact before a wrecked player respawns"),
    real_key("ai_ds_repulse", &ai_ds_repulse, 100000000000.0, "strength of the enemies' push away from the station's centre"),
    real_key("ai_repulse", &ai_repulse, 1000000.0, "strength of the separation between enemy ships"),
    real_key("ai_attract", &ai_attract, 10000000.0, "strength of the enemies' pull towards the player"),
    real_key("ai_distance", &ai_distance, 200.0, "distance scale of that pull"),
    real_key("ai_ram_distance", &ai_ram_distance, 100.0, "closer than this, an enemy with a working nose backs off"),
    real_key("ai_turn_p", &ai_turn_p, 2000.0, "proportional turning gain of enemies (per 180 degrees of error)"),
    real_key("ai_turn_d", &ai_turn_d, 5.0, "damping turning gain of enemies"),
    real_key("ai_firing_dist", &ai_firing_dist, 120.0, "enemies fire only closer than this to the player"),
    real_key("ai_firing_ang", &ai_firing_ang, 30.0, "and only when facing the player within this many degrees"),
    real_key("ai_beam_length", &ai_beam_length, 100.0, "length of an enemy beam"),
    real_key("ai_gun_heat", &ai_gun_heat, 200.0, "heat per second an enemy beam puts into the link it hits"),
    real_key("ai_gun_force", &ai_gun_force, 200.0, "push an enemy beam gives the link it hits"),
    real_key("ds_gun_heat", &ds_gun_heat, 100.0, "heat per second of a station gun's beam"),
    real_key("ds_gun_force", &ds_gun_force, 200.0, "push of a station gun's beam"),
    real_key("plr_turn_p", &plr_turn_p, 2000.0, "proportional turning gain of the player's ship"),
    real_key("plr_turn_d", &plr_turn_d, 5.0, "damping turning gain of the player's ship"),
    real_key("plr_thrust", &plr_thrust, 1000.0, "thrust acceleration of the player's ship"),
    real_key("plr_gun_heat", &plr_gun_heat, 200.0, "heat per second of the player's beam"),
    real_key("plr_gun_force", &plr_gun_force, 200.0, "push of the player's beam"),
    real_key("plr_beam_length", &plr_beam_length, 250.0, "length of the player's beam; station gun beams reach this minus 5"),
    int_key("pad_aim_x", &pad_aim_x, 0, "gamepad axis that aims left and right (-1: none)"),
    int_key("pad_aim_y", &pad_aim_y, 1, "gamepad axis that aims up and down (-1: none)"),
    int_key("pad_fire_axis", &pad_fire_axis, 5, "gamepad trigger axis that fires while pulled (-1: none)"),
    int_key("pad_thrust_axis", &pad_thrust_axis, 2, "gamepad trigger axis that thrusts forwards while pulled (-1: none)"),
    int_key("pad_fire_button", &pad_fire_button, 5, "gamepad button that fires while held (-1: none)"),
    int_key("pad_forward_button", &pad_forward_button, 0, "gamepad button that thrusts forwards (-1: none)"),
    int_key("pad_reverse_button", &pad_reverse_button, 1, "gamepad button that thrusts backwards (-1: none)"),
    int_key("pad_pause_button", &pad_pause_button, 7, "gamepad button that pauses (-1: none)"),
    int_key("pad_restart_button", &pad_restart_button, 6, "gamepad button that acts as Enter (restart after Game Over) (-1: none)"),
    int_key("pad_dead_zone", &pad_dead_zone, 8000, "stick deflection (of 32767) that still counts as rest"),
    int_key("pad_aim_distance", &pad_aim_distance, 100, "screen pixels from the ship at which the stick places the pointer"),
};

void set_value(const tunable& t, double value) {
  switch (t.kind) {
    case tunable_kind::flag: *t.flag_ptr = value != 0.0; break;
    case tunable_kind::integer: *t.int_ptr = static_cast<int32_t>(value); break;
    case tunable_kind::real: *t.real_ptr = value; break;
  }
}

}  // namespace

std::span<const tunable> tunable_table() { return table; }

void reset_tunables() {
  for (const tunable& t : table) set_value(t, t.default_value);
}

std::vector<double> save_tunables() {
  std::vector<double> saved;
  for (const tunable& t : table) {
    switch (t.kind) {
      case tunable_kind::flag: saved.push_back(*t.flag_ptr ? 1.0 : 0.0); break;
      case tunable_kind::integer: saved.push_back(*t.int_ptr); break;
      case tunable_kind::real: saved.push_back(*t.real_ptr); break;
    }
  }
  return saved;
}

void restore_tunables(const std::vector<double>& saved) {
  for (std::size_t k = 0; k < table.size() && k < saved.size(); ++k) set_value(table[k], saved[k]);
}

[[maybe_unused]] const bool defaults_applied = (reset_tunables(), true);

}  // namespace vorn
