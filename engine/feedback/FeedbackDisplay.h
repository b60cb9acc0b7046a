#pragma once

#include "xaudio.h"

#include <QString>

#include <cstdint>

// The spectrum feedback display: an in-process feedback handler module of the
// audio engine. The engine calls its operations on its own threads; the
// module's window lives on the GUI thread and gets its data by a synchronous
// hand-over (message 2048 of TXADisplay).
namespace engine {

inline constexpr const char* kFeedbackHandlerName = "Feedback-Display";

// Command codes of the module's command operation.
enum FeedbackDisplayCommand : uint32_t {
    kFeedbackShowWindow = 2049,
    kFeedbackHideWindow = 2050,
    kFeedbackShowInformation = 2051,
    kFeedbackSetModes = 2052,
    kFeedbackStartClearing = 3072,
    kFeedbackStopClearing = 3073,
};

// Keys of the feedback handler environment read at instance start.
inline constexpr const char* kEnvironmentMainWindow = "CLIENT.MAIN-WINDOW";
inline constexpr const char* kEnvironmentLeft = "DISPLAY.LEFT";
inline constexpr const char* kEnvironmentTop = "DISPLAY.TOP";
inline constexpr const char* kEnvironmentWidth = "DISPLAY.WIDTH";
inline constexpr const char* kEnvironmentHeight = "DISPLAY.HEIGHT";

// The module initialiser: fills the operations table. Returns 0, or -1 for a
// null table. Any thread; never throws.
int feedbackDisplayModuleInit(XA_FeedbackHandlerModule* module);

// The text a deck hands to FeedbackHandlerModuleRegister: "function@" and the
// initialiser's address in lower-case hexadecimal, all 64 bits.
QString feedbackModuleRegistrationName();

} // namespace engine
