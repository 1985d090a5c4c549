// Every number that shapes the game, as a global with its built-in default,
// and the one table of them that drives loading, printing and the docs.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vorn {

extern bool debug;
extern int32_t screenx;
extern int32_t screeny;
extern double def_burndt;
extern double def_ds_cell_size;
extern double def_ds_radius;
extern double spawn_x;
extern double spawn_y;
extern int32_t spawn_particles;
extern double dt_max;
extern double dt_alpha;
extern double dt_beta;
extern double dt_gamma;
extern int32_t def_lives;
extern int32_t enemy_count;
extern double ds_xpos;
extern double ds_ypos;
extern double blow_temp;
extern double temp_decline;
extern double locked_repulse;
extern double impact_reaction;
extern int32_t impact_particles;
extern double hit_particle_dt;
extern double def_restart_dt;
extern double ai_ds_repulse;
extern double ai_repulse;
extern double ai_attract;
extern double ai_distance;
extern double ai_ram_distance;
extern double ai_turn_p;
extern double ai_turn_d;
extern double ai_firing_dist;
extern double ai_firing_ang;
extern double ai_beam_length;
extern double ai_gun_heat;
extern double ai_gun_force;
extern double ds_gun_heat;
extern double ds_gun_force;
extern double plr_turn_p;
extern double plr_turn_d;
extern double plr_thrust;
extern double plr_gun_heat;
extern double plr_gun_force;
extern double plr_beam_length;
// The gamepad's layout: axis and button numbers as SDL counts them (-1: none).
// They shape only how a pad's input becomes mouse and keyboard events, never
// the game itself.
extern int32_t pad_aim_x;
extern int32_t pad_aim_y;
extern int32_t pad_fire_axis;
extern int32_t pad_thrust_axis;
extern int32_t pad_fire_button;
extern int32_t pad_forward_button;
extern int32_t pad_reverse_button;
extern int32_t pad_pause_button;
extern int32_t pad_restart_button;
extern int32_t pad_dead_zone;
extern int32_t pad_aim_distance;

enum class tunable_kind { flag, integer, real };

// One row of the key table. Exactly one of the three pointers is set, by kind.
struct tunable {
  const char* key;
  tunable_kind kind;
  bool* flag_ptr;
  int32_t* int_ptr;
  double* real_ptr;
  double default_value;  // exact for every default in the table
  const char* meaning;
};

// The key table in the loader's matching order.
std::span<const tunable> tunable_table();

// Puts every tunable back to its default.
void reset_tunables();

// Every tunable's value in table order (a flag as 0 or 1), and putting such
// values back, bit for bit.
std::vector<double> save_tunables();
void restore_tunables(const std::vector<double>& saved);

}  // namespace vorn
