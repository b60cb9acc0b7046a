#include "Splash.h"

#include "About.h"
#include "platform/ErrorReport.h"
#include "skins/CoolForm.h"

#include <QFile>

TSplash::TSplash() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen) {
    setObjectName(QStringLiteral("TSplash"));
    setFixedSize(kClientSize);
    move(centredOnScreen(size()));
    m_coolForm = new TCoolForm(this);
    m_coolForm->setPicture(QImage(QStringLiteral(":/splash.bmp")));
    QFile shape(QStringLiteral(":/splash.mask2"));
    try {
        if (shape.open(QIODevice::ReadOnly))
            m_coolForm->readMask2(shape.readAll());
    } catch (...) {
        platform::reportCurrentException();
    }
}
