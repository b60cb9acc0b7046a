#pragma once

#include <QMenu>

#include <functional>

class ApplicationWindows;

// The popup menu both decks carry. Its shortcut text for "Exit" is only
// shown: the key combination itself reaches the key handler.
class DeckMenu : public QMenu {
    Q_OBJECT
public:
    // `windows` answers the items; while it gives null (a deck on its own)
    // the items do nothing. `applySkinFolder` hands a chosen skin folder on
    // with the menu's deck first.
    DeckMenu(QWidget& parent, const QString& playListCaption, std::function<ApplicationWindows*()> windows,
             std::function<void(const QString& folder)> applySkinFolder);

    // The items' texts, in order (separators as empty texts).
    QStringList itemTexts() const;
    // Triggers the item with that text (the text before any tab).
    bool triggerItem(const QString& text);

    // Chooses a skin definition file; an empty result means cancelled. Tests
    // replace the dialog.
    std::function<QString()> chooseSkinFile;

private:
    void loadSkin();
    void onWindows(const std::function<void(ApplicationWindows&)>& command) const;

    std::function<ApplicationWindows*()> m_windows;
    std::function<void(const QString& folder)> m_applySkinFolder;
};
