#include "Deck.h"

#include "ApplicationWindows.h"
#include "DeckElements.h"
#include "DeckHandOver.h"
#include "DeckMenu.h"
#include "DeckPreferenceValues.h"
#include "DeckSides.h"
#include "DeckTexts.h"
#include "MouseRegion.h"
#include "PreferenceValues.h"
#include "contracts/MessageNumbers.h"
#include "contracts/MixerApi.h"
#include "contracts/PlayListApi.h"
#include "engine/feedback/DisplayModes.h"
#include "engine/feedback/FeedbackDisplay.h"
#include "engine/feedback/TXADisplay.h"
#include "platform/ApplicationMinimize.h"
#include "platform/DialogFilter.h"
#include "platform/ErrorReport.h"
#include "platform/OnDemandTimer.h"
#include "playlist/TrackFiles.h"
#include "skins/SkinFolders.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>

#include <algorithm>

using namespace deck_elements;

namespace {

QString& engineLibrary() {
    static QString name;
    return name;
}

constexpr const char* kDefaultEngineLibrary = "xaudio.dll";
// The decks' player component runs at this priority (the component's own
// default is 3).
constexpr int kEnginePriority = 4;
constexpr const char* kOutputModule = "xa_dsound_output.dll";
constexpr const char* kPitchEnvironment = "OUTPUT.DIRECTSOUND.PITCH";
constexpr const char* kWindowEnvironment = "OUTPUT.DIRECTSOUND.WINDOW";
constexpr const char* kFirstOutput = "/dev/dsound/0";
// Where the spectrum display sits on a deck whose skin does not place it,
// and how often it is fed.
constexpr QRect kDefaultDisplayArea(24, 131, 251, 1);
constexpr int kFeedbackEventsPerSecond = 40;
// Display changes wait this long at most for the spectrum display's next
// frame (25 ms apart), to be painted with it.
constexpr int kPacedShowWaitMs = 40;

constexpr int kDisplayTimerIntervalMs = 66;
// After playback ends the display timer ticks this often more: enough to
// restore what a flash blanked and to show the last position.
constexpr int kDisplaySettleTicks = 2;
constexpr int kFlashTicks = 10;
constexpr int kFlashBlankTicks = 5;
constexpr int kSeekStep = 5;
constexpr int kTimeRegionWidth = 129;
constexpr int kTimeRegionHeight = 49;
constexpr int kSliderCentre = 50;

constexpr const char* kZeroTime = "00:00:00";

QString text(const char* latin1) {
    return QString::fromLatin1(latin1);
}

} // namespace

void TDeck::setEngineLibrary(const QString& name) {
    engineLibrary() = name;
}

