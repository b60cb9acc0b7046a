#pragma once

#include "app/api/PlayListApi.h"
#include "app/api/SkinFolderClient.h"
#include "platform/PlacedWindow.h"

#include <QStringList>

// The play list and wait list window.
class TPlayListForm : public platform::PlacedWindow, public SkinFolderClient, public PlayListApi {
    Q_OBJECT
public:
    TPlayListForm();
    void ChangeSkinFolder(const QString& folder) override { skinFolderRequests << folder; }
    QStringList skinFolderRequests;
    QString NextTrack() override { return QStringLiteral("False"); }
};
