#pragma once

#include "WindowMover.h"

#include <QByteArray>
#include <QImage>
#include <QRegion>
#include <QWidget>

#include <optional>

// Shows a picture over the whole of its window and gives the window a
// stored shape ("Mask2", see RegionData.h) made when the window was
// designed. A left press anywhere moves the window. The window is made
// borderless when the control is placed on it. GUI thread only.
class TCoolForm : public QWidget {
    Q_OBJECT
public:
    // Throws skins::ESkinError "Please Drop on a Form" unless `form` is a
    // top-level window.
    explicit TCoolForm(QWidget* form);
    ~TCoolForm() override;

    // The picture; changing it discards the held region (the window keeps
    // its current shape).
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }

    // The held region; assigning one takes it over (the window's shape
    // changes only when "Mask2" is read).
    const std::optional<QRegion>& Mask() const { return m_region; }
    void setMask2Region(std::optional<QRegion> region) { m_region = std::move(region); }

    // Reads stored "Mask2" data: keeps it and sets the region as the shape
    // of the window. N = 0 leaves the window as it is. Throws
    // skins::ESkinError for malformed data.
    void readMask2(const QByteArray& data);
    // The held region as "Mask2" data (N = 0 alone without a region).
    QByteArray writeMask2() const;

    // Kept for design tools; no behaviour consults it.
    bool Draggable = true;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QImage m_picture;
    std::optional<QRegion> m_region;
    QByteArray m_storedData;
    skins::WindowMover m_mover;
};
