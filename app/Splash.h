#pragma once

#include <QWidget>

class TCoolForm;

// The picture shown while the application starts: borderless, on top,
// centred, shaped by the outline stored with its picture.
class TSplash : public QWidget {
    Q_OBJECT
public:
    TSplash();

    static constexpr QSize kClientSize{552, 189};

private:
    TCoolForm* m_coolForm;
};
