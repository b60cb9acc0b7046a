#include "Players.h"

#include "ApplicationWindows.h"
#include "contracts/MixerApi.h"
#include "contracts/PlayListApi.h"

#include <QGuiApplication>

#include <array>

TPlayerA::TPlayerA() : TDeck(DeckSide::A) {}

TPlayerB::TPlayerB() : TDeck(DeckSide::B), m_keyHandler([this](const app::KeyCommand& command) { perform(command); }) {
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

} // namespace

void TPlayerB::perform(const app::KeyCommand& command) {
    using Kind = app::KeyCommand::Kind;
    ApplicationWindows* set = applicationWindows();
    MixerApi* mixerWindow = mixer();
    const auto text = [](std::string_view view) { return QString::fromUtf8(view.data(), qsizetype(view.size())); };
    const QString name = text(command.name);
    switch (command.kind) {
    case Kind::Deck:
        if (TDeck* deck = command.deck == DeckSide::B ? this : otherDeck())
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
        if (set != nullptr)
            set->toggleWindow(command.window);
        break;
    case Kind::PlayList:
        if (PlayListApi* list = playList())
            (list->*kPlayListOperations.at(static_cast<size_t>(command.playListOperation)))();
        break;
    }
}
