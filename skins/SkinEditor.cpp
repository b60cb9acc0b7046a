#include "SkinEditor.h"

#include "PreviewWnd.h"
#include "SkinEntries.h"
#include "SkinError.h"

#include "platform/ErrorReport.h"
#include "platform/IniFile.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRubberBand>
#include <QTabWidget>
#include <QVBoxLayout>

using skins::ElementKind;
using skins::SkinDefinition;

namespace {

constexpr const char* kCaption = "Skin Editor";
constexpr const char* kSkinFilter = "Skin files (*.ini *.INI)";
constexpr const char* kImageFilter = "Image files (*.bmp *.jpg *.jpeg *.gif *.BMP *.JPG *.JPEG *.GIF)";
constexpr const char* kSaveFirstText = "Please save ini file first!";
constexpr const char* kSaveQuestion = "Do you want to save the chages ?";
constexpr const char* kSaveCaption = "Save";
constexpr int kPreviewGap = 8;

TMySkinEditor::Dialogs standardDialogs() {
    TMySkinEditor::Dialogs dialogs;
    dialogs.openFile = [](QWidget* parent, const QString& caption, const QString& filter) {
        return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
    };
    dialogs.saveFile = [](QWidget* parent, const QString& caption, const QString& filter) {
        QString path = QFileDialog::getSaveFileName(parent, caption, QString(), filter);
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".ini");
        return path;
    };
    dialogs.chooseFont = [](QWidget* parent,
                            const TMySkinEditor::FontChoice& current) -> std::optional<TMySkinEditor::FontChoice> {
        bool chosen = false;
        const QFont font = QFontDialog::getFont(&chosen, current.font, parent);
        if (!chosen)
            return std::nullopt;
        const QColor color = QColorDialog::getColor(current.color, parent);
        return TMySkinEditor::FontChoice{font, color.isValid() ? color : current.color};
    };
    dialogs.askYesNo = [](QWidget* parent, const QString& caption, const QString& question) {
        return QMessageBox::question(parent, caption, question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    dialogs.inform = [](QWidget* parent, const QString& caption, const QString& text) {
        QMessageBox::information(parent, caption, text);
    };
    return dialogs;
}

std::string folderOf(const QString& path) {
    return QFileInfo(path).absolutePath().toLocal8Bit().toStdString() + "/";
}

QString trueOrFalse(bool value) {
    return QString::fromLatin1(value ? skins::skin_keys::kTrue : skins::skin_keys::kFalse);
}

QString idPrefix(ElementKind kind) {
    using namespace skins::editor_words;
    switch (kind) {
    case ElementKind::Button:
        return QString::fromLatin1(kButtonIdPrefix);
    case ElementKind::Text:
        return QString::fromLatin1(kTextIdPrefix);
    case ElementKind::TrackBar:
        break;
    }
    return QString::fromLatin1(kTrackBarIdPrefix);
}

} // namespace

TMySkinEditor::TMySkinEditor(QWidget* parent) : QDialog(parent), dialogs(standardDialogs()) {
    setObjectName(QStringLiteral("TMySkinEditor"));
    setCaption();
    setModal(true);

    m_pages = new QTabWidget;
    m_pages->addTab(bitmapPage.build(), QStringLiteral("Bitmap"));
    m_pages->addTab(buttonPage.build(), QStringLiteral("Button"));
    m_pages->addTab(textPage.build(), QStringLiteral("Text"));
    m_pages->addTab(trackBarPage.build(), QStringLiteral("TrackBar"));

    SaveButton = new QPushButton(QStringLiteral("&Save"));
    SaveAsButton = new QPushButton(QStringLiteral("Save &As..."));
    LoadButton = new QPushButton(QStringLiteral("&Load"));
    PreviewButton = new QPushButton(QStringLiteral("Pre&view"));
    PickRectButton = new QPushButton(QStringLiteral("&Pick Rect"));
    PickAddButton = new QPushButton(QStringLiteral("P&ick&&Add"));
    ExitButton = new QPushButton(QStringLiteral("E&xit"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button :
         {SaveButton, SaveAsButton, LoadButton, PreviewButton, PickRectButton, PickAddButton, ExitButton}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);

    connectPages();
    connect(SaveButton, &QPushButton::clicked, this, [this] { save(); });
    connect(SaveAsButton, &QPushButton::clicked, this, [this] { saveAs(); });
    connect(LoadButton, &QPushButton::clicked, this, [this] {
        const QString path = dialogs.openFile(this, QStringLiteral("Load"), QString::fromLatin1(kSkinFilter));
        if (!path.isEmpty())
            loadFile(path);
    });
    connect(PreviewButton, &QPushButton::clicked, this, [this] { openPreview(); });
    connect(PickRectButton, &QPushButton::clicked, this, [this] { startPicking(false); });
    connect(PickAddButton, &QPushButton::clicked, this, [this] { startPicking(true); });
    connect(ExitButton, &QPushButton::clicked, this, &TMySkinEditor::reject);
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int) {
        const bool elementShown = shownKind().has_value();
        PickRectButton->setEnabled(elementShown);
        PickAddButton->setEnabled(elementShown);
        followSelection();
    });
    showPage(Page::Bitmap);
    PickRectButton->setEnabled(false);
    PickAddButton->setEnabled(false);
}

