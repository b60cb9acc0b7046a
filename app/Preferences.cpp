#include "Preferences.h"

#include "platform/SharedLibrary.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {

std::optional<bool> parseBoolean(const std::string& text) {
    const QString value = QString::fromStdString(text).trimmed();
    if (value.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (auto number = platform::parseInteger(text))
        return *number != 0;
    return std::nullopt;
}

QSpinBox* makeSpin(int minimum, int maximum, int value, int step = 1) {
    auto* spin = new QSpinBox;
    spin->setRange(minimum, maximum);
    spin->setSingleStep(step);
    spin->setValue(value);
    return spin;
}

const char* kSection = "TPreferences";

} // namespace

int soundOutputDeviceCount() {
    platform::SharedLibrary engine;
    if (!engine.load("xaudio.dll"))
        return 0;
    using DeviceCount = int (*)();
    auto count = reinterpret_cast<DeviceCount>(engine.symbol("xaudio_output_device_count"));
    return count != nullptr ? count() : 0;
}

QString soundOutputDeviceName(int number) {
    platform::SharedLibrary engine;
    if (!engine.load("xaudio.dll"))
        return {};
    using DeviceName = int (*)(int, char*, size_t);
    auto name = reinterpret_cast<DeviceName>(engine.symbol("xaudio_output_device_name"));
    char text[256] = {};
    if (name == nullptr || name(number - 1, text, sizeof text) != 0)
        return {};
    return QString::fromUtf8(text);
}

int TPreferences::steppedPitchPercent(int previous, int value) {
    if (value > previous) {
        if (value == 20)
            return 32;
        if (value == 36)
            return 64;
    } else if (value < previous) {
        if (value == 28)
            return 16;
        if (value == 60)
            return 32;
    }
    return value;
}

