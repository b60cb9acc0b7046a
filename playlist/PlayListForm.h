#pragma once

#include "app/api/PlayListApi.h"
#include "skins/SkinnedWindow.h"

// The play list and wait list window.
class TPlayListForm : public skins::SkinnedWindow, public PlayListApi {
    Q_OBJECT
public:
    TPlayListForm();
    QString NextTrack() override { return QStringLiteral("False"); }
};
