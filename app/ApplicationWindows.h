#pragma once

#include "KeyCommands.h"

#include <QString>

class MixerApi;
class PlayListApi;
class TDeck;

// What a deck asks of the application's other windows; the window set
// answers. The commands a deck's buttons, its popup menu and the key handler
// share are written here once. GUI thread only.
class ApplicationWindows {
public:
    virtual ~ApplicationWindows() = default;

    virtual TDeck* otherDeck(const TDeck& deck) const = 0;
    virtual PlayListApi* playList() const = 0;
    virtual MixerApi* mixer() const = 0;

    // Shows a hidden window where it was, hides a shown one.
    virtual void toggleWindow(app::ToggledWindow window) = 0;
    // These open their window modally and return once it is closed.
    virtual void showAbout() = 0;
    virtual void showPreferences() = 0;
    virtual void showSkinEditor() = 0;
    virtual void showAboutSkin() = 0;
    // Closes deck A, which ends the application.
    virtual void exitApplication() = 0;
    // Hands a skin folder to every skinned window, `origin` first; all
    // switch or none does (a failure throws ESkinError).
    virtual void applySkinFolder(const TDeck& origin, const QString& folder) = 0;
};
