#include "DeckMenu.h"

#include "About.h"
#include "Deck.h"
#include "Players.h"
#include "Preferences.h"
#include "WindowSet.h"
#include "mixer/Equalizer.h"
#include "mixer/Mixer.h"
#include "platform/ApplicationFolder.h"
#include "platform/DialogFilter.h"
#include "playlist/PlayListForm.h"
#include "skins/AboutSkin.h"
#include "skins/SkinEditor.h"

#include <QFileDialog>

DeckMenu::DeckMenu(TDeck& deck) : QMenu(&deck), m_deck(deck) {
    chooseSkinFile = [this] {
        QFileDialog dialog(&m_deck, QString(),
                           QString::fromStdString(platform::applicationFolder()) + QStringLiteral("skins"),
                           platform::dialogFilter(QStringLiteral("Skin files (PlayerA.ini)|PlayerA.ini")));
        dialog.setFileMode(QFileDialog::ExistingFile);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    };

    addAction(deck.isDeckA() ? QStringLiteral("PlayList") : QStringLiteral("Play List"),
              [] { windows().PlayList->toggleVisibility(); });
    addAction(QStringLiteral("Mixer"), [] { windows().Mixer->toggleVisibility(); });
    addAction(QStringLiteral("EQ"), [] { windows().Equalizer->toggleVisibility(); });
    addSeparator();
    addAction(QStringLiteral("Load Skin"), [this] { loadSkin(); });
    addAction(QStringLiteral("Skin Editor"), [] { windows().SkinEditor->exec(); });
    addAction(QStringLiteral("Preferences"), [] { windows().Preferences->exec(); });
    addAction(QStringLiteral("About Drovan"), [] { windows().About->exec(); });
    addAction(QStringLiteral("About Skin"), [] { windows().AboutSkin->showModal(); });
    addSeparator();
    // "\t" makes Qt show the text as the item's shortcut without binding it.
    addAction(QStringLiteral("Exit\tCtrl+E"), [] { windows().PlayerA->close(); });
}

QStringList DeckMenu::itemTexts() const {
    QStringList texts;
    for (const QAction* action : actions())
        texts << (action->isSeparator() ? QString() : action->text());
    return texts;
}

bool DeckMenu::triggerItem(const QString& text) {
    for (QAction* action : actions()) {
        if (!action->isSeparator() && action->text().section('\t', 0, 0) == text) {
            action->trigger();
            return true;
        }
    }
    return false;
}

void DeckMenu::loadSkin() {
    const QString chosen = chooseSkinFile();
    if (chosen.isEmpty())
        return;
    windows().applySkinFolder(m_deck, WindowSet::skinFolderFromDefinitionFile(chosen));
}