TDeck::TDeck(DeckSide side)
    : skins::SkinnedWindow(deckSideTraits(side).windowClass, deckSideTraits(side).definitionFile,
                           FolderPolicy::RecordAlways),
      m_traits(deckSideTraits(side)) {
    bindPlacementStore();
    placementStore().setMainWindow(m_traits.mainWindow);
    move(m_traits.designPosition);
    setWindowTitle(QStringLiteral("Drovan"));
    if (SkinForm1->face().isNull())
        setClientSize(m_traits.designClientSize);

    using namespace app::deck_states;
    StateText = text(kClosed);
    SampleRateText = QStringLiteral("00.0");
    BitRateText = QStringLiteral("000");
    ArtistText = QStringLiteral("Drovan");
    TitleText = text(kBannerTitle);
    ElapsedText = text(kZeroTime);
    RemainingText = text(kZeroTime);
    BaseBPM = text(app::kTempoNotMeasured);
    CurrentBPM = text(app::kTempoNotMeasured);
    FlashThreshold = app::flashThresholdText(10);
    StartOtherThreshold = text(m_traits.initialStartOtherThreshold);
    LoadNextThreshold = app::loadNextThresholdText(10);

    m_menu = std::make_unique<DeckMenu>(
        *this, text(m_traits.playListMenuCaption), [this] { return m_windows; },
        [this](const QString& folder) {
            if (m_windows != nullptr)
                m_windows->applySkinFolder(*this, folder);
        });
    chooseTrackFile = [this] {
        return QFileDialog::getOpenFileName(this, QString(), QString(),
                                            platform::dialogFilter(text(track_files::kTrackFilter)));
    };

    XaudioPlayer1 = std::make_unique<TXaudioPlayer>();
    XaudioPlayer1->XaudioPath = engineLibrary().isEmpty() ? text(kDefaultEngineLibrary) : engineLibrary();
    XaudioPlayer1->SetPriority(kEnginePriority);
    connectEngine();
    try {
        setUpEngine();
    } catch (...) {
        // A deck without engine still opens; the error is shown as any other.
        platform::reportCurrentException();
    }

    TimeRegion = new MouseRegion(this);
    TimeRegion->setObjectName(QStringLiteral("TimeRegion"));
    TimeRegion->resize(kTimeRegionWidth, kTimeRegionHeight);
    TimeRegion->onClick = [this] { TimeRegionClick(); };
    SeekRegion = new MouseRegion(this);
    SeekRegion->setObjectName(QStringLiteral("SeekRegion"));
    SeekRegion->onPress = [this](Qt::MouseButton, QPoint position) { SeekRegionMouseDown(position.x()); };
    DisplayRegion = new MouseRegion(this);
    DisplayRegion->setObjectName(QStringLiteral("DisplayRegion"));
    DisplayRegion->onClick = [this] { DisplayRegionClick(); };

    // The skin was loaded from the default folder while the window was built;
    // from here on every load reports itself, and this first one is shown now.
    connectSkin();
    SkinForm1SkinChanged();

    VrTimer1.setInterval(kDisplayTimerIntervalMs);
    connect(&VrTimer1, &QTimer::timeout, this, [this] { VrTimer1Timer(); });
    m_displayTimer = new platform::OnDemandTimer(
        VrTimer1, [this] { return StateText == QLatin1String(app::deck_states::kPlaying); }, kDisplaySettleTicks);
    m_displayTimer->wake();
}

TDeck::~TDeck() {
    VrTimer1.stop();
    // The player and the skin's handlers go first, so no notification and no
    // mouse event reaches a half-destroyed deck.
    XaudioPlayer1.reset();
    SkinForm1->OnMouseDownNotify = nullptr;
    SkinForm1->OnMouseUpNotify = nullptr;
    SkinForm1->OnTrackBarNotify = nullptr;
    SkinForm1->OnSkinChanged = nullptr;
}

void TDeck::connectEngine() {
    TXaudioPlayer& player = *XaudioPlayer1;
    player.OnNotifyPlayerState = [this](TXaudioPlayer*, int State) { XaudioPlayer1NotifyPlayerState(State); };
    player.OnNotifyInputName = [this](TXaudioPlayer*, const QString&) { XaudioPlayer1NotifyInputName(); };
    player.OnNotifyInputPosition = [this](TXaudioPlayer*, uint32_t Offset, uint32_t Range) {
        XaudioPlayer1NotifyInputPosition(Offset, Range);
    };
    player.OnNotifyInputTimecode = [this](TXaudioPlayer*, uint8_t, uint8_t Minutes, uint8_t Seconds,
                                          uint8_t Fractions) {
        XaudioPlayer1NotifyInputTimecode(Minutes, Seconds, Fractions);
    };
    player.OnNotifyStreamDuration = [this](TXaudioPlayer*, uint32_t Duration) {
        XaudioPlayer1NotifyStreamDuration(Duration);
    };
    player.OnNotifyStreamParameters = [this](TXaudioPlayer*, uint32_t Frequency, int16_t Bitrate, uint8_t) {
        XaudioPlayer1NotifyStreamParameters(Frequency, Bitrate);
    };
    player.OnNotifyNack = [this](TXaudioPlayer*, uint8_t Command, int16_t Code) { ShowNack(Command, Code); };
    // The engine names the sound output that failed; its nack that follows
    // would only repeat it without the name.
    player.OnNotifyError = [](TXaudioPlayer*, uint8_t, int16_t, const QString& Msg) { platform::reportError(Msg); };
}

