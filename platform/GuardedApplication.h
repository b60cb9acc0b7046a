#pragma once

#include <QApplication>

namespace platform {

// The application object. An exception thrown by any event handler is shown
// by the general error report and the event loop goes on.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace platform
