#pragma once

#include "SkinnedWindow.h"

// The about-skin window: shows the skin's own "About.ini" page, centres
// itself on the screen whenever it is shown and closes at the first mouse
// press, whatever it hits. GUI thread only.
class TAboutSkin : public skins::SkinnedWindow {
    Q_OBJECT
public:
    explicit TAboutSkin(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SkinForm1MouseDownNotify(const QString& ID, Qt::MouseButton Button, platform::ShiftState Shift, int X, int Y);
};