void TDeck::setUpEngine() {
    TXaudioPlayer& player = *XaudioPlayer1;
    // The engine takes integers; the window id is what its output module and
    // the spectrum display are handed to find this window again.
    const int window = static_cast<int>(winId());
    player.OutputModuleRegister(text(kOutputModule));
    player.SetPlayerEnvironmentInteger(text(kWindowEnvironment), window);
    player.SetOutputName(text(kFirstOutput));
    player.SetInputTimecodeGranularity(1);
    player.SetFeedbackHandlerEnvironmentInteger(text(engine::kEnvironmentMainWindow), window);
    m_displayArea = skinDisplayArea();
    sendDisplayArea();
    player.FeedbackHandlerModuleRegister(engine::feedbackModuleRegistrationName());
    player.SetFeedbackHandlerName(text(engine::kFeedbackHandlerName));
    player.SetFeedbackAudioEventRate(kFeedbackEventsPerSecond);
    player.FeedbackHandlerStart();
}

QRect TDeck::skinDisplayArea() const {
    int left = 0, top = 0, width = 0, height = 0;
    if (!SkinForm1->GetAreaRect(text(kSpectrumDisplay), left, top, width, height))
        return kDefaultDisplayArea;
    return QRect(left, top, width, height);
}

void TDeck::sendDisplayArea() {
    TXaudioPlayer& player = *XaudioPlayer1;
    player.SetFeedbackHandlerEnvironmentInteger(text(engine::kEnvironmentLeft), m_displayArea.left());
    player.SetFeedbackHandlerEnvironmentInteger(text(engine::kEnvironmentTop), m_displayArea.top());
    player.SetFeedbackHandlerEnvironmentInteger(text(engine::kEnvironmentWidth), m_displayArea.width());
    player.SetFeedbackHandlerEnvironmentInteger(text(engine::kEnvironmentHeight), m_displayArea.height());
}

void TDeck::followSkinDisplayArea() {
    const QRect area = skinDisplayArea();
    if (area == m_displayArea)
        return;
    // The display takes its place when it starts: restart it where the new
    // skin wants it.
    m_displayArea = area;
    XaudioPlayer1->FeedbackHandlerStop();
    sendDisplayArea();
    XaudioPlayer1->FeedbackHandlerStart();
}

void TDeck::connectSkin() {
    SkinForm1->OnMouseDownNotify = [this](const QString& ID, Qt::MouseButton Button, platform::ShiftState, int X,
                                          int Y) { SkinForm1MouseDownNotify(ID, Button, X, Y); };
    SkinForm1->OnMouseUpNotify = [this](const QString& ID, Qt::MouseButton Button, platform::ShiftState, int, int) {
        SkinForm1MouseUpNotify(ID, Button);
    };
    SkinForm1->OnTrackBarNotify = [this](const QString& ID, int Position) { SkinForm1TrackBarNotify(ID, Position); };
    SkinForm1->OnSkinChanged = [this](TSkinForm*) { SkinForm1SkinChanged(); };
}

void TDeck::linkPartners(TDeck* otherDeck, PlayListApi* playList, MixerApi* mixer) {
    m_otherDeck = otherDeck;
    m_playList = playList;
    m_mixer = mixer;
}

DeckSide TDeck::side() const {
    return m_traits.side;
}

TDeck* TDeck::otherDeck() const {
    if (m_otherDeck != nullptr)
        return m_otherDeck;
    return m_windows != nullptr ? m_windows->otherDeck(*this) : nullptr;
}

PlayListApi* TDeck::playList() const {
    if (m_playList != nullptr)
        return m_playList;
    return m_windows != nullptr ? m_windows->playList() : nullptr;
}

