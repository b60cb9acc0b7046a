#include "MeterFeed.h"
#include "Players.h"
#include "SignalBridge.h"
#include "Splash.h"
#include "WindowSet.h"
#include "platform/GuardedApplication.h"

#include <QtGlobal>

#include <memory>

int main(int argc, char** argv) {
    // Under X, windows are painted through the server's socket rather than
    // shared memory. With shared memory each repaint first waits for the
    // server to have read the last one: a round trip that wakes two threads
    // for every frame of a spectrum display, 80 times a second with both
    // decks playing, and costs more than copying the few kilobytes a frame
    // changes.
    qputenv("QT_XCB_NO_MITSHM", "1");
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
