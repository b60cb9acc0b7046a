#pragma once

#include "skins/SkinnedWindow.h"

// The play list and wait list window.
class TPlayListForm : public skins::SkinnedWindow {
    Q_OBJECT
public:
    TPlayListForm();
};
