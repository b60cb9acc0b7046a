#pragma once

#include "app/api/SkinFolderClient.h"

#include <QDialog>
#include <QStringList>

// The about-skin window: the skin's own credits page, shown modally.
class TAboutSkin : public QDialog, public SkinFolderClient {
    Q_OBJECT
public:
    explicit TAboutSkin(QWidget* parent = nullptr);
    void ChangeSkinFolder(const QString& folder) override { skinFolderRequests << folder; }
    QStringList skinFolderRequests;
};
