#pragma once

#include "app/api/SkinFolderClient.h"
#include "platform/PlacedWindow.h"

#include <QStringList>

#include <memory>

class DeckMenu;

// One deck window: it plays one track through its own engine player. Deck A
// and deck B share this implementation and differ only in the points their
// subclasses set.
class TDeck : public platform::PlacedWindow, public SkinFolderClient {
    Q_OBJECT
public:
    enum class Side { A, B };
    TDeck(const char* windowClass, Side side, QSize clientSize, QPoint designPosition);
    ~TDeck() override;

    Side side() const { return m_side; }
    bool isDeckA() const { return m_side == Side::A; }

    void ChangeSkinFolder(const QString& folder) override;
    // Opens the popup menu at a point in screen coordinates.
    void showPopupMenu(const QPoint& globalPosition);
    DeckMenu& popupMenu() { return *m_menu; }

    // Folder of the current skin.
    QString SkinFolder;
    // Every folder handed to ChangeSkinFolder, in order.
    QStringList skinFolderRequests;

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    Side m_side;
    std::unique_ptr<DeckMenu> m_menu;
};
