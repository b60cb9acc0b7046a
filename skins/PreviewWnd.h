#pragma once

#include "SkinForm.h"

#include <QWidget>

#include <string>

class QFrame;
class QMenu;

// The skin editor's live preview: a borderless window that shows a skin
// definition file through its own skin engine, without any handlers, and
// outlines the element selected in the editor with a red marker. It can be
// dragged by any spot that is not an element; its context menu's "&Close"
// destroys it. GUI thread only.
class TPreviewWnd : public QWidget {
    Q_OBJECT
public:
    explicit TPreviewWnd(QWidget* parent = nullptr);

    // Throws skins::ESkinError with the engine's text.
    void LoadSkin(const std::string& path);

    // Puts the marker over a rectangle of the face; an empty rectangle
    // hides it.
    void moveMarker(const QRect& rect);
    QRect markerRect() const;
    bool markerVisible() const;

    QMenu* contextMenu() const { return m_menu; }
    TSkinForm* SkinForm1;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QFrame* m_marker;
    QMenu* m_menu;
};
