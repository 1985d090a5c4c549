// The frame's record of happenings for sound.
#include "world/happenings.h"

namespace vorn {

happenings_t happenings;

void clear_happenings() {
  happenings.player_hit_link = -1;
  happenings.impacts = 0;
  happenings.links_broken = 0;
}

}  // namespace vorn
