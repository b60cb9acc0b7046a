#include "CoolForm.h"

#include "RegionData.h"
#include "SkinError.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

QWidget* requireForm(QWidget* form) {
    if (form == nullptr || !form->isWindow())
        throw skins::ESkinError(skins::kPleaseDropOnAFormText);
    return form;
}

} // namespace

TCoolForm::TCoolForm(QWidget* form) : QWidget(requireForm(form)) {
    form->setWindowFlag(Qt::FramelessWindowHint, true);
    // The picture covers the whole window, so nothing needs erasing first.
    form->setAttribute(Qt::WA_OpaquePaintEvent, true);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    move(0, 0);
    resize(form->size());
    form->installEventFilter(this);
}

TCoolForm::~TCoolForm() = default;

void TCoolForm::setPicture(const QImage& picture) {
    m_picture = picture;
    m_region.reset();
    m_storedData.clear();
    update();
}

void TCoolForm::readMask2(const QByteArray& data) {
    std::optional<QRegion> region = skins::readRegionData(data);
    if (!region)
        return;
    m_storedData = data;
    m_region = std::move(region);
    window()->setMask(*m_region);
    window()->update();
}

QByteArray TCoolForm::writeMask2() const {
    return skins::writeRegionData(m_region);
}

void TCoolForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

void TCoolForm::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_mover.start(this, *event);
}

void TCoolForm::mouseMoveEvent(QMouseEvent* event) {
    m_mover.follow(*event);
}

void TCoolForm::mouseReleaseEvent(QMouseEvent* event) {
    m_mover.finish(*event);
}

bool TCoolForm::eventFilter(QObject* watched, QEvent* event) {
    // The control fills its window whatever size the window takes.
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        resize(parentWidget()->size());
    return QWidget::eventFilter(watched, event);
}