TPreferences::TPreferences(ApplyFunction applyFunction, QWidget* parent)
    : platform::PlacedDialog(
          kSection, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint,
          parent),
      onApply(std::move(applyFunction)) {
    setWindowTitle(QStringLiteral("Preferences"));
    setModal(true);

    m_autoPlay = new QCheckBox(QStringLiteral("Auto Play"));
    m_autoPlay->setObjectName(QStringLiteral("AutoPlay"));
    m_autoCrossfade = new QCheckBox(QStringLiteral("Auto Crossfade"));
    m_autoCrossfade->setObjectName(QStringLiteral("CheckBox1"));
    m_flashingWarning = new QCheckBox(QStringLiteral("Flashing Warning"));
    m_flashingWarning->setObjectName(QStringLiteral("CheckBox2"));
    m_autoBpmMatch = new QCheckBox(QStringLiteral("Auto BPM Match"));
    m_autoBpmMatch->setObjectName(QStringLiteral("CheckBox3"));
    m_autoPlay->setChecked(true);
    m_autoCrossfade->setChecked(true);
    m_flashingWarning->setChecked(true);

    m_overlap = makeSpin(0, 59, 10);
    m_flashTime = makeSpin(0, 59, 10);
    m_priority = makeSpin(0, 10, 4);
    m_drag = makeSpin(0, 200, 5);
    m_nudge = makeSpin(0, 200, 5);
    m_pitchPercentA = makeSpin(4, 64, 8, 4);
    m_pitchPercentB = makeSpin(4, 64, 8, 4);
    const int devices = soundOutputDeviceCount();
    m_soundCardA = makeSpin(1, qMax(1, devices), 1);
    m_soundCardB = makeSpin(1, qMax(1, devices), 1);

    auto* checks = new QVBoxLayout;
    for (QCheckBox* box : {m_autoPlay, m_autoCrossfade, m_autoBpmMatch, m_flashingWarning})
        checks->addWidget(box);
    auto* numbers = new QFormLayout;
    numbers->addRow(QStringLiteral("OverLap in seconds"), m_overlap);
    numbers->addRow(QStringLiteral("Flash time in seconds"), m_flashTime);
    numbers->addRow(QStringLiteral("Priority"), m_priority);
    numbers->addRow(QStringLiteral("Drag"), m_drag);
    numbers->addRow(QStringLiteral("Nudge"), m_nudge);
    auto makeGroup = [](const QString& title, QSpinBox* pitch, QSpinBox* card) {
        auto* group = new QGroupBox(title);
        auto* form = new QFormLayout(group);
        form->addRow(QStringLiteral("Pitch Percent"), pitch);
        form->addRow(QStringLiteral("Sound Card"), card);
        // Which device a number means, so that a deck can go to headphones.
        auto* device = new QLabel;
        const auto showDevice = [device](int number) { device->setText(soundOutputDeviceName(number)); };
        connect(card, &QSpinBox::valueChanged, device, showDevice);
        showDevice(card->value());
        form->addRow(QString(), device);
        return group;
    };
    auto* groups = new QHBoxLayout;
    groups->addWidget(makeGroup(QStringLiteral("Player A"), m_pitchPercentA, m_soundCardA));
    groups->addWidget(makeGroup(QStringLiteral("Player B"), m_pitchPercentB, m_soundCardB));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* top = new QHBoxLayout;
    top->addLayout(checks);
    top->addLayout(numbers);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(groups);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_pitchPercentA, &QSpinBox::valueChanged, this,
            [this] { followPitchPercentSteps(m_pitchPercentA, m_previousPitchPercentA); });
    connect(m_pitchPercentB, &QSpinBox::valueChanged, this,
            [this] { followPitchPercentSteps(m_pitchPercentB, m_previousPitchPercentB); });
    for (QSpinBox* card : {m_soundCardA, m_soundCardB})
        connect(card, &QSpinBox::valueChanged, card, [card](int value) {
            if (value == 0)
                card->setValue(1);
        });

    placementStore().onReadValues = [this](const platform::IniDocument& document) { readValues(document); };
    placementStore().onWriteValues = [this](platform::IniDocument& document) { writeValues(document); };
    bindPlacementStore();
    placementStore().read();
    m_previousPitchPercentA = m_pitchPercentA->value();
    m_previousPitchPercentB = m_pitchPercentB->value();
    apply();
}

TPreferences::~TPreferences() = default;

void TPreferences::followPitchPercentSteps(QSpinBox* field, int& previous) {
    const int stepped = steppedPitchPercent(previous, field->value());
    previous = stepped;
    if (stepped != field->value())
        field->setValue(stepped);
}

PreferenceValues TPreferences::values() const {
    PreferenceValues values;
    values.autoPlay = m_autoPlay->isChecked();
    values.autoCrossfade = m_autoCrossfade->isChecked();
    values.flashingWarning = m_flashingWarning->isChecked();
    values.autoBpmMatch = m_autoBpmMatch->isChecked();
    values.overlapSeconds = m_overlap->value();
    values.flashSeconds = m_flashTime->value();
    values.priority = m_priority->value();
    values.drag = m_drag->value();
    values.nudge = m_nudge->value();
    values.pitchPercentA = m_pitchPercentA->value();
    values.pitchPercentB = m_pitchPercentB->value();
    values.soundCardA = m_soundCardA->value();
    values.soundCardB = m_soundCardB->value();
    return values;
}

std::vector<TPreferences::StoredControl> TPreferences::storedControls() const {
    // In the order the keys are written.
    return {{"AutoPlay_Checked", m_autoPlay, nullptr},
            {"CheckBox1_Checked", m_autoCrossfade, nullptr},
            {"CheckBox2_Checked", m_flashingWarning, nullptr},
            {"SpinEdit1_Value", nullptr, m_overlap},
            {"SpinEdit8_Value", nullptr, m_pitchPercentA},
            {"SpinEdit9_Value", nullptr, m_pitchPercentB},
            {"SpinEdit2_Value", nullptr, m_soundCardA},
            {"SpinEdit3_Value", nullptr, m_soundCardB},
            {"SpinEdit4_Value", nullptr, m_flashTime},
            {"SpinEdit5_Value", nullptr, m_priority},
            {"SpinEdit6_Value", nullptr, m_drag},
            {"SpinEdit7_Value", nullptr, m_nudge},
            {"CheckBox3_Checked", m_autoBpmMatch, nullptr}};
}