MixerApi* TDeck::mixer() const {
    if (m_mixer != nullptr)
        return m_mixer;
    return m_windows != nullptr ? m_windows->mixer() : nullptr;
}

void TDeck::display(const char* name, const QString& value) {
    SkinForm1->SetDisplayText(text(name), value);
}

app::PitchRange TDeck::pitchRange() const {
    return app::PitchRange{PitchMinimum, PitchStep};
}

void TDeck::sendPitch(int pitch) {
    XaudioPlayer1->SetPlayerEnvironmentInteger(text(kPitchEnvironment), pitch);
}

void TDeck::showPitchSlider() {
    SkinForm1->SetTrackBarPosition(text(kPitchSlider), app::sliderFromPitch(PitchValue, pitchRange()));
}

// Operations.

void TDeck::LoadTrack(const QString& fileName) {
    FlashActive = false;
    XaudioPlayer1->InputOpen(fileName);
    // The engine has the file now; a tag that cannot be read must not leave
    // the deck showing the previous track, so the load completes first.
    QString tagError;
    try {
        MP3Tag1.SetFilename(QFile::encodeName(fileName).toStdString());
    } catch (...) {
        tagError = platform::textOfCurrentException();
    }
    StateText = text(app::deck_states::kLoaded);
    display(kPlayerState, StateText);
    display(kElapsedTime, text(kZeroTime));
    PositionOffset = 0;
    m_displayTimer->wake();
    const PlayListApi* list = playList();
    BaseBPM = list != nullptr ? list->LoadedBpm : text(app::kTempoNotMeasured);
    if (!app::measuredTempo(BaseBPM)) {
        // A stale tempo of the previous track must not be matched against.
        CurrentBPM = text(app::kTempoNotMeasured);
        display(kTempo, app::tempoDisplayText(CurrentBPM));
    }
    UpdateBPM();
    if (AutoBPMMatch)
        MatchBPM();
    if (!tagError.isEmpty())
        platform::reportError(tagError);
}

void TDeck::PlayPause() {
    using namespace app::deck_states;
    if (StateText == QLatin1String(kPlaying))
        XaudioPlayer1->Pause();
    else if (StateText != QLatin1String(kClosed))
        XaudioPlayer1->Play();
}

void TDeck::StopTrack() {
    using namespace app::deck_states;
    if (StateText != QLatin1String(kPlaying) && StateText != QLatin1String(kPaused))
        return;
    XaudioPlayer1->Stop();
    display(kElapsedTime, text(kZeroTime));
    showDurationAsRemaining();
    SkinForm1->SetGaugePosition(text(kPosition), 0);
}

void TDeck::showDurationAsRemaining() {
    display(kRemainingTime, app::durationText({DurationHours, DurationMinutes, DurationSeconds}));
}

void TDeck::SeekForward() {
    using namespace app::deck_states;
    if (StateText == QLatin1String(kPlaying) || StateText == QLatin1String(kPaused) ||
        StateText == QLatin1String(kStopped))
        XaudioPlayer1->InputSeek(PositionOffset + kSeekStep, PositionRange);
}

void TDeck::SeekBackward() {
    using namespace app::deck_states;
    if (StateText == QLatin1String(kPlaying) || StateText == QLatin1String(kPaused) ||
        StateText == QLatin1String(kStopped))
        XaudioPlayer1->InputSeek(PositionOffset - kSeekStep, PositionRange);
}

void TDeck::PitchReset() {
    sendPitch(app::kNormalPitch);
    SkinForm1->SetTrackBarPosition(text(kPitchSlider), kSliderCentre);
    PitchValue = app::kNormalPitch;
    CurrentBPM = BaseBPM;
    display(kTempo, app::tempoDisplayText(CurrentBPM));
}

void TDeck::PitchFaster() {
    PitchValue = app::pitchFaster(PitchValue, pitchRange());
    sendPitch(PitchValue);
    showPitchSlider();
    UpdateBPM();
}

void TDeck::PitchSlower() {
    PitchValue = app::pitchSlower(PitchValue, pitchRange());
    sendPitch(PitchValue);
    showPitchSlider();
    UpdateBPM();
}

