#pragma once

#include "MeterLevels.h"
#include "MixerEffects.h"
#include "MixerLogic.h"
#include "contracts/DeckSide.h"

#include "contracts/MixerApi.h"
#include "skins/SkinnedWindow.h"

#include <QPointer>

class QTimer;
namespace platform {
class OnDemandTimer;
}

// The mixer window: two channel faders and a crossfader that set each
// deck's output level, automatic transitions between the decks, and four
// deck level meters. Its look and controls come from the skin file
// "Mixer.ini"; the levels reach the decks only as posted volume messages.
// The four meter values (LevelLeftA ... LevelRightB, MixerApi) are shown
// every 50 ms while they change. GUI thread only.
class TMixer : public skins::SkinnedWindow, public MixerApi, private mixer::MixerEffects {
    Q_OBJECT
public:
    explicit TMixer(QWidget* parent = nullptr);
    ~TMixer() override;

    // The deck windows that receive the volume messages (33788 to deck A,
    // 37788 to deck B). Levels are not posted to a deck that is not set or
    // has gone.
    void setDecks(QObject* deckA, QObject* deckB);

    // Steps "A", "B" or the crossfader "F" by 5, "INC" or "DEC".
    void Nudge(const QString& channel, const QString& direction) override;
    // The same as a press / a release of the button element `name`.
    void Start(const QString& name) override;
    void Release(const QString& name) override;
    // Linear fades for the decks' automatic mixing; they start even while
    // another fade runs.
    void AutoFadeToA() override;
    void AutoFadeToB() override;
    // ChangeSkinFolder (SkinnedWindow) loads "Mixer.ini" from a folder that
    // has it and uses that folder from then on; otherwise it loads the
    // default skin's file and keeps the folder it had.

    // Sets one deck's pair of meters from the audio it outputs (for example
    // mixer::peakLevel of each channel of the spectrum display's frames);
    // the next refresh shows them. The decks zero their pair when their
    // player stops.
    void setDeckLevels(DeckSide deck, int left, int right);
    void MetersChanged() override;
    mixer::DeckMeterValues meterValues() const { return {LevelLeftA, LevelRightA, LevelLeftB, LevelRightB}; }

    // Handlers of the skin engine's events and of the two timers.
    void SkinForm1TrackBarNotify(const QString& ID, int Position);
    void SkinForm1MouseDownNotify(const QString& ID, Qt::MouseButton Button);
    void SkinForm1MouseUpNotify(const QString& ID, Qt::MouseButton Button);
    void SkinForm1SkinChanged(TSkinForm* Sender);
    // The fade tick, every 300 ms.
    void VrTimer1Timer();
    // The meter refresh, every 50 ms.
    void VrTimer2Timer();

    const mixer::MixerState& state() const { return m_logic.state(); }
    QTimer* fadeTimer() const { return VrTimer1; }
    QTimer* meterTimer() const { return VrTimer2; }

    static constexpr int kFadeIntervalMs = 300;
    static constexpr int kMeterIntervalMs = 50;

private:
    // mixer::MixerEffects: the logic's effects on the decks and the skin.
    void postLevel(DeckSide deck, int level) override;
    void setTrackBarPosition(std::string_view name, int position) override;
    void setDisplayText(std::string_view name, std::string_view text) override;
    void setGaugeRange(std::string_view name, int min, int max) override;
    void setGaugePosition(std::string_view name, int value) override;

    // Starts the fade timer when the last call to the logic started a fade.
    void followFades();

    mixer::MixerLogic m_logic;
    QPointer<QObject> m_deckA;
    QPointer<QObject> m_deckB;
    QTimer* VrTimer1;
    QTimer* VrTimer2;
    // Owned by the timers they drive.
    platform::OnDemandTimer* m_fadeTimer;
    platform::OnDemandTimer* m_meterTimer;
    mixer::DeckMeterValues m_shownMeters;
};
