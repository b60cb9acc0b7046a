#include "Equalizer.h"

#include "skins/SkinFolders.h"

namespace {
const char* kSection = "TEqualizerForm";

std::string bandKey(char deck, int band) {
    return std::string(1, deck) + std::to_string(band + 1);
}
} // namespace

TEqualizerForm::TEqualizerForm()
    : skins::SkinnedWindow(kSection, skins::skin_files::kEqualizer, FolderPolicy::RecordWhenFound) {
    setWindowTitle(QStringLiteral("Equalizer"));
    move(412, 500);
    placementStore().onReadValues = [this](const platform::IniDocument& document) { readValues(document); };
    placementStore().onWriteValues = [this](platform::IniDocument& document) { writeValues(document); };
    bindPlacementStore();
    placementStore().read();
}

void TEqualizerForm::readValues(const platform::IniDocument& document) {
    for (int band = 0; band < kBands; ++band) {
        BandA[band] = document.readInteger(kSection, bandKey('A', band), 0);
        BandB[band] = document.readInteger(kSection, bandKey('B', band), 0);
    }
    EqOnA = document.readInteger(kSection, "A", 0) != 0;
    EqOnB = document.readInteger(kSection, "B", 0) != 0;
}

void TEqualizerForm::writeValues(platform::IniDocument& document) const {
    for (int band = 0; band < kBands; ++band)
        document.writeString(kSection, bandKey('A', band), std::to_string(BandA[band]));
    for (int band = 0; band < kBands; ++band)
        document.writeString(kSection, bandKey('B', band), std::to_string(BandB[band]));
    document.writeString(kSection, "A", EqOnA ? "1" : "0");
    document.writeString(kSection, "B", EqOnB ? "1" : "0");
}