void TDeck::BendUp() {
    sendPitch(PitchValue + NudgeAmount * 10);
}

void TDeck::BendDown() {
    sendPitch(PitchValue - DragAmount * 10);
}

void TDeck::BendRelease() {
    sendPitch(PitchValue);
}

void TDeck::MatchBPM() {
    const TDeck* other = otherDeck();
    if (other == nullptr)
        return;
    const std::optional<int> pitch = app::matchingPitch(other->CurrentBPM, BaseBPM, pitchRange());
    if (!pitch)
        return;
    PitchValue = *pitch;
    sendPitch(PitchValue);
    showPitchSlider();
    UpdateBPM();
}

void TDeck::UpdateBPM() {
    const std::optional<QString> tempo = app::currentTempoText(BaseBPM, PitchValue);
    if (!tempo)
        return;
    CurrentBPM = *tempo;
    display(kTempo, app::tempoDisplayText(CurrentBPM));
}

void TDeck::ApplyPitchSlider() {
    PitchValue = app::pitchFromSlider(SkinForm1->GetTrackBarPosition(text(kPitchSlider)), pitchRange());
    sendPitch(PitchValue);
    UpdateBPM();
}

void TDeck::LoadNextFromPlayList() {
    PlayListApi* list = playList();
    if (StateText == QLatin1String(app::deck_states::kLoaded) || list == nullptr)
        return;
    const QString next = list->NextTrack();
    if (next != QLatin1String(play_list_texts::kNoNextTrack) && !next.isEmpty())
        LoadTrack(next);
}

void TDeck::ShowNack(int command, int code) {
    if (code == XA_ERROR_OUTPUT_FAILED)
        return;
    platform::reportError(app::commandFailedText(command, XaudioPlayer1->ErrorString(code)));
}

void TDeck::ApplyPreferences(const PreferenceValues& values) {
    AutoCrossfade = values.autoCrossfade;
    AutoBPMMatch = values.autoBpmMatch;
    FlashEnabled = values.flashingWarning;
    FlashThreshold = app::flashThresholdText(values.flashSeconds);
    XaudioPlayer1->SetPriority(values.priority);
    StartOtherThreshold = app::startOtherThresholdText(values.overlapSeconds);
    LoadNextThreshold = app::loadNextThresholdText(values.overlapSeconds);
    NudgeAmount = values.nudge;
    DragAmount = values.drag;
    XaudioPlayer1->SetOutputName(app::outputNameForSoundCard(values.*m_traits.soundCard));
    PitchPercent = values.*m_traits.pitchPercent;
    display(kPitchPlusPercent, app::pitchPlusPercentText(PitchPercent));
    display(kPitchMinusPercent, app::pitchMinusPercentText(PitchPercent));
    // A typed percent outside the table changes the labels only.
    if (const std::optional<app::PitchRange> range = app::pitchRangeForPercent(PitchPercent)) {
        PitchMinimum = range->minimum;
        PitchStep = range->step;
    }
    ApplyPitchSlider();
}

void TDeck::showPopupMenu(const QPoint& globalPosition) {
    m_menu->popup(globalPosition);
}

// Skin events.

