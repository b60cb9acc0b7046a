#pragma once

#include "app/api/SkinFolderClient.h"
#include "platform/PlacedWindow.h"

#include <QStringList>

// The mixer window: channel faders, crossfader and automatic transitions.
class TMixer : public platform::PlacedWindow, public SkinFolderClient {
    Q_OBJECT
public:
    TMixer();
    void ChangeSkinFolder(const QString& folder) override { skinFolderRequests << folder; }
    QStringList skinFolderRequests;
};