void TPreferences::readValues(const platform::IniDocument& document) {
    for (const StoredControl& control : storedControls()) {
        const auto text = document.value(kSection, control.key);
        if (!text)
            continue;
        if (control.checkBox != nullptr) {
            if (auto value = parseBoolean(*text))
                control.checkBox->setChecked(*value);
        } else if (auto value = platform::parseInteger(*text)) {
            control.spinBox->setValue(*value);
            if (control.spinBox == m_soundCardA)
                m_storedSoundCardA = *value;
            else if (control.spinBox == m_soundCardB)
                m_storedSoundCardB = *value;
        }
    }
}

int TPreferences::soundCardToStore(int stored, int shown, int maximum) {
    // The field cannot show a card that is not plugged in now; as long as
    // the user has not picked another one, the stored choice stays, so a
    // run without the USB interface does not forget it.
    const int limited = std::clamp(stored, 1, std::max(1, maximum));
    return shown == limited && stored >= 1 ? stored : shown;
}

void TPreferences::writeValues(platform::IniDocument& document) const {
    for (const StoredControl& control : storedControls()) {
        std::string value;
        if (control.checkBox != nullptr)
            value = control.checkBox->isChecked() ? "True" : "False";
        else if (control.spinBox == m_soundCardA)
            value =
                std::to_string(soundCardToStore(m_storedSoundCardA, m_soundCardA->value(), m_soundCardA->maximum()));
        else if (control.spinBox == m_soundCardB)
            value =
                std::to_string(soundCardToStore(m_storedSoundCardB, m_soundCardB->value(), m_soundCardB->maximum()));
        else
            value = std::to_string(control.spinBox->value());
        document.writeString(kSection, control.key, value);
    }
}

void TPreferences::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        m_shownPitchPercentA = m_pitchPercentA->value();
        m_shownPitchPercentB = m_pitchPercentB->value();
        m_shownSoundCardA = m_soundCardA->value();
        m_shownSoundCardB = m_soundCardB->value();
    }
    platform::PlacedDialog::showEvent(event);
}

void TPreferences::done(int result) {
    if (result == QDialog::Accepted)
        apply();
    else
        restore();
    platform::PlacedDialog::done(result);
}

void TPreferences::apply() {
    m_inForce = values();
    m_applied = true;
    if (onApply)
        onApply(m_inForce);
}

void TPreferences::restore() {
    if (!m_applied)
        return;
    // Cancel shows the values in force again; the two per-deck pairs come
    // from what they were when the dialog was shown.
    m_autoCrossfade->setChecked(m_inForce.autoCrossfade);
    m_autoPlay->setChecked(m_inForce.autoPlay);
    m_autoBpmMatch->setChecked(m_inForce.autoBpmMatch);
    m_flashingWarning->setChecked(m_inForce.flashingWarning);
    m_priority->setValue(m_inForce.priority);
    m_overlap->setValue(m_inForce.overlapSeconds);
    m_flashTime->setValue(m_inForce.flashSeconds);
    m_drag->setValue(m_inForce.drag);
    m_nudge->setValue(m_inForce.nudge);
    m_previousPitchPercentA = m_shownPitchPercentA;
    m_previousPitchPercentB = m_shownPitchPercentB;
    m_pitchPercentA->setValue(m_shownPitchPercentA);
    m_pitchPercentB->setValue(m_shownPitchPercentB);
    m_soundCardA->setValue(m_shownSoundCardA);
    m_soundCardB->setValue(m_shownSoundCardB);
}