void TDeck::SkinForm1MouseDownNotify(const QString& ID, Qt::MouseButton Button, int X, int Y) {
    if (Button == Qt::RightButton) {
        showPopupMenu(SkinForm1->mapToGlobal(QPoint(X, Y)));
        return;
    }
    ApplicationWindows* set = m_windows;
    if (ID == QLatin1String(kPlayButton))
        PlayPause();
    else if (ID == QLatin1String(kStopButton))
        StopTrack();
    else if (ID == QLatin1String(kInfoButton) && set != nullptr) {
        if (m_traits.infoWindow == DeckSideTraits::InfoWindow::About)
            set->showAbout();
        else
            set->showPreferences();
    } else if (ID == QLatin1String(kExitButton) && set != nullptr)
        set->exitApplication();
    else if (ID == QLatin1String(kForwardButton))
        SeekForward();
    else if (ID == QLatin1String(kRewindButton))
        SeekBackward();
    else if (ID == QLatin1String(kPitchResetButton))
        PitchReset();
    else if (ID == QLatin1String(kPlusButton))
        BendUp();
    else if (ID == QLatin1String(kMinusButton))
        BendDown();
    else if (ID == QLatin1String(kPitchUpButton))
        PitchSlower();
    else if (ID == QLatin1String(kPitchDownButton))
        PitchFaster();
    else if (ID == QLatin1String(kPlayListButton) && set != nullptr)
        set->toggleWindow(app::ToggledWindow::PlayList);
    else if (ID == QLatin1String(kMixerButton) && set != nullptr)
        set->toggleWindow(app::ToggledWindow::Mixer);
    else if (ID == QLatin1String(kEqualizerButton) && set != nullptr)
        set->toggleWindow(app::ToggledWindow::Equalizer);
    else if (ID == QLatin1String(kMatchButton))
        MatchBPM();
}

void TDeck::SkinForm1MouseUpNotify(const QString& ID, Qt::MouseButton) {
    if (ID == QLatin1String(kPlusButton) || ID == QLatin1String(kMinusButton))
        BendRelease();
    else if (ID == QLatin1String(kLoadButton))
        loadTrackFromDialog();
    else if (ID == QLatin1String(kMinimizeButton))
        platform::minimizeApplication();
}

void TDeck::SkinForm1TrackBarNotify(const QString& ID, int Position) {
    if (ID != QLatin1String(kPitchSlider))
        return;
    PitchValue = app::pitchFromSlider(Position, pitchRange());
    sendPitch(PitchValue);
    UpdateBPM();
}

void TDeck::SkinForm1SkinChanged() {
    display(kElapsedTime, ElapsedText);
    display(kRemainingTime, RemainingText);
    display(kArtist, ArtistText);
    display(kTitle, TitleText);
    display(kSampleRate, SampleRateText + QStringLiteral("Khz"));
    display(kBitRate, BitRateText + QStringLiteral("Kbps"));
    display(kPlayerState, StateText);
    display(kTempo, app::tempoDisplayText(CurrentBPM));
    display(kRemainingLabel, QStringLiteral("Remaining"));
    display(kElapsedLabel, QStringLiteral("Elapsed"));
    display(kPitchPlusPercent, app::pitchPlusPercentText(PitchPercent));
    display(kPitchMinusPercent, app::pitchMinusPercentText(PitchPercent));
    showPitchSlider();
    SkinForm1->SetGaugeRange(text(kPosition), 0, PositionRange);
    SkinForm1->SetGaugePosition(text(kPosition), PositionOffset);

    layMouseRegions();
    followSkinDisplayArea();
}

void TDeck::layMouseRegions() {
    // A skin without the element gets no region: a region left where it was
    // would lie over whatever this skin puts there and take its clicks.
    int left = 0, top = 0, width = 0, height = 0;
    const bool hasPosition = SkinForm1->GetGaugeRect(text(kPosition), left, top, width, height);
    if (hasPosition)
        SeekRegion->setGeometry(left, top, width, height);
    SeekRegion->setVisible(hasPosition);
    const bool hasElapsedTime = SkinForm1->GetDisplayPos(text(kElapsedTime), left, top);
    if (hasElapsedTime)
        TimeRegion->move(left, top);
    TimeRegion->setVisible(hasElapsedTime);
    // Only a skin that places the spectrum display gives it room for clicks;
    // elsewhere it is a strip of one pixel.
    const bool hasDisplayArea = SkinForm1->GetAreaRect(text(kSpectrumDisplay), left, top, width, height);
    if (hasDisplayArea)
        DisplayRegion->setGeometry(left, top, width, height);
    DisplayRegion->setVisible(hasDisplayArea);
    SeekRegion->raise();
    TimeRegion->raise();
    DisplayRegion->raise();
}

