#pragma once

#include <cstdint>

namespace engine {

// Message numbers between the play list and the BPM worker. They are part of
// the contract with the play list window.

// Play list -> worker: measure a file. The file name travels as the
// message's text (the worker keeps its own copy).
constexpr uint32_t kBpmRequestMessage = 32769;
// Play list -> worker: quit.
constexpr uint32_t kThreadQuitMessage = 18;
// Worker -> result window: wParam is Round(BPM x 10), the payload holds the
// measured file's name (QFile::encodeName bytes); lParam is 0.
constexpr uint32_t kBpmResultMessage = 37798;
// Error hook -> play list window: a worker failed (the play list does not act on it).
constexpr uint32_t kThreadErrorMessage = 37799;

} // namespace engine
