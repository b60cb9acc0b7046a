#include "PlacedWindow.h"

#include "ApplicationFolder.h"
#include "ApplicationMinimize.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>
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

void PlacedWindow::setClientSize(QSize size) {
    setFixedSize(size);
}

void PlacedWindow::toggleVisibility() {
    setVisible(!isVisible());
}

void PlacedWindow::showModal() {
    const Qt::WindowModality previous = windowModality();
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    QPointer<PlacedWindow> self(this);
    m_modalLoop = &loop;
    show();
    if (isVisible())
        loop.exec();
    if (self) {
        m_modalLoop = nullptr;
        setWindowModality(previous);
    }
}

void PlacedWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (m_modalLoop != nullptr && !event->spontaneous())
        m_modalLoop->quit();
}

void PlacedWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Restoring from minimized is a spontaneous show: the placement is read
    // only when the window itself is shown.
    if (!event->spontaneous())
        m_placement.read();
}

void PlacedWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !m_placement.isMainWindow())
        return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if (change->oldState().testFlag(Qt::WindowMinimized) && !isMinimized())
        restoreApplication();
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
