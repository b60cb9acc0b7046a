#include "AboutSkin.h"

#include "SkinFolders.h"

#include <QScreen>
#include <QShowEvent>

TAboutSkin::TAboutSkin(QWidget* parent)
    : skins::SkinnedWindow("TAboutSkin", skins::skin_files::kAbout, FolderPolicy::RecordWhenFound, parent) {
    SkinForm1->OnMouseDownNotify = [this](const QString& ID, Qt::MouseButton Button, platform::ShiftState Shift, int X,
                                          int Y) { SkinForm1MouseDownNotify(ID, Button, Shift, X, Y); };
}

void TAboutSkin::showEvent(QShowEvent* event) {
    // The about-skin window keeps no placement: it is centred every time.
    skins::SkinnedWindow::showEvent(event);
    if (QScreen* display = screen()) {
        const QRect area = display->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
}

void TAboutSkin::SkinForm1MouseDownNotify(const QString&, Qt::MouseButton, platform::ShiftState, int, int) {
    close();
}
