#pragma once

#include <chrono>
#include <functional>

namespace engine {

// Runs function on the GUI thread and waits for it to finish: directly when
// called on the GUI thread, otherwise as a queued call the caller waits for.
//
// The wait is bounded so that an engine thread can never dead-lock with a GUI
// thread that is itself waiting for the engine (for example while a player is
// being deleted). When the GUI thread has not started the call within
// timeout, the call is withdrawn and false is returned. Either way, when this
// returns the function has finished or will never run, so it may capture the
// caller's locals by reference.
//
// Any thread. Blocks and allocates; not for real-time code. Returns false
// without running the function when there is no QCoreApplication, or when
// the function throws.
bool callOnGuiThread(const std::function<void()>& function, std::chrono::milliseconds timeout);

// Queues function for the GUI thread and returns at once; on the GUI thread
// it runs directly. Returns false when there is no QCoreApplication.
bool postToGuiThread(std::function<void()> function);

} // namespace engine
