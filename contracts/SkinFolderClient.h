#pragma once

#include <QString>

// A window that takes its look from a skin folder. "Load Skin" hands the
// chosen folder to every skinned window in a fixed order.
class SkinFolderClient {
public:
    virtual ~SkinFolderClient() = default;
    virtual void ChangeSkinFolder(const QString& folder) = 0;
    // The folder in use, ending in "/".
    virtual QString currentSkinFolder() const = 0;
    // Loads the window's file from `folder` aside, without touching the
    // window, and throws with the file's path and the reason when it would
    // not load. The folder in use passes (it is not loaded again), and so
    // does a folder that lacks the file: the window then takes the default
    // skin's file.
    virtual void checkSkinFolder(const QString& folder) const = 0;
    // Reloads the skin of `folder` even when it is the folder in use, to
    // put a window back after a failed switch.
    virtual void restoreSkinFolder(const QString& folder) = 0;
};