TMySkinEditor::~TMySkinEditor() = default;

void TMySkinEditor::connectPages() {
    for (size_t i = 0; i < skins::BitmapPage::kImageCount; ++i) {
        QLineEdit* field = bitmapPage.names[i];
        connect(bitmapPage.choose[i], &QPushButton::clicked, this, [this, field] { chooseImage(field); });
    }
    connect(trackBarPage.chooseUp, &QPushButton::clicked, this, [this] { chooseImage(trackBarPage.upImage); });
    connect(trackBarPage.chooseDown, &QPushButton::clicked, this, [this] { chooseImage(trackBarPage.downImage); });
    connect(textPage.font, &QPushButton::clicked, this, &TMySkinEditor::chooseFont);
    connectElementPage(buttonPage, ElementKind::Button);
    connectElementPage(textPage, ElementKind::Text);
    connectElementPage(trackBarPage, ElementKind::TrackBar);
}

void TMySkinEditor::connectElementPage(skins::ElementPage& page, ElementKind kind) {
    using Mode = SkinDefinition::StoreMode;
    connect(page.add, &QPushButton::clicked, this, [this, kind] { store(kind, Mode::Add); });
    connect(page.update, &QPushButton::clicked, this, [this, kind] { store(kind, Mode::Update); });
    connect(page.remove, &QPushButton::clicked, this, [this, kind] { removeSelected(kind); });
    connect(page.list, &QListWidget::currentRowChanged, this, [this, kind](int row) { showEntry(kind, row); });
}

skins::ElementPage& TMySkinEditor::elementPage(ElementKind kind) {
    switch (kind) {
    case ElementKind::Button:
        return buttonPage;
    case ElementKind::Text:
        return textPage;
    case ElementKind::TrackBar:
        break;
    }
    return trackBarPage;
}

std::optional<ElementKind> TMySkinEditor::shownKind() const {
    switch (static_cast<Page>(m_pages->currentIndex())) {
    case Page::Button:
        return ElementKind::Button;
    case Page::Text:
        return ElementKind::Text;
    case Page::TrackBar:
        return ElementKind::TrackBar;
    case Page::Bitmap:
        break;
    }
    return std::nullopt;
}

void TMySkinEditor::showPage(Page page) {
    m_pages->setCurrentIndex(static_cast<int>(page));
}

void TMySkinEditor::setCaption(const QString& suffix) {
    setWindowTitle(QString::fromLatin1(kCaption) + suffix);
}

void TMySkinEditor::chooseImage(QLineEdit* field) {
    const QString path = dialogs.openFile(this, QStringLiteral("Open"), QString::fromLatin1(kImageFilter));
    if (path.isEmpty())
        return;
    field->setText(QFileInfo(path).fileName());
    m_modified = true;
}

void TMySkinEditor::chooseFont() {
    FontChoice current;
    const skins::TextFields shown = textPage.fields();
    current.font = QFont(shown.fontName, shown.size.toInt());
    current.font.setBold(shown.bold == QLatin1String(skins::skin_keys::kTrue));
    current.font.setItalic(shown.italic == QLatin1String(skins::skin_keys::kTrue));
    const int color = shown.color.mid(1).toInt(nullptr, 16);
    current.color = QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    const std::optional<FontChoice> chosen = dialogs.chooseFont(this, current);
    if (!chosen)
        return;
    textPage.fontName->setText(chosen->font.family());
    textPage.size->setText(QString::number(chosen->font.pointSize()));
    textPage.bold->setText(trueOrFalse(chosen->font.bold()));
    textPage.italic->setText(trueOrFalse(chosen->font.italic()));
    textPage.color->setText(skins::colorText(chosen->color));
}

