#pragma once

#include "PreferenceValues.h"
#include "platform/PlacedDialog.h"

#include <functional>
#include <vector>

class QCheckBox;
class QSpinBox;

// The preferences dialog. It reads its stored values at creation and
// applies them at once, so they are in force before it is ever shown.
class TPreferences : public platform::PlacedDialog {
    Q_OBJECT
public:
    using ApplyFunction = std::function<void(const PreferenceValues&)>;
    // onApply runs with the values read at creation, and again on every OK.
    explicit TPreferences(ApplyFunction onApply = {}, QWidget* parent = nullptr);
    ~TPreferences() override;

    PreferenceValues values() const;
    // Called with the values on OK and at creation.
    ApplyFunction onApply;

    // The next value of a "Pitch Percent" field that steps from previous to
    // value: the spin buttons only reach 4, 8, 12, 16, 32 and 64.
    static int steppedPitchPercent(int previous, int value);
    // The "Sound Card" value to write back: the stored one while the field
    // shows it as far as the devices present allow, else the field's.
    static int soundCardToStore(int stored, int shown, int maximum);

    QSpinBox* pitchPercentField(bool deckA) const { return deckA ? m_pitchPercentA : m_pitchPercentB; }
    QSpinBox* soundCardField(bool deckA) const { return deckA ? m_soundCardA : m_soundCardB; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    // A control whose value is kept in the settings file: a check box
    // ("True"/"False") or a spin field (decimal).
    struct StoredControl {
        const char* key;
        QCheckBox* checkBox;
        QSpinBox* spinBox;
    };
    std::vector<StoredControl> storedControls() const;
    void readValues(const platform::IniDocument& document);
    void writeValues(platform::IniDocument& document) const;
    void apply();
    void restore();
    void followPitchPercentSteps(QSpinBox* field, int& previous);

    QCheckBox* m_autoPlay;
    QCheckBox* m_autoCrossfade;
    QCheckBox* m_flashingWarning;
    QCheckBox* m_autoBpmMatch;
    QSpinBox* m_overlap;
    QSpinBox* m_flashTime;
    QSpinBox* m_priority;
    QSpinBox* m_drag;
    QSpinBox* m_nudge;
    QSpinBox* m_pitchPercentA;
    QSpinBox* m_pitchPercentB;
    QSpinBox* m_soundCardA;
    QSpinBox* m_soundCardB;
    int m_previousPitchPercentA = 8;
    int m_previousPitchPercentB = 8;
    // Remembered when the dialog is shown, for Cancel.
    int m_shownPitchPercentA = 8;
    int m_shownPitchPercentB = 8;
    int m_shownSoundCardA = 1;
    int m_shownSoundCardB = 1;
    // As read from the settings file, which may name a card that is not
    // plugged in during this run.
    int m_storedSoundCardA = 1;
    int m_storedSoundCardB = 1;
    bool m_applied = false;
    PreferenceValues m_inForce;
};

// The number of sound output devices the engine reports; 0 without engine.
int soundOutputDeviceCount();
// The engine's name of "Sound Card" number (1 is the system's default
// output); empty when there is no such device or no engine.
QString soundOutputDeviceName(int number);
