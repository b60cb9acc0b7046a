#include "PreviewWnd.h"

#include <QContextMenuEvent>
#include <QFrame>
#include <QMenu>

namespace {
constexpr int kMarkerLineWidth = 2;
}

TPreviewWnd::TPreviewWnd(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("TPreviewWnd"));
    setWindowTitle(QStringLiteral("Preview"));
    setAttribute(Qt::WA_DeleteOnClose, true);
    SkinForm1 = new TSkinForm(this);

    // An outline rather than a filled panel, so the element stays visible
    // under its marker.
    m_marker = new QFrame(this);
    m_marker->setStyleSheet(
        QStringLiteral("QFrame { border: %1px solid #ff0000; background: transparent; }").arg(kMarkerLineWidth));
    m_marker->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    m_marker->hide();

    m_menu = new QMenu(this);
    m_menu->addAction(QStringLiteral("&Close"), this, &QWidget::close);
}

void TPreviewWnd::LoadSkin(const std::string& path) {
    SkinForm1->LoadSkin(path);
    m_marker->raise();
}

void TPreviewWnd::moveMarker(const QRect& rect) {
    if (rect.width() <= 0 || rect.height() <= 0) {
        m_marker->hide();
        return;
    }
    m_marker->setGeometry(rect);
    m_marker->raise();
    m_marker->show();
}

QRect TPreviewWnd::markerRect() const {
    return m_marker->geometry();
}

bool TPreviewWnd::markerVisible() const {
    return !m_marker->isHidden();
}

void TPreviewWnd::contextMenuEvent(QContextMenuEvent* event) {
    m_menu->popup(event->globalPos());
    event->accept();
}
