#include "Players.h"

#include "WindowSet.h"
#include "app/api/PlayListApi.h"
#include "mixer/Equalizer.h"
#include "mixer/Mixer.h"
#include "playlist/PlayListForm.h"

#include <QGuiApplication>

#include <array>

TPlayerA::TPlayerA() : TDeck("TPlayerA", Side::A, QSize(380, 234), QPoint(19, 49)) {}

TPlayerB::TPlayerB()
    : TDeck("TPlayerB", Side::B, QSize(370, 234), QPoint(404, 53)),
      m_keyHandler([this](const app::KeyCommand& command) { perform(command); }) {
    forwardKeyDown = [this](int Key, platform::ShiftState Shift) { FormKeyDown(Key, Shift); };
    forwardKeyUp = [this](int Key, platform::ShiftState Shift) { FormKeyUp(Key, Shift); };
    // Keys released while another application has the keyboard never reach
    // us; a bend or flash held then would stay on.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            m_keyHandler.releaseAll();
    });
}

void TPlayerB::FormKeyDown(int Key, platform::ShiftState Shift) {
    m_keyHandler.keyDown(Key, Shift);
}

void TPlayerB::FormKeyUp(int Key, platform::ShiftState Shift) {
    m_keyHandler.keyUp(Key, Shift);
}

namespace {

// The operations of the key commands, in the order of their enumerations.
constexpr std::array<void (TDeck::*)(), 8> kDeckOperations = {
    &TDeck::PlayPause, &TDeck::PitchSlower, &TDeck::PitchFaster, &TDeck::PitchReset,
    &TDeck::BendUp,    &TDeck::BendDown,    &TDeck::BendRelease, &TDeck::StopTrack};
constexpr std::array<void (PlayListApi::*)(), 3> kPlayListOperations = {
    &PlayListApi::SelectAll, &PlayListApi::RemoveSelected, &PlayListApi::SendToWaitList};

platform::PlacedWindow* toggledWindow(const WindowSet& set, app::ToggledWindow window) {
    switch (window) {
    case app::ToggledWindow::PlayList:
        return set.PlayList;
    case app::ToggledWindow::Mixer:
        return set.Mixer;
    case app::ToggledWindow::Equalizer:
        return set.Equalizer;
    }
    return nullptr;
}

} // namespace

void TPlayerB::perform(const app::KeyCommand& command) {
    using Kind = app::KeyCommand::Kind;
    const WindowSet* set = currentWindowSet();
    TMixer* mixerWindow = set != nullptr ? set->Mixer : nullptr;
    const auto text = [](std::string_view view) { return QString::fromUtf8(view.data(), qsizetype(view.size())); };
    const QString name = text(command.name);
    switch (command.kind) {
    case Kind::Deck:
        if (TDeck* deck = command.deck == app::KeyDeck::B ? this : otherDeck())
            (deck->*kDeckOperations.at(static_cast<size_t>(command.deckOperation)))();
        break;
    case Kind::MixerNudge:
        if (mixerWindow != nullptr)
            mixerWindow->Nudge(name, text(command.direction));
        break;
    case Kind::MixerStart:
        if (mixerWindow != nullptr)
            mixerWindow->Start(name);
        break;
    case Kind::MixerRelease:
        if (mixerWindow != nullptr)
            mixerWindow->Release(name);
        break;
    case Kind::ToggleWindow:
        if (platform::PlacedWindow* window = set != nullptr ? toggledWindow(*set, command.window) : nullptr)
            window->toggleVisibility();
        break;
    case Kind::PlayList:
        if (PlayListApi* list = playList())
            (list->*kPlayListOperations.at(static_cast<size_t>(command.playListOperation)))();
        break;
    }
}
