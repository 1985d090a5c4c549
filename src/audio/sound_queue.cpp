// The sound command ring and its hand-over to the mixer.
#include "audio/sound_queue.h"

#include "audio/mixer.h"

namespace vorn {

sound_queue_t sound_queue;
drone_targets_t drone_targets;

bool post_sound(const sound_command& c) {
  const uint32_t tail = sound_queue.tail.load(std::memory_order_relaxed);
  const uint32_t head = sound_queue.head.load(std::memory_order_acquire);
  if (tail - head >= sound_queue_capacity) {
    ++sound_queue.dropped;
    return false;
  }
  sound_queue.slots[tail % sound_queue_capacity] = c;
  sound_queue.tail.store(tail + 1, std::memory_order_release);
  return true;
}

bool take_sound(sound_command& c) {
  const uint32_t head = sound_queue.head.load(std::memory_order_relaxed);
  const uint32_t tail = sound_queue.tail.load(std::memory_order_acquire);
  if (head == tail) return false;
  c = sound_queue.slots[head % sound_queue_capacity];
  sound_queue.head.store(head + 1, std::memory_order_release);
  return true;
}

void apply_sound_commands() {
  sound_command c;
  while (take_sound(c)) {
    switch (c.op) {
      case sound_op::play: mixer_play(c.params); break;
      case sound_op::volume: mixer_set_volume(c.level); break;
      case sound_op::mute: mixer_set_muted(c.level > 0); break;
    }
  }
  for (int32_t id = 0; id < drone_count; ++id) {
    mixer_set_drone(id, drone_targets.level[id].load(std::memory_order_relaxed),
                    drone_targets.freq[id].load(std::memory_order_relaxed),
                    drone_targets.pan[id].load(std::memory_order_relaxed));
  }
}

void set_drone_target(int32_t id, float level, float freq, float pan) {
  if (id < 0 || id >= drone_count) return;
  drone_targets.level[id].store(level, std::memory_order_relaxed);
  drone_targets.freq[id].store(freq, std::memory_order_relaxed);
  drone_targets.pan[id].store(pan, std::memory_order_relaxed);
}

void reset_sound_queue() {
  sound_queue.head.store(0);
  sound_queue.tail.store(0);
  sound_queue.dropped = 0;
  for (int32_t id = 0; id < drone_count; ++id) set_drone_target(id, 0.0f, 100.0f, 0.0f);
}

}  // namespace vorn
