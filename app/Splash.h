#pragma once

#include <QWidget>

// The picture shown while the application starts: borderless, on top,
// centred, shaped by the outline of its picture.
class TSplash : public QWidget {
    Q_OBJECT
public:
    TSplash();

protected:
    void paintEvent(QPaintEvent* event) override;
};
