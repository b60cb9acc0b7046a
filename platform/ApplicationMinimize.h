#pragma once

// The application minimizes and comes back as one: minimizing the main
// window minimizes every shown window, and restoring the main window (from
// the task bar, say) restores them all. GUI thread only.
namespace platform {

// Minimizes every visible top-level window and remembers which.
void minimizeApplication();
// Restores the windows the last minimizeApplication minimized, as far as
// they still exist and are still minimized.
void restoreApplication();

} // namespace platform
