#pragma once

#include "app/DeckTempo.h"
#include "app/DeckTimeTexts.h"
#include "contracts/DeckApi.h"
#include "contracts/DeckSide.h"
#include "engine/XaudioPlayer.h"
#include "platform/WindowMessages.h"
#include "playlist/MP3Tag.h"
#include "skins/SkinnedWindow.h"

#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class ApplicationWindows;
class DeckMenu;
struct DeckSideTraits;
class MixerApi;
class MouseRegion;
class PlayListApi;
struct PreferenceValues;
namespace platform {
class OnDemandTimer;
}

// One deck window: it plays one track through its own engine player, shows
// the engine's notifications in its skin, turns skin clicks into engine
// commands, follows the pitch with the shown tempo, and hands over to the
// other deck near the end of a track. Deck A and deck B share this
// implementation and differ only in the points their subclasses set.
//
// Everything runs on the GUI thread: engine notifications arrive as events
// of the player component, the display timer is a window timer, and the
// decks reach each other by direct calls and posted messages.
class TDeck : public skins::SkinnedWindow, public platform::MessageReceiver, public DeckApi {
    Q_OBJECT
public:
    explicit TDeck(DeckSide side);
    ~TDeck() override;

    DeckSide side() const;

    // Operations.
    void LoadTrack(const QString& fileName) override;
    QString deckStateText() const override { return StateText; }
    void PlayPause();
    void StopTrack();
    void SeekForward();
    void SeekBackward();
    void PitchReset();
    void PitchFaster();
    void PitchSlower();
    void BendUp();
    void BendDown();
    void BendRelease();
    void MatchBPM();
    void UpdateBPM();
    void ApplyPitchSlider();
    void LoadNextFromPlayList();
    void ShowNack(int command, int code);
    // Takes this deck's share of the preferences (thresholds, flags, bend
    // amounts, engine priority and output, pitch range).
    void ApplyPreferences(const PreferenceValues& values);

    // Opens the popup menu at a point in screen coordinates.
    void showPopupMenu(const QPoint& globalPosition);
    DeckMenu& popupMenu() { return *m_menu; }

    // The windows a deck works with. Unlinked ones are the application's
    // windows (none while no window set is set); tests link stand-ins.
    void setApplicationWindows(ApplicationWindows* windows) { m_windows = windows; }
    ApplicationWindows* applicationWindows() const { return m_windows; }
    void linkPartners(TDeck* otherDeck, PlayListApi* playList, MixerApi* mixer);
    TDeck* otherDeck() const;
    PlayListApi* playList() const;
    MixerApi* mixer() const;

    // Chooses a track for "LoadButton"; an empty result means cancelled.
    // Tests replace the dialog.
    std::function<QString()> chooseTrackFile;

    // The engine library new decks hand to their player ("xaudio.dll").
    // Tests point it at the fake engine; an empty name restores the default.
    static void setEngineLibrary(const QString& name);

    // Owned parts.
    std::unique_ptr<TXaudioPlayer> XaudioPlayer1;
    TMP3Tag MP3Tag1;
    QTimer VrTimer1;
    // Toggles elapsed and remaining time; laid over "ElapsedTime".
    MouseRegion* TimeRegion;
    // Seeks; laid exactly over "Position".
    MouseRegion* SeekRegion;
    // Steps the spectrum display through its modes; laid over the display
    // where the skin places it.
    MouseRegion* DisplayRegion;

    // Deck state. The other deck and the play list read StateText and
    // CurrentBPM; the preferences set the thresholds, flags and amounts.
    QString StateText;
    bool VolumeApplied = false;
    int Volume = 80;
    bool AutoLoadArmed = true;
    int DurationHours = 0;
    int DurationMinutes = 0;
    int DurationSeconds = 0;
    bool ShowElapsed = true;
    bool FlashActive = false;
    int TickCount = 0;
    QString SampleRateText;
    QString BitRateText;
    QString ArtistText;
    QString TitleText;
    QString ElapsedText;
    QString RemainingText;
    int PositionRange = 100;
    int PositionOffset = 0;
    QString BaseBPM;
    QString CurrentBPM;
    int PitchValue = app::kNormalPitch;
    int PitchMinimum = app::PitchRange{}.minimum;
    double PitchStep = app::PitchRange{}.step;
    // The "Pitch Percent" the range labels show.
    int PitchPercent = 8;
    int NudgeAmount = 5;
    int DragAmount = 5;
    bool AutoCrossfade = true;
    bool AutoBPMMatch = false;
    bool FlashEnabled = true;
    QString FlashThreshold;
    QString StartOtherThreshold;
    QString LoadNextThreshold;

    // The title line shown before the first track.
    static constexpr const char* kBannerTitle = "Two decks, one mix";

    // Handlers, named after the component and event they serve.
    void SkinForm1MouseDownNotify(const QString& ID, Qt::MouseButton Button, int X, int Y);
    void SkinForm1MouseUpNotify(const QString& ID, Qt::MouseButton Button);
    void SkinForm1TrackBarNotify(const QString& ID, int Position);
    void SkinForm1SkinChanged();
    void XaudioPlayer1NotifyPlayerState(int State);
    // Hands `Volume` to the engine as the PCM level.
    void applyVolume();
    void XaudioPlayer1NotifyInputName();
    void XaudioPlayer1NotifyInputPosition(uint32_t Offset, uint32_t Range);
    void XaudioPlayer1NotifyInputTimecode(int Minutes, int Seconds, int Fractions);
    void XaudioPlayer1NotifyStreamDuration(uint32_t Duration);
    void XaudioPlayer1NotifyStreamParameters(uint32_t Frequency, int Bitrate);
    void VrTimer1Timer();
    void TimeRegionClick();
    void SeekRegionMouseDown(int X);
    void DisplayRegionClick();

protected:
    bool event(QEvent* event) override;
    bool handleMessage(const platform::WindowMessage& message, intptr_t& result) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpEngine();
    // The spectrum display's rectangle: the skin's "SpectrumDisplay" area,
    // else the strip every deck has always had.
    QRect skinDisplayArea() const;
    void sendDisplayArea();
    void followSkinDisplayArea();
    void layMouseRegions();
    void connectSkin();
    void connectEngine();
    void sendPitch(int pitch);
    app::PitchRange pitchRange() const;
    void showPitchSlider();
    void clearMixerLevels();
    void showDurationAsRemaining();
    void runHandOverChecks();
    void loadTrackFromDialog();
    void display(const char* name, const QString& text);

    const DeckSideTraits& m_traits;
    ApplicationWindows* m_windows = nullptr;
    QRect m_displayArea;
    std::unique_ptr<DeckMenu> m_menu;
    // Lets VrTimer1 sleep while the deck does not play; owned by VrTimer1.
    platform::OnDemandTimer* m_displayTimer = nullptr;
    TDeck* m_otherDeck = nullptr;
    PlayListApi* m_playList = nullptr;
    MixerApi* m_mixer = nullptr;
};
