#pragma once

#include <QString>

#include <exception>
#include <functional>

namespace platform {

// The application's general error report: an error that reaches the event
// loop, or that a window catches while reading or writing its settings, is
// shown to the user in a message box with its text, and the application goes
// on. GUI thread only.
void reportError(const QString& text);
// Reports the exception currently being handled (call inside a catch block).
void reportCurrentException();
QString textOfCurrentException();

// Tests replace the message box with their own sink; an empty function
// restores the message box. Returns the previous reporter.
using ErrorReporter = std::function<void(const QString&)>;
ErrorReporter setErrorReporter(ErrorReporter reporter);

} // namespace platform
