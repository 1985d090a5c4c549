// The state checksum, field by field (never whole structs, whose padding
// bytes are undefined).
#include "app/state_hash.h"

#include <cstring>

#include "base/double_bits.h"
#include "base/rng.h"
#include "config/tunables.h"
#include "gfx/draw.h"
#include "sim/beams.h"
#include "sim/control.h"
#include "sim/rules.h"
#include "sim/step.h"
#include "world/geometry.h"
#include "world/ships.h"
#include "world/world.h"

namespace vorn {

namespace {

class fnv1a {
 public:
  // Every value goes in least significant byte first, whatever the
  // machine's byte order, so that every machine agrees on the checksum.
  void u64(uint64_t v) { little_endian(v, 8); }
  void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
  void u32(uint32_t v) { little_endian(v, 4); }
  void flag(bool v) { u32(v ? 1u : 0u); }
  // Every NaN counts as one, so that two builds that play the same game
  // agree on its checksum.
  void real(double v) { u64(canonical_bits(v)); }
  void point(vec2 v) {
    real(v.x);
    real(v.y);
  }
  uint64_t value() const { return h_; }

 private:
  void little_endian(uint64_t v, int32_t count) {
    for (int32_t i = 0; i < count; ++i, v >>= 8) {
      h_ ^= v & 0xFF;
      h_ *= 0x100000001b3ull;
    }
  }
  uint64_t h_ = 0xcbf29ce484222325ull;
};

void hash_nodes(fnv1a& h) {
  h.u64(nodes.size());
  for (const noderec& n : nodes) {
    h.flag(n.alive);
    h.flag(n.locked);
    h.i32(n.nlinks);
    h.i32(n.ship);
    h.point(n.pos);
    h.point(n.anchor);
    h.point(n.vel);
    h.point(n.force);
    h.u32(n.color);
  }
}

void hash_links(fnv1a& h) {
  h.u64(links.size());
  for (const linkrec& l : links) {
    h.flag(l.alive);
    h.flag(l.burning);
    h.real(l.burn_left);
    h.real(l.temp);
    h.point(l.end_a);
    h.point(l.end_b);
    h.i32(l.a);
    h.i32(l.b);
    h.real(l.rest);
    h.u32(l.color);
  }
}

void hash_ships(fnv1a& h) {
  h.u64(ships.size());
  for (const shprec& s : ships) {
    h.flag(s.alive);
    h.u64(s.nodes.size());
    for (int32_t n : s.nodes) h.i32(n);
    h.u64(s.guns.size());
    for (int32_t g : s.guns) h.i32(g);
    h.u64(s.gun_aim.size());
    for (vec2 a : s.gun_aim) h.point(a);
    h.u64(s.gun_fire.size());
    for (bool f : s.gun_fire) h.flag(f);
    h.point(s.pos);
    h.real(s.radius);
    h.i32(s.nalive);
    h.flag(s.firing);
    h.point(s.aim);
  }
}

void hash_particles(fnv1a& h) {
  h.u64(particles.size());
  for (const partrec& p : particles) {
    h.flag(p.alive);
    h.real(p.life);
    h.point(p.pos);
    h.point(p.vel);
    h.u32(p.color);
  }
}

void hash_game_state(fnv1a& h) {
  h.i32(lives);
  h.flag(game_over);
  h.flag(victory);
  h.i32(player_links);
  h.flag(cam_glide);
  h.u32(random_seed());
  h.real(restart_timer);
  h.real(hit_particle_timer);
  h.real(game_clock.current);
  h.real(game_clock.start);
  h.real(game_clock.last_frame);
  h.point(camera);
  h.i32(cam_dx);
  h.i32(cam_dy);
  h.i32(world_w);
  h.i32(world_h);
  h.flag(keys_held.forward);
  h.flag(keys_held.reverse);
  h.flag(keys_held.fire);
  h.i32(mouse_x);
  h.i32(mouse_y);
  h.flag(paused);
  h.flag(debug);
  h.i32(line_mode);
}

}  // namespace

uint64_t state_checksum() {
  fnv1a h;
  hash_nodes(h);
  hash_links(h);
  hash_ships(h);
  hash_particles(h);
  hash_game_state(h);
  return h.value();
}

}  // namespace vorn
