#pragma once

#include "skins/SkinnedWindow.h"

#include <array>

// The ten-band equalizer of both decks. Its band values and on/off switches
// live in its section of the settings file.
class TEqualizerForm : public skins::SkinnedWindow {
    Q_OBJECT
public:
    static constexpr int kBands = 10;

    TEqualizerForm();
    std::array<int, kBands> BandA{};
    std::array<int, kBands> BandB{};
    bool EqOnA = false;
    bool EqOnB = false;

private:
    void readValues(const platform::IniDocument& document);
    void writeValues(platform::IniDocument& document) const;
};
