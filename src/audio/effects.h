// The game's sound effects as voice recipes: what each event sounds like,
// and how the continuous sounds follow the game (the beam hum's pitch, the
// buzz's fall-off with distance, the crackle's cap).
#pragma once

#include <cstdint>

#include "audio/synth.h"

namespace vorn {

enum class effect : uint8_t {
  impact_crack,    // a collision; louder with the heat it adds
  link_snap,       // a link breaks
  dart_wreck,      // an enemy dart falls apart: thump and noise burst
  player_wreck,    // the player's ship: a bigger one
  respawn_sweep,   // a new ship: a rising sweep
  guns_wake,       // the station's guns start firing
  victory_phrase,  // "Victory!"
  game_over_phrase // "Game Over"
};

constexpr int32_t effect_kinds = 8;
constexpr int32_t effect_max_voices = 6;

// The voices of effect e at `strength` (0..1; the crack and the snap use it) and
// pan position; returns how many were written into out.
int32_t effect_voices(effect e, float strength, float pan, voice_spec* out);

// The hum of the player's beam: its pitch in Hz for the hit link's heat as
// a fraction of the breaking point (0 when nothing is hit), two octaves up
// from cold to breaking.
float hum_pitch(float heat_fraction);
constexpr float hum_level = 0.22f;

// The buzz of enemy beams and station guns: its level for the nearest
// firing gun at `distance` world units from the player, and `count` guns
// firing.
float buzz_level(float distance, int32_t count);
constexpr float buzz_pitch = 72.0f;

// The crackle of burning links: sparks per second and level for `burning`
// links, both capped so a whole ship breaking up stays pleasant.
float crackle_rate(int32_t burning);
float crackle_level(int32_t burning);

// Snaps played for `broken` links breaking in one frame, and the level of
// each: at most a few, quieter when there are many.
int32_t snaps_to_play(int32_t broken);
float snap_level(int32_t broken);

// Pan position of a point `dx` world units right of the screen's centre on
// a screen `screen_width` pixels wide: -1 at the left edge, 1 at the right,
// clamped beyond.
float pan_for(double dx, int32_t screen_width);

}  // namespace vorn
