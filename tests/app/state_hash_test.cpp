// The state checksum is the same for the same game on every build: NaNs of
// either sign and any payload count as one, other values by their bits.
#include "app/state_hash.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "world/world.h"

namespace vorn {
namespace {

uint64_t checksum_with_node_at(double x) {
  clear_world();
  add_node(false, 0, x, 0, 0, 0);
  const uint64_t c = state_checksum();
  clear_world();
  return c;
}

TEST(StateChecksum, EveryNanCountsAsOne) {
  const double quiet = std::bit_cast<double>(uint64_t{0x7FF8000000000000});
  const double negative = std::bit_cast<double>(uint64_t{0xFFF8000000000000});  // what 0 * inf gives on x86
  const double payload = std::bit_cast<double>(uint64_t{0x7FF0000000000123});
  const uint64_t c = checksum_with_node_at(quiet);
  EXPECT_EQ(checksum_with_node_at(negative), c);
  EXPECT_EQ(checksum_with_node_at(payload), c);
  EXPECT_NE(checksum_with_node_at(0.0), checksum_with_node_at(-0.0));
  EXPECT_NE(checksum_with_node_at(1.0), c);
}

}  // namespace
}  // namespace vorn
