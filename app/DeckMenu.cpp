#include "DeckMenu.h"

#include "ApplicationWindows.h"
#include "SkinFolderSwitch.h"
#include "platform/ApplicationFolder.h"
#include "platform/DialogFilter.h"

#include <QFileDialog>

DeckMenu::DeckMenu(QWidget& parent, const QString& playListCaption, std::function<ApplicationWindows*()> windows,
                   std::function<void(const QString& folder)> applySkinFolder)
    : QMenu(&parent), m_windows(std::move(windows)), m_applySkinFolder(std::move(applySkinFolder)) {
    chooseSkinFile = [this] {
        QFileDialog dialog(parentWidget(), QString(),
                           QString::fromStdString(platform::applicationFolder()) + QStringLiteral("skins"),
                           platform::dialogFilter(QStringLiteral("Skin files (PlayerA.ini)|PlayerA.ini")));
        dialog.setFileMode(QFileDialog::ExistingFile);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    };

    using app::ToggledWindow;
    addAction(playListCaption, [this] { onWindows([](auto& set) { set.toggleWindow(ToggledWindow::PlayList); }); });
    addAction(QStringLiteral("Mixer"),
              [this] { onWindows([](auto& set) { set.toggleWindow(ToggledWindow::Mixer); }); });
    addAction(QStringLiteral("EQ"),
              [this] { onWindows([](auto& set) { set.toggleWindow(ToggledWindow::Equalizer); }); });
    addSeparator();
    addAction(QStringLiteral("Load Skin"), [this] { loadSkin(); });
    addAction(QStringLiteral("Skin Editor"), [this] { onWindows([](auto& set) { set.showSkinEditor(); }); });
    addAction(QStringLiteral("Preferences"), [this] { onWindows([](auto& set) { set.showPreferences(); }); });
    addAction(QStringLiteral("About Drovan"), [this] { onWindows([](auto& set) { set.showAbout(); }); });
    addAction(QStringLiteral("About Skin"), [this] { onWindows([](auto& set) { set.showAboutSkin(); }); });
    addSeparator();
    // "\t" makes Qt show the text as the item's shortcut without binding it.
    addAction(QStringLiteral("Exit\tCtrl+E"), [this] { onWindows([](auto& set) { set.exitApplication(); }); });
}

void DeckMenu::onWindows(const std::function<void(ApplicationWindows&)>& command) const {
    if (ApplicationWindows* windows = m_windows())
        command(*windows);
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
    m_applySkinFolder(skinFolderFromDefinitionFile(chosen));
}
