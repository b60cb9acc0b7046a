#include "MeterFeed.h"
#include "Players.h"
#include "SignalBridge.h"
#include "Splash.h"
#include "WindowSet.h"
#include "platform/GuardedApplication.h"

#include <memory>

int main(int argc, char** argv) {
    platform::GuardedApplication application(argc, argv);
    // Deck A alone ends the application; hiding other windows never does.
    application.setQuitOnLastWindowClosed(false);

    // Installed first, so an early SIGTERM still ends the application the
    // ordinary way once its windows exist.
    WindowSet windowSet;
    bool terminationRequested = false;
    SignalBridge terminationSignals([&windowSet, &terminationRequested] {
        terminationRequested = true;
        if (windowSet.PlayerA != nullptr)
            windowSet.PlayerA->close();
    });

    auto splash = std::make_unique<TSplash>();
    splash->show();
    splash->repaint();
    application.processEvents();

    application.setApplicationName(QStringLiteral("Drovan"));
    application.setApplicationDisplayName(QStringLiteral("Drovan"));

    windowSet.create();
    connectDeckMeters(windowSet);

    splash->hide();
    splash.reset();

    if (terminationRequested)
        QMetaObject::invokeMethod(windowSet.PlayerA, &QWidget::close, Qt::QueuedConnection);
    const int result = application.exec();
    disconnectDeckMeters();
    windowSet.destroy();
    return result;
}
