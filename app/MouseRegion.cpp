#include "MouseRegion.h"

#include <QMouseEvent>

MouseRegion::MouseRegion(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void MouseRegion::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (onPress)
        onPress(event->button(), event->position().toPoint());
}

void MouseRegion::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick)
        onClick();
}
