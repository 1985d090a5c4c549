// A request to stop the game at once, made from a signal handler. The long
// loops of a frame look at it at safe points and give the rest of the frame
// up; such a frame is abandoned: nothing of it may be counted or recorded.
#pragma once

namespace vorn {

// Asks for the stop; safe to call from a signal handler or any thread.
void request_stop();
// True once a stop was asked for.
bool stop_requested();

// At a safe point inside a frame: true when the rest of the frame is to be
// skipped (a stop was asked for); the frame then counts as abandoned.
bool give_up_frame();
// True when a frame was given up since the last reset.
bool frame_abandoned();

// No stop asked for, no frame abandoned (the state at program start).
void reset_stop_request();

}  // namespace vorn
