#include "PlacedWindow.h"

#include "ApplicationFolder.h"

#include <QCloseEvent>
#include <QShowEvent>

namespace platform {

PlacedWindow::PlacedWindow(const char* windowClass, QSize clientSize, Qt::WindowFlags flags, QWidget* parent)
    : QWidget(parent, flags | Qt::Window), m_placement(this, windowClass) {
    setObjectName(QString::fromLatin1(windowClass));
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    setClientSize(clientSize);
}

PlacedWindow::~PlacedWindow() = default;

void PlacedWindow::bindPlacementStore() {
    m_placement.setIniFileName(currentDirectory() + "/" + kSettingsFileName);
}

void PlacedWindow::setClientSize(QSize size) { setFixedSize(size); }

void PlacedWindow::toggleVisibility() { setVisible(!isVisible()); }

void PlacedWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Restoring from minimized is a spontaneous show: the placement is read
    // only when the window itself is shown.
    if (!event->spontaneous())
        m_placement.read();
}

void PlacedWindow::closeEvent(QCloseEvent* event) {
    if (!closeQuery()) {
        event->ignore();
        return;
    }
    m_placement.write(WindowPlacementStore::Moment::Closing);
    event->accept();
}

} // namespace platform
