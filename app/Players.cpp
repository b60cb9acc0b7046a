#include "Players.h"

#include "WindowSet.h"
#include "app/api/PlayListApi.h"
#include "mixer/Equalizer.h"
#include "mixer/Mixer.h"
#include "playlist/PlayListForm.h"

#include <QGuiApplication>

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

void performOnDeck(TDeck& deck, app::DeckOperation operation) {
    using app::DeckOperation;
    switch (operation) {
    case DeckOperation::PlayPause:
        deck.PlayPause();
        break;
    case DeckOperation::PitchSlower:
        deck.PitchSlower();
        break;
    case DeckOperation::PitchFaster:
        deck.PitchFaster();
        break;
    case DeckOperation::PitchReset:
        deck.PitchReset();
        break;
    case DeckOperation::BendUp:
        deck.BendUp();
        break;
    case DeckOperation::BendDown:
        deck.BendDown();
        break;
    case DeckOperation::BendRelease:
        deck.BendRelease();
        break;
    case DeckOperation::StopTrack:
        deck.StopTrack();
        break;
    }
}

void performOnPlayList(PlayListApi& playList, app::PlayListOperation operation) {
    switch (operation) {
    case app::PlayListOperation::SelectAll:
        playList.SelectAll();
        break;
    case app::PlayListOperation::ListMinus:
        playList.RemoveSelected();
        break;
    case app::PlayListOperation::WaitListPlus:
        playList.SendToWaitList();
        break;
    }
}

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
    const QString name = QString::fromUtf8(command.name.data(), static_cast<qsizetype>(command.name.size()));
    switch (command.kind) {
    case Kind::Deck:
        if (TDeck* deck = command.deck == app::KeyDeck::B ? this : otherDeck())
            performOnDeck(*deck, command.deckOperation);
        break;
    case Kind::MixerNudge:
        if (mixerWindow != nullptr)
            mixerWindow->Nudge(
                name, QString::fromUtf8(command.direction.data(), static_cast<qsizetype>(command.direction.size())));
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
            performOnPlayList(*list, command.playListOperation);
        break;
    }
}
