#include "Splash.h"

#include "About.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

TSplash::TSplash() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen) {
    setObjectName(QStringLiteral("TSplash"));
    setFixedSize(552, 189);
    move(centredOnScreen(size()));
}

void TSplash::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 28, 28);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, QColor(0x2b, 0x33, 0x3d));
    background.setColorAt(1, QColor(0x0b, 0x0d, 0x10));
    painter.fillPath(outline, background);
    painter.setPen(QPen(QColor(0xff, 0x9d, 0x2e), 2));
    painter.drawPath(outline);
    painter.setFont(QFont(QStringLiteral("Arial"), 44, QFont::Bold));
    painter.drawText(QRect(0, 30, width(), 90), Qt::AlignCenter, QStringLiteral("DROVAN"));
    painter.setPen(QColor(0x9f, 0xb6, 0xc8));
    painter.setFont(QFont(QStringLiteral("Arial"), 11));
    painter.drawText(QRect(0, 118, width(), 30), Qt::AlignCenter, QStringLiteral("two decks · one mix"));
}
