#include "ApplicationMinimize.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace platform {

namespace {

std::vector<QPointer<QWidget>>& minimizedWindows() {
    static std::vector<QPointer<QWidget>> windows;
    return windows;
}

} // namespace

void minimizeApplication() {
    std::vector<QPointer<QWidget>>& minimized = minimizedWindows();
    minimized.clear();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        minimized.emplace_back(window);
        window->setWindowState(window->windowState() | Qt::WindowMinimized);
    }
}

void restoreApplication() {
    // Taken first: restoring the main window again re-enters from its
    // state change.
    const std::vector<QPointer<QWidget>> minimized = std::move(minimizedWindows());
    minimizedWindows().clear();
    for (const QPointer<QWidget>& window : minimized)
        if (window && window->isMinimized())
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
}

} // namespace platform