void TDeck::applyVolume() {
    // The engine reads -1 as "keep the level", so a level of -1 from the
    // mixer would leave the deck playing at its old volume: every level
    // below zero is silence.
    XaudioPlayer1->SetOutputVolume(-1, std::max(Volume, 0), -1);
}

// Engine notifications.

void TDeck::XaudioPlayer1NotifyPlayerState(int State) {
    const app::PlayerStateOutcome outcome = app::playerStateOutcome(State, StateText, VolumeApplied);
    if (outcome.rearmAutoLoad)
        AutoLoadArmed = true;
    StateText = outcome.stateText;
    if (outcome.clearMixerLevels)
        clearMixerLevels();
    if (outcome.applyVolume) {
        applyVolume();
        VolumeApplied = true;
    }
    if (outcome.loadNextTrack && playList() != nullptr) {
        const QString next = playList()->NextTrack();
        if (next != QLatin1String(play_list_texts::kNoNextTrack) && !next.isEmpty()) {
            LoadTrack(next);
            AutoLoadArmed = false;
        }
    }
    display(kPlayerState, StateText);
    // While the spectrum display animates on this window, the display
    // timer's changes ride along with its frames: one paint instead of two.
    const bool animating = StateText == QLatin1String(app::deck_states::kPlaying) &&
                           findChild<TXADisplay*>(QString(), Qt::FindDirectChildrenOnly) != nullptr;
    SkinForm1->SetPacedShow(animating ? kPacedShowWaitMs : 0);
    m_displayTimer->wake();
}

void TDeck::clearMixerLevels() {
    MixerApi* levels = mixer();
    if (levels == nullptr)
        return;
    levels->*m_traits.levelLeft = 0;
    levels->*m_traits.levelRight = 0;
    levels->MetersChanged();
}

void TDeck::XaudioPlayer1NotifyInputName() {
    ArtistText = app::printableTagText(MP3Tag1.Artist());
    TitleText = app::deckTitleText(MP3Tag1.Title(), MP3Tag1.Album());
    display(kArtist, ArtistText);
    display(kTitle, TitleText);
}

void TDeck::XaudioPlayer1NotifyInputPosition(uint32_t Offset, uint32_t Range) {
    PositionOffset = static_cast<int>(Offset);
    PositionRange = static_cast<int>(Range);
    SkinForm1->SetGaugeRange(text(kPosition), 0, PositionRange);
    m_displayTimer->wake();
}

void TDeck::XaudioPlayer1NotifyInputTimecode(int Minutes, int Seconds, int Fractions) {
    ElapsedText = app::timeText(Minutes, Seconds, Fractions);
    RemainingText = app::remainingText({DurationHours, DurationMinutes, DurationSeconds}, Minutes, Seconds, Fractions);
    runHandOverChecks();
}

void TDeck::runHandOverChecks() {
    TDeck* other = otherDeck();
    PlayListApi* list = playList();
    app::HandOverInput input;
    input.remainingText = RemainingText;
    input.flashThreshold = FlashThreshold;
    input.loadNextThreshold = LoadNextThreshold;
    input.startOtherThreshold = StartOtherThreshold;
    input.flashEnabled = FlashEnabled;
    input.autoPlay = list != nullptr && list->AutoPlay;
    input.autoLoadArmed = AutoLoadArmed;
    input.autoCrossfade = AutoCrossfade;
    input.otherStateText = other != nullptr ? other->StateText : QString();
    const app::HandOverActions actions = app::handOverActions(input);

    if (actions.startFlashing)
        FlashActive = true;
    if (actions.requestLoadNext) {
        platform::PostMessage(other, m_traits.otherLoadNextMessage);
        AutoLoadArmed = false;
    }
    if (actions.startOther) {
        other->PlayPause();
        MixerApi* fader = mixer();
        if (actions.startFade && fader != nullptr)
            (fader->*m_traits.autoFadeToOther)();
    }
}

