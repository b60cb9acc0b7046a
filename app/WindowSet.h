#pragma once

#include "ApplicationWindows.h"

#include <QString>

#include <memory>
#include <vector>

class SkinFolderClient;
class TDeck;
class TPlayerA;
class TPlayerB;
class TPlayListForm;
class TMySkinEditor;
class TMixer;
class TPreferences;
class TEqualizerForm;
class TAboutSkin;
class TAbout;
class DeckEqualizers;
struct PreferenceValues;

// The application's windows: each is created once at start-up, in the order
// of the members below, lives until the application ends, and is reached by
// the others through this one application-wide set.
class WindowSet : public ApplicationWindows {
public:
    WindowSet();
    ~WindowSet() override;
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    // Creates windows 1 to 9 in order and shows those visible at start.
    void create();
    // Destroys the windows in the reverse order of their creation; each
    // window with a placement store writes its section unless it has
    // written it since it was last read.
    void destroy();

    // The skinned windows that take a new skin folder, in the order they take
    // it: the deck whose menu was used, the other deck, the play list, the
    // mixer, the about-skin window and the equalizer.
    std::vector<SkinFolderClient*> skinFolderClients(const TDeck& origin) const;
    // All of them switch or none does; a failure throws ESkinError naming
    // the file and the reason.
    void applySkinFolder(const TDeck& origin, const QString& folder) override;

    TDeck* otherDeck(const TDeck& deck) const override;
    PlayListApi* playList() const override;
    MixerApi* mixer() const override;
    void toggleWindow(app::ToggledWindow window) override;
    void showAbout() override;
    void showPreferences() override;
    void showSkinEditor() override;
    void showAboutSkin() override;
    void exitApplication() override;

    // Puts the preferences in force: the play list's automatic play and each
    // deck's share. A deck whose engine refuses is reported and the other
    // still takes its values.
    void applyPreferences(const PreferenceValues& values);

    TPlayerA* PlayerA = nullptr;
    TPlayListForm* PlayList = nullptr;
    TPlayerB* PlayerB = nullptr;
    TMySkinEditor* SkinEditor = nullptr;
    TMixer* Mixer = nullptr;
    TPreferences* Preferences = nullptr;
    TEqualizerForm* Equalizer = nullptr;
    TAboutSkin* AboutSkin = nullptr;
    TAbout* About = nullptr;

private:
    // The decks' side of the equalizer; made with the equalizer, after the decks.
    std::unique_ptr<DeckEqualizers> m_deckEqualizers;
    // Deck B owns the one key handler; the decks, the mixer, the play list
    // and the equalizer hand it every key-down and key-up.
    void routeKeysToDeckB();
};

// The application-wide set; valid between WindowSet::create and destroy.
WindowSet& windows();
// The same, or null outside that time (windows built on their own in tests).
WindowSet* currentWindowSet();
