#pragma once

#include "EqualizerBands.h"
#include "contracts/DeckSide.h"

#include "skins/SkinnedWindow.h"

#include <functional>

namespace mixer {
class EqualizerOutput;
}

// The ten-band equalizer of both decks: the band sliders of each deck
// become the 32-band table of that deck's engine player, each deck's
// equalizer switches on and off and resets on its own, and presets load
// into both decks and save deck A's bands. Band values and switches live
// in its section of the settings file. GUI thread only.
class TEqualizerForm : public skins::SkinnedWindow {
    Q_OBJECT
public:
    static constexpr int kBands = mixer::kEqualizerBands;

    // Restores the stored bands and switches and puts them on the sliders
    // and into both decks' engines (through `output`, which may be null and
    // must outlive the window).
    explicit TEqualizerForm(mixer::EqualizerOutput* output = nullptr);
    ~TEqualizerForm() override;

    mixer::EqualizerBands BandA{};
    mixer::EqualizerBands BandB{};
    bool EqOnA = false;
    bool EqOnB = false;

    // Sends deck's table to its engine, or switches its equalizer off.
    void ApplyDeck(DeckSide deck);
    // Sets all ten bands of a deck flat; the switch stays as it is.
    void ResetDeck(DeckSide deck);
    void ToggleDeck(DeckSide deck);

    // The preset commands of "LoadButton" and "SaveButton": a file dialog,
    // then the file. A file that cannot be read, or is too short to hold a
    // preset, is reported and changes nothing; so is a file that cannot be
    // written.
    void LoadPreset();
    void SavePreset();
    bool loadPresetFile(const QString& path);
    bool savePresetFile(const QString& path);
    // The dialogs; they return the chosen path, empty when cancelled. Tests
    // replace them.
    std::function<QString()> choosePresetToLoad;
    std::function<QString()> choosePresetToSave;
    // The dialogs' folder: "Eq" in the application folder.
    static QString presetFolder();

    // Handlers of the skin engine's events.
    void SkinForm1TrackBarNotify(const QString& ID, int Position);
    void SkinForm1MouseUpNotify(const QString& ID, Qt::MouseButton Button);
    void SkinForm1SkinChanged(TSkinForm* Sender);

private:
    mixer::EqualizerBands& bands(DeckSide deck) { return deck == DeckSide::A ? BandA : BandB; }
    bool& switchedOn(DeckSide deck) { return deck == DeckSide::A ? EqOnA : EqOnB; }
    // Puts the deck's bands on its sliders and its switch state on its
    // switch button.
    void showDeck(DeckSide deck);
    void readValues(const platform::IniDocument& document);
    void writeValues(platform::IniDocument& document) const;

    mixer::EqualizerOutput* m_output;
    bool m_valuesRestored = false;
};
