#include "Equalizer.h"

#include "EqualizerElements.h"
#include "EqualizerOutput.h"
#include "EqualizerPreset.h"

#include "platform/ApplicationFolder.h"
#include "platform/DialogFilter.h"
#include "platform/ErrorReport.h"
#include "skins/SkinFolders.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

namespace {
const char* kSection = "TEqualizerForm";
const char* kSwitchKeyA = "A";
const char* kSwitchKeyB = "B";
constexpr QPoint kDesignPosition(412, 500);

QString elementName(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QString enableButton(DeckSide deck) {
    return elementName(deck == DeckSide::A ? mixer::eq_element::kEnableA : mixer::eq_element::kEnableB);
}

QString presetDialog(QWidget* parent, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, QString(), TEqualizerForm::presetFolder(),
                       platform::dialogFilter(QString::fromLatin1(mixer::eq_preset::kFilter)));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromLatin1(mixer::eq_preset::kExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
} // namespace

TEqualizerForm::TEqualizerForm(mixer::EqualizerOutput* output)
    : skins::SkinnedWindow(kSection, skins::skin_files::kEqualizer, FolderPolicy::RecordWhenFound), m_output(output) {
    setWindowTitle(QStringLiteral("Equalizer"));
    move(kDesignPosition);
    choosePresetToLoad = [this] { return presetDialog(this, QFileDialog::AcceptOpen); };
    choosePresetToSave = [this] {
        // Saving into a folder that is not there yet should still start in it.
        QDir().mkpath(presetFolder());
        return presetDialog(this, QFileDialog::AcceptSave);
    };

    SkinForm1->OnTrackBarNotify = [this](const QString& ID, int Position) { SkinForm1TrackBarNotify(ID, Position); };
    SkinForm1->OnMouseUpNotify = [this](const QString& ID, Qt::MouseButton Button, platform::ShiftState, int, int) {
        SkinForm1MouseUpNotify(ID, Button);
    };
    SkinForm1->OnSkinChanged = [this](TSkinForm* Sender) { SkinForm1SkinChanged(Sender); };

    placementStore().onReadValues = [this](const platform::IniDocument& document) { readValues(document); };
    placementStore().onWriteValues = [this](platform::IniDocument& document) { writeValues(document); };
    bindPlacementStore();
    placementStore().read();
    m_valuesRestored = true;

    for (DeckSide deck : {DeckSide::A, DeckSide::B}) {
        showDeck(deck);
        try {
            ApplyDeck(deck);
        } catch (...) {
            // A deck without an engine has reported that already; the
            // window still opens.
            platform::reportCurrentException();
        }
    }
}

TEqualizerForm::~TEqualizerForm() = default;

void TEqualizerForm::ApplyDeck(DeckSide deck) {
    if (m_output == nullptr)
        return;
    if (!switchedOn(deck)) {
        m_output->setCodecEqualizer(deck, nullptr);
        return;
    }
    const XA_EqualizerInfo table = mixer::engineTable(bands(deck));
    m_output->setCodecEqualizer(deck, &table);
    m_output->getCodecEqualizer(deck);
}

void TEqualizerForm::ResetDeck(DeckSide deck) {
    bands(deck).fill(0);
    showDeck(deck);
    ApplyDeck(deck);
}

void TEqualizerForm::ToggleDeck(DeckSide deck) {
    switchedOn(deck) = !switchedOn(deck);
    SkinForm1->SetHotAreaDown(enableButton(deck), switchedOn(deck));
    ApplyDeck(deck);
}

QString TEqualizerForm::presetFolder() {
    return QString::fromStdString(platform::applicationFolder()) + QString::fromLatin1(mixer::eq_preset::kFolder);
}

void TEqualizerForm::LoadPreset() {
    const QString path = choosePresetToLoad ? choosePresetToLoad() : QString();
    if (!path.isEmpty())
        loadPresetFile(path);
}

void TEqualizerForm::SavePreset() {
    const QString path = choosePresetToSave ? choosePresetToSave() : QString();
    if (!path.isEmpty())
        savePresetFile(path);
}

bool TEqualizerForm::loadPresetFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        platform::reportError(QStringLiteral("Cannot read the preset file \"%1\": %2").arg(path, file.errorString()));
        return false;
    }
    const QByteArray bytes = file.read(static_cast<qint64>(mixer::kPresetSize));
    const auto preset =
        mixer::readPreset({reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())});
    if (!preset) {
        platform::reportError(QStringLiteral("\"%1\" is not an equalizer preset: it holds %2 bytes, a preset needs %3.")
                                  .arg(path)
                                  .arg(bytes.size())
                                  .arg(mixer::kPresetSize));
        return false;
    }
    BandA = *preset;
    BandB = *preset;
    showDeck(DeckSide::A);
    showDeck(DeckSide::B);
    ApplyDeck(DeckSide::A);
    ApplyDeck(DeckSide::B);
    return true;
}

