#pragma once

#include "SkinEditorEntries.h"

#include <QFont>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;

namespace skins {

// The widgets of the skin editor's four pages and the way their fields map
// to the entries' fields. The dialog wires them; nothing here acts.
struct BitmapPage {
    // "Mask Bitmap", "Mouse Up Bitmap", "Mouse Over Bitmap", "Mouse Down
    // Bitmap", "Numbers Bitmap", "Text Bitmap", in that order.
    static constexpr size_t kImageCount = 6;
    std::array<QLineEdit*, kImageCount> names{};
    std::array<QPushButton*, kImageCount> choose{};
    QWidget* build();
};

// What every element page has: an ID and a position, the three actions and
// the list of entries.
struct ElementPage {
    QLineEdit* id = nullptr;
    QLineEdit* x = nullptr;
    QLineEdit* y = nullptr;
    QPushButton* add = nullptr;
    QPushButton* remove = nullptr;
    QPushButton* update = nullptr;
    QListWidget* list = nullptr;

protected:
    QWidget* build(QWidget* fields);
};

struct ButtonPage : ElementPage {
    QLineEdit* width = nullptr;
    QLineEdit* height = nullptr;
    QLineEdit* hint = nullptr;
    QCheckBox* isSwitch = nullptr;
    QComboBox* initialState = nullptr;
    QCheckBox* isRadio = nullptr;
    QLineEdit* group = nullptr;
    QWidget* build();
    ButtonFields fields() const;
    void show(const ButtonFields& fields);
};

struct TextPage : ElementPage {
    QLineEdit* text = nullptr;
    QLabel* fontName = nullptr;
    QLabel* size = nullptr;
    QLabel* bold = nullptr;
    QLabel* italic = nullptr;
    QLabel* color = nullptr;
    QPushButton* font = nullptr;
    QComboBox* charset = nullptr;
    QComboBox* style = nullptr;
    QWidget* build();
    TextFields fields() const;
    void show(const TextFields& fields);
};

struct TrackBarPage : ElementPage {
    QLineEdit* length = nullptr;
    QLineEdit* position = nullptr;
    QLineEdit* upImage = nullptr;
    QLineEdit* downImage = nullptr;
    QPushButton* chooseUp = nullptr;
    QPushButton* chooseDown = nullptr;
    QRadioButton* vertical = nullptr;
    QRadioButton* horizontal = nullptr;
    QLineEdit* hint = nullptr;
    QWidget* build();
    TrackBarFields fields() const;
    void show(const TrackBarFields& fields);
};

} // namespace skins
