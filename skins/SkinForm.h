#pragma once

#include "SkinModel.h"
#include "WindowMover.h"

#include "platform/VirtualKeys.h"

#include <QColor>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>

// The skin engine of a window: a child control that fills its top-level
// window and shows the face composed from the window's skin, sizes and
// shapes the window from the skin's mask, follows the mouse over the
// skin's elements and reports what happens to them by element name. A
// press on no element moves the window. GUI thread only; every event is
// raised on the GUI thread and skipped when unset.
class TSkinForm : public QWidget {
    Q_OBJECT
public:
    // Throws skins::ESkinError "Please Drop on a Form" unless `form` is a
    // top-level window. The form is made borderless.
    explicit TSkinForm(QWidget* form);
    ~TSkinForm() override;

    // The mask's key colour and the per-channel tolerance added to it.
    QColor KeyColor = Qt::white;
    QColor Tolerance = Qt::black;

    std::function<void(const QString& ID, Qt::MouseButton Button, platform::ShiftState Shift, int X, int Y)>
        OnMouseDownNotify;
    std::function<void(const QString& ID, Qt::MouseButton Button, platform::ShiftState Shift, int X, int Y)>
        OnMouseUpNotify;
    std::function<void(const QString& ID, platform::ShiftState Shift, int X, int Y)> OnMouseMoveNotify;
    std::function<void(const QString& ID, int Position)> OnTrackBarNotify;
    std::function<void(TSkinForm* Sender)> OnSkinChanged;

    // Always "Run Editor"; a hook for design tools.
    QString SkinEditor() const { return QStringLiteral("Run Editor"); }
    void setSkinEditor(const QString&) {}
    // Kept when not empty; the engine itself does not use it.
    QString SkinFile;
    void setSkinFile(const QString& path) {
        if (!path.isEmpty())
            SkinFile = path;
    }

    // Loads a skin definition file; throws skins::ESkinError (the part
    // loaded before the failing step stays).
    void LoadSkin(const std::string& path);
    void SetDisplayText(const QString& name, const QString& text);
    int GetTrackBarPosition(const QString& name) const;
    void SetTrackBarPosition(const QString& name, int value);
    void SetGaugeRange(const QString& name, int min, int max);
    void SetGaugePosition(const QString& name, int value);
    // Outputs stay untouched when no element has that name; the result says
    // whether one had.
    bool GetGaugeRect(const QString& name, int& left, int& top, int& width, int& height) const;
    bool GetDisplayPos(const QString& name, int& left, int& top) const;
    bool GetAreaRect(const QString& name, int& left, int& top, int& width, int& height) const;
    void SetHotAreaDown(const QString& name, bool down);
    void ComposeFace();
    // With a wait, changes wait for the window's next repaint, which a
    // display animating on the window brings every few tens of milliseconds,
    // so that both reach the screen in one paint instead of two; after
    // longestWaitMs they are shown regardless. 0 shows changes as they come,
    // and what waits at once.
    void SetPacedShow(int longestWaitMs);

    // The face as shown, and the engine state behind it (for windows and
    // tests that look at what the skin shows).
    const QImage& face() const { return m_model.face(); }
    const skins::SkinModel& model() const { return m_model; }
    const QString& toolTipText() const { return m_model.toolTipText(); }
    bool isMovingWindow() const { return m_mover.isFollowing(); }

protected:
    // Sizes the window and the control to the mask and gives the window
    // the mask's shape.
    void ApplyMask(const QImage& mask);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Repaints what the last composes changed. Mouse handling draws on the
    // face directly as well and repaints the whole window.
    void showChanges();
    // The same once control returns to the event loop, after whatever else
    // the caller changes in the same pass, or with the window's next repaint
    // when that comes first (or, paced, is waited for).
    void scheduleShow();
    void showScheduledChanges();
    void notifyTrackBarChanges(const std::vector<skins::TrackBarChange>& changes);

    skins::SkinModel m_model;
    bool m_showScheduled = false;
    QTimer m_pacedShowTimer; // active while paced changes wait
    skins::WindowMover m_mover;
};