bool TEqualizerForm::savePresetFile(const QString& path) {
    const mixer::PresetBytes bytes = mixer::writePreset(BandA);
    QFile file(path);
    const auto size = static_cast<qint64>(bytes.size());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(bytes.data()), size) != size || !file.flush()) {
        platform::reportError(QStringLiteral("Cannot write the preset file \"%1\": %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

void TEqualizerForm::SkinForm1TrackBarNotify(const QString& ID, int Position) {
    const auto slider = mixer::bandSliderFromName(ID.toStdString());
    if (!slider)
        return;
    bands(slider->deck)[static_cast<size_t>(slider->band)] = mixer::bandValueFromPosition(Position);
    ApplyDeck(slider->deck);
}

void TEqualizerForm::SkinForm1MouseUpNotify(const QString& ID, Qt::MouseButton) {
    using namespace mixer::eq_element;
    const std::string name = ID.toStdString();
    if (name == kEnableA)
        ToggleDeck(DeckSide::A);
    else if (name == kEnableB)
        ToggleDeck(DeckSide::B);
    else if (name == kResetA)
        ResetDeck(DeckSide::A);
    else if (name == kResetB)
        ResetDeck(DeckSide::B);
    else if (name == kLoad)
        LoadPreset();
    else if (name == kSave)
        SavePreset();
    // A press on a switch that was let go elsewhere flipped its picture
    // only; the switches show the decks' states again.
    SkinForm1->SetHotAreaDown(enableButton(DeckSide::A), EqOnA);
    SkinForm1->SetHotAreaDown(enableButton(DeckSide::B), EqOnB);
}

void TEqualizerForm::SkinForm1SkinChanged(TSkinForm*) {
    showDeck(DeckSide::A);
    showDeck(DeckSide::B);
}

void TEqualizerForm::showDeck(DeckSide deck) {
    const mixer::EqualizerBands& values = bands(deck);
    for (int band = 0; band < kBands; ++band)
        SkinForm1->SetTrackBarPosition(QString::fromStdString(mixer::bandSliderName(deck, band)),
                                       mixer::positionFromBandValue(values[static_cast<size_t>(band)]));
    SkinForm1->SetHotAreaDown(enableButton(deck), switchedOn(deck));
}

void TEqualizerForm::readValues(const platform::IniDocument& document) {
    // Only the stored values of the last run count: the window reads its
    // section again each time it is shown, and the bands set since then
    // must not jump back (hiding writes nothing).
    if (m_valuesRestored)
        return;
    for (DeckSide deck : {DeckSide::A, DeckSide::B})
        for (int band = 0; band < kBands; ++band)
            bands(deck)[static_cast<size_t>(band)] =
                mixer::clampBandValue(document.readInteger(kSection, mixer::bandSliderName(deck, band), 0));
    EqOnA = document.readInteger(kSection, kSwitchKeyA, 0) != 0;
    EqOnB = document.readInteger(kSection, kSwitchKeyB, 0) != 0;
}

void TEqualizerForm::writeValues(platform::IniDocument& document) const {
    for (const auto& [deck, values] : {std::pair{DeckSide::A, &BandA}, std::pair{DeckSide::B, &BandB}})
        for (int band = 0; band < kBands; ++band)
            document.writeString(kSection, mixer::bandSliderName(deck, band),
                                 std::to_string((*values)[static_cast<size_t>(band)]));
    document.writeString(kSection, kSwitchKeyA, EqOnA ? "1" : "0");
    document.writeString(kSection, kSwitchKeyB, EqOnB ? "1" : "0");
}
