#include "Mixer.h"

#include "contracts/MessageNumbers.h"
#include "platform/OnDemandTimer.h"
#include "platform/WindowMessages.h"
#include "skins/SkinFolders.h"

#include <QTimer>

namespace {

constexpr QPoint kDesignPosition(412, 300);

QString elementName(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

std::string toStdString(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

} // namespace

TMixer::TMixer(QWidget* parent)
    : skins::SkinnedWindow("TMixer", skins::skin_files::kMixer, FolderPolicy::RecordWhenFound, parent), m_logic(*this),
      VrTimer1(new QTimer(this)), VrTimer2(new QTimer(this)) {
    setWindowTitle(QStringLiteral("Mixer"));
    bindPlacementStore();
    move(kDesignPosition);

    SkinForm1->OnTrackBarNotify = [this](const QString& ID, int Position) { SkinForm1TrackBarNotify(ID, Position); };
    SkinForm1->OnMouseDownNotify = [this](const QString& ID, Qt::MouseButton Button, platform::ShiftState, int, int) {
        SkinForm1MouseDownNotify(ID, Button);
    };
    SkinForm1->OnMouseUpNotify = [this](const QString& ID, Qt::MouseButton Button, platform::ShiftState, int, int) {
        SkinForm1MouseUpNotify(ID, Button);
    };
    SkinForm1->OnSkinChanged = [this](TSkinForm* Sender) { SkinForm1SkinChanged(Sender); };
    // The base loaded the default skin before these handlers were set.
    SkinForm1SkinChanged(SkinForm1);

    // Both timers sleep while there is nothing to do: no fade runs and the
    // meters show what they are set to (a paused deck's last levels too).
    VrTimer1->setInterval(kFadeIntervalMs);
    connect(VrTimer1, &QTimer::timeout, this, &TMixer::VrTimer1Timer);
    m_fadeTimer = new platform::OnDemandTimer(
        *VrTimer1, [this] { return m_logic.state().anyFadeRunning(); }, 1);
    VrTimer2->setInterval(kMeterIntervalMs);
    connect(VrTimer2, &QTimer::timeout, this, &TMixer::VrTimer2Timer);
    m_meterTimer = new platform::OnDemandTimer(
        *VrTimer2, [this] { return meterValues() != m_shownMeters; }, 1);
}

TMixer::~TMixer() = default;

void TMixer::setDecks(QObject* deckA, QObject* deckB) {
    m_deckA = deckA;
    m_deckB = deckB;
}

void TMixer::Nudge(const QString& channel, const QString& direction) {
    m_logic.Nudge(toStdString(channel), toStdString(direction));
    followFades();
}

void TMixer::Start(const QString& name) {
    m_logic.Start(toStdString(name));
    followFades();
}

void TMixer::Release(const QString& name) {
    m_logic.Release(toStdString(name));
    followFades();
}

void TMixer::AutoFadeToA() {
    m_logic.AutoFadeToA();
    followFades();
}

void TMixer::AutoFadeToB() {
    m_logic.AutoFadeToB();
    followFades();
}

void TMixer::followFades() {
    if (m_logic.state().anyFadeRunning())
        m_fadeTimer->wake();
}

void TMixer::setDeckLevels(DeckSide deck, int left, int right) {
    m_meterTimer->wake();
    if (deck == DeckSide::A) {
        LevelLeftA = left;
        LevelRightA = right;
    } else {
        LevelLeftB = left;
        LevelRightB = right;
    }
}

void TMixer::SkinForm1TrackBarNotify(const QString& ID, int Position) {
    m_logic.trackBarMoved(toStdString(ID), Position);
    followFades();
}

void TMixer::SkinForm1MouseDownNotify(const QString& ID, Qt::MouseButton) {
    m_logic.mouseDown(toStdString(ID));
    followFades();
}

void TMixer::SkinForm1MouseUpNotify(const QString& ID, Qt::MouseButton) {
    m_logic.mouseUp(toStdString(ID));
    followFades();
}

void TMixer::SkinForm1SkinChanged(TSkinForm*) {
    m_shownMeters = meterValues();
    m_logic.skinChanged(m_shownMeters);
}

void TMixer::VrTimer1Timer() {
    m_logic.fadeTick();
}

void TMixer::VrTimer2Timer() {
    m_shownMeters = meterValues();
    m_logic.meterTick(m_shownMeters);
}

void TMixer::MetersChanged() {
    m_meterTimer->wake();
}

void TMixer::postLevel(DeckSide deck, int level) {
    QObject* target = deck == DeckSide::A ? m_deckA.data() : m_deckB.data();
    if (target == nullptr)
        return;
    // A negative level travels as its two's complement; the deck reads the
    // parameter back as a signed number.
    const auto parameter = static_cast<uintptr_t>(static_cast<intptr_t>(level));
    platform::PostMessage(target, deck == DeckSide::A ? messages::kVolumeDeckA : messages::kVolumeDeckB, parameter, 0);
}

void TMixer::setTrackBarPosition(std::string_view name, int position) {
    SkinForm1->SetTrackBarPosition(elementName(name), position);
}

void TMixer::setDisplayText(std::string_view name, std::string_view text) {
    SkinForm1->SetDisplayText(elementName(name), elementName(text));
}

void TMixer::setGaugeRange(std::string_view name, int min, int max) {
    SkinForm1->SetGaugeRange(elementName(name), min, max);
}

void TMixer::setGaugePosition(std::string_view name, int value) {
    SkinForm1->SetGaugePosition(elementName(name), value);
}
