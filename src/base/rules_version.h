// Which generation of the game's rules is in force. A demo replays under the
// rules of the game that recorded it, so demos people already have keep
// replaying after a deliberate change of behaviour. Every new game, and every
// recording, plays by the newest rules.
//
//   1  bearings take the C library's arctangent; after a restart the elapsed
//      time counts on from the moment the previous game ended
//   2  bearings take the game's own correctly rounded arctangent; after a
//      restart the elapsed time starts again from 0
#pragma once

namespace vorn {

constexpr int newest_rules_version = 2;

// Set by the run before the first game reset; read by the code whose
// behaviour differs between generations.
inline int rules_version = newest_rules_version;

inline void reset_rules_version() { rules_version = newest_rules_version; }

}  // namespace vorn
