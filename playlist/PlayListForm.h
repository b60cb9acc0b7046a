#pragma once

#include "app/api/SkinFolderClient.h"
#include "platform/PlacedWindow.h"

#include <QStringList>

// The play list and wait list window.
class TPlayListForm : public platform::PlacedWindow, public SkinFolderClient {
    Q_OBJECT
public:
    TPlayListForm();
    void ChangeSkinFolder(const QString& folder) override { skinFolderRequests << folder; }
    QStringList skinFolderRequests;
};
