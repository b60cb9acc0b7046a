#pragma once

#include "app/api/MixerApi.h"
#include "app/api/SkinFolderClient.h"
#include "platform/PlacedWindow.h"

#include <QStringList>

// The mixer window: channel faders, crossfader and automatic transitions.
class TMixer : public platform::PlacedWindow, public SkinFolderClient, public MixerApi {
    Q_OBJECT
public:
    TMixer();
    void ChangeSkinFolder(const QString& folder) override { skinFolderRequests << folder; }
    QStringList skinFolderRequests;
    void AutoFadeToA() override {}
    void AutoFadeToB() override {}
};
