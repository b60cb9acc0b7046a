#include "SkinModel.h"

#include "FaceComposer.h"
#include "SkinEntries.h"
#include "SkinError.h"
#include "SkinImageLoader.h"
#include "SplitFields.h"

#include "platform/FileNames.h"
#include "platform/IniFile.h"

#include <optional>

namespace skins {

using namespace skin_keys;

namespace {

template <typename Element> Element* findByName(std::vector<Element>& elements, const QString& name) {
    for (Element& element : elements)
        if (element.Name == name)
            return &element;
    return nullptr;
}

template <typename Element> const Element* findByName(const std::vector<Element>& elements, const QString& name) {
    for (const Element& element : elements)
        if (element.Name == name)
            return &element;
    return nullptr;
}

// Where a trackbar's thumb is drawn; its two pictures may differ in size.
PixelRect thumbArea(const TrackBarInfoRec& trackBar) {
    return PixelRect::fromSize(trackBar.thumbLeft(), trackBar.thumbTop(),
                               std::max(trackBar.Thumb.width(), trackBar.ActiveThumb.width()),
                               std::max(trackBar.Thumb.height(), trackBar.ActiveThumb.height()));
}

} // namespace

SkinModel::SkinModel() = default;

void SkinModel::LoadSkin(const std::string& path, const ApplyMaskFunction& applyMask) {
    const std::string folder = platform::folderWithSeparatorOf(path);
    std::optional<platform::IniDocument> file;
    try {
        file = platform::IniDocument::load(path);
    } catch (const platform::IniReadError& error) {
        throw ESkinError(error.what());
    }
    LoadSkinDocument(
        *file, [&folder](const std::string& name) { return LoadSkinImage(folder + name); }, applyMask);
}

void SkinModel::LoadSkinDocument(const platform::IniDocument& file, const SkinImageCache::Decoder& decoder,
                                 const ApplyMaskFunction& applyMask) {
    m_hoverEnabled = true;
    m_hotAreas.clear();
    m_gauges.clear();
    m_areas.clear();
    m_displays.clear();
    m_renderedTexts.clear();
    m_trackBars.clear();
    m_groupNames.clear();
    m_groupMembers.clear();
    m_activeTrackBar = -1;
    m_dragging = false;
    m_hotAreaHit = false;

    SkinImageCache images(decoder);
    m_version = file.readInteger(kVersionSection, kVersionKey, kVersion140);

    const std::string maskName = file.readString(kBitmapSection, kMaskBitmap, kMaskDefault);
    const std::string normalName = file.readString(kBitmapSection, kMouseUpBitmap, maskName);
    const std::string pressedName = file.readString(kBitmapSection, kMouseDownBitmap, normalName);
    const std::string hoverName = file.readString(kBitmapSection, kMouseOnBitmap, pressedName);
    const std::string wallPaperName = file.readString(kBitmapSection, kWallPaper, hoverName);
    const std::string numbersName = file.readString(kBitmapSection, kNumbersBitmap, "");
    const std::string lettersName = file.readString(kBitmapSection, kTextBitmap, "");
    if (hoverName == pressedName)
        m_hoverEnabled = false;

    const int hotAreaCount = elementCount(file.readInteger(kHotAreaSection, kCountKey, 0));

    m_images.Mask = images.image(maskName);
    m_images.Normal = images.image(normalName);
    m_images.Hover = images.image(hoverName);
    m_images.Pressed = images.image(pressedName);
    m_images.WallPaper = images.image(wallPaperName);
    m_face = QImage(m_images.Mask.size(), QImage::Format_RGB32);
    m_face.fill(Qt::black);
    if (applyMask)
        applyMask(m_images.Mask);
    ComposeFace();
    m_images.Numbers = numbersName.empty() ? QImage() : images.image(numbersName);
    m_images.Letters = lettersName.empty() ? QImage() : images.image(lettersName);

    std::vector<std::string> fields;
    m_hotAreas.reserve(static_cast<size_t>(hotAreaCount));
    for (int i = 1; i <= hotAreaCount; ++i) {
        SplitFields(file.readString(kHotAreaSection, std::to_string(i), kHotAreaDefault), fields);
        m_hotAreas.push_back(parseHotAreaEntry(fields, m_version));
        const HotAreaInfoRec& area = m_hotAreas.back();
        if (area.Group.isEmpty())
            continue;
        size_t group = 0;
        while (group < m_groupNames.size() && m_groupNames[group] != area.Group)
            ++group;
        if (group == m_groupNames.size()) {
            m_groupNames.push_back(area.Group);
            m_groupMembers.push_back(-1);
        }
        if (area.Down)
            m_groupMembers[group] = static_cast<int>(m_hotAreas.size() - 1);
    }

    const int gaugeCount = elementCount(file.readInteger(kGaugeSection, kCountKey, 0));
    for (int i = 1; i <= gaugeCount; ++i) {
        SplitFields(file.readString(kGaugeSection, std::to_string(i), kGaugeDefault), fields);
        m_gauges.push_back(parseGaugeEntry(fields));
    }

    const int areaCount = elementCount(file.readInteger(kAreaSection, kCountKey, 0));
    for (int i = 1; i <= areaCount; ++i) {
        SplitFields(file.readString(kAreaSection, std::to_string(i), kAreaDefault), fields);
        m_areas.push_back(parseAreaEntry(fields));
    }

    const int displayCount = elementCount(file.readInteger(kDisplaySection, kCountKey, 0));
    m_charset = file.readInteger(kDisplaySection, kCharsetKey, 1);
    for (int i = 1; i <= displayCount; ++i) {
        SplitFields(file.readString(kDisplaySection, std::to_string(i), kDisplayDefault), fields);
        m_displays.push_back(parseDisplayEntry(fields, m_charset));
    }

    const int trackBarCount = elementCount(file.readInteger(kTrackBarSection, kCountKey, 0));
    for (int i = 1; i <= trackBarCount; ++i) {
        SplitFields(file.readString(kTrackBarSection, std::to_string(i), kTrackBarDefault), fields);
        TrackBarInfoRec trackBar;
        trackBar.Name = textOf(fieldAt(fields, 0));
        trackBar.Thumb = images.image(fieldAt(fields, 1));
        trackBar.ActiveThumb = images.image(fieldAt(fields, 2));
        trackBar.ThumbWidth = trackBar.ActiveThumb.width();
        trackBar.ThumbHeight = trackBar.ActiveThumb.height();
        parseTrackBarGeometry(fields, trackBar);
        m_trackBars.push_back(std::move(trackBar));
    }

    m_activeTrackBar = -1;
    ComposeFace();
}

void SkinModel::ComposeFace() {
    invalidate(faceRect());
    compose();
}

void SkinModel::invalidate(const PixelRect& rect) const {
    m_dirty = m_dirty.united(rect.intersected(faceRect()));
    m_composePending = true;
}

void SkinModel::compose() const {
    const PixelRect clip = m_dirty;
    if (!m_face.isNull() && !clip.isEmpty()) {
        drawWhole(m_face, m_images.Normal, 0, 0, clip);
        for (const HotAreaInfoRec& area : m_hotAreas)
            if ((area.IsSwitch && area.Down) || area.Pressed)
                copyRect(m_face, m_images.Pressed, area.rect(), clip);
        for (const GuageAreaInfoRec& gauge : m_gauges)
            copyRect(m_face, m_images.Pressed, gauge.fillRect(), clip);
        for (size_t i = 0; i < m_trackBars.size(); ++i) {
            const TrackBarInfoRec& trackBar = m_trackBars[i];
            const QImage& thumb = static_cast<int>(i) == m_activeTrackBar ? trackBar.ActiveThumb : trackBar.Thumb;
            drawWhole(m_face, thumb, trackBar.thumbLeft(), trackBar.thumbTop(), clip);
        }
        for (size_t i = 0; i < m_displays.size(); ++i) {
            const DisplayInfoRec& display = m_displays[i];
            if (display.Kind == QLatin1String(kNumberKind))
                drawStripText(m_face, m_images.Numbers, true, display.Text, display.Left, display.Top, clip);
            else if (display.Kind == QLatin1String(kTextKind))
                drawStripText(m_face, m_images.Letters, false, display.Text, display.Left, display.Top, clip);
            else if (!displayRect(i).intersected(clip).isEmpty())
                drawRenderedText(m_face, m_renderedTexts[i], display.Left, display.Top, clip);
        }
        m_changed |= clip.toQRect();
    }
    m_dirty = {};
    m_repaintPending = false;
    m_composePending = false;
}

PixelRect SkinModel::displayRect(size_t index) const {
    const DisplayInfoRec& display = m_displays[index];
    const bool digits = display.Kind == QLatin1String(kNumberKind);
    if (digits || display.Kind == QLatin1String(kTextKind))
        return stripTextRect(digits ? m_images.Numbers : m_images.Letters, digits, display.Text, display.Left,
                             display.Top);
    m_renderedTexts.resize(m_displays.size());
    RenderedText& rendered = m_renderedTexts[index];
    if (rendered.text != display.Text)
        rendered = renderFontText(display.Font, display.Text);
    return renderedTextRect(rendered, display.Left, display.Top);
}

bool SkinModel::SetDisplayText(const QString& name, const QString& text) {
    DisplayInfoRec* display = findDisplay(name);
    if (display == nullptr || display->Text == text)
        return false;
    const auto index = static_cast<size_t>(display - m_displays.data());
    invalidate(displayRect(index));
    display->Text = text;
    invalidate(displayRect(index));
    return true;
}

int SkinModel::GetTrackBarPosition(const QString& name) const {
    const TrackBarInfoRec* trackBar = findTrackBar(name);
    return trackBar != nullptr ? trackBar->Position : 0;
}

void SkinModel::SetTrackBarPosition(const QString& name, int value) {
    TrackBarInfoRec* trackBar = findTrackBar(name);
    if (trackBar == nullptr)
        return;
    invalidate(thumbArea(*trackBar));
    trackBar->setPosition(value);
    invalidate(thumbArea(*trackBar));
}

void SkinModel::SetGaugeRange(const QString& name, int min, int max) {
    if (GuageAreaInfoRec* gauge = findGauge(name)) {
        gauge->Min = min;
        gauge->Max = max;
        invalidate(gauge->rect());
    }
}

bool SkinModel::SetGaugePosition(const QString& name, int value) {
    GuageAreaInfoRec* gauge = findGauge(name);
    if (gauge == nullptr)
        return false;
    const int position = value > gauge->Max ? gauge->Max : (value < gauge->Min ? gauge->Min : value);
    if (position == gauge->Position)
        return false;
    gauge->Position = position;
    invalidate(gauge->rect());
    return true;
}

bool SkinModel::GetGaugeRect(const QString& name, int& left, int& top, int& width, int& height) const {
    const GuageAreaInfoRec* gauge = findGauge(name);
    if (gauge == nullptr)
        return false;
    left = gauge->Left;
    top = gauge->Top;
    width = gauge->Width;
    height = gauge->Height;
    return true;
}

bool SkinModel::GetAreaRect(const QString& name, int& left, int& top, int& width, int& height) const {
    const AreaInfoRec* area = findByName(m_areas, name);
    if (area == nullptr)
        return false;
    left = area->Left;
    top = area->Top;
    width = area->Width;
    height = area->Height;
    return true;
}

bool SkinModel::GetDisplayPos(const QString& name, int& left, int& top) const {
    const DisplayInfoRec* display = findDisplay(name);
    if (display == nullptr)
        return false;
    left = display->Left;
    top = display->Top;
    return true;
}

void SkinModel::SetHotAreaDown(const QString& name, bool down) {
    if (HotAreaInfoRec* area = findHotArea(name)) {
        area->Down = down;
        invalidate(area->rect());
    }
}

// The mouse draws on the face as it goes, so it needs the face composed now.
void SkinModel::setHotAreaDown(const QString& name, bool down) {
    SetHotAreaDown(name, down);
    composeIfPending();
}

PressOutcome SkinModel::mousePress(Qt::MouseButton button, int x, int y) {
    composeIfPending();
    PressOutcome outcome;
    m_currentId.clear();
    m_hotAreaHit = false;
    m_dragging = false;
    m_activeTrackBar = -1;
    if (button == Qt::LeftButton) {
        for (size_t i = 0; i < m_hotAreas.size(); ++i) {
            if (!m_hotAreas[i].contains(x, y))
                continue;
            copyRect(m_face, m_images.Pressed, m_hotAreas[i].rect());
            m_hotAreaHit = true;
            m_hotAreas[i].Pressed = true;
            m_currentId = m_hotAreas[i].Name;
            if (!m_hotAreas[i].Group.isEmpty())
                applyRadioRule(i);
            HotAreaInfoRec& area = m_hotAreas[i];
            if (area.IsSwitch) {
                area.Down = !area.Down;
                copyRect(m_face, area.Down ? m_images.Pressed : m_images.Normal, area.rect());
            }
            break;
        }
        for (size_t i = 0; i < m_trackBars.size(); ++i) {
            TrackBarInfoRec& trackBar = m_trackBars[i];
            const bool onThumb = trackBar.thumbRect().contains(x, y);
            if (!onThumb && !trackBar.trackRect().contains(x, y))
                continue;
            m_currentId = trackBar.Name;
            // A trackbar without travel has nowhere to move its thumb.
            if (trackBar.travel() <= 0)
                break;
            if (onThumb) {
                m_dragging = true;
                m_activeTrackBar = static_cast<int>(i);
                m_grabOffset = trackBar.Horizontal ? int64_t{x} - trackBar.Left - trackBar.Offset
                                                   : int64_t{y} - trackBar.Top - trackBar.Offset;
            } else {
                trackBar.setOffsetWithinTravel(trackBar.Horizontal
                                                   ? int64_t{x} - trackBar.Left - trackBar.ThumbWidth / 2
                                                   : int64_t{y} - trackBar.Top - trackBar.ThumbHeight / 2);
                updateTrackBarPosition(i, outcome.trackBarChanges);
            }
            break;
        }
    }
    outcome.startWindowMove = button == Qt::LeftButton && !m_hotAreaHit && !m_dragging;
    outcome.id = m_currentId;
    return outcome;
}

void SkinModel::applyRadioRule(size_t pressed) {
    const QString& group = m_hotAreas[pressed].Group;
    size_t index = 0;
    while (index < m_groupNames.size() && m_groupNames[index] != group)
        ++index;
    if (index == m_groupNames.size())
        return;
    const int member = m_groupMembers[index];
    m_groupMembers[index] = static_cast<int>(pressed);
    if (member < 0)
        return;
    setHotAreaDown(m_hotAreas[static_cast<size_t>(member)].Name, false);
    copyRect(m_face, m_images.Normal, m_hotAreas[pressed].rect());
}

void SkinModel::updateTrackBarPosition(size_t index, std::vector<TrackBarChange>& changes) {
    TrackBarInfoRec& trackBar = m_trackBars[index];
    if (!trackBar.updatePositionFromOffset())
        return;
    changes.push_back({trackBar.Name, trackBar.Position});
    ComposeFace();
}

MoveOutcome SkinModel::mouseMove(int x, int y) {
    MoveOutcome outcome;
    // A highlight may be anywhere on the face.
    if (m_repaintPending)
        ComposeFace();
    else
        composeIfPending();
    m_toolTip.clear();
    m_overHotAreaBefore = m_overHotArea;
    m_currentId.clear();

    if (m_dragging) {
        for (size_t i = 0; i < m_trackBars.size(); ++i) {
            if (static_cast<int>(i) != m_activeTrackBar)
                continue;
            TrackBarInfoRec& trackBar = m_trackBars[i];
            const int64_t along = trackBar.Horizontal ? x : y;
            const int64_t start = trackBar.Horizontal ? trackBar.Left : trackBar.Top;
            if (along < start || along > start + trackBar.Length)
                continue;
            m_currentId = trackBar.Name;
            trackBar.setOffsetWithinTravel(along - start - m_grabOffset);
            updateTrackBarPosition(i, outcome.trackBarChanges);
        }
    } else {
        for (const TrackBarInfoRec& trackBar : m_trackBars)
            if (trackBar.hintRect().contains(x, y))
                m_toolTip = trackBar.Hint;
    }

    m_overHotArea = false;
    for (HotAreaInfoRec& area : m_hotAreas) {
        if (area.contains(x, y)) {
            m_overHotArea = true;
            m_currentId = area.Name;
            if (m_hoverEnabled)
                copyRect(m_face, m_images.Hover, area.rect());
            m_toolTip = area.Hint;
            break;
        }
        area.Pressed = false;
    }
    // The next move redraws the face, which takes away a stale highlight.
    if (m_overHotArea != m_overHotAreaBefore)
        m_repaintPending = true;

    outcome.id = m_currentId;
    outcome.toolTip = m_toolTip;
    return outcome;
}

QString SkinModel::mouseRelease(int x, int y) {
    m_currentId.clear();
    m_hotAreaHit = false;
    m_dragging = false;
    m_activeTrackBar = -1;
    for (HotAreaInfoRec& area : m_hotAreas) {
        if (area.contains(x, y)) {
            m_currentId = area.Name;
            area.Pressed = false;
            break;
        }
    }
    ComposeFace();
    return m_currentId;
}

HotAreaInfoRec* SkinModel::findHotArea(const QString& name) {
    return findByName(m_hotAreas, name);
}
GuageAreaInfoRec* SkinModel::findGauge(const QString& name) {
    return findByName(m_gauges, name);
}
const GuageAreaInfoRec* SkinModel::findGauge(const QString& name) const {
    return findByName(m_gauges, name);
}
DisplayInfoRec* SkinModel::findDisplay(const QString& name) {
    return findByName(m_displays, name);
}
const DisplayInfoRec* SkinModel::findDisplay(const QString& name) const {
    return findByName(m_displays, name);
}
TrackBarInfoRec* SkinModel::findTrackBar(const QString& name) {
    return findByName(m_trackBars, name);
}
const TrackBarInfoRec* SkinModel::findTrackBar(const QString& name) const {
    return findByName(m_trackBars, name);
}

} // namespace skins