void TMySkinEditor::store(ElementKind kind, SkinDefinition::StoreMode mode) {
    std::optional<QString> refusal;
    std::string entry;
    // The page's fields are checked and completed, shown back as completed
    // (also when the action stops), and turned into the entry.
    auto build = [&refusal, &entry](auto& page, auto prepare, auto entryOf) {
        auto fields = page.fields();
        refusal = prepare(fields);
        page.show(fields);
        entry = entryOf(fields);
    };
    switch (kind) {
    case ElementKind::Button:
        build(buttonPage, skins::prepareButton, skins::buttonEntry);
        break;
    case ElementKind::Text:
        build(textPage, skins::prepareText, skins::textEntry);
        break;
    case ElementKind::TrackBar:
        build(trackBarPage, skins::prepareTrackBar, skins::trackBarEntry);
        break;
    }
    const int selected = elementPage(kind).list->currentRow();
    if (!refusal)
        refusal = m_definition.store(kind, entry, mode, selected);
    if (refusal) {
        dialogs.inform(this, QString::fromLatin1(kCaption), *refusal);
        return;
    }
    m_modified = true;
    const int stored =
        mode == SkinDefinition::StoreMode::Add ? static_cast<int>(m_definition.entries(kind).size()) - 1 : selected;
    fillList(kind, stored);
}

void TMySkinEditor::removeSelected(ElementKind kind) {
    const int selected = elementPage(kind).list->currentRow();
    if (selected < 0)
        return;
    const int next = m_definition.remove(kind, selected);
    m_modified = true;
    fillList(kind, next);
    showEntry(kind, next);
}

void TMySkinEditor::fillList(ElementKind kind, int selected) {
    QListWidget* list = elementPage(kind).list;
    {
        const QSignalBlocker blocker(list);
        list->clear();
        for (const std::string& entry : m_definition.entries(kind))
            list->addItem(skins::textOf(entry));
    }
    list->setCurrentRow(selected);
}

void TMySkinEditor::showEntry(ElementKind kind, int row) {
    const std::vector<std::string>& entries = m_definition.entries(kind);
    if (row >= 0 && static_cast<size_t>(row) < entries.size()) {
        const std::string& entry = entries[static_cast<size_t>(row)];
        switch (kind) {
        case ElementKind::Button:
            buttonPage.show(skins::buttonFieldsOf(entry));
            break;
        case ElementKind::Text:
            textPage.show(skins::textFieldsOf(entry));
            break;
        case ElementKind::TrackBar:
            trackBarPage.show(skins::trackBarFieldsOf(entry));
            break;
        }
    }
    followSelection();
}

void TMySkinEditor::followSelection() {
    if (!m_preview)
        return;
    const std::optional<ElementKind> kind = shownKind();
    const int row = kind ? elementPage(*kind).list->currentRow() : -1;
    if (!kind || row < 0) {
        m_preview->moveMarker({});
        return;
    }
    m_preview->moveMarker(skins::markerRect(*kind, m_definition.entries(*kind)[static_cast<size_t>(row)]));
}

void TMySkinEditor::showDefinition() {
    const auto names = m_definition.images.inPageOrder();
    for (size_t i = 0; i < skins::BitmapPage::kImageCount; ++i)
        bitmapPage.names[i]->setText(skins::textOf(*names[i]));
    for (ElementKind kind : {ElementKind::Button, ElementKind::Text, ElementKind::TrackBar})
        fillList(kind, -1);
    textPage.charset->setCurrentIndex(0);
}

bool TMySkinEditor::loadFile(const QString& path) {
    SkinDefinition loaded;
    try {
        loaded = SkinDefinition::load(path.toLocal8Bit().toStdString());
    } catch (const skins::ESkinError& error) {
        platform::reportError(QString::fromLocal8Bit(error.what()));
        return false;
    }
    if (m_preview)
        m_preview->close();
    m_definition = std::move(loaded);
    m_path = path;
    showDefinition();
    m_modified = false;
    showPage(Page::Bitmap);
    return true;
}

bool TMySkinEditor::save() {
    if (m_path.isEmpty())
        return saveAs();
    return saveTo(m_path);
}

bool TMySkinEditor::saveAs() {
    const QString path = dialogs.saveFile(this, QStringLiteral("Save"), QString::fromLatin1(kSkinFilter));
    if (path.isEmpty())
        return false;
    return saveTo(path);
}

bool TMySkinEditor::saveTo(const QString& path) {
    const auto names = m_definition.images.inPageOrder();
    for (size_t i = 0; i < skins::BitmapPage::kImageCount; ++i)
        *names[i] = bitmapPage.names[i]->text().toLocal8Bit().toStdString();
    try {
        m_definition.save(path.toLocal8Bit().toStdString(), m_path.toLocal8Bit().toStdString());
    } catch (const platform::IniWriteError& error) {
        dialogs.inform(this, QString::fromLatin1(kSaveCaption), QString::fromLocal8Bit(error.what()));
        return false;
    }
    // A skin saved into another folder takes its images along.
    if (!m_path.isEmpty())
        m_definition.copyImages(folderOf(m_path), folderOf(path));
    m_path = path;
    m_modified = false;
    return true;
}

