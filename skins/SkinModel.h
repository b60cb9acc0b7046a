#pragma once

#include "FaceComposer.h"
#include "SkinElements.h"
#include "SkinImageCache.h"

#include <QImage>
#include <QString>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace platform {
class IniDocument;
}

namespace skins {

// The seven images of a loaded skin, decoded once per load.
struct SkinImages {
    QImage Mask;
    QImage Normal;  // "MouseUpBitmap"
    QImage Pressed; // "MouseDownBitmap"
    QImage Hover;   // "MouseOnBitmap"
    QImage WallPaper;
    QImage Numbers;
    QImage Letters; // "TextBitmap"
};

struct TrackBarChange {
    QString name;
    int position;
    bool operator==(const TrackBarChange&) const = default;
};

// What a mouse press asks of the window around the model, in the order
// it must be done: trackbar notifications, the window move, then the
// press notification with `id`.
struct PressOutcome {
    QString id;
    bool startWindowMove = false;
    std::vector<TrackBarChange> trackBarChanges;
};

struct MoveOutcome {
    QString id;
    QString toolTip;
    std::vector<TrackBarChange> trackBarChanges;
};

// The skin engine without a window: the element tables read from a skin
// definition file, the composed face as an in-memory image, and the
// answers to mouse presses, moves and releases in face coordinates. The
// window (TSkinForm) shows the face, sizes and shapes itself from the mask
// and raises the events. GUI thread only.
class SkinModel {
public:
    SkinModel();

    // Loads a skin definition file and its images, replacing the previous
    // skin. `applyMask` runs once the five face images are loaded, before
    // the face is first composed. Throws ESkinError; a failed load keeps
    // what was loaded before the failing step.
    using ApplyMaskFunction = std::function<void(const QImage& mask)>;
    void LoadSkin(const std::string& path, const ApplyMaskFunction& applyMask = {});
    // The same from a definition already in memory; `decoder` turns the
    // image names the definition gives into images.
    void LoadSkinDocument(const platform::IniDocument& file, const SkinImageCache::Decoder& decoder,
                          const ApplyMaskFunction& applyMask = {});

    // The setters change the elements at once and the face when it is next
    // needed (face(), takeChangedRect(), the mouse), so the texts and gauges
    // a deck sets on one tick are composed once. These two change nothing
    // when given what is already there (a deck sets the same texts many
    // times a second) and say whether they changed anything.
    bool SetDisplayText(const QString& name, const QString& text);
    int GetTrackBarPosition(const QString& name) const;
    void SetTrackBarPosition(const QString& name, int value);
    void SetGaugeRange(const QString& name, int min, int max);
    bool SetGaugePosition(const QString& name, int value);
    // Outputs stay untouched when no element has that name; the result
    // says whether one had.
    bool GetGaugeRect(const QString& name, int& left, int& top, int& width, int& height) const;
    bool GetDisplayPos(const QString& name, int& left, int& top) const;
    bool GetAreaRect(const QString& name, int& left, int& top, int& width, int& height) const;
    void SetHotAreaDown(const QString& name, bool down);
    void ComposeFace();
    // Where the face changed since the last call, as far as composing it
    // changed it: a deck's clock or a mixer's meter repaints only itself.
    QRect takeChangedRect() {
        composeIfPending();
        return std::exchange(m_changed, QRect());
    }

    PressOutcome mousePress(Qt::MouseButton button, int x, int y);
    MoveOutcome mouseMove(int x, int y);
    // The name of the first hot area under the pointer, empty if none.
    QString mouseRelease(int x, int y);

    const QImage& face() const {
        composeIfPending();
        return m_face;
    }
    const SkinImages& images() const { return m_images; }
    const THotAreaInfoArray& hotAreas() const { return m_hotAreas; }
    const TGuageAreaInfoArray& gauges() const { return m_gauges; }
    const TAreaInfoArray& areas() const { return m_areas; }
    const TDisplayInfoArray& displays() const { return m_displays; }
    const TTrackBarInfoArray& trackBars() const { return m_trackBars; }
    // Radio groups in order of first appearance, each with the index of its
    // member that is down (-1 when none).
    const std::vector<QString>& groupNames() const { return m_groupNames; }
    const std::vector<int>& groupMembers() const { return m_groupMembers; }
    int version() const { return m_version; }
    int charset() const { return m_charset; }
    bool hoverEnabled() const { return m_hoverEnabled; }
    bool isDragging() const { return m_dragging; }
    int activeTrackBar() const { return m_activeTrackBar; }
    bool repaintPending() const { return m_repaintPending; }
    const QString& toolTipText() const { return m_toolTip; }

private:
    void composeIfPending() const {
        if (m_composePending)
            compose();
    }
    void compose() const;
    void setHotAreaDown(const QString& name, bool down);
    void applyRadioRule(size_t pressed);
    void updateTrackBarPosition(size_t index, std::vector<TrackBarChange>& changes);
    HotAreaInfoRec* findHotArea(const QString& name);
    GuageAreaInfoRec* findGauge(const QString& name);
    const GuageAreaInfoRec* findGauge(const QString& name) const;
    DisplayInfoRec* findDisplay(const QString& name);
    const DisplayInfoRec* findDisplay(const QString& name) const;
    TrackBarInfoRec* findTrackBar(const QString& name);
    const TrackBarInfoRec* findTrackBar(const QString& name) const;

    SkinImages m_images;
    // The face is worked out from the elements and the images on demand.
    mutable QImage m_face;
    // The face as composed before the last time; composing swaps the two,
    // so no compose allocates and the change can be found by comparing.
    mutable QImage m_previousFace;
    mutable QRect m_changed;
    mutable bool m_composePending = false;
    // One per display, for the displays drawn with a font.
    mutable std::vector<RenderedText> m_renderedTexts;
    THotAreaInfoArray m_hotAreas;
    TGuageAreaInfoArray m_gauges;
    TAreaInfoArray m_areas;
    TDisplayInfoArray m_displays;
    TTrackBarInfoArray m_trackBars;
    std::vector<QString> m_groupNames;
    std::vector<int> m_groupMembers;
    int m_version = 150;
    int m_charset = 1;
    bool m_hoverEnabled = true;
    QString m_currentId;
    bool m_hotAreaHit = false;
    bool m_dragging = false;
    int m_activeTrackBar = -1;
    int64_t m_grabOffset = 0;
    bool m_overHotAreaBefore = false;
    bool m_overHotArea = false;
    mutable bool m_repaintPending = true;
    QString m_toolTip;
};

} // namespace skins
