#include "PlacedDialog.h"

#include "ApplicationFolder.h"
#include "PlacedWindow.h"

#include <QShowEvent>

namespace platform {

PlacedDialog::PlacedDialog(const char* windowClass, Qt::WindowFlags flags, QWidget* parent)
    : QDialog(parent, flags), m_placement(this, windowClass) {
    setObjectName(QString::fromLatin1(windowClass));
}

void PlacedDialog::bindPlacementStore() {
    m_placement.setIniFileName(currentDirectory() + "/" + PlacedWindow::kSettingsFileName);
}

void PlacedDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        m_placement.read();
}

void PlacedDialog::done(int result) {
    m_placement.write(WindowPlacementStore::Moment::Closing);
    QDialog::done(result);
}

} // namespace platform
