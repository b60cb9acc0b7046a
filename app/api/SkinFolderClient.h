#pragma once

#include <QString>

// A window that takes its look from a skin folder. "Load Skin" hands the
// chosen folder to every skinned window in a fixed order.
class SkinFolderClient {
public:
    virtual ~SkinFolderClient() = default;
    virtual void ChangeSkinFolder(const QString& folder) = 0;
};