void TDeck::XaudioPlayer1NotifyStreamDuration(uint32_t Duration) {
    const app::DurationParts parts = app::splitDuration(Duration);
    DurationHours = parts.hours;
    DurationMinutes = parts.minutes;
    DurationSeconds = parts.seconds;
    showDurationAsRemaining();
}

void TDeck::XaudioPlayer1NotifyStreamParameters(uint32_t Frequency, int Bitrate) {
    SampleRateText = app::sampleRateText(Frequency);
    BitRateText = app::bitRateText(Bitrate);
    display(kSampleRate, SampleRateText + QStringLiteral("KHz"));
    display(kBitRate, BitRateText + QStringLiteral("Kbps"));
}

// Display timer and mouse regions.

void TDeck::VrTimer1Timer() {
    const bool playing = StateText == QLatin1String(app::deck_states::kPlaying);
    if (playing && FlashActive && TickCount < kFlashBlankTicks) {
        SkinForm1->SetGaugePosition(text(kPosition), 0);
        display(kElapsedLabel, QString());
        display(kRemainingLabel, QString());
    } else {
        display(kElapsedLabel, ShowElapsed ? QStringLiteral("Elapsed") : QStringLiteral("Remaining"));
        display(kRemainingLabel, QStringLiteral("Remaining"));
        SkinForm1->SetGaugePosition(text(kPosition), PositionOffset);
    }
    if (playing) {
        display(kElapsedTime, ShowElapsed ? ElapsedText : RemainingText);
        display(kRemainingTime, RemainingText);
    }
    TickCount = (TickCount + 1) % kFlashTicks;
}

void TDeck::TimeRegionClick() {
    ShowElapsed = !ShowElapsed;
    if (ShowElapsed) {
        display(kElapsedTime, ElapsedText);
        display(kElapsedLabel, QStringLiteral("Elapsed"));
    } else {
        display(kElapsedTime, RemainingText);
        display(kElapsedLabel, QStringLiteral("Remaining"));
    }
}

void TDeck::DisplayRegionClick() {
    const uint8_t next = engine::nextDisplayMode(engine::displayModeFlags().load());
    XaudioPlayer1->FeedbackHandlerSendMessage(engine::kFeedbackSetModes, &next, sizeof next);
}

void TDeck::SeekRegionMouseDown(int X) {
    // Before the first playback the engine has no position to seek in.
    if (!VolumeApplied)
        return;
    PositionOffset = app::seekOffsetForClick(X, PositionRange, SeekRegion->width());
    SkinForm1->SetGaugePosition(text(kPosition), PositionOffset);
    XaudioPlayer1->InputSeek(PositionOffset, PositionRange);
}

void TDeck::loadTrackFromDialog() {
    const QString chosen = chooseTrackFile();
    if (chosen.isEmpty())
        return;
    if (PlayListApi* list = playList())
        list->LoadedBpm = text(app::kTempoNotMeasured);
    LoadTrack(chosen);
}

// Messages and closing.

bool TDeck::event(QEvent* event) {
    if (platform::dispatchWindowMessage(event, *this))
        return true;
    return skins::SkinnedWindow::event(event);
}

bool TDeck::handleMessage(const platform::WindowMessage& message, intptr_t& result) {
    result = 0;
    if (message.number == m_traits.loadNextMessage) {
        LoadNextFromPlayList();
        return true;
    }
    if (message.number == m_traits.volumeMessage) {
        // The mixer may send a negative level; the deck keeps it unchanged.
        Volume = static_cast<int>(static_cast<intptr_t>(message.wParam));
        if (VolumeApplied)
            applyVolume();
        return true;
    }
    return false;
}

void TDeck::closeEvent(QCloseEvent* event) {
    skins::SkinnedWindow::closeEvent(event);
    // Deck A is the main window: once it closes, the application ends. Not
    // quit(), which would close every other window first and so record them
    // as closed rather than destroyed.
    if (event->isAccepted() && m_traits.mainWindow)
        QCoreApplication::exit(0);
}
