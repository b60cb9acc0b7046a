#include "MeterFeed.h"

#include "Players.h"
#include "WindowSet.h"
#include "engine/feedback/TXADisplay.h"
#include "mixer/MeterLevels.h"
#include "mixer/Mixer.h"

void connectDeckMeters(WindowSet& windows) {
    TXADisplay::setFrameObserver([&windows](QWidget* owner, const engine::DisplayFrame& frame) {
        if (windows.Mixer == nullptr || owner == nullptr)
            return;
        DeckSide deck;
        if (owner == windows.PlayerA)
            deck = DeckSide::A;
        else if (owner == windows.PlayerB)
            deck = DeckSide::B;
        else
            return;
        auto level = [](const engine::ChannelFrame& channel) {
            return mixer::peakLevel(channel.waveform.data(), static_cast<std::size_t>(channel.waveformLength));
        };
        windows.Mixer->setDeckLevels(deck, level(frame.left), level(frame.right));
    });
}

void disconnectDeckMeters() {
    TXADisplay::setFrameObserver({});
}