bool TMySkinEditor::openPreview() {
    if (m_path.isEmpty()) {
        dialogs.inform(this, QString::fromLatin1(kCaption), QString::fromLatin1(kSaveFirstText));
        return false;
    }
    if (m_preview)
        delete m_preview.data();
    m_preview = new TPreviewWnd(this);
    try {
        m_preview->LoadSkin(m_path.toLocal8Bit().toStdString());
    } catch (const skins::ESkinError& error) {
        delete m_preview.data();
        platform::reportError(QString::fromLocal8Bit(error.what()));
        return false;
    }
    m_preview->move(frameGeometry().topRight() + QPoint(kPreviewGap, 0));
    m_preview->show();
    followSelection();
    return true;
}

void TMySkinEditor::startPicking(bool addAfterPick) {
    if (!openPreview())
        return;
    m_picking = true;
    m_dragging = false;
    m_addAfterPick = addAfterPick;
    setMouseTracking(true);
    grabMouse(Qt::CrossCursor);
}

void TMySkinEditor::mousePressEvent(QMouseEvent* event) {
    if (!m_picking) {
        releaseMouse();
        QDialog::mousePressEvent(event);
        return;
    }
    m_corner1 = m_corner2 = event->globalPosition().toPoint();
    m_dragging = true;
    if (!m_rubberBand)
        m_rubberBand = std::make_unique<QRubberBand>(QRubberBand::Rectangle);
    m_rubberBand->setGeometry(QRect(m_corner1, QSize()));
    m_rubberBand->show();
}

void TMySkinEditor::mouseMoveEvent(QMouseEvent* event) {
    if (!m_picking) {
        QDialog::mouseMoveEvent(event);
        return;
    }
    const QPoint global = event->globalPosition().toPoint();
    if (m_preview) {
        const QPoint inPreview = m_preview->mapFromGlobal(global);
        setCaption(QStringLiteral(" [Cursor Position:%1,%2]").arg(inPreview.x()).arg(inPreview.y()));
    }
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        m_corner2 = global;
        m_rubberBand->setGeometry(QRect(m_corner1, m_corner2).normalized());
    }
}

void TMySkinEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_picking || !m_dragging) {
        QDialog::mouseReleaseEvent(event);
        return;
    }
    m_corner2 = event->globalPosition().toPoint();
    const int left = std::min(m_corner1.x(), m_corner2.x());
    const int top = std::min(m_corner1.y(), m_corner2.y());
    const QSize size(std::abs(m_corner2.x() - m_corner1.x()), std::abs(m_corner2.y() - m_corner1.y()));
    const bool addAfterPick = m_addAfterPick;
    const bool previewOpen = !m_preview.isNull();
    const QPoint topLeft = previewOpen ? m_preview->mapFromGlobal(QPoint(left, top)) : QPoint();
    finishPicking();
    // A preview closed while picking leaves nothing to measure against.
    if (!previewOpen)
        return;
    applyPickedRect(QRect(topLeft, size));
    if (addAfterPick) {
        const ElementKind kind = *shownKind();
        elementPage(kind).id->setText(idPrefix(kind) + QString::number(m_definition.counter(kind)));
        store(kind, SkinDefinition::StoreMode::Add);
    }
}

void TMySkinEditor::finishPicking() {
    if (m_rubberBand)
        m_rubberBand->hide();
    m_picking = false;
    m_dragging = false;
    m_addAfterPick = false;
    setMouseTracking(false);
    releaseMouse();
    setCaption();
}

void TMySkinEditor::applyPickedRect(const QRect& rect) {
    const QString x = QString::number(rect.left());
    const QString y = QString::number(rect.top());
    switch (shownKind().value_or(ElementKind::Button)) {
    case ElementKind::Button:
        buttonPage.x->setText(x);
        buttonPage.y->setText(y);
        buttonPage.width->setText(QString::number(rect.width()));
        buttonPage.height->setText(QString::number(rect.height()));
        break;
    case ElementKind::Text:
        textPage.x->setText(x);
        textPage.y->setText(y);
        break;
    case ElementKind::TrackBar:
        trackBarPage.x->setText(x);
        trackBarPage.y->setText(y);
        trackBarPage.length->setText(QString::number(rect.width()));
        trackBarPage.position->setText(QStringLiteral("0"));
        break;
    }
}

void TMySkinEditor::reject() {
    if (m_picking)
        finishPicking();
    if (m_modified && dialogs.askYesNo(this, QString::fromLatin1(kSaveCaption), QString::fromLatin1(kSaveQuestion)))
        save();
    // The preview belongs to the editing session; it does not outlive it.
    if (m_preview)
        m_preview->close();
    QDialog::reject();
}
