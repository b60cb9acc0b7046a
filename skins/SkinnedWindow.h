#pragma once

#include "SkinForm.h"

#include "contracts/SkinFolderClient.h"
#include "platform/PlacedWindow.h"
#include "platform/VirtualKeys.h"

#include <functional>
#include <string>

class QKeyEvent;

namespace skins {

// The base of every skinned window: a borderless top-level window filled
// by its skin engine (`SkinForm1`), sized and shaped by the skin's mask.
// It loads its definition file from the default skin folder when it is
// created and switches skin folders with ChangeSkinFolder. GUI thread
// only.
class SkinnedWindow : public platform::PlacedWindow, public SkinFolderClient {
    Q_OBJECT
public:
    // How ChangeSkinFolder records a folder that lacks the window's file:
    // the decks record every folder they are handed, so the same folder
    // handed again does nothing; the other windows record a folder only
    // when their file was found there.
    enum class FolderPolicy { RecordAlways, RecordWhenFound };

    // The window class names the settings section; `definitionFile` is the
    // window's file name in a skin folder (see skin_files). A failing load
    // of the default skin goes to the general error report and leaves the
    // window as far as it was loaded.
    SkinnedWindow(const char* windowClass, std::string definitionFile, FolderPolicy policy, QWidget* parent = nullptr);
    ~SkinnedWindow() override;

    // Switches to the skin in `folder` (ending in "/"): nothing when it is
    // the folder in use; the window's file from `folder` when it is there,
    // else the one from the default folder. Load errors go to the caller.
    void ChangeSkinFolder(const std::string& folder);
    void ChangeSkinFolder(const QString& folder) override { ChangeSkinFolder(folder.toStdString()); }
    QString currentSkinFolder() const override { return QString::fromStdString(SkinFolder); }
    void checkSkinFolder(const QString& folder) const override;
    void restoreSkinFolder(const QString& folder) override;

    const std::string& definitionFile() const { return m_definitionFile; }

    // Where the window's key events go: the application's shared key
    // handler, with the virtual key code and the exact shift state. Keys
    // pressed while a child of the window (a list, say) has the keyboard
    // are forwarded too, and the child still gets them. A held key's
    // repeats arrive as further key-downs and only its final release as a
    // key-up. Unset hooks drop the keys.
    std::function<void(int Key, platform::ShiftState Shift)> forwardKeyDown;
    std::function<void(int Key, platform::ShiftState Shift)> forwardKeyUp;

    TSkinForm* SkinForm1;
    // The folder in use, ending in "/".
    std::string SkinFolder;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void forwardKey(const QKeyEvent& event);
    void watchKeysOf(QObject* object);

    std::string m_definitionFile;
    FolderPolicy m_policy;
    // Set while a child's key event is handed on to the child, which may
    // pass it up to this window: the window has forwarded it already.
    bool m_deliveringToChild = false;
};

} // namespace skins
