#include "SkinEditorPages.h"

#include "SkinEntries.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace skins {

namespace {

constexpr const char* kImageCaptions[BitmapPage::kImageCount] = {
    "Mask Bitmap", "Mouse Up Bitmap", "Mouse Over Bitmap", "Mouse Down Bitmap", "Numbers Bitmap", "Text Bitmap",
};
constexpr const char* kChooseCaption = ">>";
constexpr const char* kDefaultCharset = "DEFAULT_CHARSET";

QLineEdit* lineIn(QFormLayout* form, const char* caption) {
    auto* line = new QLineEdit;
    form->addRow(QString::fromLatin1(caption), line);
    return line;
}

// A read-only file name with its ">>" button.
QLineEdit* fileNameIn(QFormLayout* form, const char* caption, QPushButton*& choose) {
    auto* row = new QHBoxLayout;
    auto* name = new QLineEdit;
    name->setReadOnly(true);
    choose = new QPushButton(QString::fromLatin1(kChooseCaption));
    choose->setFixedWidth(32);
    row->addWidget(name);
    row->addWidget(choose);
    form->addRow(QString::fromLatin1(caption), row);
    return name;
}

QLabel* valueIn(QFormLayout* form, const char* caption) {
    auto* value = new QLabel;
    form->addRow(QString::fromLatin1(caption), value);
    return value;
}

QComboBox* choiceOf(std::initializer_list<const char*> words) {
    auto* choice = new QComboBox;
    for (const char* word : words)
        choice->addItem(QString::fromLatin1(word));
    return choice;
}

} // namespace

QWidget* BitmapPage::build() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    for (size_t i = 0; i < kImageCount; ++i)
        names[i] = fileNameIn(form, kImageCaptions[i], choose[i]);
    return page;
}

QWidget* ElementPage::build(QWidget* fields) {
    auto* page = new QWidget;
    auto* columns = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    left->addWidget(fields);
    auto* actions = new QHBoxLayout;
    add = new QPushButton(QStringLiteral("&Add"));
    remove = new QPushButton(QStringLiteral("&Delete"));
    update = new QPushButton(QStringLiteral("&Update"));
    actions->addWidget(add);
    actions->addWidget(remove);
    actions->addWidget(update);
    left->addLayout(actions);
    left->addStretch();
    columns->addLayout(left);
    list = new QListWidget;
    list->setMinimumWidth(260);
    columns->addWidget(list, 1);
    return page;
}

QWidget* ButtonPage::build() {
    auto* fieldsBox = new QWidget;
    auto* form = new QFormLayout(fieldsBox);
    id = lineIn(form, "ID:");
    x = lineIn(form, "X Position:");
    y = lineIn(form, "Y Position:");
    width = lineIn(form, "Width:");
    height = lineIn(form, "Height:");
    hint = lineIn(form, "Hint:");
    isSwitch = new QCheckBox(QStringLiteral("Switch-style Button"));
    initialState = choiceOf({"TRUE", "FALSE"});
    form->addRow(isSwitch);
    form->addRow(QStringLiteral("Initial State"), initialState);
    isRadio = new QCheckBox(QStringLiteral("Radio Button"));
    group = new QLineEdit;
    form->addRow(isRadio);
    form->addRow(QStringLiteral("Group Name"), group);
    QWidget* page = ElementPage::build(fieldsBox);
    show(ButtonFields{});
    return page;
}

ButtonFields ButtonPage::fields() const {
    ButtonFields fields;
    fields.id = id->text();
    fields.x = x->text();
    fields.y = y->text();
    fields.width = width->text();
    fields.height = height->text();
    fields.hint = hint->text();
    fields.isSwitch = isSwitch->isChecked();
    fields.initialState = initialState->currentText();
    fields.isRadio = isRadio->isChecked();
    fields.group = group->text();
    return fields;
}

void ButtonPage::show(const ButtonFields& fields) {
    id->setText(fields.id);
    x->setText(fields.x);
    y->setText(fields.y);
    width->setText(fields.width);
    height->setText(fields.height);
    hint->setText(fields.hint);
    isSwitch->setChecked(fields.isSwitch);
    initialState->setCurrentText(fields.initialState);
    isRadio->setChecked(fields.isRadio);
    group->setText(fields.group);
}

