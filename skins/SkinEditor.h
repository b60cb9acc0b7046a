#pragma once

#include "PreviewWnd.h"
#include "SkinDefinition.h"
#include "SkinEditorPages.h"

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QLineEdit;
class QPushButton;
class QRubberBand;
class QTabWidget;

// The skin editor: builds a skin definition file from its images, buttons,
// text displays and trackbars, typed in or picked as rectangles on a live
// preview of the skin, and saves it keeping the sections it does not edit.
// Shown modally from the decks' menu; lives as long as the application,
// keeping its file and lists between showings. GUI thread only.
class TMySkinEditor : public QDialog {
    Q_OBJECT
public:
    explicit TMySkinEditor(QWidget* parent = nullptr);
    ~TMySkinEditor() override;

    // The modal dialogs the editor asks through. They default to Qt's file,
    // font and message dialogs; tests put answers in their place.
    struct FontChoice {
        QFont font;
        QColor color;
    };
    struct Dialogs {
        // A file to open or to save as; empty when cancelled.
        std::function<QString(QWidget* parent, const QString& caption, const QString& filter)> openFile;
        std::function<QString(QWidget* parent, const QString& caption, const QString& filter)> saveFile;
        std::function<std::optional<FontChoice>(QWidget* parent, const FontChoice& current)> chooseFont;
        std::function<bool(QWidget* parent, const QString& caption, const QString& question)> askYesNo;
        std::function<void(QWidget* parent, const QString& caption, const QString& text)> inform;
    };
    Dialogs dialogs;

    enum class Page { Bitmap, Button, Text, TrackBar };
    void showPage(Page page);

    // Opens a definition file as "&Load" does after its dialog. A file the
    // skin engine would refuse is reported with the engine's text through
    // the general error report, and the editor keeps what it had.
    bool loadFile(const QString& path);

    const QString& currentPath() const { return m_path; }
    bool isModified() const { return m_modified; }
    bool isPicking() const { return m_picking; }
    const skins::SkinDefinition& definition() const { return m_definition; }
    TPreviewWnd* preview() const { return m_preview; }

    // The pages' widgets and the buttons below them.
    skins::BitmapPage bitmapPage;
    skins::ButtonPage buttonPage;
    skins::TextPage textPage;
    skins::TrackBarPage trackBarPage;
    QPushButton* SaveButton;
    QPushButton* SaveAsButton;
    QPushButton* LoadButton;
    QPushButton* PreviewButton;
    QPushButton* PickRectButton;
    QPushButton* PickAddButton;
    QPushButton* ExitButton;

public slots:
    // "E&xit", the window's close button and Escape all ask to save changes.
    void reject() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void connectPages();
    void connectElementPage(skins::ElementPage& page, skins::ElementKind kind);
    skins::ElementPage& elementPage(skins::ElementKind kind);
    std::optional<skins::ElementKind> shownKind() const;

    void chooseImage(QLineEdit* field);
    void chooseFont();
    void store(skins::ElementKind kind, skins::SkinDefinition::StoreMode mode);
    void removeSelected(skins::ElementKind kind);
    void showEntry(skins::ElementKind kind, int row);
    void fillList(skins::ElementKind kind, int selected);
    void showDefinition();

    bool save();
    bool saveAs();
    bool saveTo(const QString& path);
    bool openPreview();
    void followSelection();

    void startPicking(bool addAfterPick);
    void finishPicking();
    void applyPickedRect(const QRect& rect);
    void setCaption(const QString& suffix = {});

    QTabWidget* m_pages;
    skins::SkinDefinition m_definition;
    QString m_path;
    bool m_modified = false;
    QPointer<TPreviewWnd> m_preview;

    bool m_picking = false;
    bool m_dragging = false;
    bool m_addAfterPick = false;
    QPoint m_corner1, m_corner2; // screen coordinates
    std::unique_ptr<QRubberBand> m_rubberBand;
};
