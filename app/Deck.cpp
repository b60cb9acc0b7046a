#include "Deck.h"

#include "DeckMenu.h"
#include "platform/ApplicationFolder.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>

TDeck::TDeck(const char* windowClass, Side side, QSize clientSize, QPoint designPosition)
    : platform::PlacedWindow(windowClass, clientSize), m_side(side) {
    bindPlacementStore();
    placementStore().setMainWindow(side == Side::A);
    move(designPosition);
    setWindowTitle(QStringLiteral("Drovan"));
    SkinFolder = QString::fromStdString(platform::applicationFolder()) + QStringLiteral("skins/Default/");
    m_menu = std::make_unique<DeckMenu>(*this);
}

TDeck::~TDeck() = default;

void TDeck::ChangeSkinFolder(const QString& folder) {
    skinFolderRequests << folder;
    if (folder == SkinFolder)
        return;
    SkinFolder = folder;
}

void TDeck::showPopupMenu(const QPoint& globalPosition) {
    m_menu->popup(globalPosition);
}

void TDeck::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton)
        showPopupMenu(event->globalPosition().toPoint());
    platform::PlacedWindow::mousePressEvent(event);
}

void TDeck::closeEvent(QCloseEvent* event) {
    platform::PlacedWindow::closeEvent(event);
    // Deck A is the main window: once it closes, the application ends. Not
    // quit(), which would close every other window first and so record them
    // as closed rather than destroyed.
    if (event->isAccepted() && isDeckA())
        QCoreApplication::exit(0);
}