QWidget* TextPage::build() {
    auto* fieldsBox = new QWidget;
    auto* form = new QFormLayout(fieldsBox);
    id = lineIn(form, "ID");
    x = lineIn(form, "X Position");
    y = lineIn(form, "Y Position");
    text = lineIn(form, "Text");
    fontName = valueIn(form, "Name : ");
    size = valueIn(form, "Size : ");
    bold = valueIn(form, "Bold : ");
    italic = valueIn(form, "Italic : ");
    color = valueIn(form, "Color : ");
    font = new QPushButton(QStringLiteral("Font "));
    form->addRow(font);
    charset = choiceOf({kDefaultCharset});
    form->addRow(QStringLiteral("Charset"), charset);
    style = choiceOf({editor_words::kNormalStyle, "Number", "Text"});
    form->addRow(QStringLiteral("Style"), style);
    QWidget* page = ElementPage::build(fieldsBox);
    show(TextFields{});
    return page;
}

TextFields TextPage::fields() const {
    TextFields fields;
    fields.id = id->text();
    fields.x = x->text();
    fields.y = y->text();
    fields.text = text->text();
    fields.fontName = fontName->text();
    fields.size = size->text();
    fields.bold = bold->text();
    fields.italic = italic->text();
    fields.color = color->text();
    fields.style = style->currentText();
    return fields;
}

void TextPage::show(const TextFields& fields) {
    id->setText(fields.id);
    x->setText(fields.x);
    y->setText(fields.y);
    text->setText(fields.text);
    fontName->setText(fields.fontName);
    size->setText(fields.size);
    bold->setText(fields.bold);
    italic->setText(fields.italic);
    color->setText(fields.color);
    style->setCurrentText(fields.style);
}

QWidget* TrackBarPage::build() {
    auto* fieldsBox = new QWidget;
    auto* form = new QFormLayout(fieldsBox);
    id = lineIn(form, "ID");
    x = lineIn(form, "X Position");
    y = lineIn(form, "Y Position");
    length = lineIn(form, "Length");
    position = lineIn(form, "Position");
    upImage = fileNameIn(form, "TrackBar Up Bitmap", chooseUp);
    downImage = fileNameIn(form, "TrackBar Down Bitmap", chooseDown);
    auto* orientation = new QHBoxLayout;
    vertical = new QRadioButton(QStringLiteral("Vertical"));
    horizontal = new QRadioButton(QStringLiteral("Horizontal"));
    orientation->addWidget(vertical);
    orientation->addWidget(horizontal);
    form->addRow(orientation);
    hint = lineIn(form, "Hint");
    QWidget* page = ElementPage::build(fieldsBox);
    show(TrackBarFields{});
    return page;
}

TrackBarFields TrackBarPage::fields() const {
    TrackBarFields fields;
    fields.id = id->text();
    fields.x = x->text();
    fields.y = y->text();
    fields.length = length->text();
    fields.position = position->text();
    fields.upImage = upImage->text();
    fields.downImage = downImage->text();
    if (vertical->isChecked())
        fields.orientation = QString::fromLatin1(skin_keys::kVertical);
    else if (horizontal->isChecked())
        fields.orientation = QString::fromLatin1(editor_words::kHorizontal);
    fields.hint = hint->text();
    return fields;
}

void TrackBarPage::show(const TrackBarFields& fields) {
    id->setText(fields.id);
    x->setText(fields.x);
    y->setText(fields.y);
    length->setText(fields.length);
    position->setText(fields.position);
    upImage->setText(fields.upImage);
    downImage->setText(fields.downImage);
    // Exclusive buttons cannot both be cleared, and "neither" is a choice.
    for (QRadioButton* button : {vertical, horizontal})
        button->setAutoExclusive(false);
    vertical->setChecked(fields.orientation == QLatin1String(skin_keys::kVertical));
    horizontal->setChecked(fields.orientation == QLatin1String(editor_words::kHorizontal));
    for (QRadioButton* button : {vertical, horizontal})
        button->setAutoExclusive(true);
    hint->setText(fields.hint);
}

} // namespace skins
