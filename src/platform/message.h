// Reports meant for a message box: on this platform they go to standard error.
#pragma once

namespace vorn {

// Writes "title: text" on standard error.
void message_box(const char* title, const char* text);

}  // namespace vorn
