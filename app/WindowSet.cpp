#include "WindowSet.h"

#include "About.h"
#include "DeckEqualizers.h"
#include "Players.h"
#include "Preferences.h"
#include "SkinFolderSwitch.h"
#include "mixer/Equalizer.h"
#include "mixer/Mixer.h"
#include "platform/ErrorReport.h"
#include "playlist/PlayListForm.h"
#include "skins/AboutSkin.h"
#include "skins/SkinEditor.h"

#include <cassert>
#include <initializer_list>
#include <memory>

namespace {
WindowSet* g_windows = nullptr;

// Hands a window's ownership back to a unique_ptr for its destruction.
template <typename Window> void destroyWindow(Window*& window) {
    if constexpr (requires { window->writePlacementAtDestruction(); }) {
        if (window != nullptr)
            window->writePlacementAtDestruction();
    }
    std::unique_ptr<Window> owned(window);
    window = nullptr;
}
} // namespace

WindowSet& windows() {
    assert(g_windows != nullptr);
    return *g_windows;
}

WindowSet* currentWindowSet() {
    return g_windows;
}

WindowSet::WindowSet() = default;

WindowSet::~WindowSet() {
    destroy();
}

void WindowSet::create() {
    g_windows = this;
    PlayerA = new TPlayerA();
    PlayerA->setApplicationWindows(this);
    PlayerA->show();
    PlayList = new TPlayListForm();
    PlayList->show();
    PlayerB = new TPlayerB();
    PlayerB->setApplicationWindows(this);
    PlayerB->show();
    PlayList->setDecks(PlayerA, PlayerB);
    SkinEditor = new TMySkinEditor();
    Mixer = new TMixer();
    Mixer->setDecks(PlayerA, PlayerB);
    Mixer->show();
    Preferences = new TPreferences([this](const PreferenceValues& values) { applyPreferences(values); });
    m_deckEqualizers = std::make_unique<DeckEqualizers>(*PlayerA, *PlayerB);
    Equalizer = new TEqualizerForm(m_deckEqualizers.get());
    AboutSkin = new TAboutSkin();
    About = new TAbout();
    routeKeysToDeckB();
}

void WindowSet::routeKeysToDeckB() {
    TPlayerB* handler = PlayerB;
    for (skins::SkinnedWindow* window :
         std::initializer_list<skins::SkinnedWindow*>{PlayerA, Mixer, PlayList, Equalizer}) {
        window->forwardKeyDown = [handler](int Key, platform::ShiftState Shift) { handler->FormKeyDown(Key, Shift); };
        window->forwardKeyUp = [handler](int Key, platform::ShiftState Shift) { handler->FormKeyUp(Key, Shift); };
    }
}

void WindowSet::destroy() {
    if (g_windows != this)
        return;
    destroyWindow(About);
    destroyWindow(AboutSkin);
    destroyWindow(Equalizer);
    m_deckEqualizers.reset();
    destroyWindow(Preferences);
    destroyWindow(Mixer);
    destroyWindow(SkinEditor);
    destroyWindow(PlayerB);
    destroyWindow(PlayList);
    destroyWindow(PlayerA);
    g_windows = nullptr;
}

TDeck* WindowSet::otherDeck(const TDeck& deck) const {
    return &deck == static_cast<const TDeck*>(PlayerA) ? static_cast<TDeck*>(PlayerB) : static_cast<TDeck*>(PlayerA);
}

PlayListApi* WindowSet::playList() const {
    return PlayList;
}

MixerApi* WindowSet::mixer() const {
    return Mixer;
}

void WindowSet::toggleWindow(app::ToggledWindow window) {
    platform::PlacedWindow* target = nullptr;
    switch (window) {
    case app::ToggledWindow::PlayList:
        target = PlayList;
        break;
    case app::ToggledWindow::Mixer:
        target = Mixer;
        break;
    case app::ToggledWindow::Equalizer:
        target = Equalizer;
        break;
    }
    if (target != nullptr)
        target->toggleVisibility();
}

void WindowSet::showAbout() {
    if (About != nullptr)
        About->exec();
}

void WindowSet::showPreferences() {
    if (Preferences != nullptr)
        Preferences->exec();
}

void WindowSet::showSkinEditor() {
    if (SkinEditor != nullptr)
        SkinEditor->exec();
}

void WindowSet::showAboutSkin() {
    if (AboutSkin != nullptr)
        AboutSkin->showModal();
}

void WindowSet::exitApplication() {
    if (PlayerA != nullptr)
        PlayerA->close();
}

void WindowSet::applyPreferences(const PreferenceValues& values) {
    if (PlayList != nullptr)
        PlayList->AutoPlay = values.autoPlay;
    for (TDeck* deck : {static_cast<TDeck*>(PlayerA), static_cast<TDeck*>(PlayerB)}) {
        if (deck == nullptr)
            continue;
        try {
            deck->ApplyPreferences(values);
        } catch (...) {
            platform::reportCurrentException();
        }
    }
}

std::vector<SkinFolderClient*> WindowSet::skinFolderClients(const TDeck& origin) const {
    TDeck* self = otherDeck(*otherDeck(origin));
    return {self, otherDeck(origin), PlayList, Mixer, AboutSkin, Equalizer};
}

void WindowSet::applySkinFolder(const TDeck& origin, const QString& folder) {
    switchSkinFolder(skinFolderClients(origin), folder);
}
