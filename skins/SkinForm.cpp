#include "SkinForm.h"

#include "RegionFromMask.h"
#include "SkinError.h"
#include "SkinToolTips.h"

#include "platform/WindowPixels.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <optional>

namespace {

QWidget* requireForm(QWidget* form) {
    if (form == nullptr || !form->isWindow())
        throw skins::ESkinError(skins::kPleaseDropOnAFormText);
    return form;
}

platform::ShiftState shiftOf(const QMouseEvent& event) {
    return platform::shiftStateFrom(event.modifiers(), event.buttons());
}

} // namespace

TSkinForm::TSkinForm(QWidget* form) : QWidget(requireForm(form)) {
    form->setWindowFlag(Qt::FramelessWindowHint, true);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    setMouseTracking(true);
    move(0, 0);
    resize(form->size());
    m_pacedShowTimer.setSingleShot(true);
    connect(&m_pacedShowTimer, &QTimer::timeout, this, &TSkinForm::showScheduledChanges);
    // The window's repaints come to the window, not to this control.
    form->installEventFilter(this);
    skins::SkinToolTips::engineCreated(this);
}

TSkinForm::~TSkinForm() {
    skins::SkinToolTips::engineDestroyed(this);
}

void TSkinForm::LoadSkin(const std::string& path) {
    move(0, 0);
    resize(window()->size());
    m_mover.cancel();
    m_model.LoadSkin(path, [this](const QImage& mask) { ApplyMask(mask); });
    update();
    if (OnSkinChanged)
        OnSkinChanged(this);
}

void TSkinForm::ApplyMask(const QImage& mask) {
    QWidget* form = window();
    form->setFixedSize(mask.size());
    resize(mask.size());
    std::optional<QRegion> region = skins::CreateRegionFromMask(mask, KeyColor, Tolerance);
    if (!region)
        return;
    // An empty mask would mean "no mask" to the toolkit; a mask made only of
    // key pixels must hide the window and keep it from taking the mouse.
    if (region->isEmpty())
        region = QRegion(-1, -1, 1, 1);
    form->setMask(*region);
    form->update();
}

void TSkinForm::SetDisplayText(const QString& name, const QString& text) {
    if (m_model.SetDisplayText(name, text))
        scheduleShow();
}

int TSkinForm::GetTrackBarPosition(const QString& name) const {
    return m_model.GetTrackBarPosition(name);
}

void TSkinForm::SetTrackBarPosition(const QString& name, int value) {
    m_model.SetTrackBarPosition(name, value);
    scheduleShow();
}

void TSkinForm::SetGaugeRange(const QString& name, int min, int max) {
    m_model.SetGaugeRange(name, min, max);
    scheduleShow();
}

void TSkinForm::SetGaugePosition(const QString& name, int value) {
    if (m_model.SetGaugePosition(name, value))
        scheduleShow();
}

bool TSkinForm::GetGaugeRect(const QString& name, int& left, int& top, int& width, int& height) const {
    return m_model.GetGaugeRect(name, left, top, width, height);
}

bool TSkinForm::GetDisplayPos(const QString& name, int& left, int& top) const {
    return m_model.GetDisplayPos(name, left, top);
}

bool TSkinForm::GetAreaRect(const QString& name, int& left, int& top, int& width, int& height) const {
    return m_model.GetAreaRect(name, left, top, width, height);
}

void TSkinForm::SetHotAreaDown(const QString& name, bool down) {
    m_model.SetHotAreaDown(name, down);
    scheduleShow();
}

void TSkinForm::ComposeFace() {
    m_model.ComposeFace();
    showChanges();
}

void TSkinForm::SetPacedShow(int longestWaitMs) {
    m_pacedShowTimer.setInterval(std::max(longestWaitMs, 0));
    if (longestWaitMs <= 0)
        showScheduledChanges();
}

void TSkinForm::scheduleShow() {
    if (m_showScheduled)
        return;
    m_showScheduled = true;
    if (m_pacedShowTimer.interval() > 0)
        m_pacedShowTimer.start();
    else
        QMetaObject::invokeMethod(this, &TSkinForm::showScheduledChanges, Qt::QueuedConnection);
}

void TSkinForm::showScheduledChanges() {
    if (!m_showScheduled)
        return;
    m_showScheduled = false;
    m_pacedShowTimer.stop();
    showChanges();
}

bool TSkinForm::eventFilter(QObject* watched, QEvent* event) {
    // Marked dirty before the window paints what is dirty, the changes are
    // painted in this same pass.
    if (watched == window() && event->type() == QEvent::UpdateRequest)
        showScheduledChanges();
    return QWidget::eventFilter(watched, event);
}

void TSkinForm::showChanges() {
    if (const QRect changed = m_model.takeChangedRect(); !changed.isEmpty())
        update(changed);
}

void TSkinForm::paintEvent(QPaintEvent* event) {
    const QImage& face = m_model.face();
    if (sharedPainter() == nullptr) {
        // A repaint through the window copies the face into the window's
        // image; a grab or a painter shared from outside takes a painter.
        QPoint offset;
        const std::optional<platform::WindowPixels> pixels = platform::windowPixels(redirected(&offset), offset);
        if (pixels && platform::copyIntoWindowPixels(*pixels, face, event->region()))
            return;
    }
    QPainter painter(this);
    painter.drawImage(event->rect(), face, event->rect());
}

void TSkinForm::notifyTrackBarChanges(const std::vector<skins::TrackBarChange>& changes) {
    if (!OnTrackBarNotify)
        return;
    for (const skins::TrackBarChange& change : changes)
        OnTrackBarNotify(change.name, change.position);
}

void TSkinForm::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const skins::PressOutcome outcome = m_model.mousePress(event->button(), at.x(), at.y());
    update();
    notifyTrackBarChanges(outcome.trackBarChanges);
    if (outcome.startWindowMove)
        m_mover.start(this, *event);
    if (OnMouseDownNotify)
        OnMouseDownNotify(outcome.id, event->button(), shiftOf(*event), at.x(), at.y());
}

void TSkinForm::mouseMoveEvent(QMouseEvent* event) {
    // While the window follows the pointer, the pointer belongs to the move.
    if (m_mover.follow(*event))
        return;
    const QPoint at = event->position().toPoint();
    const skins::MoveOutcome outcome = m_model.mouseMove(at.x(), at.y());
    update();
    skins::SkinToolTips::textChanged(this, outcome.toolTip, event->globalPosition().toPoint());
    notifyTrackBarChanges(outcome.trackBarChanges);
    if (OnMouseMoveNotify)
        OnMouseMoveNotify(outcome.id, shiftOf(*event), at.x(), at.y());
}

void TSkinForm::mouseReleaseEvent(QMouseEvent* event) {
    m_mover.finish(*event);
    const QPoint at = event->position().toPoint();
    const QString id = m_model.mouseRelease(at.x(), at.y());
    update();
    if (OnMouseUpNotify)
        OnMouseUpNotify(id, event->button(), shiftOf(*event), at.x(), at.y());
}

void TSkinForm::hideEvent(QHideEvent* event) {
    m_mover.cancel();
    QWidget::hideEvent(event);
}
