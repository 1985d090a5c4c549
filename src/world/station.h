// The station: a diamond lattice of 181 square cells with 34 guns on its
// edges and its centre knocked out, built as one ship.
#pragma once

#include "base/color.h"

namespace vorn {

// Builds the station with its top cell centred at (x, y).
void make_station(color_t color, double x, double y);

}  // namespace vorn
