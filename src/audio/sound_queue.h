// The road from the game to the audio thread: a fixed-capacity,
// single-producer single-consumer ring of sound commands for one-off sounds
// and settings, and the drones' targets, where the latest value wins. The
// frame procedure posts, the audio callback takes; neither allocates or
// locks.
#pragma once

#include <atomic>
#include <cstdint>

#include "audio/mixer.h"
#include "audio/synth.h"

namespace vorn {

enum class sound_op : uint8_t { play, volume, mute };

struct sound_command {
  sound_op op = sound_op::play;
  voice_spec params;     // play
  float level = 0.0f;  // the volume (0..1), or mute (> 0)
};

constexpr uint32_t sound_queue_capacity = 256;

struct sound_queue_t {
  sound_command slots[sound_queue_capacity];
  std::atomic<uint32_t> head{0};  // next slot to take (consumer)
  std::atomic<uint32_t> tail{0};  // next slot to fill (producer)
  uint32_t dropped = 0;           // commands refused because the ring was full (producer)
};
// The audio callback never waits on a lock. ARMv5 (Debian's armel) has no
// atomic instructions of its own: there every 32-bit atomic goes through the
// kernel's lock-free helpers, which the compiler counts as "sometimes".
constexpr bool lock_free_32 = std::atomic<uint32_t>::is_always_lock_free || ATOMIC_INT_LOCK_FREE == 1;
static_assert(lock_free_32);

extern sound_queue_t sound_queue;

// Where each drone should be; the mixer glides there.
struct drone_targets_t {
  std::atomic<float> level[drone_count];
  std::atomic<float> freq[drone_count];
  std::atomic<float> pan[drone_count];
};
static_assert(std::atomic<float>::is_always_lock_free || lock_free_32);

extern drone_targets_t drone_targets;

// Producer side: the latest target of drone `id` (a drone_id).
void set_drone_target(int32_t id, float level, float freq, float pan);

// Producer side. False (and the command dropped) when the ring is full.
bool post_sound(const sound_command& c);
// Consumer side. False when the ring is empty.
bool take_sound(sound_command& c);
// Consumer side: applies every waiting command and the drones' targets to
// the mixer.
void apply_sound_commands();
// Only while no audio thread runs.
void reset_sound_queue();

}  // namespace vorn
