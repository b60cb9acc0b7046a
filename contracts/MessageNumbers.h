#pragma once

#include <cstdint>

// Numbers of the messages that carry traffic between windows and threads.
// They are the contract between the windows; nothing else may spell them.
namespace messages {

// One deck asks deck A / deck B to load the next track from the play list.
inline constexpr uint32_t kLoadNextDeckA = 33778;
inline constexpr uint32_t kLoadNextDeckB = 37778;
// The mixer sets deck A's / deck B's output level (first parameter).
inline constexpr uint32_t kVolumeDeckA = 33788;
inline constexpr uint32_t kVolumeDeckB = 37788;
// The play list asks the BPM worker to measure a file; quit the worker.
inline constexpr uint32_t kMeasureFile = 32769;
inline constexpr uint32_t kQuitThread = 18;
// The BPM worker reports Round(BPM x 10) and the file name to the play list.
inline constexpr uint32_t kBpmResult = 37798;
// The worker's error hook reports a failed worker to the play list.
inline constexpr uint32_t kWorkerFailed = 37799;
// The spectrum display's audio event hands new data to its window.
inline constexpr uint32_t kDisplayData = 2048;

} // namespace messages
