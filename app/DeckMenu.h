#pragma once

#include <QMenu>

#include <functional>

class TDeck;

// The popup menu both decks carry. Its shortcut text for "Exit" is only
// shown: the key combination itself reaches the key handler.
class DeckMenu : public QMenu {
    Q_OBJECT
public:
    explicit DeckMenu(TDeck& deck);

    // The items' texts, in order (separators as empty texts).
    QStringList itemTexts() const;
    // Triggers the item with that text (the text before any tab).
    bool triggerItem(const QString& text);

    // Chooses a skin definition file; an empty result means cancelled. Tests
    // replace the dialog.
    std::function<QString()> chooseSkinFile;

private:
    void loadSkin();

    TDeck& m_deck;
};
